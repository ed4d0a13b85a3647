#include "grid/scrolling/torvogridscrollbars.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "platform/core/texceptionhandler.h"
#include "platform/data/tdataset.h"

#include <QScopeGuard>
#include <QScrollBar>
#include <QTimer>

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

} // namespace

TOrvoGridScrollBars::TOrvoGridScrollBars(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

// --- The vertical bar --------------------------------------------------------------------------

bool TOrvoGridScrollBars::GridScrollMode() const
{
    return FGrid.d->FOptions.Contains(dgForceSequence) && FGrid.d->FOptionsExt.Contains(dgScrollGridMode);
}

bool TOrvoGridScrollBars::VerticalBarFits(int visible) const
{
    if (FGrid.d->FOptions.Contains(dgForceSequence))
        return visible >= FGrid.d->FSequenceRecordCount;
    if (FGrid.DataSet()->IsSequenced())
        return visible >= FGrid.DataSet()->RecordCount();
    return FGrid.d->FDataLink->RecordCount() < TOrvoGridRowLayout(FGrid).DataAreaRowCapacity();
}

TOrvoGridScrollBars::TScrollInfo TOrvoGridScrollBars::CalcVerticalBar(int visible) const
{
    TDataSet* dataSet = FGrid.DataSet();
    const bool proportional = TOrvoScrollProp::CoversVertical(FGrid.d->FScrollProp->ThumbBar());
    const bool browsing = dataSet->State() == dsBrowse || dataSet->State() == dsEdit;
    TScrollInfo info;
    // Outside browse and edit (inserting, say) the thumb stays where it was.
    info.Pos = FGrid.verticalScrollBar()->value();
    if (FGrid.d->FOptions.Contains(dgForceSequence)) {
        const qint64 count = FGrid.d->FSequenceRecordCount;
        const bool pages = GridScrollMode() && FGrid.d->FOptionsExt.Contains(dgScrollPageMode);
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
            qint64 number = FGrid.d->FSequenceRecNo;
            if (dataSet->Bof())
                number = std::min<qint64>(1, count);
            else if (dataSet->Eof())
                number = count;
            const int active = FGrid.d->FDataLink->ActiveRecord();
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

void TOrvoGridScrollBars::UpdateVerticalBar()
{
    FCountPending = false;
    if (!FGrid.OwnsVerticalScrollBar())
        FGrid.SetOwnsVerticalScrollBar(true);
    if (!TOrvoScrollProp::CoversVertical(FGrid.d->FScrollBarsAsked)) {
        WriteVerticalBar({}, false);
        return;
    }
    if (!FGrid.d->FDataLink->Active() || !FGrid.DataSet()) {
        ResetVerticalBarWithoutData();
        return;
    }
    const int visible = std::max(1, FGrid.d->FDataLink->BufferCount());
    const bool provisional = CountWaitsForFirstPaint(visible);
    FCountPending = provisional;
    TScrollInfo info = provisional ? CalcProvisionalBar(visible) : CalcVerticalBar(visible);
    const bool autoHidden = TOrvoScrollProp::CoversVertical(FGrid.d->FScrollProp->AutoHidden());
    // A provisional bar is never hidden for fitting: the records past the buffer are not counted.
    if (FGrid.d->FScrollProp->FlatScrollBarsInUse() && autoHidden && !provisional &&
        VerticalBarFits(visible)) {
        WriteVerticalBar({}, false);
        return;
    }
    // A bar that cannot hide keeps a range, so that it stays drawn as a bar.
    if (!autoHidden && info.Max <= info.Min)
        info.Max = info.Min + 1;
    WriteVerticalBar(info, true);
}

bool TOrvoGridScrollBars::CountWaitsForFirstPaint(int visible) const
{
    // A buffer that is not full holds every record: the count costs little, and it
    // decides at once whether an auto-hidden bar shows.
    return !FPaintedOnce && !FGrid.d->FOptions.Contains(dgForceSequence) && FGrid.DataSet()->IsSequenced() &&
           FGrid.d->FDataLink->RecordCount() >= visible;
}

TOrvoGridScrollBars::TScrollInfo TOrvoGridScrollBars::CalcProvisionalBar(int visible) const
{
    // Within the buffer the record number is known without a count; the full buffer
    // may have more records behind it, so the bar offers one page more.
    const int recNo = std::max(1, FGrid.DataSet()->RecNo());
    const bool proportional = TOrvoScrollProp::CoversVertical(FGrid.d->FScrollProp->ThumbBar());
    const qint64 lastBuffered =
        qint64(recNo) - FGrid.d->FDataLink->ActiveRecord() + FGrid.d->FDataLink->RecordCount() - 1;
    const qint64 count = std::max<qint64>(recNo, lastBuffered) + visible;
    TScrollInfo info;
    info.Min = 1;
    info.Page = proportional ? visible : 0;
    info.Max = ClampToInt(proportional ? count + visible - 1 : count);
    info.Pos = recNo;
    return info;
}

void TOrvoGridScrollBars::CellsPainted()
{
    if (FPaintedOnce)
        return;
    FPaintedOnce = true;
    if (!FCountPending)
        return;
    // After this paint has reached the screen, not inside it: the count is what waits.
    QTimer::singleShot(0, &FGrid, [this] {
        TExceptionHandler::Guard([this] {
            if (FCountPending)
                FGrid.UpdateScrollBar();
        });
    });
}

void TOrvoGridScrollBars::ResetVerticalBarWithoutData()
{
    // Without flat bars there is nothing to scroll and nothing to show.
    if (!FGrid.d->FScrollProp->FlatScrollBarsInUse() || FGrid.d->FLoading) {
        WriteVerticalBar({}, false);
        return;
    }
    if (TOrvoScrollProp::CoversVertical(FGrid.d->FScrollProp->AutoHidden())) {
        WriteVerticalBar({}, false);
        return;
    }
    // The whole inert range is written every time, not only when the window is made: a bar
    // that showed records before the data went would otherwise keep their range and thumb.
    const bool proportional = TOrvoScrollProp::CoversVertical(FGrid.d->FScrollProp->ThumbBar());
    WriteVerticalBar({0, proportional ? 5 : 4, proportional ? 2 : 0, 0}, true);
}

void TOrvoGridScrollBars::WriteVerticalBar(const TScrollInfo& info, bool shown)
{
    QScrollBar* bar = FGrid.verticalScrollBar();
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
    if (FGrid.verticalScrollBarPolicy() != policy)
        FGrid.setVerticalScrollBarPolicy(policy);
}

// --- Actions on the vertical bar -------------------------------------------------------------------

void TOrvoGridScrollBars::VerticalScrollAction(int action)
{
    if (!FGrid.d->FDataLink->Active() || !FGrid.DataSet()) {
        // The inert bar of a grid without data goes back to where it was.
        FGrid.UpdateScrollBar();
        return;
    }
    QScrollBar* bar = FGrid.verticalScrollBar();
    // Without thumb tracking the thumb follows the mouse alone; the release brings a
    // last move that is not dragging any more.
    if (action == QAbstractSlider::SliderMove && bar->isSliderDown() &&
        !FGrid.d->FOptions.Contains(dgThumbTracking))
        return;
    if (FGrid.d->FClickTakesFocus && !FGrid.hasFocus())
        FGrid.setFocus(Qt::MouseFocusReason);
    const int visible = std::max(1, FGrid.d->FDataLink->BufferCount());
    {
        FGrid.BeginBusy();
        const auto done = qScopeGuard([this] { FGrid.EndBusy(); });
        if (GridScrollMode())
            GridScrollAction(action, bar->sliderPosition(), visible);
        else
            PlainScrollAction(action, bar->sliderPosition(), visible);
    }
    FGrid.UpdateScrollBar();
}

void TOrvoGridScrollBars::PlainScrollAction(int action, int position, int visible)
{
    TDataSet* dataSet = FGrid.DataSet();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        // The record just above the shown ones: the view scrolls one row.
        dataSet->MoveBy(-(FGrid.d->FDataLink->ActiveRecord() + 1));
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        dataSet->MoveBy(FGrid.d->FDataLink->RecordCount() - FGrid.d->FDataLink->ActiveRecord());
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
        if (FGrid.d->FOptions.Contains(dgForceSequence)) {
            // The sequence counts what the grid walked, which a filtered or unnumbered
            // dataset's RecordCount may not.
            if (position <= 1)
                MoveToEnd(false);
            else if (position < FGrid.d->FSequenceRecordCount)
                dataSet->MoveBy(ClampToInt(position - FGrid.d->FSequenceRecNo));
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

void TOrvoGridScrollBars::GridScrollAction(int action, int position, int visible)
{
    TDataSet* dataSet = FGrid.DataSet();
    const int active = FGrid.d->FDataLink->ActiveRecord();
    const auto toTop = [&] {
        MoveToEnd(false);
        dataSet->MoveBy(active);
    };
    const auto toBottom = [&] {
        MoveToEnd(true);
        dataSet->MoveBy(-std::max(0, FGrid.d->FDataLink->RecordCount() - 1 - active));
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
        if (position > FGrid.d->FSequenceRecordCount - visible + 1) {
            toBottom();
            break;
        }
        const qint64 top =
            FGrid.d->FOptionsExt.Contains(dgScrollPageMode) ? qint64(visible) * (position - 1) + 1 : position;
        ScrollView(ClampToInt(top - (FGrid.d->FSequenceRecNo - active)));
        break;
    }
    default:
        break;
    }
}

void TOrvoGridScrollBars::MoveToEnd(bool last)
{
    TDataSet* dataSet = FGrid.DataSet();
    if (last)
        dataSet->Last();
    else
        dataSet->First();
    // The dataset reports a jump to an end as a change, not a scroll, and the grid
    // moving it recounts nothing: the ends' numbers are known without a walk.
    if (FGrid.d->FOptions.Contains(dgForceSequence))
        FGrid.d->FSequenceRecNo =
            last ? FGrid.d->FSequenceRecordCount : std::min<qint64>(1, FGrid.d->FSequenceRecordCount);
}

void TOrvoGridScrollBars::ScrollView(int rows)
{
    if (rows == 0)
        return;
    TDataSet* dataSet = FGrid.DataSet();
    const int active = FGrid.d->FDataLink->ActiveRecord();
    // Past the window's edge on the far side first, so that the window scrolls by the
    // rows asked for, then back inside it to the row the current record stood on.
    if (rows > 0) {
        const int below = std::max(0, FGrid.d->FDataLink->RecordCount() - 1 - active);
        dataSet->MoveBy(rows > INT_MAX - below ? INT_MAX : rows + below);
        dataSet->MoveBy(-below);
    } else {
        dataSet->MoveBy(rows < INT_MIN + active ? INT_MIN + 1 : rows - active);
        dataSet->MoveBy(active);
    }
}

// --- The horizontal bar ------------------------------------------------------------------------------

int TOrvoGridScrollBars::TotalColumnsWidth() const
{
    const int line = FGrid.CalcDrawInfo().Horz.EffectiveLineWidth;
    int total = 0;
    for (int col = 0; col < FGrid.ColCount(); ++col)
        if (const int width = FGrid.ColWidths(col); width >= 0)
            total += width + line;
    return total;
}

void TOrvoGridScrollBars::UpdateHorzBar()
{
    // Changing the bar resizes the viewport, which asks again: ask once more after
    // the outer call instead of nesting.
    if (FUpdatingHorzBar) {
        FHorzBarAgain = true;
        return;
    }
    FUpdatingHorzBar = true;
    const auto done = qScopeGuard([this] { FUpdatingHorzBar = false; });
    for (int round = 0; round < 3; ++round) {
        FHorzBarAgain = false;
        ApplyHorzScrollBar();
        if (!FHorzBarAgain)
            break;
    }
}

void TOrvoGridScrollBars::ApplyHorzScrollBar()
{
    if (!FGrid.d->FScrollProp || FGrid.d->FDestroying ||
        !TOrvoScrollProp::CoversHorizontal(FGrid.d->FScrollBarsAsked))
        return;
    if (!FGrid.d->FScrollProp->FlatScrollBarsInUse()) {
        FGrid.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        return;
    }
    QScrollBar* bar = FGrid.horizontalScrollBar();
    const bool autoHidden = TOrvoScrollProp::CoversHorizontal(FGrid.d->FScrollProp->AutoHidden());
    const bool fits = FGrid.viewport()->width() >= TotalColumnsWidth();
    const bool rangeEmpty = bar->maximum() <= bar->minimum();
    // Kept on with nothing to scroll, the bar is inert: shown, with an empty range.
    const bool linkActive = FGrid.d->FDataLink && FGrid.d->FDataLink->Active();
    const bool shown = !autoHidden || (!fits && (!rangeEmpty || linkActive));
    const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (FGrid.horizontalScrollBarPolicy() != policy)
        FGrid.setHorizontalScrollBarPolicy(policy);
    if (rangeEmpty)
        return;
    // Qt sizes the thumb from the page step: the base grid's step (the whole columns
    // shown) gives a proportional thumb, a step of one the small fixed one.
    const int page = TOrvoScrollProp::CoversHorizontal(FGrid.d->FScrollProp->ThumbBar())
                         ? std::max(1, FGrid.CalcDrawInfo().Horz.LastFullVisibleCell - FGrid.LeftCol() + 1)
                         : 1;
    if (bar->pageStep() != page)
        bar->setPageStep(page);
}

} // namespace orvo
