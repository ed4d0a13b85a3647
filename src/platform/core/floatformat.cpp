#include "platform/core/floatformat.h"

#include "platform/core/tdecimalnumber.h"

#include <QStringList>

#include <algorithm>
#include <climits>

namespace orvo {

namespace {

constexpr int kDoublePrecision = 15;
constexpr int kCurrencyPrecision = 19;
// Beyond this many integer digits a pattern gives way to the general form, as classically.
constexpr int kMaxPatternIntegerDigits = 18;

QString specialText(const TDecimalNumber& n)
{
    if (n.Kind() == TDecimalNumber::NaN)
        return QStringLiteral("NAN");
    return n.Negative() ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QChar digitChar(char digit)
{
    return QChar(char16_t(digit));
}

// The digit at integer position `position` (1 = units).
QChar integerDigit(const TDecimalNumber& n, int position)
{
    return position > n.IntegerDigits() ? QChar(u'0') : digitChar(n.DigitAt(n.Exponent() - position));
}

// The digit at fraction position `position` (1 = tenths).
QChar fractionDigit(const TDecimalNumber& n, int position)
{
    return n.IsZero() ? QChar(u'0') : digitChar(n.DigitAt(n.Exponent() + position - 1));
}

int fractionDigitCount(const TDecimalNumber& n)
{
    return n.IsZero() ? 0 : std::max(0, int(n.Digits().size()) - n.Exponent());
}

QString integerText(const TDecimalNumber& n, QChar thousandSeparator)
{
    const int count = std::max(n.IntegerDigits(), 1);
    QString text;
    for (int position = count; position >= 1; --position) {
        text += integerDigit(n, position);
        if (!thousandSeparator.isNull() && position > 1 && (position - 1) % 3 == 0)
            text += thousandSeparator;
    }
    return text;
}

QString fractionText(const TDecimalNumber& n, int count)
{
    QString text;
    for (int position = 1; position <= count; ++position)
        text += fractionDigit(n, position);
    return text;
}

QString exponentText(int exponent, int minDigits, bool alwaysSign)
{
    QString text = QString::number(std::abs(exponent));
    if (text.size() < minDigits)
        text.prepend(QString(minDigits - text.size(), u'0'));
    if (exponent < 0)
        return u'-' + text;
    return alwaysSign ? u'+' + text : text;
}

QString withSign(const TDecimalNumber& n, const QString& text)
{
    return n.Negative() ? u'-' + text : text;
}

QString generalText(TDecimalNumber n, int precision, int expDigits, const TFormatSettings& s)
{
    n.RoundToSignificant(precision);
    if (n.IsZero())
        return QStringLiteral("0");
    const int exponent = n.Exponent();
    QString text;
    if (exponent > precision || exponent < -4) {
        text = digitChar(n.DigitAt(0));
        if (n.Digits().size() > 1)
            text += s.DecimalSeparator + QString::fromLatin1(n.Digits().mid(1));
        text += u'E' + exponentText(exponent - 1, expDigits, false);
    } else {
        text = integerText(n, QChar());
        const int decimals = fractionDigitCount(n);
        if (decimals > 0)
            text += s.DecimalSeparator + fractionText(n, decimals);
    }
    return withSign(n, text);
}

QString exponentFormText(TDecimalNumber n, int precision, int expDigits, const TFormatSettings& s)
{
    n.RoundToSignificant(precision);
    QString text = digitChar(n.DigitAt(0));
    if (precision > 1) {
        text += s.DecimalSeparator;
        for (int i = 1; i < precision; ++i)
            text += digitChar(n.DigitAt(i));
    }
    text += u'E' + exponentText(n.IsZero() ? 0 : n.Exponent() - 1, expDigits, true);
    return withSign(n, text);
}

// Rounds once, to whichever of the two limits leaves fewer digits.
void roundFixed(TDecimalNumber& n, int precision, int decimals)
{
    if (n.Exponent() + decimals > precision)
        n.RoundToSignificant(precision);
    else
        n.RoundToDecimals(decimals);
}

QString unsignedFixedText(const TDecimalNumber& n, int decimals, QChar thousandSeparator,
                          const TFormatSettings& s)
{
    QString text = integerText(n, thousandSeparator);
    if (decimals > 0)
        text += s.DecimalSeparator + fractionText(n, decimals);
    return text;
}

QString currencyLayout(const QString& amount, bool negative, const TFormatSettings& s)
{
    const QString& c = s.CurrencyString;
    if (!negative) {
        switch (s.CurrencyFormat) {
        case 1:
            return amount + c;
        case 2:
            return c + u' ' + amount;
        case 3:
            return amount + u' ' + c;
        default:
            return c + amount;
        }
    }
    switch (s.NegCurrFormat) {
    case 1:
        return u'-' + c + amount;
    case 2:
        return c + u'-' + amount;
    case 3:
        return c + amount + u'-';
    case 4:
        return u'(' + amount + c + u')';
    case 5:
        return u'-' + amount + c;
    case 6:
        return amount + u'-' + c;
    case 7:
        return amount + c + u'-';
    case 8:
        return u'-' + amount + u' ' + c;
    case 9:
        return u'-' + c + u' ' + amount;
    case 10:
        return amount + u' ' + c + u'-';
    case 11:
        return c + u' ' + amount + u'-';
    case 12:
        return c + u' ' + u'-' + amount;
    case 13:
        return amount + u'-' + u' ' + c;
    case 14:
        return u'(' + c + u' ' + amount + u')';
    case 15:
        return u'(' + amount + u' ' + c + u')';
    default:
        return u'(' + c + amount + u')';
    }
}

// ---- display-format patterns ----

struct TPatternLayout
{
    int DigitCount = 0;
    int DecimalIndex = -1;
    int MinInteger = 0;
    int MinDecimals = 0;
    int MaxDecimals = 0;
    bool Thousands = false;
    bool Scientific = false;
    QString Placeholders; ///< the "0" and "#" of the section, in order
};

bool isExponentAt(const QString& section, qsizetype i)
{
    return (section.at(i) == u'E' || section.at(i) == u'e') && i + 1 < section.size() &&
           (section.at(i + 1) == u'+' || section.at(i + 1) == u'-');
}

// Skips a quoted literal starting at `i`; returns its text and leaves `i` after it.
QString readLiteral(const QString& section, qsizetype& i)
{
    const QChar quote = section.at(i);
    const qsizetype end = section.indexOf(quote, i + 1);
    const qsizetype stop = end < 0 ? section.size() : end;
    const QString text = section.mid(i + 1, stop - i - 1);
    i = end < 0 ? section.size() : end + 1;
    return text;
}

// Counts the zeros after "E+" (at most four count); leaves `i` after them.
int readExponentDigits(const QString& section, qsizetype& i)
{
    int zeros = 0;
    while (i < section.size() && section.at(i) == u'0') {
        ++zeros;
        ++i;
    }
    return std::min(zeros, 4);
}

QStringList splitSections(const QString& format)
{
    QStringList sections;
    QString current;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == u'\'' || c == u'"') {
            const qsizetype start = i;
            readLiteral(format, i);
            current += format.mid(start, i - start);
        } else if (c == u';') {
            sections << current;
            current.clear();
            ++i;
        } else {
            current += c;
            ++i;
        }
    }
    sections << current;
    return sections.mid(0, 3);
}

TPatternLayout scanSection(const QString& section)
{
    TPatternLayout layout;
    int firstZero = INT_MAX;
    int lastZero = 0;
    qsizetype i = 0;
    while (i < section.size()) {
        const QChar c = section.at(i);
        if (c == u'\'' || c == u'"') {
            readLiteral(section, i);
            continue;
        }
        if (isExponentAt(section, i)) {
            layout.Scientific = true;
            i += 2;
            readExponentDigits(section, i);
            continue;
        }
        if (c == u'0' || c == u'#') {
            layout.Placeholders += c;
            if (c == u'0') {
                firstZero = std::min(firstZero, layout.DigitCount);
                lastZero = layout.DigitCount + 1;
            }
            ++layout.DigitCount;
        } else if (c == u'.' && layout.DecimalIndex < 0) {
            layout.DecimalIndex = layout.DigitCount;
        } else if (c == u',') {
            layout.Thousands = true;
        }
        ++i;
    }
    if (layout.DecimalIndex < 0)
        layout.DecimalIndex = layout.DigitCount;
    layout.MinDecimals = std::max(0, lastZero - layout.DecimalIndex);
    layout.MaxDecimals = layout.DigitCount - layout.DecimalIndex;
    layout.MinInteger = firstZero == INT_MAX ? 0 : std::max(0, layout.DecimalIndex - firstZero);
    return layout;
}

class TPatternWriter
{
public:
    TPatternWriter(const QString& section, const TPatternLayout& layout, const TDecimalNumber& n,
                   const TFormatSettings& s)
        : FSection(section), FLayout(layout), FNumber(n), FSettings(s)
    {}

    QString Fixed()
    {
        FIntegerPositions = std::max(FNumber.IntegerDigits(), FLayout.MinInteger);
        FDecimalsShown =
            std::clamp(fractionDigitCount(FNumber), FLayout.MinDecimals, std::max(FLayout.MaxDecimals, 0));
        Walk([this](int index) { FixedDigit(index); });
        return FOut;
    }

    QString Scientific()
    {
        FExponent = FNumber.IsZero() ? 0 : FNumber.Exponent() - FLayout.DecimalIndex;
        FDecimalsShown = 0;
        for (int k = FLayout.DecimalIndex; k < FLayout.DigitCount; ++k)
            if (FLayout.Placeholders.at(k) == u'0' || k < FNumber.Digits().size())
                FDecimalsShown = k - FLayout.DecimalIndex + 1;
        Walk([this](int index) { ScientificDigit(index); });
        return FOut;
    }

private:
    template <typename DigitWriter> void Walk(DigitWriter writeDigit)
    {
        int placeholder = 0;
        bool pointSeen = false;
        qsizetype i = 0;
        while (i < FSection.size()) {
            const QChar c = FSection.at(i);
            if (c == u'\'' || c == u'"') {
                FOut += readLiteral(FSection, i);
                continue;
            }
            if (isExponentAt(FSection, i)) {
                WriteExponent(c, FSection.at(i + 1), i);
                continue;
            }
            if (c == u'0' || c == u'#') {
                writeDigit(placeholder++);
            } else if (c == u'.') {
                if (!pointSeen)
                    WritePoint();
                pointSeen = true;
            } else if (c != u',') {
                FOut += c;
            }
            ++i;
        }
    }

    // Integer digits that have no placeholder of their own go before the first one.
    void WriteLeadingDigits(int abovePosition)
    {
        if (FLeadingWritten)
            return;
        FLeadingWritten = true;
        for (int position = FIntegerPositions; position > abovePosition; --position)
            WriteIntegerDigit(position);
    }

    void WriteIntegerDigit(int position)
    {
        FOut += integerDigit(FNumber, position);
        if (FLayout.Thousands && !FSettings.ThousandSeparator.isNull() && position > 1 &&
            (position - 1) % 3 == 0)
            FOut += FSettings.ThousandSeparator;
    }

    void WritePoint()
    {
        if (!FLayout.Scientific)
            WriteLeadingDigits(0);
        if (FDecimalsShown > 0)
            FOut += FSettings.DecimalSeparator;
    }

    void FixedDigit(int index)
    {
        if (index < FLayout.DecimalIndex) {
            const int position = FLayout.DecimalIndex - index;
            WriteLeadingDigits(position);
            if (position <= FIntegerPositions)
                WriteIntegerDigit(position);
        } else {
            const int position = index - FLayout.DecimalIndex + 1;
            if (position <= FDecimalsShown)
                FOut += fractionDigit(FNumber, position);
        }
    }

    void ScientificDigit(int index)
    {
        if (index < FLayout.DecimalIndex || index - FLayout.DecimalIndex < FDecimalsShown)
            FOut += digitChar(FNumber.DigitAt(index));
    }

    void WriteExponent(QChar e, QChar sign, qsizetype& i)
    {
        i += 2;
        const int digits = readExponentDigits(FSection, i);
        FOut += e;
        FOut += exponentText(FExponent, digits, sign == u'+');
    }

    const QString& FSection;
    const TPatternLayout& FLayout;
    const TDecimalNumber& FNumber;
    const TFormatSettings& FSettings;
    QString FOut;
    int FIntegerPositions = 0;
    int FDecimalsShown = 0;
    int FExponent = 0;
    bool FLeadingWritten = false;
};

void roundForPattern(TDecimalNumber& n, const TPatternLayout& layout)
{
    if (layout.Scientific)
        n.RoundToSignificant(std::max(layout.DigitCount, 1));
    else
        n.RoundToDecimals(layout.MaxDecimals);
}

QString renderSection(const QString& section, const TDecimalNumber& n, const TFormatSettings& s)
{
    const TPatternLayout layout = scanSection(section);
    TPatternWriter writer(section, layout, n, s);
    return layout.Scientific ? writer.Scientific() : writer.Fixed();
}

int chooseSection(const QStringList& sections, const TDecimalNumber& n)
{
    if (n.IsZero() && sections.size() > 2 && !sections[2].isEmpty())
        return 2;
    if (n.Negative() && sections.size() > 1 && !sections[1].isEmpty())
        return 1;
    return 0;
}

QString formatPattern(const QString& format, const TDecimalNumber& value, int precision,
                      const TFormatSettings& s)
{
    if (value.Kind() != TDecimalNumber::Finite)
        return specialText(value);
    const QStringList sections = splitSections(format);
    int index = chooseSection(sections, value);
    if (sections[index].isEmpty())
        return generalText(value, precision, 0, s);

    TDecimalNumber rounded = value;
    roundForPattern(rounded, scanSection(sections[index]));
    if (rounded.IsZero() && !value.IsZero()) {
        // A value too small for the section reads as zero, not as a signed zero.
        index = chooseSection(sections, rounded);
        rounded = TDecimalNumber();
    }
    if (!scanSection(sections[index]).Scientific && rounded.IntegerDigits() > kMaxPatternIntegerDigits)
        return generalText(value, precision, 0, s);
    const QString text = renderSection(sections[index], rounded, s);
    return index == 0 && rounded.Negative() ? u'-' + text : text;
}

} // namespace

QString DecimalToStrF(const TDecimalNumber& value, TFloatFormat format, int precision, int digits,
                      const TFormatSettings& settings)
{
    if (value.Kind() != TDecimalNumber::Finite)
        return specialText(value);
    precision = std::max(precision, 1);
    switch (format) {
    case ffGeneral:
        return generalText(value, precision, std::clamp(digits, 0, 4), settings);
    case ffExponent:
        return exponentFormText(value, precision, std::clamp(digits, 0, 4), settings);
    case ffFixed:
    case ffNumber:
    case ffCurrency:
        break;
    }
    if (value.IntegerDigits() > precision)
        return generalText(value, precision, 0, settings);
    digits = std::max(digits, 0);
    TDecimalNumber n = value;
    roundFixed(n, precision, digits);
    if (format == ffFixed)
        return withSign(n, unsignedFixedText(n, digits, QChar(), settings));
    const QString amount = unsignedFixedText(n, digits, settings.ThousandSeparator, settings);
    if (format == ffNumber)
        return withSign(n, amount);
    return currencyLayout(amount, n.Negative(), settings);
}

QString FormatFloat(const QString& format, double value, const TFormatSettings& settings)
{
    return formatPattern(format, TDecimalNumber::FromDouble(value, kDoublePrecision), kDoublePrecision,
                         settings);
}

QString FormatCurr(const QString& format, TCurrency value, const TFormatSettings& settings)
{
    return formatPattern(format, TDecimalNumber::FromCurrency(value), kCurrencyPrecision, settings);
}

QString FloatToStr(double value, const TFormatSettings& settings)
{
    return FloatToStrF(value, ffGeneral, kDoublePrecision, 0, settings);
}

QString CurrToStr(TCurrency value, const TFormatSettings& settings)
{
    return CurrToStrF(value, ffGeneral, 0, settings);
}

QString FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                    const TFormatSettings& settings)
{
    // All fifteen digits first: rounding to fewer is then decimal, half away from zero,
    // where a shorter binary-to-decimal conversion would round ties to even.
    precision = std::clamp(precision, 1, kDoublePrecision);
    return DecimalToStrF(TDecimalNumber::FromDouble(value, kDoublePrecision), format, precision, digits,
                         settings);
}

QString CurrToStrF(TCurrency value, TFloatFormat format, int digits, const TFormatSettings& settings)
{
    return DecimalToStrF(TDecimalNumber::FromCurrency(value), format, kCurrencyPrecision, digits, settings);
}

} // namespace orvo
