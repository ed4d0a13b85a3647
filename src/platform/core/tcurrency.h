#pragma once

#include <QtGlobal>

#include <compare>

namespace orvo {

/// A fixed-point money value: an integer count of ten-thousandths, so that
/// sums of prices add up exactly where a double would drift.
class TCurrency
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr TCurrency() = default;
    static constexpr TCurrency FromRaw(qint64 raw)
    {
        TCurrency c;
        c.FRaw = raw;
        return c;
    }
    /// Rounds half away from zero to four decimals; raises EConvertError when out of range.
    static TCurrency FromDouble(double value);

    constexpr qint64 Raw() const { return FRaw; }
    double ToDouble() const { return double(FRaw) / Scale; }

    auto operator<=>(const TCurrency&) const = default;

private:
    qint64 FRaw = 0;
};

} // namespace orvo
