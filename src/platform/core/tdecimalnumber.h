#pragma once

#include "platform/core/tcurrency.h"

#include <QByteArray>

namespace orvo {

/// A number as a string of significant decimal digits and a decimal exponent
/// (value = 0.Digits x 10^Exponent). Every number formatter of the platform
/// works on this form, so that rounding is decimal (half away from zero) and
/// no user-supplied format text ever reaches a printf-style function.
class TDecimalNumber
{
public:
    enum TKind
    {
        Finite,
        NaN,
        Infinite
    };

    /// At most `significant` (1..17) correctly rounded digits of `value`.
    static TDecimalNumber FromDouble(double value, int significant = 15);
    /// The exact digits of a currency value.
    static TDecimalNumber FromCurrency(TCurrency value);
    static TDecimalNumber FromInteger(qint64 value);

    TKind Kind() const { return FKind; }
    bool IsZero() const { return FKind == Finite && FDigits.isEmpty(); }
    /// False for zero, so that nothing is ever shown as "-0".
    bool Negative() const { return FNegative && !IsZero(); }
    const QByteArray& Digits() const { return FDigits; }
    int Exponent() const { return FExponent; }
    /// Number of digits before the decimal point (0 for values below 1).
    int IntegerDigits() const { return IsZero() ? 0 : std::max(FExponent, 0); }
    /// The digit at `index` counted from the first significant one, '0' past the end.
    char DigitAt(int index) const;

    /// Rounds, half away from zero, to `decimals` digits after the point.
    void RoundToDecimals(int decimals);
    /// Rounds, half away from zero, to `count` significant digits.
    void RoundToSignificant(int count);

private:
    void RoundAt(int keep);
    void TrimTrailingZeros();

    TKind FKind = Finite;
    bool FNegative = false;
    QByteArray FDigits;
    int FExponent = 0;
};

} // namespace orvo
