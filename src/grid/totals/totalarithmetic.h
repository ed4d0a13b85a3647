#pragma once

#include "platform/core/tvariant.h"

namespace orvo::TotalArithmetic {

/// True for the values a sum or an average takes: numbers, currency and Booleans (as 0 or 1).
bool Adds(const TVariant& value);
/// `sum` + `value` without ever wrapping: integers stay exact 64-bit integers and currency
/// stays exact while the result fits; past that the sum goes on in floating point. An empty
/// `sum` starts with `value`.
TVariant Add(const TVariant& sum, const TVariant& value);
/// `sum` / `count`: Unassigned for no records or a sum that is no number; currency stays
/// currency, rounded half away from zero to its four decimals; anything else is a floating
/// point average, so that the integers 1 and 2 average 1.5.
TVariant Average(const TVariant& sum, qint64 count);

} // namespace orvo::TotalArithmetic
