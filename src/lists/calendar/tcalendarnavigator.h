#pragma once

#include "lists/calendar/tcalendarpage.h"
#include "platform/core/tdatetime.h"

#include <Qt>

namespace orvo {

/// The date arithmetic of the drop-down calendar, without the widget: which page and
/// cell a date lands on, what each key, wheel step and title button does, and the
/// date-time a pick gives.
///
/// - Every date shown is clamped to 1000-01-01 ... 8999-12-31, so that moving by the
///   largest steps (a thousand years) never leaves the dates the platform can hold.
/// - The edited value (DateTime) only lends its time of day, and its day and month
///   where the view is too coarse to choose them; the date comes from the current cell.
/// - The current cell follows the grid: the calendar passes the grid's row and field
///   in through SetCurrentCell before asking for moves.
class TCalendarNavigator
{
public:
    static QDate MinDate() { return QDate(1000, 1, 1); }
    static QDate MaxDate() { return QDate(8999, 12, 31); }
    /// A date within MinDate ... MaxDate; an invalid date as MinDate.
    static QDate ClampDate(QDate date);

    TCalendarNavigator();

    TCalendarDepth Depth() const { return FPage.Depth(); }
    TCalendarDepth MaxDepth() const { return FMaxDepth; }
    void SetMaxDepth(TCalendarDepth depth) { FMaxDepth = depth; }
    const TCalendarPage& Page() const { return FPage; }

    /// The value being edited; setting it shows its date.
    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime value);

    int Row() const { return FRow; }
    int Field() const { return FField; }
    /// Takes the grid's current cell (row from 0, field index of the month data).
    void SetCurrentCell(int row, int field);
    QDate CurrentCellDate() const { return FPage.CellDate(FRow, FField); }
    /// DateTime with its date replaced by the current cell's; a day past the end of the
    /// chosen month becomes its last day.
    TDateTime SelectedDateTime() const;

    /// Shows the page of `date` (clamped) with its cell current.
    void GoToDate(QDate date);
    /// Changes the view, keeping the selected date; false when `depth` is the current
    /// one or deeper than MaxDepth.
    bool SetDepth(TCalendarDepth depth);

    /// Applies a navigation key; false for a key the calendar does not navigate by.
    bool KeyDown(int key, Qt::KeyboardModifiers modifiers);
    /// The steps one wheel notch moves by in the current view.
    int WheelStep(Qt::KeyboardModifiers modifiers) const;
    /// Moves by `steps` wheel steps: forward for a wheel turned down.
    void Wheel(int steps, bool forward);
    /// The title's previous (false) or next (true) button.
    void TurnPage(bool forward);

private:
    /// A key's target date, or an invalid date when the key only moves the column.
    QDate KeyTarget(int key, bool ctrl, QDate from) const;
    /// Moves the current cell to the first or last cell of its row.
    void MoveToRowEnd(bool last);

    TCalendarPage FPage;
    TCalendarDepth FMaxDepth = cdCentury;
    TDateTime FDateTime;
    int FRow = 0;
    int FField = 0;
};

} // namespace orvo
