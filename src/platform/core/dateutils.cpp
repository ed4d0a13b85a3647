#include "platform/core/dateutils.h"

#include "platform/core/exceptions.h"

#include <cmath>

namespace orvo {

namespace {

constexpr double kFirstDay = -693593.0; // 0001-01-01
constexpr double kLastDay = 2958465.0;  // 9999-12-31
constexpr double kMsecsPerDay = 86400000.0;
constexpr int kMaxMonthStep = 12 * 10000; // more than the whole valid range of years

[[noreturn]] void raiseEncode()
{
    throw EConvertError(QStringLiteral("Invalid argument to date encode"));
}

QDate checkedDate(TDateTime value)
{
    if (!IsValidDateTime(value))
        throw EConvertError(QStringLiteral("%1 is not a valid date and time value").arg(value.Value()));
    return value.ToQDate();
}

double timeFraction(TDateTime value)
{
    return std::fabs(value.Value() - std::trunc(value.Value()));
}

// Joins a day number and a time fraction the classic way: days before the epoch
// carry their time as a positive distance from the day, hence the subtraction.
TDateTime combine(const QDate& date, double fraction)
{
    const double days = TDateTime::FromQDate(date).Value();
    return TDateTime(days >= 0 ? days + fraction : days - fraction);
}

} // namespace

bool IsValidDateTime(TDateTime value)
{
    const double days = std::trunc(value.Value());
    return std::isfinite(value.Value()) && days >= kFirstDay && days <= kLastDay;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    checkedDate(value).getDate(&year, &month, &day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec)
{
    checkedDate(value);
    const QTime time = value.ToQTime();
    hour = time.hour();
    minute = time.minute();
    second = time.second();
    msec = time.msec();
}

int DayOfWeek(TDateTime value)
{
    return checkedDate(value).dayOfWeek() % 7 + 1;
}

TDateTime IncMonth(TDateTime value, int months)
{
    if (months > kMaxMonthStep || months < -kMaxMonthStep)
        raiseEncode();
    const QDate date = checkedDate(value).addMonths(months);
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        raiseEncode();
    return combine(date, timeFraction(value));
}

TDateTime IncYear(TDateTime value, int years)
{
    if (years > kMaxMonthStep / 12 || years < -kMaxMonthStep / 12)
        raiseEncode();
    return IncMonth(value, years * 12);
}

TDateTime StartOfTheWeek(TDateTime value)
{
    const QDate date = checkedDate(value);
    return TDateTime::FromQDate(date.addDays(1 - date.dayOfWeek()));
}

TDateTime EndOfTheWeek(TDateTime value)
{
    const QDate date = checkedDate(value);
    return combine(date.addDays(7 - date.dayOfWeek()), (kMsecsPerDay - 1) / kMsecsPerDay);
}

int WeekOf(TDateTime value)
{
    return checkedDate(value).weekNumber();
}

int DaysInMonth(TDateTime value)
{
    return checkedDate(value).daysInMonth();
}

int DaysInAMonth(int year, int month)
{
    const QDate date(year, month, 1);
    if (!date.isValid())
        raiseEncode();
    return date.daysInMonth();
}

bool IsLeapYear(int year)
{
    return QDate::isLeapYear(year);
}

} // namespace orvo
