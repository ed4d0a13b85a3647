#pragma once

#include "lists/popup/torvodbgriddropdownlist.h"

#include <QStringList>

#include <optional>

namespace orvo {

class TOrvoDBFilterData;
class TOrvoDBPopupFilterList;

/// The auto-filter list of a grid column: the container laid over the column's title that
/// drops down the column's distinct values with a check box each, marks the values of
/// the column's FilterList, and stores the checked keys back into FilterList when the
/// list is accepted (OK, Enter) or, with foAutoApplyList, after each change. Cancel, Esc
/// and a click elsewhere leave FilterList as it was.
///
/// While the list is open the grid keeps the focus; the container takes the grid's keys
/// for the list (Enter and Esc close it), and a press on the grid outside the title's
/// filter button closes it without accepting.
class TOrvoDBGridFilterList : public TOrvoDBGridDropDownList
{
    Q_OBJECT

public:
    TOrvoDBGridFilterList(QWidget* parent, TOrvoColumn* column);
    ~TOrvoDBGridFilterList() override;

    TOrvoDBPopupFilterList* FilterList() const;
    /// The value rows while the list is open (the strings the value dataset reads).
    const QStringList& ValueRows() const { return FValueRows; }
    TOrvoDBFilterData* Values() const { return FValues; }

    /// Stores the checked keys; reopens the list when that emptied the filter while the
    /// first rows are in view, so that the list shows the values of every record again.
    virtual void ApplyChecked();
    /// Empties the column's expression and reopens the list on the values that shows.
    virtual void RemoveFilter();
    /// Fills the value rows with the column's distinct values.
    virtual void LoadValues();
    /// Checks the rows whose keys are in the column's FilterList, or, when the list is
    /// reopened while it waits for OK, the keys the user had checked.
    virtual void MarkChecked();
    /// Checks the values of the grid's selected records.
    virtual void AddSelected();
    /// Makes the column's FilterList the checked keys (empty when none is checked).
    virtual void StoreChecked();
    /// Hands the column to the grid's filter form.
    virtual void SelectFilter();

protected:
    void DoCloseUp(bool& accept) override;
    void DoDropDown() override;
    void TransferValue(bool opening) override;
    void SetupList(bool opening) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InstallCallbacks(bool install);
    void TakeFilterOptions();
    void TakeColumnImages();
    void TakeGridLookRest();
    void ShowTitleButtons();
    bool ColumnShowsKeys() const;
    /// The grid's key and shortcut events go to the open list.
    bool RouteGridKey(QObject* watched, QEvent* event);
    /// Whether a press on the grid at `point` (viewport coordinates) is on the title's
    /// filter button, where the grid itself toggles the list.
    bool OnFilterButton(QObject* watched, const QPoint& point) const;
    bool Redropping() const;

    QStringList FValueRows;
    TOrvoDBFilterData* FValues = nullptr;
    /// The checks not yet stored, kept across a reopening of a list that waits for OK.
    std::optional<QStringList> FPendingChecks;
};

} // namespace orvo
