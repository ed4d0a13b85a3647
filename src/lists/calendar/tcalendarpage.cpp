#include "lists/calendar/tcalendarpage.h"

#include "platform/core/datetimeformat.h"
#include "platform/core/tformatsettings.h"

namespace orvo {

namespace {

QDate firstOfYear(int year)
{
    return QDate(year, 1, 1);
}

QString periodCaption(int firstYear, int lastYear)
{
    return QStringLiteral("%1-%2").arg(firstYear).arg(lastYear);
}

} // namespace

TCalendarPage::TCalendarPage(TCalendarDepth depth, QDate date) : FDepth(depth)
{
    switch (depth) {
    case cdMonth:
        FStartDate = QDate(date.year(), date.month(), 1);
        // Qt counts Monday as 1, so this is the Monday before the first day, and a whole
        // week before it when the month starts on a Monday.
        FFirstCellDate =
            FStartDate.addDays(-(FStartDate.dayOfWeek() - 1) - (FStartDate.dayOfWeek() == 1 ? 7 : 0));
        break;
    case cdYear:
        FStartDate = firstOfYear(date.year());
        FFirstCellDate = FStartDate;
        break;
    case cdDecade:
        FStartDate = firstOfYear(date.year() / 10 * 10);
        FFirstCellDate = FStartDate.addYears(-1);
        break;
    case cdCentury:
        FStartDate = firstOfYear(date.year() / 100 * 100);
        FFirstCellDate = FStartDate.addYears(-10);
        break;
    }
}

int TCalendarPage::FirstDataField(TCalendarDepth depth)
{
    switch (depth) {
    case cdMonth:
        return kDayField;
    case cdYear:
        return kMonthField;
    case cdDecade:
        return kYearField;
    case cdCentury:
        return kCenturyField;
    }
    return kDayField;
}

bool TCalendarPage::IsDataField(int field) const
{
    const int first = FirstDataField(FDepth);
    return field >= first && field < first + RowCells(FDepth);
}

QDate TCalendarPage::CellDate(int row, int field) const
{
    const int cell = field - FirstDataField(FDepth);
    switch (FDepth) {
    case cdMonth:
        return FFirstCellDate.addDays(7 * row + cell);
    case cdYear:
        return FFirstCellDate.addMonths(4 * row + cell);
    case cdDecade:
        return FFirstCellDate.addYears(4 * row + cell);
    case cdCentury:
        return FFirstCellDate.addYears(40 * row + 10 * cell);
    }
    return FFirstCellDate;
}

void TCalendarPage::CellOf(QDate date, int& row, int& field) const
{
    int index = 0;
    switch (FDepth) {
    case cdMonth:
        index = int(FFirstCellDate.daysTo(date));
        break;
    case cdYear:
        index = date.month() - 1;
        break;
    case cdDecade:
        index = date.year() % 10 + 1;
        break;
    case cdCentury:
        index = date.year() / 10 % 10 + 1;
        break;
    }
    row = index / RowCells(FDepth);
    field = FirstDataField(FDepth) + index % RowCells(FDepth);
}

TVariant TCalendarPage::CellValue(int row, int field) const
{
    if (FDepth == cdMonth && field == kWeekField)
        return TVariant(FFirstCellDate.addDays(7 * row).weekNumber());
    if (!IsDataField(field))
        return TVariant::Null();
    const QDate date = CellDate(row, field);
    switch (FDepth) {
    case cdMonth:
        return TVariant(date.day());
    case cdYear:
        return TVariant(TFormatSettings::Default().ShortMonthNames.at(std::size_t(date.month() - 1)));
    case cdDecade:
        return TVariant(date.year());
    case cdCentury:
        return TVariant(QStringLiteral("%1\n%2").arg(date.year()).arg(date.year() + 9));
    }
    return TVariant::Null();
}

QString TCalendarPage::Caption() const
{
    switch (FDepth) {
    case cdMonth:
        return FormatDateTime(QStringLiteral("mmmm yyyy"), TDateTime::FromQDate(FStartDate));
    case cdYear:
        return QString::number(FStartDate.year());
    case cdDecade:
        return periodCaption(FStartDate.year(), FStartDate.year() + 9);
    case cdCentury:
        return periodCaption(FStartDate.year(), FStartDate.year() + 99);
    }
    return QString();
}

bool TCalendarPage::IsOutsidePeriod(int row, int field) const
{
    switch (FDepth) {
    case cdMonth:
        return CellDate(row, field).month() != FStartDate.month();
    case cdYear:
        return false;
    case cdDecade:
    case cdCentury: {
        const int cell = field - FirstDataField(FDepth);
        return (row == 0 && cell == 0) || (row == 2 && cell == 3);
    }
    }
    return false;
}

bool TCalendarPage::HoldsDay(int row, int field, QDate day) const
{
    const QDate cell = CellDate(row, field);
    switch (FDepth) {
    case cdMonth:
        return cell == day;
    case cdYear:
        return cell.year() == day.year() && cell.month() == day.month();
    case cdDecade:
        return cell.year() == day.year();
    case cdCentury:
        return day.year() >= cell.year() && day.year() <= cell.year() + 9;
    }
    return false;
}

quint64 TCalendarPage::BoldDays(bool boldSundays, const TBoldDayQuery& query) const
{
    quint64 mask = 0;
    if (FDepth != cdMonth || (!boldSundays && !query))
        return mask;
    for (int i = 0; i < kMonthCells; ++i) {
        const QDate day = FFirstCellDate.addDays(i);
        bool bold = boldSundays && day.dayOfWeek() == Qt::Sunday;
        if (query)
            query(day, bold);
        if (bold)
            mask |= quint64(1) << i;
    }
    return mask;
}

} // namespace orvo
