#pragma once

#include <QString>

#include <functional>

namespace orvo {

class TDataSet;
class TOrvoCustomDBGrid;
struct TChangeOrderItem;

/// The sort order of a grid, as the part the grid owns: the order and data-update
/// brackets, and the application of an order text to the dataset through the strategy
/// the program-wide TChangeOrderList registers for the dataset's class.
///
/// Before an order reaches a strategy each of its items must name a data field of the
/// dataset (with an optional ASC or DESC): anything else is refused, so a text read from
/// a stored layout never becomes SQL. A refused or rolled-back order leaves the markers
/// showing the order the dataset really has, beeps, and keeps its reason in OrderError.
class TOrvoGridOrder
{
public:
    explicit TOrvoGridOrder(TOrvoCustomDBGrid& grid);
    TOrvoGridOrder(const TOrvoGridOrder&) = delete;
    TOrvoGridOrder& operator=(const TOrvoGridOrder&) = delete;

    void BeginOrderUpdate();
    void EndOrderUpdate();
    void OrderChanged();
    void AssignOrderFields(const QString& value);
    void LoadCurrentOrder();
    void UpdateOrder(bool autoUpdate);
    void ActivateOrder();
    void BeginDataUpdate();
    void EndDataUpdate(bool takeNewPosition);
    QString StoredOrderText() const;
    QString OrderError() const { return FError; }

    /// False when there is no dataset or no strategy for it; true when a strategy ran,
    /// whether or not the dataset took the order.
    bool ApplyOrder(const QString& order);
    /// The dataset's order as an order text; empty when no strategy knows the dataset.
    QString GetDataSetOrder() const;

private:
    TDataSet* LinkedDataSet() const;
    /// The dataset's order as the entry reads it, the detail fields left out.
    QString DataSetOrder(const TDataSet* dataSet, const TChangeOrderItem& item) const;
    bool DetailFieldsApply(const TDataSet* dataSet) const;
    QString DetailFieldsOrder() const;
    /// The reason `order` cannot be given to the dataset, empty when every item names
    /// one of its data fields.
    QString OrderRefusal(const TDataSet* dataSet, const QString& order) const;
    void ApplyIndexOrder(TDataSet* dataSet, const TChangeOrderItem& item, const QString& order);
    void ApplyStatementOrder(TDataSet* dataSet, const TChangeOrderItem& item, const QString& order);
    /// The steps around every change of order: the current record and the selection are
    /// kept; `write` changes the order, `restore` puts the old one back when it raised.
    void Reorder(TDataSet* dataSet, bool reopens, const std::function<void()>& write,
                 const std::function<void()>& restore);
    void KeepPlaceWhile(TDataSet* dataSet, bool reopens, const std::function<void()>& write,
                        const std::function<void()>& restore);
    static bool FieldsUnknownYet(const TDataSet* dataSet, const QString& order);
    /// Tells why the order was not taken: the markers show the dataset's order again.
    void Refuse(const TDataSet* dataSet, const TChangeOrderItem& item, const QString& reason);
    /// The checks every strategy makes first: nothing to do when the dataset has the order
    /// already or cannot tell its fields yet; an order naming anything else is refused.
    bool ShouldReorder(TDataSet* dataSet, const TChangeOrderItem& item, bool alreadyOrdered,
                       const QString& wanted);

    TOrvoCustomDBGrid& FGrid;
    QString FError;
};

} // namespace orvo
