#include "platform/core/tcurrency.h"

#include "platform/core/exceptions.h"

#include <cmath>
#include <limits>

namespace orvo {

TCurrency TCurrency::FromDouble(double value)
{
    const double scaled = std::round(value * Scale);
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18)
        throw EConvertError(QStringLiteral("%1 is not a valid currency value").arg(value));
    return FromRaw(qint64(scaled));
}

} // namespace orvo
