// Date and time values as the number labels show them: a Double counting days since
// 1899-12-30 00:00, its fraction the time of day (for negative values the fraction's magnitude,
// so -1.25 is 1899-12-29 06:00). Years 1 to 9999 are supported.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvl {

struct TDateTimeParts {
  int Year = 0, Month = 0, Day = 0;
  int DayOfWeek = 0;  // 1 Sunday ... 7 Saturday
  int Hour = 0, Minute = 0, Second = 0, MilliSecond = 0;
};

// The calendar date and clock time of DateTime, rounded to the millisecond; std::nullopt when
// the value is not finite or lies outside the years 1 to 9999.
std::optional<TDateTimeParts> DecodeDateTime(double DateTime);

// The value of a date at 00:00 and of a time of day (a fraction of one day). Raise EConvertError
// for a date outside the calendar (1-9999, real months and days) or a time outside the day.
double EncodeDate(int Year, int Month, int Day);
double EncodeTime(int Hour, int Minute, int Second, int MilliSecond = 0);

// DateTime written by Format. Tokens, letters in either case:
//   d dd ddd dddd    day 1, 01, weekday "Sun", "Sunday"
//   m mm mmm mmmm    month 1, 01, "Jan", "January"; m and mm after an hour token are minutes
//   yy yyyy          year 24, 2024 (one y counts as yy, three as yyyy)
//   h hh, n nn, s ss hour, minute, second without and with a leading zero
//   am/pm            "am" or "pm" in the case written; the hours then count 1 to 12
//   "..." '...'      literal text
// Every other character is copied. std::nullopt when DateTime cannot be decoded.
std::optional<std::string> FormatDateTime(std::string_view Format, double DateTime);

}  // namespace kvl
