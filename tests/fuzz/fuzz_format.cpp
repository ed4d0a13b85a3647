// Format texts come from users and stored files: whatever they say, the format
// functions give text or raise an Exception, and never read or write out of bounds.
#include "fuzzinput.h"

#include "platform/core/datetimeformat.h"
#include "platform/core/exceptions.h"
#include "platform/core/floatformat.h"
#include "platform/core/format.h"
#include "platform/core/tcurrency.h"
#include "platform/core/tdatetime.h"
#include "platform/core/tdecimalnumber.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace orvo;

namespace {

/// Numbers taken from the front of the input, so that the fuzzer chooses them too.
struct TNumbers
{
    qint64 Integer = 0;
    double Float = 0;
};

TNumbers TakeNumbers(const uint8_t*& data, size_t& size)
{
    TNumbers numbers;
    if (size >= sizeof numbers.Integer + sizeof numbers.Float) {
        std::memcpy(&numbers.Integer, data, sizeof numbers.Integer);
        std::memcpy(&numbers.Float, data + sizeof numbers.Integer, sizeof numbers.Float);
        data += sizeof numbers.Integer + sizeof numbers.Float;
        size -= sizeof numbers.Integer + sizeof numbers.Float;
    }
    return numbers;
}

template <typename F> void Tolerating(F action)
{
    try {
        action();
    } catch (const Exception&) {
        // A format that does not fit its value is refused: that is allowed.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TNumbers numbers = TakeNumbers(data, size);
    const QString format = fuzz::Utf8Text(data, size);
    const double value = numbers.Float;
    const std::vector<TVariant> args{TVariant(numbers.Integer), TVariant(value), TVariant(format),
                                     TVariant::Null(), TVariant(qint64(-1))};

    Tolerating([&] { Format(format, args); });
    Tolerating([&] { FormatFloat(format, value); });
    Tolerating([&] { FormatFloat(format, double(numbers.Integer)); });
    if (std::isfinite(value) && std::fabs(value) < 9e14)
        Tolerating([&] { FormatCurr(format, TCurrency::FromDouble(value)); });
    // Days from 0001-01-01 to 9999-12-31, the range date-times are defined for.
    if (std::isfinite(value) && value > -693593 && value < 2958466)
        Tolerating([&] { FormatDateTime(format, TDateTime(value)); });
    const int precision = int(numbers.Integer & 0x3f);
    const int digits = int((numbers.Integer >> 8) & 0x3f);
    const auto kind = TFloatFormat(int((numbers.Integer >> 16) & 0x7) % 5);
    Tolerating([&] { FloatToStrF(value, kind, precision, digits); });
    const TFormatSettings& settings = TFormatSettings::Default();
    Tolerating([&] {
        DecimalToStrF(TDecimalNumber::FromInteger(numbers.Integer), kind, precision, digits, settings);
    });
    Tolerating([&] { DecimalToStrF(TDecimalNumber::FromDouble(value), kind, precision, digits, settings); });
    return 0;
}
