#include "lists/calendar/torvodbgridcalendar.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "lists/calendar/torvodbpopupcalendar.h"
#include "platform/core/datetimeformat.h"

#include <QLineEdit>

namespace orvo {

TOrvoDBGridCalendar::TOrvoDBGridCalendar(QWidget* parent, TOrvoColumn* column)
    : TOrvoDBGridDropDownList(parent, column)
{
    SetListClass<TOrvoDBPopupCalendar>();
}

TOrvoDBPopupCalendar* TOrvoDBGridCalendar::Calendar() const
{
    return qobject_cast<TOrvoDBPopupCalendar*>(List());
}

void TOrvoDBGridCalendar::SetupList(bool opening)
{
    TOrvoDBPopupCalendar* calendar = Calendar();
    if (!opening || !calendar || !Column())
        return;
    TakeGridLook(glkCalendar);
    const TOrvoListOptions options = Column()->ListOptions();
    calendar->SetMaxDepth(Column()->CalendarDepth());
    calendar->SetBoldSundays(options.Contains(loBoldSundays));
    calendar->SetShowToday(options.Contains(loShowToday));
    calendar->SetShowTodayCircle(options.Contains(loShowTodayCircle));
    calendar->SetShowWeekNumbers(options.Contains(loShowWeekNumbers));
    calendar->SetAutoTodayClose(options.Contains(loAutoTodayClose));
}

QString TOrvoDBGridCalendar::CellText() const
{
    // Typed text not yet stored is what the user sees in the cell.
    if (const auto* editor = qobject_cast<const QLineEdit*>(parentWidget()))
        return editor->text();
    return Column() ? Column()->EditText() : QString();
}

void TOrvoDBGridCalendar::TransferValue(bool opening)
{
    TOrvoDBPopupCalendar* calendar = Calendar();
    if (!calendar)
        return;
    if (opening) {
        calendar->OnCalcBoldDays = Grid() ? Grid()->OnCalcBoldDays : nullptr;
        calendar->SetDateText(CellText());
        return;
    }
    calendar->OnCalcBoldDays = nullptr;
    if (Accept())
        ApplyValue(Value());
}

void TOrvoDBGridCalendar::GetListValue(TVariant& value)
{
    const TOrvoDBPopupCalendar* calendar = Calendar();
    value = calendar ? TVariant(DateTimeToStr(calendar->SelectedDateTime())) : TVariant::Null();
}

} // namespace orvo
