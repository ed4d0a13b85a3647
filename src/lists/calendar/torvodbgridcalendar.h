#pragma once

#include "lists/popup/torvodbgriddropdownlist.h"

namespace orvo {

class TOrvoDBPopupCalendar;

/// The calendar container of a grid column: it dresses the calendar in the grid's look
/// and the column's calendar options (CalendarDepth, and loBoldSundays, loShowToday,
/// loShowTodayCircle, loShowWeekNumbers, loAutoTodayClose of ListOptions), opens it on
/// the cell's text and, only when the pick is accepted, writes the chosen date back as
/// text through the column, so that the field's own reading of dates applies.
///
/// The calendar opens on the field's value while the cell shows the field's own text, and
/// on the typed text read as a date otherwise; the value goes back as text with the year
/// written whole (and the milliseconds a time has), so that the field reads back exactly
/// the date picked. While the list is open it asks the grid's OnCalcBoldDays.
class TOrvoDBGridCalendar : public TOrvoDBGridDropDownList
{
    Q_OBJECT

public:
    TOrvoDBGridCalendar(QWidget* parent, TOrvoColumn* column);

    TOrvoDBPopupCalendar* Calendar() const;

protected:
    void SetupList(bool opening) override;
    void TransferValue(bool opening) override;
    /// The selected date-time as text, its year always written whole.
    void GetListValue(TVariant& value) override;

private:
    QString CellText() const;
    /// Opens the calendar on the cell: the field's value while the cell shows the
    /// field's own text, else the text read as a date.
    void LoadCell(TOrvoDBPopupCalendar& calendar) const;
};

} // namespace orvo
