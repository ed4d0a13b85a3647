// The calendar's keys, mouse and wheel: each turns into a move of the navigator.
#include "lists/calendar/torvodbpopupcalendar.h"

#include "grid/columns/torvocolumn.h"
#include "lists/calendar/tcalendarcolumns.h"
#include "lists/calendar/tcalendarnavigator.h"
#include "lists/calendar/tcalendartodayshape.h"
#include "platform/core/texceptionhandler.h"

#include <QLabel>
#include <QMouseEvent>

namespace orvo {

namespace {

Qt::KeyboardModifiers ModifiersOf(TShiftState shift)
{
    Qt::KeyboardModifiers modifiers;
    if (shift.Contains(ssCtrl))
        modifiers |= Qt::ControlModifier;
    if (shift.Contains(ssShift))
        modifiers |= Qt::ShiftModifier;
    return modifiers;
}

} // namespace

void TOrvoDBPopupCalendar::KeyDown(int& key, TShiftState shift)
{
    ReadCurrentCell();
    if (FNavigator->KeyDown(key, ModifiersOf(shift)))
        ShowNavigator();
    // The calendar has no editor and no other moves: every other key ends here.
    key = 0;
}

int TOrvoDBPopupCalendar::WheelStep(TShiftState shift)
{
    return FNavigator->WheelStep(ModifiersOf(shift));
}

bool TOrvoDBPopupCalendar::DoMouseWheel(TShiftState shift, int delta, const QPoint&)
{
    if (delta == 0)
        return true;
    ReadCurrentCell();
    FNavigator->Wheel(WheelStep(shift), delta < 0);
    ShowNavigator();
    return true;
}

void TOrvoDBPopupCalendar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TOrvoDBPopupList::MouseUp(button, shift, x, y);
    // A click on a day of another month, or on a year or decade outside the page, turns the page.
    ReadCurrentCell();
    FNavigator->GoToDate(FNavigator->CurrentCellDate());
    ShowNavigator();
}

void TOrvoDBPopupCalendar::CellClick(TOrvoColumn* column)
{
    TOrvoDBPopupList::CellClick(column);
    const int field = column ? TCalendarColumns::FieldOfColumn(column) : -1;
    if (field < 0 || !FNavigator->Page().IsDataField(field))
        return;
    if (Depth() == cdMonth)
        RequestCloseUp(true);
    else
        SetDepth(TCalendarDepth(Depth() - 1));
}

void TOrvoDBPopupCalendar::TitleClick(TOrvoColumn* column)
{
    TOrvoDBPopupList::TitleClick(column);
    if (!column)
        return;
    const TCalendarColumns::TTitlePart part = TCalendarColumns::TitlePart(column->Index());
    switch (part) {
    case TCalendarColumns::tpPrevious:
    case TCalendarColumns::tpNext:
        ReadCurrentCell();
        FNavigator->TurnPage(part == TCalendarColumns::tpNext);
        ShowNavigator();
        break;
    case TCalendarColumns::tpCaption:
        if (Depth() != cdCentury)
            SetDepth(TCalendarDepth(Depth() + 1));
        break;
    case TCalendarColumns::tpNone:
        break;
    }
}

void TOrvoDBPopupCalendar::TodayClick(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    GoToDate(Today());
    if (FAutoTodayClose)
        RequestCloseUp(true);
}

bool TOrvoDBPopupCalendar::eventFilter(QObject* watched, QEvent* event)
{
    const bool todayControl = watched == FTodayLabel || watched == FTodayShape;
    if (todayControl && event->type() == QEvent::MouseButtonRelease) {
        auto* release = static_cast<QMouseEvent*>(event);
        auto* control = static_cast<QWidget*>(watched);
        if (control->rect().contains(release->position().toPoint()))
            TExceptionHandler::Guard([this, release] { TodayClick(release->button()); });
        return true;
    }
    return TOrvoDBPopupList::eventFilter(watched, event);
}

void TOrvoDBPopupCalendar::changeEvent(QEvent* event)
{
    TOrvoDBPopupList::changeEvent(event);
    // A new font size re-measures the titles and rows, so the calendar grows or shrinks with it.
    if (event->type() == QEvent::FontChange && FTodayLabel)
        TExceptionHandler::Guard([this] { AdjustListSize(); });
}

} // namespace orvo
