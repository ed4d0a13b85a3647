#pragma once

#include "platform/core/tcurrency.h"
#include "platform/core/tformatsettings.h"

#include <QString>

namespace orvo {

class TDecimalNumber;

/// The layouts of FloatToStrF and CurrToStrF.
enum TFloatFormat
{
    ffGeneral,  ///< shortest of fixed and scientific, trailing zeros removed
    ffExponent, ///< "-d.ddd...E+dddd"
    ffFixed,    ///< "-ddd.ddd"
    ffNumber,   ///< "-d,ddd.ddd"
    ffCurrency  ///< by CurrencyString, CurrencyFormat and NegCurrFormat
};

/// Formats `value` by a display-format pattern: "0" and "#" digit placeholders,
/// "." the decimal point, "," anywhere for thousands separators, "E+"/"E-"/"e+"/"e-"
/// followed by zeros for scientific notation, text in '...' or "..." kept literally,
/// and up to three ";"-separated sections for positive, negative and zero values.
/// Rounds half away from zero; an empty pattern gives the general form. A value that
/// rounds to zero is shown by the zero section (or unsigned by the first), never as "-0".
QString FormatFloat(const QString& format, double value,
                    const TFormatSettings& settings = TFormatSettings::Default());
/// FormatFloat on the exact digits of a currency value.
QString FormatCurr(const QString& format, TCurrency value,
                   const TFormatSettings& settings = TFormatSettings::Default());

/// The general form with 15 significant digits ("1234.5", "1E20", "1.5E-7").
QString FloatToStr(double value, const TFormatSettings& settings = TFormatSettings::Default());
/// The general form of the exact currency value ("12.5").
QString CurrToStr(TCurrency value, const TFormatSettings& settings = TFormatSettings::Default());

/// Formats by layout: `precision` is the number of significant digits (at most 15 for a
/// double), `digits` the exponent's minimum digit count (ffGeneral, ffExponent, 0..4) or
/// the number of decimals (ffFixed, ffNumber, ffCurrency).
QString FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                    const TFormatSettings& settings = TFormatSettings::Default());
QString CurrToStrF(TCurrency value, TFloatFormat format, int digits,
                   const TFormatSettings& settings = TFormatSettings::Default());

/// FloatToStrF on a number already split into decimal digits; the formatters of
/// doubles, currency and Format's directives all end here.
QString DecimalToStrF(const TDecimalNumber& value, TFloatFormat format, int precision, int digits,
                      const TFormatSettings& settings);

} // namespace orvo
