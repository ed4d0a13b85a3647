#pragma once

#include "grid/dbgrid/dbgridenums.h"

#include <QString>

#include <functional>

namespace orvo {

class TOrvoColumn;
class TOrvoGridSelection;

/// The multi-selection operations of a data grid. The grid inherits them, so they read
/// as its own (`grid->SelectAll()`); each hands its work to the part that keeps the
/// selection, which the grid supplies through SelectionPart.
class TOrvoDBGridSelectionApi
{
public:
    /// The kind the selection holds now (msNone, msRows, msCols or msCells), derived from
    /// dgRowSelect, the column range and MultiSelectOptions.
    TMultiSelection SelectionMode() const;
    /// Clears the selection and starts one of `kind` when that kind is permitted.
    void StartSelection(TMultiSelection kind);
    void ClearSelection();
    void UnselectAll();
    void SelectAll();
    /// Inverts every record (msRows) or every selectable column (msCols).
    void InvertSelection();
    void SelectCurrentRow();
    void UnselectCurrentRow();
    void InvertCurrentRow();
    /// Selects every record from the current one to the anchor record.
    void ExtendSelectionToAnchor();
    /// Inverts every record from the current one to the anchor record, both included.
    void InvertSelectionToAnchor();
    /// The record where a range of rows starts; empty for none.
    QString AnchorBookmark() const;
    void SetAnchorBookmark(const QString& value);
    /// The two ends of the column range (collection indexes, -1 for none).
    int AnchorCol() const;
    void SetAnchorCol(int value);
    int CurrentCol() const;
    void SetCurrentCol(int value);
    /// The column range selects whole columns.
    bool WholeColumns() const;
    void SetWholeColumns(bool value);
    int FirstSelectableCol() const;
    bool HasSelectedRows() const;
    bool HasSelectedCols() const;
    /// Whether a column takes part in the selection: every column while no column kind
    /// is current.
    bool ColumnInSelection(int dataColumnIndex) const;
    /// Whether the cell of that column in the record the dataset shows (while painting: the
    /// painted one) is selected: its record in the row kinds, its column in msCols, both
    /// in msCells.
    bool CellInSelection(int dataColumnIndex) const;
    /// Changes inside this bracket are reported once, by the outermost close (after the
    /// program-wide delay with dgDelaySelectedRows).
    void BeginSelectionUpdate();
    void EndSelectionUpdate();
    /// Copies the selected cells to the clipboard, as tab-separated text and as an HTML
    /// table; false when nothing was copied or the copy was cancelled.
    bool CopyToClipboard(bool withTitles);
    /// Deletes the selected records from the dataset.
    void DeleteSelectedRows();
    /// Remembers the selection by the key values of its records (empty: KeyFields) and
    /// by column IDs, to select the same again after a reorder or a re-filter.
    void SaveSelection(const QString& keyFields);
    void RestoreSelection(const QString& keyFields);
    /// Reopens the dataset, keeping the current record and, with dgAutoKeepSelection, the
    /// selection by key values.
    void RefreshData(const QString& keyFields);
    /// A cell of a walk: its column in the current record, and flags 1 first column,
    /// 2 last column, 4 first record, 8 last record.
    using TCellCallback = std::function<void(TOrvoColumn* column, int flags)>;
    /// Calls `callback` for each cell of `mode`: 1 every cell, 2 the selected cells, 0 the
    /// selected cells when any, else every cell.
    void ForEachCell(int mode, const TCellCallback& callback);

protected:
    TOrvoDBGridSelectionApi() = default;
    virtual ~TOrvoDBGridSelectionApi() = default;
    TOrvoDBGridSelectionApi(const TOrvoDBGridSelectionApi&) = delete;
    TOrvoDBGridSelectionApi& operator=(const TOrvoDBGridSelectionApi&) = delete;

    /// The part that keeps the selection.
    virtual TOrvoGridSelection& SelectionPart() const = 0;
};

} // namespace orvo
