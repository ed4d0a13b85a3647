// A grid's stored filter lines: whatever a layout holds, reading them ends at once,
// and what was read is written and read back the same.
#include "fuzzinput.h"

#include "grid/filter/filtertexts.h"
#include "platform/core/exceptions.h"

using namespace orvo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines = fuzz::Utf8Text(data, size).split(QLatin1Char('\n'));
    try {
        const QList<TColumnFilterLine> filters = ParseFilterSettingsLines(lines);
        fuzz::Require(filters.size() < lines.size() || filters.isEmpty(), "no more filters than lines");
        const QStringList written = FilterSettingsLines(filters);
        const QList<TColumnFilterLine> again = ParseFilterSettingsLines(written);
        fuzz::Require(again == filters, "filter lines read back as written", written.join(QLatin1Char('\n')));
        fuzz::Require(FilterSettingsLines(again) == written, "filter lines are written the same twice");
    } catch (const Exception&) {
        // Damaged lines may be refused: that is allowed.
    }
    return 0;
}
