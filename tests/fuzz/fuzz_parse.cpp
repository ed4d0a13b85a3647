// Dates and numbers typed by users or read from files: the parsers accept or refuse,
// and what they accept reads back the same when written in the form they read.
#include "fuzzinput.h"

#include "platform/core/datetimeformat.h"
#include "platform/core/datetimeparse.h"
#include "platform/core/exceptions.h"
#include "platform/core/floatformat.h"
#include "platform/core/strconvert.h"
#include "platform/core/tdatetime.h"

#include <cmath>

using namespace orvo;

namespace {

void CheckDates(const QString& text, const TFormatSettings& settings)
{
    TDateTime value;
    if (TryStrToDate(text, value, settings)) {
        TDateTime again;
        const QString written = DateToStr(value, settings);
        fuzz::Require(TryStrToDate(written, again, settings) && again.Value() == value.Value(),
                      "a date read is read again from its written form",
                      text + QLatin1String(" -> ") + written);
    }
    TryStrToTime(text, value, settings);
    TryStrToDateTime(text, value, settings);
}

void CheckNumbers(const QString& text, const TFormatSettings& settings)
{
    double value = 0;
    if (TryStrToFloat(text, value, settings) && std::isfinite(value)) {
        double again = 0;
        const QString written = FloatToStr(value, settings);
        // Written with 15 significant digits: the value comes back to within that.
        fuzz::Require(
            TryStrToFloat(written, again, settings) && std::fabs(again - value) <= std::fabs(value) * 1e-14,
            "a number read is read again from its written form", text + QLatin1String(" -> ") + written);
    }
    qint64 big = 0;
    if (TryStrToInt64(text, big))
        fuzz::Require(StrToInt64(QString::number(big)) == big, "an int64 read is read again");
    int small = 0;
    TryStrToInt(text, small);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz::Utf8Text(data, size);
    try {
        TFormatSettings english = TFormatSettings::Invariant();
        TFormatSettings european = english;
        european.DecimalSeparator = u',';
        european.ThousandSeparator = u'.';
        european.DateSeparator = u'.';
        european.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
        for (const TFormatSettings* settings : {&english, &european}) {
            CheckDates(text, *settings);
            CheckNumbers(text, *settings);
        }
    } catch (const Exception&) {
        // The Try functions do not raise; writing a value may refuse one out of range.
    }
    return 0;
}
