#pragma once

#include "platform/core/tformatsettings.h"
#include "platform/core/tvariant.h"

#include <QString>

#include <initializer_list>
#include <vector>

namespace orvo {

/// Widths and precisions above this are rejected: format texts come from users
/// and stored files, and "%999999999d" must not ask for gigabytes.
constexpr int MaxFormatWidth = 1024;

/// Builds text from a pattern and arguments by the classic directives
/// "%" [index ":"] ["-"] [width] ["." precision] type, with "*" taking a width or
/// precision from the arguments and "%%" a percent sign. Types: d (decimal), u
/// (unsigned), x (hexadecimal) and p (pointer-width hexadecimal) take an int64; e, f,
/// g, n (thousands-separated) and m (money, by the currency settings) take a double or
/// a currency value; s takes a string (Null and Unassigned give ""). "%1:s" picks
/// argument 1 (from 0) and later directives go on from there. A directive that does
/// not fit its argument, a missing argument or a malformed directive raises
/// EConvertError "Format '<format>' invalid or incompatible with argument". The text
/// is built here, never by a printf-style function.
QString Format(const QString& format, const std::vector<TVariant>& args,
               const TFormatSettings& settings = TFormatSettings::Default());
QString Format(const QString& format, std::initializer_list<TVariant> args,
               const TFormatSettings& settings = TFormatSettings::Default());

} // namespace orvo
