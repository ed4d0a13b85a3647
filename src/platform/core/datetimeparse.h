#pragma once

#include "platform/core/tdatetime.h"
#include "platform/core/tformatsettings.h"

#include <QString>

namespace orvo {

/// Reads a date typed in the order of the settings' ShortDateFormat (day, month and
/// year by the first of "d", "m" and "y" in it), separated by DateSeparator; without a
/// year the current one is taken, and a year of one or two digits falls in the
/// TwoDigitYearCenturyWindow. ISO "yyyy-mm-dd" is accepted too. Raises EConvertError
/// "'<text>' is not a valid date".
TDateTime StrToDate(const QString& text, const TFormatSettings& settings = TFormatSettings::Default());
bool TryStrToDate(const QString& text, TDateTime& value,
                  const TFormatSettings& settings = TFormatSettings::Default());

/// Reads "h[:n[:s[.zzz]]]" with TimeSeparator, optionally with TimeAMString/TimePMString
/// (or "AM"/"PM") before or after it. Raises EConvertError "'<text>' is not a valid time".
TDateTime StrToTime(const QString& text, const TFormatSettings& settings = TFormatSettings::Default());
bool TryStrToTime(const QString& text, TDateTime& value,
                  const TFormatSettings& settings = TFormatSettings::Default());

/// A date, a time, or a date followed by a time; ISO "yyyy-mm-dd[ hh:nn[:ss]]" (or with
/// "T") too. Raises EConvertError "'<text>' is not a valid date and time".
TDateTime StrToDateTime(const QString& text, const TFormatSettings& settings = TFormatSettings::Default());
bool TryStrToDateTime(const QString& text, TDateTime& value,
                      const TFormatSettings& settings = TFormatSettings::Default());

} // namespace orvo
