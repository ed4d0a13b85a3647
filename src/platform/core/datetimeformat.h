#pragma once

#include "platform/core/tdatetime.h"
#include "platform/core/tformatsettings.h"

#include <QString>

namespace orvo {

/// Formats a date-time by the classic directives (letters in any case): c, d, dd, ddd,
/// dddd, ddddd (short date), dddddd (long date), m, mm, mmm, mmmm, y/yy, yyyy, h, hh,
/// n, nn, s, ss, z, zzz, t (short time), tt (long time), am/pm and a/p (in the case
/// written), ampm (TimeAMString/TimePMString), "/" and ":" (the settings' separators)
/// and text in '...' or "...". An "m" right after an "h" or "hh" means minutes; an
/// am/pm directive after an "h" switches it to the 12-hour clock. An empty format is "c".
/// Raises EConvertError for a value outside 0001-01-01..9999-12-31.
QString FormatDateTime(const QString& format, TDateTime value,
                       const TFormatSettings& settings = TFormatSettings::Default());

/// The short date ("ddddd"), the long time ("tt"), and both ("c": no time at midnight).
QString DateToStr(TDateTime value, const TFormatSettings& settings = TFormatSettings::Default());
QString TimeToStr(TDateTime value, const TFormatSettings& settings = TFormatSettings::Default());
QString DateTimeToStr(TDateTime value, const TFormatSettings& settings = TFormatSettings::Default());

} // namespace orvo
