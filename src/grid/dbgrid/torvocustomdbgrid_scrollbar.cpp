// The grid's scroll bars and its reaction to the dataset scrolling. The vertical bar
// follows records rather than rows: the data rows only ever show the link's buffer, so
// the bar shows record numbers (or, without them, top, middle and bottom) and every
// action on it moves the dataset. The horizontal bar is the base grid's, hidden or kept
// on as the flat-bar settings ask.

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "platform/data/tdataset.h"

#include <QPainter>
#include <QScopeGuard>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace orvo {

namespace {

/// Rounds a division of non-negative numbers up.
qint64 DivCeil(qint64 numerator, qint64 denominator)
{
    return (numerator + denominator - 1) / denominator;
}

/// Keeps counts of a huge dataset within what a scroll bar holds, with room left for
/// adding a page to them.
int ClampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, INT_MIN / 2, INT_MAX / 2));
}

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

// --- The vertical bar --------------------------------------------------------------------------

bool TOrvoCustomDBGrid::GridScrollMode() const
{
    return d->FOptions.Contains(dgForceSequence) && d->FOptionsExt.Contains(dgScrollGridMode);
}

bool TOrvoCustomDBGrid::VerticalBarFits(int visible) const
{
    if (d->FOptions.Contains(dgForceSequence))
        return visible >= d->FSequenceRecordCount;
    if (DataSet()->IsSequenced())
        return visible >= DataSet()->RecordCount();
    return d->FDataLink->RecordCount() < DataAreaRowCapacity();
}

TOrvoCustomDBGrid::TScrollInfo TOrvoCustomDBGrid::CalcVerticalBar(int visible) const
{
    TDataSet* dataSet = DataSet();
    const bool proportional = TOrvoScrollProp::CoversVertical(d->FScrollProp->ThumbBar());
    const bool browsing = dataSet->State() == dsBrowse || dataSet->State() == dsEdit;
    TScrollInfo info;
    // Outside browse and edit (inserting, say) the thumb stays where it was.
    info.Pos = verticalScrollBar()->value();
    if (d->FOptions.Contains(dgForceSequence)) {
        const qint64 count = d->FSequenceRecordCount;
        const bool pages = GridScrollMode() && d->FOptionsExt.Contains(dgScrollPageMode);
        const qint64 pageCount = DivCeil(std::max<qint64>(0, count), visible);
        info.Min = 1;
        info.Page = proportional ? visible : 0;
        if (pages)
            info.Max = ClampToInt(proportional ? visible + pageCount - 1 : pageCount);
        else if (GridScrollMode())
            info.Max = ClampToInt(proportional ? count : count - visible + 1);
        else
            info.Max = ClampToInt(proportional ? visible + count - 1 : count);
        if (browsing) {
            qint64 number = d->FSequenceRecNo;
            if (dataSet->Bof())
                number = std::min<qint64>(1, count);
            else if (dataSet->Eof())
                number = count;
            const int active = d->FDataLink->ActiveRecord();
            if (pages)
                info.Pos = ClampToInt((number + 2 * qint64(visible) - active - 2) / visible);
            else if (GridScrollMode())
                info.Pos = ClampToInt(number - active);
            else
                info.Pos = ClampToInt(number);
        }
    } else if (dataSet->IsSequenced()) {
        const qint64 count = dataSet->RecordCount();
        info.Min = 1;
        info.Page = proportional ? visible : 0;
        info.Max = ClampToInt(proportional ? count + visible - 1 : count);
        if (browsing)
            info.Pos = dataSet->RecNo();
    } else {
        // No record numbers: top, somewhere in between, bottom.
        info.Min = 0;
        info.Page = proportional ? 2 : 0;
        info.Max = proportional ? 5 : 4;
        info.Pos = dataSet->Bof() ? 0 : dataSet->Eof() ? info.Max : 2;
    }
    return info;
}

void TOrvoCustomDBGrid::UpdateScrollBar()
{
    if (!OwnsVerticalScrollBar())
        SetOwnsVerticalScrollBar(true);
    if (!TOrvoScrollProp::CoversVertical(d->FScrollBarsAsked)) {
        WriteVerticalBar({}, false);
        return;
    }
    if (!d->FDataLink->Active() || !DataSet()) {
        ResetVerticalBarWithoutData();
        return;
    }
    const int visible = std::max(1, d->FDataLink->BufferCount());
    TScrollInfo info = CalcVerticalBar(visible);
    const bool autoHidden = TOrvoScrollProp::CoversVertical(d->FScrollProp->AutoHidden());
    if (d->FScrollProp->FlatScrollBarsInUse() && autoHidden && VerticalBarFits(visible)) {
        WriteVerticalBar({}, false);
        return;
    }
    // A bar that cannot hide keeps a range, so that it stays drawn as a bar.
    if (!autoHidden && info.Max <= info.Min)
        info.Max = info.Min + 1;
    WriteVerticalBar(info, true);
}

void TOrvoCustomDBGrid::ResetVerticalBarWithoutData()
{
    // Without flat bars there is nothing to scroll and nothing to show.
    if (!d->FScrollProp->FlatScrollBarsInUse() || d->FLoading) {
        WriteVerticalBar({}, false);
        return;
    }
    if (TOrvoScrollProp::CoversVertical(d->FScrollProp->AutoHidden())) {
        WriteVerticalBar({}, false);
        return;
    }
    // The whole inert range is written every time, not only when the window is made: a bar
    // that showed records before the data went would otherwise keep their range and thumb.
    const bool proportional = TOrvoScrollProp::CoversVertical(d->FScrollProp->ThumbBar());
    WriteVerticalBar({0, proportional ? 5 : 4, proportional ? 2 : 0, 0}, true);
}

void TOrvoCustomDBGrid::WriteVerticalBar(const TScrollInfo& info, bool shown)
{
    QScrollBar* bar = verticalScrollBar();
    // Qt's maximum is the thumb's last position, without the page.
    const int maximum = std::max(info.Min, info.Max - std::max(0, info.Page - 1));
    const int position = std::clamp(info.Pos, info.Min, maximum);
    {
        const QSignalBlocker quiet(bar);
        if (bar->minimum() != info.Min || bar->maximum() != maximum)
            bar->setRange(info.Min, maximum);
        if (bar->pageStep() != info.Page)
            bar->setPageStep(info.Page);
        if (bar->value() != position || bar->sliderPosition() != position)
            bar->setValue(position);
    }
    const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
}

// --- Actions on the vertical bar -------------------------------------------------------------------

void TOrvoCustomDBGrid::VerticalScrollAction(int action)
{
    if (!d->FDataLink->Active() || !DataSet()) {
        // The inert bar of a grid without data goes back to where it was.
        UpdateScrollBar();
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    // Without thumb tracking the thumb follows the mouse alone; the release brings a
    // last move that is not dragging any more.
    if (action == QAbstractSlider::SliderMove && bar->isSliderDown() &&
        !d->FOptions.Contains(dgThumbTracking))
        return;
    if (d->FClickTakesFocus && !hasFocus())
        setFocus(Qt::MouseFocusReason);
    const int visible = std::max(1, d->FDataLink->BufferCount());
    BeginBusy();
    try {
        if (GridScrollMode())
            GridScrollAction(action, bar->sliderPosition(), visible);
        else
            PlainScrollAction(action, bar->sliderPosition(), visible);
    } catch (...) {
        EndBusy();
        throw;
    }
    EndBusy();
    UpdateScrollBar();
}

void TOrvoCustomDBGrid::PlainScrollAction(int action, int position, int visible)
{
    TDataSet* dataSet = DataSet();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        // The record just above the shown ones: the view scrolls one row.
        dataSet->MoveBy(-(d->FDataLink->ActiveRecord() + 1));
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        dataSet->MoveBy(d->FDataLink->RecordCount() - d->FDataLink->ActiveRecord());
        break;
    case QAbstractSlider::SliderPageStepSub:
        dataSet->MoveBy(-visible);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        dataSet->MoveBy(visible);
        break;
    case QAbstractSlider::SliderToMinimum:
        MoveToEnd(false);
        break;
    case QAbstractSlider::SliderToMaximum:
        MoveToEnd(true);
        break;
    case QAbstractSlider::SliderMove:
        if (d->FOptions.Contains(dgForceSequence)) {
            // The sequence counts what the grid walked, which a filtered or unnumbered
            // dataset's RecordCount may not.
            if (position <= 1)
                MoveToEnd(false);
            else if (position < d->FSequenceRecordCount)
                dataSet->MoveBy(ClampToInt(position - d->FSequenceRecNo));
            else
                MoveToEnd(true);
        } else if (dataSet->IsSequenced()) {
            if (position <= 1)
                dataSet->First();
            else if (position < dataSet->RecordCount())
                dataSet->SetRecNo(position);
            else
                dataSet->Last();
        } else if (position <= 0) {
            dataSet->First();
        } else if (position == 1) {
            dataSet->MoveBy(-visible);
        } else if (position == 3) {
            dataSet->MoveBy(visible);
        } else if (position >= 4) {
            dataSet->Last();
        }
        break;
    default:
        break;
    }
}

void TOrvoCustomDBGrid::GridScrollAction(int action, int position, int visible)
{
    TDataSet* dataSet = DataSet();
    const int active = d->FDataLink->ActiveRecord();
    const auto toTop = [&] {
        MoveToEnd(false);
        dataSet->MoveBy(active);
    };
    const auto toBottom = [&] {
        MoveToEnd(true);
        dataSet->MoveBy(-std::max(0, d->FDataLink->RecordCount() - 1 - active));
    };
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        ScrollView(-1);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        ScrollView(1);
        break;
    case QAbstractSlider::SliderPageStepSub:
        ScrollView(-visible);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        ScrollView(visible);
        break;
    case QAbstractSlider::SliderToMinimum:
        toTop();
        break;
    case QAbstractSlider::SliderToMaximum:
        toBottom();
        break;
    case QAbstractSlider::SliderMove: {
        if (position <= 1) {
            toTop();
            break;
        }
        if (position > d->FSequenceRecordCount - visible + 1) {
            toBottom();
            break;
        }
        const qint64 top =
            d->FOptionsExt.Contains(dgScrollPageMode) ? qint64(visible) * (position - 1) + 1 : position;
        ScrollView(ClampToInt(top - (d->FSequenceRecNo - active)));
        break;
    }
    default:
        break;
    }
}

void TOrvoCustomDBGrid::MoveToEnd(bool last)
{
    TDataSet* dataSet = DataSet();
    if (last)
        dataSet->Last();
    else
        dataSet->First();
    // The dataset reports a jump to an end as a change, not a scroll, and the grid
    // moving it recounts nothing: the ends' numbers are known without a walk.
    if (d->FOptions.Contains(dgForceSequence))
        d->FSequenceRecNo = last ? d->FSequenceRecordCount : std::min<qint64>(1, d->FSequenceRecordCount);
}

void TOrvoCustomDBGrid::ScrollView(int rows)
{
    if (rows == 0)
        return;
    TDataSet* dataSet = DataSet();
    const int active = d->FDataLink->ActiveRecord();
    // Past the window's edge on the far side first, so that the window scrolls by the
    // rows asked for, then back inside it to the row the current record stood on.
    if (rows > 0) {
        const int below = std::max(0, d->FDataLink->RecordCount() - 1 - active);
        dataSet->MoveBy(rows > INT_MAX - below ? INT_MAX : rows + below);
        dataSet->MoveBy(-below);
    } else {
        dataSet->MoveBy(rows < INT_MIN + active ? INT_MIN + 1 : rows - active);
        dataSet->MoveBy(active);
    }
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
    try {
        ScrollDataRowPixels(distance, oldRow);
    } catch (...) {
        if (d->FOptions.Contains(dgAlwaysShowEditor))
            ShowEditor();
        throw;
    }
    if (d->FOptions.Contains(dgAlwaysShowEditor))
        ShowEditor();
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

// --- The horizontal bar ------------------------------------------------------------------------------

int TOrvoCustomDBGrid::TotalColumnsWidth() const
{
    const int line = CalcDrawInfo().Horz.EffectiveLineWidth;
    int total = 0;
    for (int col = 0; col < ColCount(); ++col)
        if (const int width = ColWidths(col); width >= 0)
            total += width + line;
    return total;
}

void TOrvoCustomDBGrid::UpdateHorzScrollBar()
{
    // Changing the bar resizes the viewport, which asks again: ask once more after
    // the outer call instead of nesting.
    if (d->FUpdatingHorzBar) {
        d->FHorzBarAgain = true;
        return;
    }
    d->FUpdatingHorzBar = true;
    const auto done = qScopeGuard([this] { d->FUpdatingHorzBar = false; });
    for (int round = 0; round < 3; ++round) {
        d->FHorzBarAgain = false;
        ApplyHorzScrollBar();
        if (!d->FHorzBarAgain)
            break;
    }
}

void TOrvoCustomDBGrid::ApplyHorzScrollBar()
{
    if (!d->FScrollProp || d->FDestroying || !TOrvoScrollProp::CoversHorizontal(d->FScrollBarsAsked))
        return;
    if (!d->FScrollProp->FlatScrollBarsInUse()) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        return;
    }
    QScrollBar* bar = horizontalScrollBar();
    const bool autoHidden = TOrvoScrollProp::CoversHorizontal(d->FScrollProp->AutoHidden());
    const bool fits = viewport()->width() >= TotalColumnsWidth();
    const bool rangeEmpty = bar->maximum() <= bar->minimum();
    // Kept on with nothing to scroll, the bar is inert: shown, with an empty range.
    const bool linkActive = d->FDataLink && d->FDataLink->Active();
    const bool shown = !autoHidden || (!fits && (!rangeEmpty || linkActive));
    const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (horizontalScrollBarPolicy() != policy)
        setHorizontalScrollBarPolicy(policy);
    if (rangeEmpty)
        return;
    // Qt sizes the thumb from the page step: the base grid's step (the whole columns
    // shown) gives a proportional thumb, a step of one the small fixed one.
    const int page = TOrvoScrollProp::CoversHorizontal(d->FScrollProp->ThumbBar())
                         ? std::max(1, CalcDrawInfo().Horz.LastFullVisibleCell - LeftCol() + 1)
                         : 1;
    if (bar->pageStep() != page)
        bar->setPageStep(page);
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
