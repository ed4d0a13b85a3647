#include "platform/core/tdatetime.h"

#include "platform/core/exceptions.h"

#include <cmath>

namespace orvo {

namespace {

// 30 December 1899 as a Julian day: a compile-time constant, so that values can be
// made while other files' globals are still being set up.
constexpr qint64 kEpochJulianDay = 2415019;
constexpr double kMsecsPerDay = 86400000.0;
// Far beyond any calendar date, yet small enough that the day count and the
// Julian day stay exact integers without overflow.
constexpr double kMaxDays = 1e15;

} // namespace

TDateTime TDateTime::FromQDate(const QDate& date)
{
    return TDateTime(double(date.toJulianDay() - kEpochJulianDay));
}

TDateTime TDateTime::FromQTime(const QTime& time)
{
    return TDateTime(time.msecsSinceStartOfDay() / kMsecsPerDay);
}

TDateTime TDateTime::FromQDateTime(const QDateTime& dateTime)
{
    // Days before the epoch keep a positive time fraction, as the classic
    // encoding does: -1.25 is 29 December 1899, 06:00.
    const double days = double(dateTime.date().toJulianDay() - kEpochJulianDay);
    const double fraction = dateTime.time().msecsSinceStartOfDay() / kMsecsPerDay;
    return TDateTime(days >= 0 ? days + fraction : days - fraction);
}

TDateTime TDateTime::EncodeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return FromQDate(date);
}

TDateTime TDateTime::EncodeTime(int hour, int minute, int second, int msec)
{
    const QTime time(hour, minute, second, msec);
    if (!time.isValid())
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return FromQTime(time);
}

TDateTime TDateTime::Now()
{
    return FromQDateTime(QDateTime::currentDateTime());
}

TDateTime TDateTime::Today()
{
    return FromQDate(QDate::currentDate());
}

QDate TDateTime::ToQDate() const
{
    // A number read from a database may be anything; converting a huge or
    // non-finite one to an integer would be undefined.
    if (!(std::fabs(FValue) < kMaxDays))
        return QDate();
    return QDate::fromJulianDay(kEpochJulianDay + qint64(std::trunc(FValue)));
}

QTime TDateTime::ToQTime() const
{
    if (!std::isfinite(FValue))
        return QTime();
    double fraction = std::fabs(FValue - std::trunc(FValue));
    int msecs = int(std::llround(fraction * kMsecsPerDay));
    if (msecs >= int(kMsecsPerDay))
        msecs = int(kMsecsPerDay) - 1;
    return QTime::fromMSecsSinceStartOfDay(msecs);
}

QDateTime TDateTime::ToQDateTime() const
{
    return QDateTime(ToQDate(), ToQTime());
}

TDateTime TDateTime::DatePart() const
{
    return TDateTime(std::trunc(FValue));
}

TDateTime TDateTime::TimePart() const
{
    return TDateTime(std::fabs(FValue - std::trunc(FValue)));
}

} // namespace orvo
