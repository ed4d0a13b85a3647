#include "grid/totals/totalarithmetic.h"

#include "platform/core/tcurrency.h"

namespace orvo::TotalArithmetic {

namespace {

// Booleans enter a sum as 0 or 1, so that a sum of flags counts the set ones.
TVariant Normalized(const TVariant& value)
{
    return value.VarType() == varBoolean ? TVariant(qint64(value.AsBoolean() ? 1 : 0)) : value;
}

// The value in ten-thousandths, false when an integer is too large to be currency.
bool CurrencyRaw(const TVariant& value, qint64& raw)
{
    if (value.VarType() == varCurrency) {
        raw = value.AsCurrency().Raw();
        return true;
    }
    return !__builtin_mul_overflow(value.AsInt64(), TCurrency::Scale, &raw);
}

} // namespace

bool Adds(const TVariant& value)
{
    return value.IsNumeric();
}

TVariant Add(const TVariant& sum, const TVariant& value)
{
    const TVariant a = Normalized(sum);
    const TVariant b = Normalized(value);
    if (a.IsEmpty())
        return b;
    const TVarType ta = a.VarType();
    const TVarType tb = b.VarType();
    if (ta == varInt64 && tb == varInt64) {
        qint64 result = 0;
        if (!__builtin_add_overflow(a.AsInt64(), b.AsInt64(), &result))
            return TVariant(result);
    } else if ((ta == varCurrency || ta == varInt64) && (tb == varCurrency || tb == varInt64)) {
        qint64 rawA = 0;
        qint64 rawB = 0;
        qint64 result = 0;
        if (CurrencyRaw(a, rawA) && CurrencyRaw(b, rawB) && !__builtin_add_overflow(rawA, rawB, &result))
            return TVariant(TCurrency::FromRaw(result));
    }
    // Past the exact range, or with a floating-point value, the sum is floating point:
    // approximate, but never wrapped round to a wrong sign.
    return TVariant(a.AsFloat() + b.AsFloat());
}

TVariant Average(const TVariant& sum, qint64 count)
{
    if (count <= 0 || !Adds(sum))
        return TVariant();
    if (sum.VarType() == varCurrency) {
        const qint64 raw = sum.AsCurrency().Raw();
        qint64 quotient = raw / count;
        const qint64 remainder = raw % count;
        // Half away from zero, as every rounding of currency is; 2 * remainder cannot
        // overflow since |remainder| < count.
        if (2 * (remainder < 0 ? -remainder : remainder) >= count)
            quotient += raw < 0 ? -1 : 1;
        return TVariant(TCurrency::FromRaw(quotient));
    }
    return TVariant(Normalized(sum).AsFloat() / double(count));
}

} // namespace orvo::TotalArithmetic
