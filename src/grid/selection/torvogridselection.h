#pragma once

#include "grid/dbgrid/dbgridenums.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QTimer;

namespace orvo {

class TDataSet;
class TOrvoColumn;
class TOrvoCustomDBGrid;
class TOrvoSelectionCopy;

/// The grid's multi-selection: which kind is current (rows, columns or cells), the
/// column range with its two ends, the anchor record of a range of rows, the batch
/// that reports a burst of changes once, and the operations on the selected rows and
/// columns that the grid forwards here. The lists themselves are the grid's
/// TOrvoBookmarkList and TOrvoColumnList.
class TOrvoGridSelection
{
public:
    /// The cell walk's callback: a column of the current record and where it stands
    /// (FirstColumn, LastColumn, FirstRecord, LastRecord bits).
    using TCellCallback = std::function<void(TOrvoColumn* column, int flags)>;
    enum TCellFlag
    {
        cfFirstColumn = 1,
        cfLastColumn = 2,
        cfFirstRecord = 4,
        cfLastRecord = 8
    };

    explicit TOrvoGridSelection(TOrvoCustomDBGrid& grid);
    ~TOrvoGridSelection();
    TOrvoGridSelection(const TOrvoGridSelection&) = delete;
    TOrvoGridSelection& operator=(const TOrvoGridSelection&) = delete;

    // --- Kind and column range -------------------------------------------------------------
    TMultiSelection SelectionMode() const { return FMode; }
    bool RowKindCurrent() const { return FMode == msRows || FMode == msCells; }
    bool ColumnKindCurrent() const { return FMode == msCols || FMode == msCells; }
    int FirstSelectableCol() const { return FFirstSelectableCol; }
    int AnchorCol() const { return FAnchorCol; }
    void SetAnchorCol(int value);
    int CurrentCol() const { return FCurrentCol; }
    void SetCurrentCol(int value);
    bool WholeColumns() const { return FWholeColumns; }
    void SetWholeColumns(bool value);
    QString AnchorBookmark() const { return FAnchorBookmark; }
    void SetAnchorBookmark(const QString& value) { FAnchorBookmark = value; }
    /// MultiSelectOptions, FixedCols or dgRowSelect changed.
    void OptionsChanged();

    // --- What is selected ----------------------------------------------------------------------
    bool HasSelectedRows() const;
    bool HasSelectedCols() const;
    bool ColumnInSelection(int dataColumnIndex) const;
    bool CellInSelection(int dataColumnIndex) const;

    // --- The batch -----------------------------------------------------------------------------
    void BeginUpdate();
    void EndUpdate();
    void RowsChanged() { FRowsChanged = true; }
    void ColumnsChanged();
    /// Fires the selection events a delay still holds back.
    void FlushEvents();

    // --- Operations ----------------------------------------------------------------------------
    void StartSelection(TMultiSelection kind);
    void ClearSelection();
    void SelectAll();
    void InvertSelection();
    void SelectCurrentRow(bool value);
    void InvertCurrentRow();
    void ExtendSelectionToAnchor();
    void InvertSelectionToAnchor();
    void SaveSelection(const QString& keyFields);
    void RestoreSelection(const QString& keyFields);
    TMultiSelection SavedSelectionMode() const { return FSavedMode; }
    void RefreshData(const QString& keyFields);
    /// Calls `callback` for every cell of `mode` (0: the selection if any, else all; 1:
    /// all; 2: the selection) in record order; `onRecord`, when given, hears of every
    /// record before its cells and stops the walk by answering false. False when stopped.
    bool ForEachCell(int mode, const TCellCallback& callback,
                     const std::function<bool(qint64 record, qint64 total)>& onRecord = {});
    /// Copies the selected cells as text and as an HTML table; false when nothing was
    /// copied or the copy was cancelled (the clipboard then keeps what it had).
    bool CopyToClipboard(bool withTitles);
    /// Deletes the selected records, reporting the change once.
    void DeleteSelectedRows();
    /// The default of the grid's CopyCellText: adds the cell to the copy being made.
    void CopyCellText(TOrvoColumn* column, int flags);

private:
    void RecomputeMode();
    TMultiSelection CandidateMode() const;
    bool Permitted(TMultiSelection kind) const;
    /// The data column of the grid's current cell, -1 when none.
    int CurrentDataColumn() const;
    TDataSet* LinkedDataSet() const;
    /// Runs `walk` from the current record towards the anchor in browse mode, in one
    /// batch, with the position kept; the current record becomes the anchor when there is none.
    void WalkToAnchor(const std::function<void(TDataSet* dataSet)>& walk);
    void ExtendToAnchorFrom(TDataSet* dataSet);
    void InvertToAnchorFrom(TDataSet* dataSet);
    void StartTimer();
    void FireEvents();
    void RowsChangedHandling();
    void ColsChangedHandling();
    /// The columns a cell walk of `mode` visits, in collection order.
    std::vector<TOrvoColumn*> WalkColumns(int mode) const;
    /// Makes the record of the list's bookmark `index` current, stepping forward from
    /// the record of the one before when it is near; false for a record that is gone.
    bool GoToSelectedRecord(TDataSet* dataSet, int index);

    TOrvoCustomDBGrid& FGrid;
    TMultiSelection FMode = msRows;
    TMultiSelection FSavedMode = msNone;
    int FFirstSelectableCol = 0;
    int FAnchorCol = -1;
    int FCurrentCol = -1;
    bool FWholeColumns = false;
    QString FAnchorBookmark;
    qint64 FBatchCount = 0;
    bool FRowsChanged = false;
    bool FColsChanged = false;
    QPointer<QTimer> FTimer;
    TOrvoSelectionCopy* FCopy = nullptr;
};

} // namespace orvo
