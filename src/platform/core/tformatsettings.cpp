#include "platform/core/tformatsettings.h"

#include <QLocale>

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace orvo {

namespace {

bool isQuote(QChar c)
{
    return c == u'\'' || c == u'"';
}

// Wraps literal text in whichever quote the text does not contain, so that no
// letter of it is read as a directive.
QString quoted(const QString& text)
{
    if (text.isEmpty())
        return text;
    if (!text.contains(u'"'))
        return u'"' + text + u'"';
    if (!text.contains(u'\''))
        return u'\'' + text + u'\'';
    QString plain = text;
    return u'"' + plain.remove(u'"') + u'"';
}

// Reads a Qt quoted literal starting at `i` (on the opening quote); '' inside stands for one quote.
QString readQtLiteral(const QString& pattern, qsizetype& i)
{
    QString text;
    ++i;
    while (i < pattern.size()) {
        if (pattern.at(i) == u'\'') {
            if (i + 1 < pattern.size() && pattern.at(i + 1) == u'\'') {
                text += u'\'';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        text += pattern.at(i++);
    }
    return text;
}

// The first punctuation between directives of a Qt pattern: the separator of its parts.
QChar findSeparator(const QString& pattern, QChar fallback)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'\'') {
            readQtLiteral(pattern, i);
            --i;
            continue;
        }
        if (!c.isLetterOrNumber() && !c.isSpace() && c != u',')
            return c;
    }
    return fallback;
}

QString directiveFor(QChar letter, qsizetype count)
{
    switch (letter.unicode()) {
    case u'd':
        return QString(std::min<qsizetype>(count, 4), u'd');
    case u'M':
        return QString(std::min<qsizetype>(count, 4), u'm');
    case u'y':
        return count >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy");
    case u'h':
    case u'H':
        return QString(std::min<qsizetype>(count, 2), u'h');
    case u'm':
        return QString(std::min<qsizetype>(count, 2), u'n');
    case u's':
        return QString(std::min<qsizetype>(count, 2), u's');
    case u'z':
        return count >= 3 ? QStringLiteral("zzz") : QStringLiteral("z");
    case u't':
        return QString(); // the time zone has no classic directive
    default:
        return quoted(QString(count, letter));
    }
}

// Translates a Qt date or time pattern into the classic directives; `separator`
// becomes the classic separator directive (`directive`, "/" or ":").
QString translatePattern(const QString& pattern, QChar separator, QChar directive)
{
    QString out;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        if (c == u'\'') {
            out += quoted(readQtLiteral(pattern, i));
        } else if (c == u'A' || c == u'a') {
            out += QStringLiteral("AMPM");
            i += (i + 1 < pattern.size() && pattern.at(i + 1).toLower() == u'p') ? 2 : 1;
        } else if (c.isLetter()) {
            qsizetype n = 1;
            while (i + n < pattern.size() && pattern.at(i + n) == c)
                ++n;
            out += directiveFor(c, n);
            i += n;
        } else {
            if (c == separator)
                out += directive;
            else if (c == u'/' || c == u':' || isQuote(c))
                out += quoted(QString(c));
            else
                out += c;
            ++i;
        }
    }
    return out.trimmed();
}

// Reduces a sample amount to a shape such as "-$ 1" so that it can be matched
// against the classic currency layouts.
QString currencyShape(const QString& sample, const QString& symbol)
{
    QString text = sample;
    if (!symbol.isEmpty())
        text.replace(symbol, QStringLiteral("$"));
    QString shape;
    for (const QChar c : std::as_const(text)) {
        if (c == u'\u200e' || c == u'\u200f' || c == u'\u061c')
            continue;
        const QChar normal = (c == u'\u00a0' || c == u'\u202f') ? QChar(u' ') : c;
        const bool numeric = normal.isDigit() || normal == u'.' || normal == u',' || normal == u'\'';
        if (numeric) {
            if (!shape.endsWith(u'1'))
                shape += u'1';
        } else {
            shape += normal;
        }
    }
    return shape;
}

std::optional<int> matchShape(const QString& shape, std::initializer_list<const char16_t*> layouts)
{
    int index = 0;
    for (const char16_t* layout : layouts) {
        if (shape == QString::fromUtf16(layout))
            return index;
        ++index;
    }
    return std::nullopt;
}

int currencyDecimals(const QLocale& locale)
{
    const QString sample = locale.toCurrencyString(1.0, QStringLiteral("$"));
    const qsizetype point = sample.lastIndexOf(locale.decimalPoint());
    if (point < 0)
        return 0;
    int count = 0;
    for (qsizetype i = point + 1; i < sample.size() && sample.at(i).isDigit(); ++i)
        ++count;
    return count;
}

TFormatSettings& defaultSettings()
{
    static TFormatSettings settings = TFormatSettings::FromLocale(QLocale::system());
    return settings;
}

} // namespace

TFormatSettings TFormatSettings::Invariant()
{
    return TFormatSettings();
}

TFormatSettings TFormatSettings::FromLocale(const QLocale& locale)
{
    TFormatSettings s;
    s.DecimalSeparator = locale.decimalPoint().isEmpty() ? QChar(u'.') : locale.decimalPoint().at(0);
    s.ThousandSeparator = locale.groupSeparator().isEmpty() ? QChar() : locale.groupSeparator().at(0);
    s.CurrencyString = locale.currencySymbol(QLocale::CurrencySymbol);
    s.CurrencyDecimals = currencyDecimals(locale);

    const QString positive = currencyShape(locale.toCurrencyString(1.0, QStringLiteral("$")), {});
    const QString negative = currencyShape(locale.toCurrencyString(-1.0, QStringLiteral("$")), {});
    s.CurrencyFormat = matchShape(positive, {u"$1", u"1$", u"$ 1", u"1 $"}).value_or(0);
    s.NegCurrFormat =
        matchShape(negative, {u"($1)", u"-$1", u"$-1", u"$1-", u"(1$)", u"-1$", u"1-$", u"1$-", u"-1 $",
                              u"-$ 1", u"1 $-", u"$ 1-", u"$ -1", u"1- $", u"($ 1)", u"(1 $)"})
            .value_or(s.CurrencyFormat % 2 == 0 ? 1 : 5);

    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
    s.DateSeparator = findSeparator(shortDate, u'/');
    s.TimeSeparator = findSeparator(shortTime, u':');
    s.ShortDateFormat = translatePattern(shortDate, s.DateSeparator, u'/');
    s.LongDateFormat = translatePattern(locale.dateFormat(QLocale::LongFormat), s.DateSeparator, u'/');
    s.ShortTimeFormat = translatePattern(shortTime, s.TimeSeparator, u':');
    s.LongTimeFormat = translatePattern(locale.timeFormat(QLocale::LongFormat), s.TimeSeparator, u':');
    s.TimeAMString = locale.amText();
    s.TimePMString = locale.pmText();

    for (int month = 1; month <= 12; ++month) {
        s.ShortMonthNames[month - 1] = locale.monthName(month, QLocale::ShortFormat);
        s.LongMonthNames[month - 1] = locale.monthName(month, QLocale::LongFormat);
    }
    for (int day = 0; day < 7; ++day) {
        const int qtDay = day == 0 ? 7 : day; // Qt counts from Monday, the classic lists from Sunday
        s.ShortDayNames[day] = locale.dayName(qtDay, QLocale::ShortFormat);
        s.LongDayNames[day] = locale.dayName(qtDay, QLocale::LongFormat);
    }
    return s;
}

const TFormatSettings& TFormatSettings::Default()
{
    return defaultSettings();
}

void TFormatSettings::SetDefault(const TFormatSettings& settings)
{
    defaultSettings() = settings;
}

} // namespace orvo
