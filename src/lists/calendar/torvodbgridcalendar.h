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
/// The text the calendar opens on is the editor's while one holds typed text, else the
/// column's edit text. While the list is open it asks the grid's OnCalcBoldDays.
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
};

} // namespace orvo
