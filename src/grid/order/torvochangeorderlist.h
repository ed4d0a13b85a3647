#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace orvo {

class TDataSet;

/// How a dataset is given a new order.
enum TChangeOrderKind
{
    okIndexFieldNames, ///< writing its index field names on the open dataset
    okCommandText,     ///< rewriting the ORDER BY of its command text and reopening it
    okSQL              ///< rewriting the ORDER BY of its SQL lines and reopening it
};

/// Whether an entry applies to a dataset in its current configuration.
using TChangeOrderPredicate = std::function<bool(const TDataSet* dataSet, TChangeOrderKind kind)>;

/// One way of ordering one family of dataset classes.
struct TChangeOrderItem
{
    /// The exact class name (without namespace), or "*" and a class name that the
    /// dataset's class or one of its ancestors has, provided the dataset publishes
    /// the entry's property.
    QString ClassPattern;
    TChangeOrderKind Kind = okIndexFieldNames;
    /// The dataset kind cannot sort descending.
    bool AscendOnly = false;
    /// May be empty: the entry applies whenever the class matches.
    TChangeOrderPredicate CanChange;
    /// A property name or dotted path ("DataSet.CommandText"); empty: the kind's own.
    QString PropName;
    /// For the index kind: the ascending, descending and case-insensitive suffixes,
    /// ";"-separated (":A;:D;:N"); empty: plain names with " DESC".
    QString IndexFormat;

    /// PropName, or "IndexFieldNames", "CommandText" or "SQL" by kind.
    QString PropertyName() const;
    bool Matches(const TDataSet* dataSet) const;
};

/// The program-wide registry of ordering strategies. The built-in entries serve the
/// suite's datasets: the in-memory dataset and its descendants that publish
/// IndexFieldNames, TSQLiteTable (by IndexFieldNames) and TSQLiteQuery (by its SQL).
/// A program adds entries for its own dataset classes with Register; they are searched
/// after the built-in ones, so no registration changes how the suite's datasets sort.
class TChangeOrderList
{
public:
    /// A list holding the built-in entries.
    TChangeOrderList();

    /// The list the grids use, made on first use.
    static TChangeOrderList& Instance();

    /// The entry that orders `dataSet`, or null. The entry found last is tried first;
    /// then the entries from the last registered to the first, so that of two entries
    /// for one class the later one, when its predicate holds, wins. The entry stays valid
    /// until the next Register.
    const TChangeOrderItem* FindStrategy(const TDataSet* dataSet);
    /// Adds a program's entry, searched after every built-in one.
    void Register(const TChangeOrderItem& item);

    int Count() const { return int(FItems.size()); }
    const TChangeOrderItem& Item(int index) const { return FItems.at(std::size_t(index)); }
    int BuiltInCount() const { return FBuiltInCount; }

private:
    const TChangeOrderItem* Take(int index, const TDataSet* dataSet);

    std::vector<TChangeOrderItem> FItems;
    int FBuiltInCount = 0;
    int FLastFound = -1;
};

} // namespace orvo
