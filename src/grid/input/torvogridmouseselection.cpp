#include "grid/input/torvogridmouseselection.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/selection/torvocolumnlist.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"

#include <cstdlib>

namespace orvo {

namespace {

bool RowKind(TMultiSelection mode)
{
    return mode == msRows || mode == msCells;
}

bool ColumnKind(TMultiSelection mode)
{
    return mode == msCols || mode == msCells;
}

} // namespace

TOrvoGridMouseSelection::TOrvoGridMouseSelection(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

void TOrvoGridMouseSelection::Press(TShiftState shift, int column, bool onTitle, const QString& before)
{
    FGrid.BeginSelectionUpdate();
    const auto end = Finally([this] { FGrid.EndSelectionUpdate(); });
    const TOrvoDBGridOptions options = FGrid.Options();
    const bool extended = options.Contains(dgExtendedSelect);
    const bool alt = shift.Contains(ssAlt);
    const bool ctrl = shift.Contains(ssCtrl);
    if (alt && !onTitle) {
        if (extended && shift.Contains(ssShift)) {
            FGrid.SelectAll();
            return;
        }
        if (extended && ctrl) {
            FGrid.InvertSelection();
            return;
        }
        if (extended || options.Contains(dgAutoUnselectOff)) {
            FGrid.UnselectAll();
            return;
        }
    }
    const TMultiSelectOptions permitted = FGrid.MultiSelectOptions();
    const bool rowsToggle = options.Contains(dgAutoUnselectOff) && FGrid.SelectionMode() == msRows &&
                            !permitted.Contains(msCells);
    if (shift.Contains(ssShift) || (onTitle && !alt && !ctrl))
        Extend(shift, column, onTitle, before);
    else if (onTitle)
        return;
    else if (ctrl || rowsToggle)
        Toggle(column);
    else
        StartAt(column, !FGrid.OptionsEx().Contains(dgClickSelectOff));
}

void TOrvoGridMouseSelection::Extend(TShiftState shift, int column, bool onTitle, const QString& before)
{
    if (!FGrid.Options().Contains(dgRowSelect) && column >= FGrid.FirstSelectableCol())
        StartColumnRange(shift, column, onTitle);
    const TMultiSelection mode = FGrid.SelectionMode();
    if (!onTitle && RowKind(mode)) {
        FGrid.SelectedRows()->Clear();
        if (FGrid.AnchorBookmark().isEmpty())
            FGrid.SetAnchorBookmark(before);
        FGrid.ExtendSelectionToAnchor();
    }
    if (ColumnKind(mode))
        FGrid.SetCurrentCol(column);
}

void TOrvoGridMouseSelection::StartColumnRange(TShiftState shift, int column, bool onTitle)
{
    const TMultiSelectOptions permitted = FGrid.MultiSelectOptions();
    if (onTitle) {
        // Shift on a title while columns are selected moves the range's end instead.
        if (permitted.Contains(msCols) && !(shift.Contains(ssShift) && FGrid.SelectionMode() == msCols)) {
            FGrid.ClearSelection();
            FGrid.SetWholeColumns(true);
            FGrid.SetAnchorCol(column);
        }
    } else if (!FGrid.HasSelectedRows() && FGrid.AnchorCol() == -1 &&
               (!permitted.Contains(msRows) || permitted.Contains(msCols))) {
        FGrid.SetWholeColumns(permitted.Contains(msCols));
        FGrid.SetAnchorCol(column);
    }
}

void TOrvoGridMouseSelection::Toggle(int column)
{
    if (FGrid.SelectionMode() == msCols) {
        TOrvoColumnList* columns = FGrid.SelectedCols();
        columns->SetSelected(column, !columns->Selected(column));
        return;
    }
    if (FGrid.SelectionMode() != msRows)
        FGrid.ClearSelection();
    if (FGrid.SelectionMode() == msRows) {
        FGrid.InvertCurrentRow();
        FGrid.SetAnchorBookmark(FGrid.DataSet()->Bookmark());
    }
}

void TOrvoGridMouseSelection::StartAt(int column, bool selectRecord)
{
    FGrid.ClearSelection();
    FGrid.SetWholeColumns(false);
    FGrid.SetAnchorCol(column);
    FGrid.SetCurrentCol(selectRecord ? column : -1);
    const TMultiSelection mode = FGrid.SelectionMode();
    if (!RowKind(mode))
        return;
    FGrid.SetAnchorBookmark(FGrid.DataSet()->Bookmark());
    // Under dgClickSelectOff a click only marks where a range starts, except for cells.
    if (selectRecord || mode == msCells)
        FGrid.SelectCurrentRow();
}

bool TOrvoGridMouseSelection::RowsBeingSelected() const
{
    return FGrid.Options().Contains(dgMultiSelect) && FGrid.DataLink()->Active() &&
           RowKind(FGrid.SelectionMode()) && !FGrid.AnchorBookmark().isEmpty();
}

bool TOrvoGridMouseSelection::ColumnsBeingSelected() const
{
    return FGrid.Options().Contains(dgMultiSelect) && ColumnKind(FGrid.SelectionMode()) &&
           FGrid.AnchorCol() >= 0;
}

void TOrvoGridMouseSelection::MoveSelecting(int count)
{
    TDataSet* dataSet = FGrid.DataSet();
    const QString anchor = FGrid.AnchorBookmark();
    const int step = count > 0 ? 1 : -1;
    FGrid.BeginSelectionUpdate();
    const auto end = Finally([this] { FGrid.EndSelectionUpdate(); });
    for (int moved = 0; moved < std::abs(count); ++moved) {
        // On the way back towards the anchor the record left behind leaves the range.
        if (dataSet->CompareBookmarks(dataSet->Bookmark(), anchor) * step < 0)
            FGrid.UnselectCurrentRow();
        if (dataSet->MoveBy(step) == 0)
            break;
        FGrid.SelectCurrentRow();
    }
}

void TOrvoGridMouseSelection::ExtendColumnsToCurrent()
{
    const int column = FGrid.RawToDataColumn(FGrid.Col());
    if (column >= FGrid.FirstSelectableCol() && column != FGrid.CurrentCol()) {
        FGrid.BeginSelectionUpdate();
        const auto end = Finally([this] { FGrid.EndSelectionUpdate(); });
        FGrid.SetCurrentCol(column);
    }
}

} // namespace orvo
