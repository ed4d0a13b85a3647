#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace orvo {

/// A point in time as the classic desktop platforms keep it: whole days since
/// 30 December 1899 plus the fraction of the day. Filter periods, the calendar
/// and totals do arithmetic on this value, which is why it is not a QDateTime.
class TDateTime
{
public:
    constexpr TDateTime() = default;
    constexpr explicit TDateTime(double days) : FValue(days) {}

    constexpr double Value() const { return FValue; }

    static TDateTime FromQDate(const QDate& date);
    static TDateTime FromQTime(const QTime& time);
    static TDateTime FromQDateTime(const QDateTime& dateTime);
    /// Raises EConvertError for a day or time that does not exist.
    static TDateTime EncodeDate(int year, int month, int day);
    static TDateTime EncodeTime(int hour, int minute, int second, int msec);
    static TDateTime Now();
    static TDateTime Today();

    QDate ToQDate() const;
    QTime ToQTime() const;
    QDateTime ToQDateTime() const;

    /// The whole-day part and the time-of-day part.
    TDateTime DatePart() const;
    TDateTime TimePart() const;

    auto operator<=>(const TDateTime&) const = default;

private:
    double FValue = 0.0;
};

} // namespace orvo
