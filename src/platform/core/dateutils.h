#pragma once

#include "platform/core/tdatetime.h"

namespace orvo {

/// True for date-time values between 1 January 0001 and 31 December 9999.
bool IsValidDateTime(TDateTime value);
/// Splits a date-time; raise EConvertError for a value outside IsValidDateTime.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

/// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);
/// Adds months, keeping the time of day; a day past the end of the target month
/// becomes its last day (31 January + 1 month = 28 or 29 February).
TDateTime IncMonth(TDateTime value, int months = 1);
TDateTime IncYear(TDateTime value, int years = 1);
/// Monday 00:00:00.000 and Sunday 23:59:59.999 of the ISO week of `value`.
TDateTime StartOfTheWeek(TDateTime value);
TDateTime EndOfTheWeek(TDateTime value);
/// The ISO 8601 week number (1..53).
int WeekOf(TDateTime value);
int DaysInMonth(TDateTime value);
int DaysInAMonth(int year, int month);
bool IsLeapYear(int year);

} // namespace orvo
