// The grid's scroll-bar API, its reaction to the dataset scrolling and its flat frame.
// The bars themselves are computed and acted on by TOrvoGridScrollBars.

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "platform/core/tscopecleanup.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/scrolling/torvogridscrollbars.h"
#include "platform/data/tdataset.h"

#include <QPainter>

#include <algorithm>

namespace orvo {

namespace {

/// The colours the two halves of a flat frame are drawn in: the outer sunken and inner
/// raised edges meet in the button shadow, the inner sunken and outer raised ones in
/// the dark 3-D shadow.
struct TFrameColors
{
    TColor TopLeft;
    TColor BottomRight;
};

constexpr TFrameColors SunkenOuterRaisedInner{clBtnShadow, clBtnShadow};
constexpr TFrameColors SunkenInnerRaisedOuter{cl3DDkShadow, cl3DDkShadow};

} // namespace

// --- The bars, kept by their own part ------------------------------------------------------------

void TOrvoCustomDBGrid::UpdateScrollBar()
{
    d->FScrollBars->UpdateVerticalBar();
}

void TOrvoCustomDBGrid::VerticalScrollAction(int action)
{
    d->FScrollBars->VerticalScrollAction(action);
}

void TOrvoCustomDBGrid::UpdateHorzScrollBar()
{
    d->FScrollBars->UpdateHorzBar();
}

// --- The dataset scrolled ----------------------------------------------------------------------

void TOrvoCustomDBGrid::Scroll(int distance)
{
    if (d->FDataLink->ActiveRecord() >= RowCount() - d->FTitleOffset - d->FBottom.Count())
        UpdateRowCount();
    const int oldRow = Row();
    MoveToActiveRecord();
    d->FSequenceRecNo += distance + (Row() - oldRow);
    UpdateScrollBar();
    InvalidateRow(oldRow);
    InvalidateRow(Row());
    if (distance == 0) {
        TotalsChanged(tcDataRecord);
        return;
    }
    HideEditor();
    {
        const auto showEditor = Finally([this] {
            if (d->FOptions.Contains(dgAlwaysShowEditor))
                ShowEditor();
        });
        ScrollDataRowPixels(distance, oldRow);
    }
    TotalsChanged(tcDataRecord);
}

bool TOrvoCustomDBGrid::TilesFromGridOrColumn() const
{
    return std::any_of(d->FShownColumns.begin(), d->FShownColumns.end(), [](const TOrvoColumn* column) {
        return column->ImageDraw() == idTileGrid || column->ImageDraw() == idTileCol;
    });
}

void TOrvoCustomDBGrid::ScrollDataRowPixels(int distance, int oldRow)
{
    // Tiles anchored to the grid or a column do not move with the rows.
    if (TilesFromGridOrColumn()) {
        InvalidateGrid();
        return;
    }
    const int firstBottom = FirstBottomRow();
    if (std::abs(distance) > d->FDataLink->BufferCount() || d->FStripeColor != clNone) {
        // Stripes follow row numbers, not records: every data row changes.
        for (int row = d->FTitleOffset; row < firstBottom; ++row)
            InvalidateRow(row);
        return;
    }
    const TGridDrawInfo info = CalcDrawInfo();
    const int step = DefaultRowHeight() + info.Vert.EffectiveLineWidth;
    const int top = info.Vert.FixedBoundary;
    // Only whole data rows move: what lies below them is not theirs to carry along.
    const int bottom = std::min(viewport()->height(), top + DataRowCount() * step);
    if (bottom <= top)
        return;
    viewport()->scroll(0, -distance * step, QRect(0, top, viewport()->width(), bottom - top));
    // The indicator and the current row's highlight moved with the pixels: the old
    // current record now stands `distance` rows higher.
    const int movedOldRow = oldRow - distance;
    if (movedOldRow >= d->FTitleOffset && movedOldRow < firstBottom)
        InvalidateRow(movedOldRow);
    InvalidateRow(Row());
}

void TOrvoCustomDBGrid::ScrollRangeUpdated()
{
    TCustomGrid::ScrollRangeUpdated();
    UpdateHorzScrollBar();
}

// --- The flat frame ------------------------------------------------------------------------------------

void TOrvoCustomDBGrid::FramePainted()
{
    TCustomGrid::FramePainted();
    PaintFlatFrame();
}

void TOrvoCustomDBGrid::PaintFlatFrame()
{
    if (BorderStyle() != bsSingle || d->FCtl3D || !d->FOptions.Contains(dgColLines) ||
        !d->FOptions.Contains(dgRowLines))
        return;
    TFrameColors colors;
    if (ThemedFixedCells() || d->FFixedStyle == fsFine || d->FFixedStyle == fsMild)
        colors = SunkenOuterRaisedInner;
    else if (d->FFixedStyle == fsSoft || d->FFixedStyle == fsGreat || d->FFixedStyle == fsGray)
        colors = SunkenInnerRaisedOuter;
    else
        return;
    QPainter painter(this);
    const QRect frame = rect();
    painter.setPen(ToQColor(colors.TopLeft, palette()));
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(ToQColor(colors.BottomRight, palette()));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
}

} // namespace orvo
