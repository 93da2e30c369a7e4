// Date and time values: a TDateTime counts days since 1899-12-30 00:00, its fraction the time of
// day (for negative values the fraction's magnitude, so -1.25 is 1899-12-29 06:00). Years 1 to
// 9999 are supported; anything outside is refused, never wrapped. Arithmetic works on the
// decoded day and time, so it is right on both sides of 1899-12-30.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvl {

using TDateTime = double;

struct TDateTimeParts {
  int Year = 0, Month = 0, Day = 0;
  int DayOfWeek = 0;  // 1 Sunday ... 7 Saturday
  int Hour = 0, Minute = 0, Second = 0, MilliSecond = 0;
};

// The calendar date and clock time of DateTime, rounded to the millisecond; std::nullopt when
// the value is not finite or lies outside the years 1 to 9999.
std::optional<TDateTimeParts> DecodeDateTime(TDateTime DateTime);
// The same as parts; false (the outputs untouched) when DateTime cannot be decoded.
bool DecodeDate(TDateTime DateTime, int& Year, int& Month, int& Day);
bool DecodeTime(TDateTime DateTime, int& Hour, int& Minute, int& Second, int& MilliSecond);

// The value of a date at 00:00, of a time of day (a fraction of one day) and of both. The Try
// forms return false for a date outside the calendar (years 1-9999, real months and days) or a
// time outside the day; the others raise EConvertError.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Minute, int Second, int MilliSecond = 0);
TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second,
                         int MilliSecond = 0);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
bool TryEncodeTime(int Hour, int Minute, int Second, int MilliSecond, TDateTime& Time);

bool IsLeapYear(int Year);
// 28 to 31; 0 for a month outside 1-12.
int DaysInMonth(int Year, int Month);
// 1 Sunday ... 7 Saturday; DayOfTheWeek counts as ISO 8601 does, 1 Monday ... 7 Sunday.
// EConvertError when DateTime cannot be decoded, as for everything below.
int DayOfWeek(TDateTime DateTime);
int DayOfTheWeek(TDateTime DateTime);
// The ISO 8601 week (1-53; week 1 holds the year's first Thursday) and the year it belongs
// to, which differs from the calendar year in the first and last days of some years.
int WeekOfTheYear(TDateTime DateTime);
int WeekOfTheYear(TDateTime DateTime, int& IsoYear);

// Proleptic Gregorian day numbers (days since 1899-12-30) without the range check, for
// arithmetic that looks a few weeks past the years 1 to 9999 (the neighbouring days a month
// view shows). Day may lie outside the month (0 is the day before the 1st); Month must be 1 to
// 12. Exact for years of up to a million either side.
std::int64_t DayNumberOfDate(int Year, int Month, int Day);
void DateOfDayNumber(std::int64_t DayNumber, int& Year, int& Month, int& Day);
// 1 Monday ... 7 Sunday.
int IsoWeekdayOfDayNumber(std::int64_t DayNumber);
// The ISO 8601 week of the day and the year the week belongs to.
int IsoWeekOfDayNumber(std::int64_t DayNumber, int& IsoYear);

// N months on, the day clamped to the last of the month reached (31 January + 1 is the 28th or
// 29th of February); the time of day is kept.
TDateTime IncMonth(TDateTime DateTime, int N = 1);
TDateTime IncDay(TDateTime DateTime, int N = 1);
TDateTime IncMilliSecond(TDateTime DateTime, std::int64_t N);
// The date at 00:00 and the time of day alone (0 <= TimeOf < 1).
TDateTime DateOf(TDateTime DateTime);
TDateTime TimeOf(TDateTime DateTime);

// DateTime written by Format. Tokens, letters in either case:
//   d dd ddd dddd    day 1, 01, weekday "Sun", "Sunday"
//   m mm mmm mmmm    month 1, 01, "Jan", "January"; m and mm after an hour token are minutes
//   yy yyyy          year 24, 2024 (one y counts as yy, three as yyyy)
//   h hh, n nn, s ss hour, minute, second without and with a leading zero
//   am/pm            "am" or "pm" in the case written; the hours then count 1 to 12
//   "..." '...'      literal text
// Every other character is copied. std::nullopt when DateTime cannot be decoded.
std::optional<std::string> FormatDateTime(std::string_view Format, TDateTime DateTime);

// The wall clock of the application's host: local date and time, today at 00:00, the time of
// day. The headless host's clock is settable and moves with its virtual clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();

}  // namespace kvl
