#include "lists/calendar/tcalendarnavigator.h"

#include <QDateTime>

#include <algorithm>

namespace orvo {

namespace {

/// Moves by whole cells of a view: days, months, years or decades.
QDate moveByCells(TCalendarDepth depth, QDate date, int cells)
{
    switch (depth) {
    case cdMonth:
        return date.addDays(cells);
    case cdYear:
        return date.addMonths(cells);
    case cdDecade:
        return date.addYears(cells);
    case cdCentury:
        return date.addYears(10 * cells);
    }
    return date;
}

/// The years a page of the view spans (a month page: none).
int pageYears(TCalendarDepth depth)
{
    switch (depth) {
    case cdMonth:
        return 0;
    case cdYear:
        return 1;
    case cdDecade:
        return 10;
    case cdCentury:
        return 100;
    }
    return 0;
}

TCalendarDepth widerDepth(TCalendarDepth depth)
{
    return depth == cdCentury ? cdCentury : TCalendarDepth(depth + 1);
}

QDate periodStart(TCalendarDepth depth, QDate date)
{
    return TCalendarPage(depth, date).StartDate();
}

QDate periodEnd(TCalendarDepth depth, QDate date)
{
    const QDate start = periodStart(depth, date);
    const QDate next = depth == cdMonth ? start.addMonths(1) : start.addYears(pageYears(depth));
    return next.addDays(-1);
}

/// Turns one page back or forward: a month, a year, a decade or a century.
QDate turnPage(TCalendarDepth depth, QDate date, bool forward)
{
    if (depth == cdMonth)
        return date.addMonths(forward ? 1 : -1);
    return date.addYears(forward ? pageYears(depth) : -pageYears(depth));
}

/// Ctrl+Page Up/Down: the span of the next wider view; from a century page back by 999
/// years but forward by 1000, as users of the classic calendar know it.
QDate turnWidePage(TCalendarDepth depth, QDate date, bool forward)
{
    if (depth == cdCentury)
        return date.addYears(forward ? 1000 : -999);
    const int years = pageYears(widerDepth(depth));
    return date.addYears(forward ? years : -years);
}

/// Ctrl+Up/Down: four weeks, a year, a decade, a century.
int wideRowCells(TCalendarDepth depth)
{
    switch (depth) {
    case cdMonth:
        return 28;
    case cdYear:
        return 12;
    case cdDecade:
    case cdCentury:
        return 10;
    }
    return 0;
}

} // namespace

QDate TCalendarNavigator::ClampDate(QDate date)
{
    if (!date.isValid() || date < MinDate())
        return MinDate();
    return std::min(date, MaxDate());
}

TCalendarNavigator::TCalendarNavigator() : FPage(cdMonth, MinDate()) {}

void TCalendarNavigator::SetDateTime(TDateTime value)
{
    FDateTime = value;
    GoToDate(value.ToQDate());
}

void TCalendarNavigator::SetCurrentCell(int row, int field)
{
    FRow = std::clamp(row, 0, FPage.RecordCount() - 1);
    FField = FPage.IsDataField(field) ? field : TCalendarPage::FirstDataField(Depth());
}

TDateTime TCalendarNavigator::SelectedDateTime() const
{
    const QDate cell = ClampDate(CurrentCellDate());
    QDate edited = FDateTime.ToQDate();
    if (!edited.isValid())
        edited = cell;
    QDate date = cell;
    if (Depth() == cdYear) {
        date = QDate(cell.year(), cell.month(), 1);
        date = date.addDays(std::min(edited.day(), date.daysInMonth()) - 1);
    } else if (Depth() != cdMonth) {
        date = QDate(cell.year(), edited.month(), 1);
        date = date.addDays(std::min(edited.day(), date.daysInMonth()) - 1);
    }
    // UTC, so that a time of day that a daylight-saving jump skips locally stays as typed.
    return TDateTime::FromQDateTime(QDateTime(date, FDateTime.ToQTime(), Qt::UTC));
}

void TCalendarNavigator::GoToDate(QDate date)
{
    date = ClampDate(date);
    FPage = TCalendarPage(Depth(), date);
    FPage.CellOf(date, FRow, FField);
}

bool TCalendarNavigator::SetDepth(TCalendarDepth depth)
{
    if (depth == Depth() || depth > FMaxDepth)
        return false;
    const QDate date = SelectedDateTime().ToQDate();
    FPage = TCalendarPage(depth, ClampDate(date));
    GoToDate(date);
    return true;
}

QDate TCalendarNavigator::KeyTarget(int key, bool ctrl, QDate from) const
{
    const TCalendarDepth depth = Depth();
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return ctrl ? turnWidePage(depth, from, key == Qt::Key_PageDown)
                    : turnPage(depth, from, key == Qt::Key_PageDown);
    case Qt::Key_Home:
        return periodStart(ctrl ? widerDepth(depth) : depth, from);
    case Qt::Key_End:
        return periodEnd(ctrl ? widerDepth(depth) : depth, from);
    case Qt::Key_Left:
        if (ctrl)
            return depth == cdMonth ? from.addDays(1 - from.dayOfWeek()) : QDate();
        return moveByCells(depth, from, -1);
    case Qt::Key_Right:
        if (ctrl)
            return depth == cdMonth ? from.addDays(7 - from.dayOfWeek()) : QDate();
        return moveByCells(depth, from, 1);
    case Qt::Key_Up:
        return moveByCells(depth, from, ctrl ? -wideRowCells(depth) : -TCalendarPage::RowCells(depth));
    case Qt::Key_Down:
        return moveByCells(depth, from, ctrl ? wideRowCells(depth) : TCalendarPage::RowCells(depth));
    default:
        return QDate();
    }
}

bool TCalendarNavigator::KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    static constexpr int kNavigationKeys[] = {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
                                              Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down};
    if (std::find(std::begin(kNavigationKeys), std::end(kNavigationKeys), key) == std::end(kNavigationKeys))
        return false;
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const QDate target = KeyTarget(key, ctrl, CurrentCellDate());
    if (target.isValid())
        GoToDate(target);
    else
        MoveToRowEnd(key == Qt::Key_Right);
    return true;
}

void TCalendarNavigator::MoveToRowEnd(bool last)
{
    FField = TCalendarPage::FirstDataField(Depth()) + (last ? TCalendarPage::RowCells(Depth()) - 1 : 0);
    // The end cells of a decade or century page belong to the periods around it.
    if (Depth() == cdDecade || Depth() == cdCentury)
        GoToDate(CurrentCellDate());
}

int TCalendarNavigator::WheelStep(Qt::KeyboardModifiers modifiers) const
{
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    switch (Depth()) {
    case cdMonth:
        return ctrl ? 1 : shift ? 52 : 4;
    case cdYear:
        return ctrl ? 1 : shift ? 30 : 3;
    case cdDecade:
    case cdCentury:
        return ctrl ? 4 : shift ? 100 : 10;
    }
    return 1;
}

void TCalendarNavigator::Wheel(int steps, bool forward)
{
    // A step is a row of days or months, and a single year or decade.
    const int cellsPerStep = Depth() == cdMonth ? 7 : Depth() == cdYear ? 4 : 1;
    const int cells = steps * cellsPerStep;
    GoToDate(moveByCells(Depth(), CurrentCellDate(), forward ? cells : -cells));
}

void TCalendarNavigator::TurnPage(bool forward)
{
    GoToDate(turnPage(Depth(), CurrentCellDate(), forward));
}

} // namespace orvo
