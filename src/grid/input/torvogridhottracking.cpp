#include "grid/input/torvogridhottracking.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/input/torvogridmouse.h"
#include "grid/painting/torvodbgridpainter.h"
#include "platform/graphics/tthemeservices.h"

namespace orvo {

TOrvoGridHotTracking::TOrvoGridHotTracking(TOrvoCustomDBGrid& grid, const TOrvoGridMouse& mouse)
    : FGrid(grid), FMouse(mouse)
{}

void TOrvoGridHotTracking::Track(int x, int y)
{
    if (FGrid.GridState() != gsNormal) {
        Clear();
        return;
    }
    TrackTitle(x, y);
    TrackCell(x, y);
}

void TOrvoGridHotTracking::TrackTitle(int x, int y)
{
    TOrvoColumn* hot = nullptr;
    bool onButton = false;
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    if (FGrid.Options().Contains(dgTitleButtons) && cell.Y >= 0 && cell.Y < FGrid.TitleOffset() &&
        !FMouse.OnSizingEdge(x, y)) {
        const TOrvoGridMouse::TTitleHit hit = FMouse.TitleHitAt(cell, x, y);
        if (hit.Column && !hit.OnHeader && (hit.Column->Title()->Button() || hit.OnButton)) {
            hot = hit.Column;
            onButton = hit.OnButton;
        }
    }
    SetHotTitle(hot, onButton);
}

void TOrvoGridHotTracking::TrackCell(int x, int y)
{
    SetMouseCell(CheckBoxCellAt(x, y), false);
}

void TOrvoGridHotTracking::TrackPressedCell(TGridCoord pressed, int x, int y)
{
    SetMouseCell(CheckBoxCellAt(x, y) == pressed ? pressed : TGridCoord(), true);
}

void TOrvoGridHotTracking::Clear()
{
    SetHotTitle(nullptr, false);
    SetMouseCell(TGridCoord(), false);
}

TGridCoord TOrvoGridHotTracking::CheckBoxCellAt(int x, int y) const
{
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    const bool dataRow = cell.Y >= FGrid.TitleOffset() && cell.Y < FGrid.FirstBottomRow();
    const TOrvoColumn* column = FGrid.ColumnOfGridCol(cell.X);
    return dataRow && column && column->CheckBox() ? cell : TGridCoord();
}

void TOrvoGridHotTracking::SetHotTitle(TOrvoColumn* column, bool onButton)
{
    if (column == FHotTitle && onButton == FHotOnButton)
        return;
    FHotTitle = column;
    FHotOnButton = onButton;
    FGrid.Painter()->SetHotTitle(column, onButton);
    if (FGrid.Options().Contains(dgHotButtons))
        RepaintTitles();
}

void TOrvoGridHotTracking::SetMouseCell(TGridCoord cell, bool pressed)
{
    if (cell == FMouseCell && pressed == FCellPressed)
        return;
    const TGridCoord before = FMouseCell;
    FMouseCell = cell;
    FCellPressed = pressed;
    FGrid.Painter()->SetMouseCell(QPoint(cell.X, cell.Y), pressed);
    // Only a themed box looks different under the mouse; the plain glyphs need no repaint.
    for (const TGridCoord changed : {before, cell})
        if (changed.X >= 0 && HasHotLook(FGrid.ColumnOfGridCol(changed.X)))
            FGrid.InvalidateCell(changed.X, changed.Y);
}

bool TOrvoGridHotTracking::HasHotLook(const TOrvoColumn* column) const
{
    return column && ThemeServices().ThemesEnabled() &&
           (FGrid.FixedTheme() != ftNone || column->CheckBoxThemed());
}

void TOrvoGridHotTracking::RepaintTitles()
{
    const int titleRows = FGrid.TitleOffset();
    if (titleRows <= 0)
        return;
    const QRect last = FGrid.CellRect(FGrid.IndicatorOffset(), titleRows - 1);
    FGrid.viewport()->update(
        QRect(0, 0, FGrid.viewport()->width(), last.bottom() + FGrid.HorzLineWidth() + 1));
}

} // namespace orvo
