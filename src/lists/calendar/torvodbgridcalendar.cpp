#include "lists/calendar/torvodbgridcalendar.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "lists/calendar/torvodbpopupcalendar.h"
#include "platform/core/datetimeformat.h"
#include "platform/core/tformatsettings.h"
#include "platform/data/tfield.h"

#include <QLineEdit>

namespace orvo {

namespace {

/// The short date format with every year written with four digits: the field reads a
/// one- or two-digit year back within the century window, so a picked 1850 would be
/// stored as 2050.
QString FullYearFormat(const QString& format)
{
    QString result;
    QChar quote;
    for (qsizetype i = 0; i < format.size();) {
        const QChar ch = format.at(i);
        if (quote.isNull() && (ch == u'y' || ch == u'Y')) {
            qsizetype end = i;
            while (end < format.size() && format.at(end).toLower() == u'y')
                ++end;
            result += end - i < 4 ? QStringLiteral("yyyy") : format.mid(i, end - i);
            i = end;
            continue;
        }
        if (ch == u'\'' || ch == u'"')
            quote = quote.isNull() ? ch : (quote == ch ? QChar() : quote);
        result += ch;
        ++i;
    }
    return result;
}

bool HoldsDateTime(const TField* field)
{
    const TFieldType type = field->DataType();
    return type == ftDate || type == ftDateTime || type == ftTimeStamp;
}

/// The settings the list value is written in: the year whole, and the milliseconds of a
/// time that has them, so that the field reads back exactly the value picked.
TFormatSettings ValueSettings(TDateTime value)
{
    TFormatSettings settings = TFormatSettings::Default();
    settings.ShortDateFormat = FullYearFormat(settings.ShortDateFormat);
    if (value.ToQTime().msec() != 0)
        settings.LongTimeFormat = QStringLiteral("h:nn:ss.zzz");
    return settings;
}

} // namespace

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

void TOrvoDBGridCalendar::LoadCell(TOrvoDBPopupCalendar& calendar) const
{
    const QString text = CellText();
    // The cell's text may carry a two-digit year and no milliseconds: while it is the
    // field's own text, the field's value is what the user sees, read without loss.
    const TField* field = Column() ? Column()->Field() : nullptr;
    if (field && HoldsDateTime(field) && !field->IsNull() && text == Column()->EditText()) {
        calendar.SetDate(field->AsDateTime());
        return;
    }
    calendar.SetDateText(text);
}

void TOrvoDBGridCalendar::TransferValue(bool opening)
{
    TOrvoDBPopupCalendar* calendar = Calendar();
    if (!calendar)
        return;
    if (opening) {
        calendar->OnCalcBoldDays = Grid() ? Grid()->OnCalcBoldDays : nullptr;
        LoadCell(*calendar);
        return;
    }
    calendar->OnCalcBoldDays = nullptr;
    if (Accept())
        ApplyValue(Value());
}

void TOrvoDBGridCalendar::GetListValue(TVariant& value)
{
    const TOrvoDBPopupCalendar* calendar = Calendar();
    if (!calendar) {
        value = TVariant::Null();
        return;
    }
    const TDateTime selected = calendar->SelectedDateTime();
    value = TVariant(DateTimeToStr(selected, ValueSettings(selected)));
}

} // namespace orvo
