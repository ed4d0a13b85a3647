#include "platform/core/datetimeparse.h"

#include "platform/core/exceptions.h"

#include <QRegularExpression>

#include <cmath>

namespace orvo {

namespace {

enum TDateOrder
{
    doMDY,
    doDMY,
    doYMD
};

// More digits than this in one part of a date or time cannot be meant.
constexpr int kMaxNumberDigits = 9;

TDateOrder dateOrder(const QString& shortDateFormat)
{
    bool quoted = false;
    for (const QChar c : shortDateFormat) {
        if (c == u'\'' || c == u'"')
            quoted = !quoted;
        if (quoted)
            continue;
        switch (c.toLower().unicode()) {
        case u'd':
            return doDMY;
        case u'y':
            return doYMD;
        case u'm':
            return doMDY;
        default:
            break;
        }
    }
    return doMDY;
}

/// A cursor over the text being read, in the manner of the classic scanners: each
/// step skips the blanks before what it reads.
class TScanner
{
public:
    explicit TScanner(const QString& text) : FText(text) {}

    bool AtEnd()
    {
        SkipBlanks();
        return FPos >= FText.size();
    }
    qsizetype Position() const { return FPos; }

    bool Number(int& value, int& digits)
    {
        SkipBlanks();
        value = 0;
        digits = 0;
        while (FPos < FText.size() && FText.at(FPos) >= u'0' && FText.at(FPos) <= u'9') {
            if (++digits > kMaxNumberDigits)
                return false;
            value = value * 10 + (FText.at(FPos++).unicode() - u'0');
        }
        return digits > 0;
    }

    bool Char(QChar c)
    {
        SkipBlanks();
        if (c.isNull() || FPos >= FText.size() || FText.at(FPos) != c)
            return false;
        ++FPos;
        return true;
    }

    /// Consumes a run of blanks; false when there is none here.
    bool Blanks()
    {
        const qsizetype start = FPos;
        SkipBlanks();
        return FPos > start;
    }

    bool Word(const QString& word)
    {
        SkipBlanks();
        if (word.isEmpty() || FText.mid(FPos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        FPos += word.size();
        return true;
    }

private:
    void SkipBlanks()
    {
        while (FPos < FText.size() && (FText.at(FPos) == u' ' || FText.at(FPos) == u'\t'))
            ++FPos;
    }

    const QString& FText;
    qsizetype FPos = 0;
};

int windowedYear(int year, int window)
{
    int pivot = QDate::currentDate().year() - window;
    year += pivot / 100 * 100;
    if (window > 0 && year < pivot)
        year += 100;
    return year;
}

bool encodeDate(int year, int month, int day, QDate& date)
{
    date = QDate(year, month, day);
    return date.isValid() && year >= 1 && year <= 9999;
}

// A short date format such as "d mmm yyyy" separates its parts by blanks, not by
// the date separator.
bool blankSeparated(const QString& shortDateFormat)
{
    bool quoted = false;
    for (const QChar c : shortDateFormat) {
        if (c == u'\'' || c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u' ')
            return true;
    }
    return false;
}

bool scanDateSeparator(TScanner& in, const TFormatSettings& s)
{
    if (blankSeparated(s.ShortDateFormat) && in.Blanks())
        return true;
    return in.Char(s.DateSeparator);
}

// A part of a date: a number, or (where the format writes months by name) a month's
// long or short name, read as the month's number.
bool scanDatePart(TScanner& in, const TFormatSettings& s, int& value, int& digits)
{
    if (in.Number(value, digits))
        return true;
    for (const auto* names : {&s.LongMonthNames, &s.ShortMonthNames}) {
        for (int month = 0; month < 12; ++month) {
            if (in.Word(names->at(std::size_t(month)))) {
                value = month + 1;
                digits = 2;
                return true;
            }
        }
    }
    return false;
}

bool scanDate(TScanner& in, const TFormatSettings& s, QDate& date)
{
    int n1, n2, n3, l1, l2, l3;
    if (!scanDatePart(in, s, n1, l1) || !scanDateSeparator(in, s) || !scanDatePart(in, s, n2, l2))
        return false;
    const TDateOrder order = dateOrder(s.ShortDateFormat);
    int year, month, day;
    if (scanDateSeparator(in, s)) {
        if (!scanDatePart(in, s, n3, l3))
            return false;
        int yearDigits = order == doYMD ? l1 : l3;
        year = order == doYMD ? n1 : n3;
        month = order == doMDY ? n1 : n2;
        day = order == doMDY ? n2 : (order == doDMY ? n1 : n3);
        if (yearDigits <= 2)
            year = windowedYear(year, s.TwoDigitYearCenturyWindow);
    } else {
        year = QDate::currentDate().year();
        month = order == doDMY ? n2 : n1;
        day = order == doDMY ? n1 : n2;
    }
    in.Char(s.DateSeparator); // a trailing separator ("1/2/") is allowed
    return encodeDate(year, month, day, date);
}

// The fraction after the seconds, as milliseconds: ".5" is half a second.
bool scanMilliseconds(TScanner& in, int& msec)
{
    int value, digits;
    if (!in.Number(value, digits))
        return false;
    msec = int(std::lround(value * std::pow(10.0, 3 - digits)));
    return msec < 1000;
}

int scanHalfOfDay(TScanner& in, const TFormatSettings& s)
{
    if (in.Word(s.TimeAMString) || in.Word(QStringLiteral("AM")))
        return 0;
    if (in.Word(s.TimePMString) || in.Word(QStringLiteral("PM")))
        return 12;
    return -1;
}

bool scanTime(TScanner& in, const TFormatSettings& s, QTime& time)
{
    int baseHour = scanHalfOfDay(in, s);
    int hour, minute = 0, second = 0, msec = 0, digits;
    if (!in.Number(hour, digits))
        return false;
    if (in.Char(s.TimeSeparator)) {
        if (!in.Number(minute, digits))
            return false;
        if (in.Char(s.TimeSeparator)) {
            if (!in.Number(second, digits))
                return false;
            if (in.Char(s.DecimalSeparator) && !scanMilliseconds(in, msec))
                return false;
        }
    }
    if (baseHour < 0)
        baseHour = scanHalfOfDay(in, s);
    if (baseHour >= 0) {
        if (hour == 0 || hour > 12)
            return false;
        hour = hour % 12 + baseHour;
    }
    time = QTime(hour, minute, second, msec);
    return time.isValid();
}

// Days before the epoch carry their time of day as a positive distance, hence the subtraction.
TDateTime combine(const QDate& date, const QTime& time)
{
    const double days = TDateTime::FromQDate(date).Value();
    const double fraction = TDateTime::FromQTime(time).Value();
    return TDateTime(days >= 0 ? days + fraction : days - fraction);
}

bool parseIso(const QString& text, bool allowTime, TDateTime& value)
{
    static const QRegularExpression iso(QStringLiteral(
        R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?)?\s*$)"));
    const QRegularExpressionMatch m = iso.match(text);
    if (!m.hasMatch())
        return false;
    QDate date;
    if (!encodeDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), date))
        return false;
    QTime time(0, 0);
    if (m.hasCaptured(4)) {
        if (!allowTime)
            return false;
        const QString fraction = m.captured(7);
        const int msec = fraction.isEmpty() ? 0 : int(fraction.toInt() * std::pow(10.0, 3 - fraction.size()));
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), msec);
        if (!time.isValid())
            return false;
    }
    value = combine(date, time);
    return true;
}

} // namespace

bool TryStrToDate(const QString& text, TDateTime& value, const TFormatSettings& settings)
{
    if (parseIso(text, false, value))
        return true;
    TScanner in(text);
    QDate date;
    if (!scanDate(in, settings, date) || !in.AtEnd())
        return false;
    value = TDateTime::FromQDate(date);
    return true;
}

TDateTime StrToDate(const QString& text, const TFormatSettings& settings)
{
    TDateTime value;
    if (!TryStrToDate(text, value, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    return value;
}

bool TryStrToTime(const QString& text, TDateTime& value, const TFormatSettings& settings)
{
    TScanner in(text);
    QTime time;
    if (!scanTime(in, settings, time) || !in.AtEnd())
        return false;
    value = TDateTime::FromQTime(time);
    return true;
}

TDateTime StrToTime(const QString& text, const TFormatSettings& settings)
{
    TDateTime value;
    if (!TryStrToTime(text, value, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(text));
    return value;
}

bool TryStrToDateTime(const QString& text, TDateTime& value, const TFormatSettings& settings)
{
    if (parseIso(text, true, value))
        return true;
    TScanner in(text);
    QDate date;
    if (!scanDate(in, settings, date))
        return TryStrToTime(text, value, settings);
    QTime time(0, 0);
    if (!in.AtEnd() && (!scanTime(in, settings, time) || !in.AtEnd()))
        return false;
    value = combine(date, time);
    return true;
}

TDateTime StrToDateTime(const QString& text, const TFormatSettings& settings)
{
    TDateTime value;
    if (!TryStrToDateTime(text, value, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    return value;
}

} // namespace orvo
