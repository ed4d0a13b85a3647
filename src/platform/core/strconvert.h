#pragma once

#include "platform/core/tformatsettings.h"

#include <QString>

namespace orvo {

/// Reads a decimal number written with the settings' DecimalSeparator: optional
/// blanks and sign, digits, an optional fraction and exponent ("1.5E-3"); no
/// thousands separators, no infinities. Raises EConvertError
/// "'<text>' is not a valid floating point value".
double StrToFloat(const QString& text, const TFormatSettings& settings = TFormatSettings::Default());
bool TryStrToFloat(const QString& text, double& value,
                   const TFormatSettings& settings = TFormatSettings::Default());

/// Reads an integer: leading blanks, an optional sign, decimal digits or hexadecimal
/// written "$FF" or "0xFF" (hexadecimal may use the whole unsigned width, so "$FFFFFFFF"
/// is -1). Raises EConvertError "'<text>' is not a valid integer value", also on overflow.
int StrToInt(const QString& text);
bool TryStrToInt(const QString& text, int& value);
qint64 StrToInt64(const QString& text);
bool TryStrToInt64(const QString& text, qint64& value);

} // namespace orvo
