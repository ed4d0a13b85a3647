#include "platform/core/strconvert.h"

#include "platform/core/exceptions.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace orvo {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Copies the text into plain ASCII with "." as the decimal point, checking its shape
// on the way; anything that is not a classic decimal literal fails.
bool normalizeFloat(const QString& text, QChar decimalSeparator, std::string& out)
{
    qsizetype i = 0;
    qsizetype end = text.size();
    while (i < end && isBlank(text.at(i)))
        ++i;
    while (end > i && isBlank(text.at(end - 1)))
        --end;
    if (i < end && (text.at(i) == u'+' || text.at(i) == u'-'))
        out += char(text.at(i++).unicode());
    bool digits = false;
    bool point = false;
    for (; i < end; ++i) {
        const QChar c = text.at(i);
        if (c >= u'0' && c <= u'9') {
            out += char(c.unicode());
            digits = true;
        } else if (c == decimalSeparator && !point) {
            out += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (i < end && (text.at(i) == u'e' || text.at(i) == u'E')) {
        out += 'e';
        ++i;
        if (i < end && (text.at(i) == u'+' || text.at(i) == u'-'))
            out += char(text.at(i++).unicode());
        const qsizetype start = i;
        for (; i < end && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i)
            out += char(text.at(i).unicode());
        if (i == start)
            return false;
    }
    return i == end;
}

int hexValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// Reads an unsigned magnitude; fails past `limit`.
bool readMagnitude(const QString& text, qsizetype i, int base, quint64 limit, quint64& out)
{
    if (i >= text.size())
        return false;
    out = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexValue(text.at(i));
        if (digit < 0 || digit >= base)
            return false;
        if (out > (limit - quint64(digit)) / quint64(base))
            return false;
        out = out * quint64(base) + quint64(digit);
    }
    return true;
}

// Hexadecimal spans the whole unsigned width of the target (bits); decimal keeps to the signed range.
bool parseInteger(const QString& text, int bits, qint64& value)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        negative = text.at(i++) == u'-';
    const quint64 unsignedMax = bits == 64 ? std::numeric_limits<quint64>::max() : (quint64(1) << bits) - 1;
    const quint64 signedMax = unsignedMax >> 1;
    quint64 magnitude = 0;
    if (i < text.size() && text.at(i) == u'$') {
        if (!readMagnitude(text, i + 1, 16, unsignedMax, magnitude))
            return false;
    } else if (i + 1 < text.size() && text.at(i) == u'0' &&
               (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
        if (!readMagnitude(text, i + 2, 16, unsignedMax, magnitude))
            return false;
    } else {
        if (!readMagnitude(text, i, 10, negative ? signedMax + 1 : signedMax, magnitude))
            return false;
    }
    // Wrap into the signed type of the target width, as a hexadecimal literal does.
    quint64 bitsValue = negative ? quint64(0) - magnitude : magnitude;
    if (bits < 64) {
        bitsValue &= unsignedMax;
        value = (bitsValue > signedMax) ? qint64(bitsValue) - qint64(unsignedMax) - 1 : qint64(bitsValue);
    } else {
        value = qint64(bitsValue);
    }
    return true;
}

[[noreturn]] void raiseInteger(const QString& text)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

} // namespace

bool TryStrToFloat(const QString& text, double& value, const TFormatSettings& settings)
{
    std::string plain;
    if (!normalizeFloat(text, settings.DecimalSeparator, plain))
        return false;
    double parsed = 0;
    const auto result =
        std::from_chars(plain.data() + (plain.front() == '+' ? 1 : 0), plain.data() + plain.size(), parsed);
    if (result.ec != std::errc() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

double StrToFloat(const QString& text, const TFormatSettings& settings)
{
    double value = 0;
    if (!TryStrToFloat(text, value, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

bool TryStrToInt(const QString& text, int& value)
{
    qint64 wide = 0;
    if (!parseInteger(text, 32, wide))
        return false;
    value = int(wide);
    return true;
}

int StrToInt(const QString& text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        raiseInteger(text);
    return value;
}

bool TryStrToInt64(const QString& text, qint64& value)
{
    return parseInteger(text, 64, value);
}

qint64 StrToInt64(const QString& text)
{
    qint64 value = 0;
    if (!TryStrToInt64(text, value))
        raiseInteger(text);
    return value;
}

} // namespace orvo
