#include "platform/core/datetimeformat.h"

#include "platform/core/dateutils.h"

namespace orvo {

namespace {

// Formats held in the settings may name other formats ("c" holds "ddddd"); two
// levels are all that any sensible settings need, and they stop a loop.
constexpr int kMaxNesting = 2;

bool matchesAt(const QString& format, qsizetype i, QLatin1String word)
{
    return format.mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

QString padded(int number, int width)
{
    return QStringLiteral("%1").arg(number, width, 10, QChar(u'0'));
}

class TDateTimeWriter
{
public:
    TDateTimeWriter(TDateTime value, const TFormatSettings& settings) : FSettings(settings)
    {
        DecodeDate(value, FYear, FMonth, FDay);
        DecodeTime(value, FHour, FMinute, FSecond, FMsec);
        FDayOfWeek = DayOfWeek(value);
    }

    void Append(const QString& format, int level)
    {
        QChar lastToken;
        qsizetype i = 0;
        while (i < format.size()) {
            const QChar c = format.at(i);
            QChar token = c;
            if (c.isLetter() && c.unicode() < 128) {
                token = c.toUpper();
                if (token == u'M' && lastToken == u'H')
                    token = u'N';
                lastToken = token;
            }
            i = AppendToken(format, i, token, level);
        }
    }

    const QString& Result() const { return FOut; }

private:
    // Writes the directive at `i`; returns the position after it.
    qsizetype AppendToken(const QString& format, qsizetype i, QChar token, int level)
    {
        const int count = RunLength(format, i);
        switch (token.unicode()) {
        case u'Y':
            FOut += count <= 2 ? padded(FYear % 100, 2) : padded(FYear, 4);
            return i + count;
        case u'M':
            AppendMonth(count);
            return i + count;
        case u'D':
            AppendDay(count, level);
            return i + count;
        case u'H':
            AppendHour(count, FAmPmBeforeHour || Uses12HourClock(format, i + count));
            FAmPmBeforeHour = false;
            return i + count;
        case u'N':
            FOut += count == 1 ? QString::number(FMinute) : padded(FMinute, 2);
            return i + count;
        case u'S':
            FOut += count == 1 ? QString::number(FSecond) : padded(FSecond, 2);
            return i + count;
        case u'Z':
            FOut += count < 3 ? QString::number(FMsec) : padded(FMsec, 3);
            return i + count;
        case u'T':
            Nested(count == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, level);
            return i + count;
        case u'C':
            AppendDateAndTime(level);
            return i + count;
        case u'A':
            return AppendAmPm(format, i);
        case u'/':
            if (!FSettings.DateSeparator.isNull())
                FOut += FSettings.DateSeparator;
            return i + 1;
        case u':':
            if (!FSettings.TimeSeparator.isNull())
                FOut += FSettings.TimeSeparator;
            return i + 1;
        case u'\'':
        case u'"':
            return AppendLiteral(format, i);
        default:
            FOut += format.at(i);
            return i + 1;
        }
    }

    static int RunLength(const QString& format, qsizetype i)
    {
        const QChar letter = format.at(i).toUpper();
        int count = 1;
        while (i + count < format.size() && format.at(i + count).toUpper() == letter)
            ++count;
        return count;
    }

    void AppendMonth(int count)
    {
        switch (count) {
        case 1:
            FOut += QString::number(FMonth);
            break;
        case 2:
            FOut += padded(FMonth, 2);
            break;
        case 3:
            FOut += FSettings.ShortMonthNames[FMonth - 1];
            break;
        default:
            FOut += FSettings.LongMonthNames[FMonth - 1];
        }
    }

    void AppendDay(int count, int level)
    {
        switch (count) {
        case 1:
            FOut += QString::number(FDay);
            break;
        case 2:
            FOut += padded(FDay, 2);
            break;
        case 3:
            FOut += FSettings.ShortDayNames[FDayOfWeek - 1];
            break;
        case 4:
            FOut += FSettings.LongDayNames[FDayOfWeek - 1];
            break;
        case 5:
            Nested(FSettings.ShortDateFormat, level);
            break;
        default:
            Nested(FSettings.LongDateFormat, level);
        }
    }

    void AppendHour(int count, bool twelveHour)
    {
        int hour = FHour;
        if (twelveHour) {
            hour %= 12;
            if (hour == 0)
                hour = 12;
        }
        FOut += count == 1 ? QString::number(hour) : padded(hour, 2);
    }

    // An hour is on the 12-hour clock when an am/pm directive follows before the next hour.
    static bool Uses12HourClock(const QString& format, qsizetype from)
    {
        bool quoted = false;
        for (qsizetype i = from; i < format.size(); ++i) {
            const QChar c = format.at(i).toUpper();
            if (c == u'\'' || c == u'"') {
                quoted = !quoted;
            } else if (!quoted && c == u'A') {
                return matchesAt(format, i, QLatin1String("am/pm")) ||
                       matchesAt(format, i, QLatin1String("a/p")) ||
                       matchesAt(format, i, QLatin1String("ampm"));
            } else if (!quoted && c == u'H') {
                return false;
            }
        }
        return false;
    }

    qsizetype AppendAmPm(const QString& format, qsizetype i)
    {
        const bool afternoon = FHour >= 12;
        qsizetype next = i + 1;
        if (matchesAt(format, i, QLatin1String("am/pm"))) {
            FOut += format.mid(afternoon ? i + 3 : i, 2);
            next = i + 5;
        } else if (matchesAt(format, i, QLatin1String("a/p"))) {
            FOut += format.at(afternoon ? i + 2 : i);
            next = i + 3;
        } else if (matchesAt(format, i, QLatin1String("ampm"))) {
            FOut += afternoon ? FSettings.TimePMString : FSettings.TimeAMString;
            next = i + 4;
        } else {
            FOut += format.at(i);
            return next;
        }
        // Locales that write the half of the day first ("AMPM h:nn") mean a 12-hour clock too.
        FAmPmBeforeHour = true;
        return next;
    }

    void AppendDateAndTime(int level)
    {
        Nested(FSettings.ShortDateFormat, level);
        if (FHour != 0 || FMinute != 0 || FSecond != 0 || FMsec != 0) {
            FOut += u' ';
            Nested(FSettings.LongTimeFormat, level);
        }
    }

    qsizetype AppendLiteral(const QString& format, qsizetype i)
    {
        const qsizetype end = format.indexOf(format.at(i), i + 1);
        if (end < 0) {
            FOut += format.mid(i + 1);
            return format.size();
        }
        FOut += format.mid(i + 1, end - i - 1);
        return end + 1;
    }

    void Nested(const QString& format, int level)
    {
        if (level < kMaxNesting)
            Append(format, level + 1);
    }

    const TFormatSettings& FSettings;
    QString FOut;
    int FYear = 0, FMonth = 0, FDay = 0, FDayOfWeek = 0;
    int FHour = 0, FMinute = 0, FSecond = 0, FMsec = 0;
    bool FAmPmBeforeHour = false;
};

} // namespace

QString FormatDateTime(const QString& format, TDateTime value, const TFormatSettings& settings)
{
    TDateTimeWriter writer(value, settings);
    writer.Append(format.isEmpty() ? QStringLiteral("c") : format, 0);
    return writer.Result();
}

QString DateToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime(QStringLiteral("ddddd"), value, settings);
}

QString TimeToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime(QStringLiteral("tt"), value, settings);
}

QString DateTimeToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime(QStringLiteral("c"), value, settings);
}

} // namespace orvo
