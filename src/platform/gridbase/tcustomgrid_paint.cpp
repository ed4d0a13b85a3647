#include "platform/gridbase/tcustomgrid.h"

#include "platform/core/texceptionhandler.h"
#include "platform/graphics/tcanvas.h"
#include "platform/gridbase/tfocusedlook.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScopeGuard>

#include <algorithm>

namespace orvo {

namespace {
/// An inclusive range of cell indices; empty when First > Last.
struct TCellRange
{
    int First = 0;
    int Last = -1;
    bool IsEmpty() const { return First > Last; }
};

constexpr TColor FixedLineColor = clBlack;
constexpr TColor LineColor = clSilver;
} // namespace

void TCustomGrid::paintEvent(QPaintEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QPainter painter(viewport());
        painter.setClipRegion(event->region());
        TCanvas canvas(&painter, palette());
        canvas.Font().SetQFont(font());
        FPaintCanvas = &canvas;
        const auto done = qScopeGuard([this] { FPaintCanvas = nullptr; });
        Paint(canvas);
    });
}

void TCustomGrid::Paint(TCanvas& canvas)
{
    const TGridDrawInfo info = CalcDrawInfo();
    const QRect clip = canvas.ClipRect();
    PaintCells(canvas, info, clip);
    // What lies beyond the last row and column shows the grid's colour.
    canvas.Brush().SetColor(FColor);
    canvas.Brush().SetStyle(bsSolid);
    const QSize client = viewport()->size();
    if (info.Horz.GridBoundary < client.width())
        canvas.FillRect(
            QRect(info.Horz.GridBoundary, 0, client.width() - info.Horz.GridBoundary, client.height()));
    if (info.Vert.GridBoundary < client.height())
        canvas.FillRect(QRect(0, info.Vert.GridBoundary, info.Horz.GridBoundary,
                              client.height() - info.Vert.GridBoundary));
    PaintDragFeedback(canvas, info);
}

void TCustomGrid::PaintCells(TCanvas& canvas, const TGridDrawInfo& info, const QRect& clip)
{
    if (clip.isEmpty() || clip.left() >= info.Horz.GridBoundary || clip.top() >= info.Vert.GridBoundary)
        return;
    const QSize client = viewport()->size();
    const int colLo = AxisCoord(FCols, FFixedCols, FTopLeft.X, client.width(), std::max(clip.left(), 0));
    const int colHi = AxisCoord(FCols, FFixedCols, FTopLeft.X, client.width(),
                                std::min(clip.right(), info.Horz.GridBoundary - 1));
    const int rowLo = AxisCoord(FRows, FFixedRows, FTopLeft.Y, client.height(), std::max(clip.top(), 0));
    const int rowHi = AxisCoord(FRows, FFixedRows, FTopLeft.Y, client.height(),
                                std::min(clip.bottom(), info.Vert.GridBoundary - 1));
    if (colLo < 0 || colHi < 0 || rowLo < 0 || rowHi < 0)
        return;
    // The exposed fixed and scrolled parts of each axis; the cells scrolled away
    // between them are never visited.
    const TCellRange fixedCols{colLo, std::min(colHi, FFixedCols - 1)};
    const TCellRange scrolledCols{std::max(colLo, FTopLeft.X), colHi};
    const TCellRange fixedRows{rowLo, std::min(rowHi, FFixedRows - 1)};
    const TCellRange scrolledRows{std::max(rowLo, FTopLeft.Y), rowHi};
    const auto eachBlock = [&](const auto& paint) {
        for (const TCellRange& rows : {fixedRows, scrolledRows})
            for (const TCellRange& cols : {fixedCols, scrolledCols})
                if (!rows.IsEmpty() && !cols.IsEmpty())
                    paint(cols, rows);
    };
    const auto lines = [&](const TCellRange& cols, const TCellRange& rows) {
        PaintLines(canvas, cols.First, cols.Last, rows.First, rows.Last, info);
    };
    const auto cells = [&](const TCellRange& cols, const TCellRange& rows) {
        PaintBlock(canvas, cols.First, cols.Last, rows.First, rows.Last, clip);
    };
    if (DrawsOwnLines()) {
        // Cells that reach into the gaps (frames, joined bands) must not be painted over.
        eachBlock(lines);
        eachBlock(cells);
        return;
    }
    eachBlock([&](const TCellRange& cols, const TCellRange& rows) {
        cells(cols, rows);
        lines(cols, rows);
    });
}

void TCustomGrid::PaintBlock(TCanvas& canvas, int col0, int col1, int row0, int row1, const QRect& clip)
{
    for (int row = row0; row <= row1; ++row) {
        for (int col = col0; col <= col1; ++col) {
            const QRect rect = CellRect(col, row);
            if (rect.isEmpty() || !rect.intersects(clip))
                continue;
            const TGridDrawState state = DrawStateOf(col, row);
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(CellColor(state));
            canvas.Font().SetColor(state.Contains(gdSelected) && !state.Contains(gdFixed) ? clHighlightText
                                                                                          : clWindowText);
            canvas.FillRect(rect);
            DrawCell(col, row, rect, state);
            if (state.Contains(gdFocused) && !FOptions.Contains(goRowSelect) && !FEditorMode &&
                !DrawsOwnLines())
                canvas.DrawFocusRect(rect);
        }
    }
}

void TCustomGrid::PaintLines(TCanvas& canvas, int col0, int col1, int row0, int row1,
                             const TGridDrawInfo& info)
{
    const int vertWidth = info.Horz.EffectiveLineWidth;
    const int horzWidth = info.Vert.EffectiveLineWidth;
    if (vertWidth == 0 && horzWidth == 0)
        return;
    const QRect block = BoxRect(col0, row0, col1, row1);
    if (block.isEmpty())
        return;
    const bool fixedCols = col0 < FFixedCols;
    const bool fixedRows = row0 < FFixedRows;
    const bool fixed = fixedCols || fixedRows;
    const bool drawVert = FOptions.Contains(fixed ? goFixedVertLine : goVertLine);
    const bool drawHorz = FOptions.Contains(fixed ? goFixedHorzLine : goHorzLine);
    const TColor background = fixed ? FFixedColor : FColor;
    const TColor lineColor = fixed ? FixedLineColor : (FColor == clSilver ? clGray : LineColor);
    canvas.Brush().SetStyle(bsSolid);
    // A line switched off still has its width; it shows the cells' colour.
    if (vertWidth > 0) {
        canvas.Brush().SetColor(drawVert ? lineColor : background);
        for (int col = col0; col <= col1; ++col) {
            const QRect cell = BoxRect(col, row0, col, row1);
            if (FCols.Size(col) >= 0 && (!cell.isEmpty() || FCols.Size(col) == 0)) {
                const int x =
                    cell.isEmpty() ? AxisStart(FCols, FFixedCols, FTopLeft.X, col) : cell.right() + 1;
                canvas.FillRect(QRect(x, block.top(), vertWidth, block.height() + horzWidth));
            }
        }
    }
    if (horzWidth > 0) {
        canvas.Brush().SetColor(drawHorz ? lineColor : background);
        for (int row = row0; row <= row1; ++row) {
            const QRect cell = BoxRect(col0, row, col1, row);
            if (FRows.Size(row) >= 0 && (!cell.isEmpty() || FRows.Size(row) == 0)) {
                const int y =
                    cell.isEmpty() ? AxisStart(FRows, FFixedRows, FTopLeft.Y, row) : cell.bottom() + 1;
                canvas.FillRect(QRect(block.left(), y, block.width() + vertWidth, horzWidth));
            }
        }
    }
}

void TCustomGrid::PaintDragFeedback(TCanvas& canvas, const TGridDrawInfo& info)
{
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clWindowText);
    switch (FGridState) {
    case gsColSizing:
        canvas.FillRect(QRect(FSizingPos, 0, std::max(1, FGridLineWidth), info.Vert.GridBoundary));
        break;
    case gsRowSizing:
        canvas.FillRect(QRect(0, FSizingPos, info.Horz.GridBoundary, std::max(1, FGridLineWidth)));
        break;
    case gsColMoving:
        if (FMovePos >= 0) {
            const int x =
                AxisStart(FCols, FFixedCols, FTopLeft.X, FMovePos > FMoveIndex ? FMovePos + 1 : FMovePos);
            canvas.FillRect(QRect(x - 1, 0, 3, info.Vert.GridBoundary));
        }
        break;
    case gsRowMoving:
        if (FMovePos >= 0) {
            const int y =
                AxisStart(FRows, FFixedRows, FTopLeft.Y, FMovePos > FMoveIndex ? FMovePos + 1 : FMovePos);
            canvas.FillRect(QRect(0, y - 1, info.Horz.GridBoundary, 3));
        }
        break;
    default:
        break;
    }
}

TGridDrawState TCustomGrid::DrawStateOf(int col, int row) const
{
    TGridDrawState state;
    if (col < FFixedCols || row < FFixedRows) {
        state.Include(gdFixed);
        return state;
    }
    const bool current = col == FCurrent.X && row == FCurrent.Y;
    const bool focused = TFocusedLook::ShowsFocus(this, FInplaceEdit);
    if (current && focused)
        state.Include(gdFocused);
    const bool showAsSelected =
        !current || FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect);
    if (showAsSelected && Selection().Contains(col, row))
        state.Include(gdSelected);
    return state;
}

TColor TCustomGrid::CellColor(TGridDrawState state) const
{
    if (state.Contains(gdFixed))
        return FFixedColor;
    return state.Contains(gdSelected) ? clHighlight : FColor;
}

void TCustomGrid::DrawCell(int, int, const QRect&, TGridDrawState) {}

} // namespace orvo
