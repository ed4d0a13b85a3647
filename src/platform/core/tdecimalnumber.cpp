#include "platform/core/tdecimalnumber.h"

#include <charconv>
#include <cmath>

namespace orvo {

TDecimalNumber TDecimalNumber::FromDouble(double value, int significant)
{
    TDecimalNumber n;
    n.FNegative = std::signbit(value);
    if (std::isnan(value)) {
        n.FKind = NaN;
        return n;
    }
    if (std::isinf(value)) {
        n.FKind = Infinite;
        return n;
    }
    if (value == 0.0)
        return n;
    // Scientific form "d.ddddE+xx": locale-independent and correctly rounded.
    char buffer[64];
    const int precision = std::clamp(significant, 1, 17) - 1;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, precision);
    const char* end = result.ptr;
    const char* p = buffer;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.')
            n.FDigits += *p;
    // to_chars writes no terminating zero: the exponent is read within the digits written.
    int exponent = 0;
    if (p < end) {
        const char* digits = p + 1;
        if (digits < end && *digits == '+')
            ++digits;
        std::from_chars(digits, end, exponent);
    }
    n.FExponent = exponent + 1;
    n.TrimTrailingZeros();
    return n;
}

TDecimalNumber TDecimalNumber::FromInteger(qint64 value)
{
    TDecimalNumber n;
    n.FNegative = value < 0;
    // Through the unsigned type so that the most negative value keeps its digits.
    quint64 magnitude = n.FNegative ? quint64(0) - quint64(value) : quint64(value);
    while (magnitude != 0) {
        n.FDigits.prepend(char('0' + magnitude % 10));
        magnitude /= 10;
    }
    n.FExponent = int(n.FDigits.size());
    n.TrimTrailingZeros();
    return n;
}

TDecimalNumber TDecimalNumber::FromCurrency(TCurrency value)
{
    TDecimalNumber n = FromInteger(value.Raw());
    if (!n.IsZero())
        n.FExponent -= 4;
    return n;
}

char TDecimalNumber::DigitAt(int index) const
{
    return index >= 0 && index < FDigits.size() ? FDigits.at(index) : '0';
}

void TDecimalNumber::RoundToDecimals(int decimals)
{
    if (FKind == Finite && !IsZero())
        RoundAt(FExponent + decimals);
}

void TDecimalNumber::RoundToSignificant(int count)
{
    if (FKind == Finite && !IsZero())
        RoundAt(std::max(count, 1));
}

void TDecimalNumber::RoundAt(int keep)
{
    if (keep >= FDigits.size())
        return;
    if (keep < 0) {
        FDigits.clear();
        return;
    }
    const bool up = FDigits.at(keep) >= '5';
    FDigits.truncate(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && FDigits.at(i) == '9')
            FDigits[i--] = '0';
        if (i >= 0) {
            ++FDigits[i];
        } else {
            FDigits.prepend('1');
            ++FExponent;
        }
    }
    TrimTrailingZeros();
}

void TDecimalNumber::TrimTrailingZeros()
{
    qsizetype size = FDigits.size();
    while (size > 0 && FDigits.at(size - 1) == '0')
        --size;
    FDigits.truncate(size);
}

} // namespace orvo
