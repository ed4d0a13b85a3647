#include "grid/input/torvogridcolumndrag.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/input/torvogridmouse.h"

#include <algorithm>

namespace orvo {

TOrvoGridColumnDrag::TOrvoGridColumnDrag(TOrvoCustomDBGrid& grid, const TOrvoGridMouse& mouse)
    : FGrid(grid), FMouse(mouse)
{}

void TOrvoGridColumnDrag::RefineSizingState(int x, int y, TGridState& state, int index) const
{
    if (state == gsColSizing) {
        if (!FGrid.ResizeOptions().Contains(roColumnResize) || !SizesFromOwnTitle(x, y, index))
            state = gsNormal;
    } else if (state == gsRowSizing) {
        // A row height changed under an open edit would move the editor off its text.
        if (FGrid.DataLink()->Editing() || index >= FGrid.FirstBottomRow())
            state = gsNormal;
    }
}

bool TOrvoGridColumnDrag::SizesFromOwnTitle(int x, int y, int index) const
{
    TOrvoColumn* column = FGrid.ColumnOfGridCol(index);
    if (!column)
        return true; // the indicator's edge
    const int row = FGrid.MouseCoord(x, y).Y;
    if (row < 0 || row >= FGrid.TitleOffset())
        return row >= 0;
    if (row < column->ColumnDepth())
        return false;
    return y >= FMouse.TitleRect(column, index, row).top();
}

bool TOrvoGridColumnDrag::DragOrigin(int& origin, int x, int y) const
{
    if (!FGrid.ResizeOptions().Contains(roColumnMoving))
        return false;
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    TOrvoColumn* column = FMouse.TitleColumnAt(cell.X, cell.Y);
    if (!column || y < FMouse.TitleRect(column, cell.X, cell.Y).top() || !TakesColumns(column))
        return false;
    origin = FGrid.DataToRawColumn(column->Index());
    return true;
}

bool TOrvoGridColumnDrag::CorrectDestination(int origin, int& destination) const
{
    const TOrvoColumn* moved = FGrid.ColumnOfGridCol(origin);
    const TOrvoColumn* target = FGrid.ColumnOfGridCol(destination);
    if (!moved || !target || !TakesColumns(target))
        return false;
    const TOrvoDBGridColumns* columns = FGrid.Columns();
    const TOrvoColumn* parent = moved->ParentColumn();
    const int first = parent ? parent->Index() + 1 : 0;
    const int last = parent ? parent->LastSubColumnIndex() : columns->Count() - 1;
    const TOrvoColumn* sibling = columns->Items(std::clamp(target->Index(), first, last));
    while (sibling->ParentColumn() != parent)
        sibling = sibling->ParentColumn();
    const int from = moved->Index();
    int to = sibling->Index();
    // Moving right, the block lands after the sibling's whole sub-tree.
    if (to > from)
        to = sibling->LastSubColumnIndex() - (moved->LastSubColumnIndex() - from);
    destination = FGrid.DataToRawColumn(to);
    return true;
}

bool TOrvoGridColumnDrag::TakesColumns(const TOrvoColumn* column) const
{
    return FGrid.Columns()->State() == csCustomized || column->Field();
}

} // namespace orvo
