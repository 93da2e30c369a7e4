// The report list's date text reader: a cell's text read back by a date format of the row
// editor's tokens, with month and weekday names in one of five languages.
#pragma once

#include <array>
#include <string_view>

#include "kvl/platform/dates.h"

namespace kvl {

// Name tables: 0 the codes "M01".."M12" and "D01".."D07", 1 English, 2 German, 3 French,
// 4 Spanish. Weeks start on Monday. Long names hold at most 10 characters, short month names
// at most 4 and short weekday names at most 3.
inline constexpr int DateNameLanguages = 5;
struct TDateNames {
  std::array<std::string_view, 12> LongMonths, ShortMonths;
  std::array<std::string_view, 7> LongDays, ShortDays;
};
// A language outside 0..4 gets the English names.
const TDateNames& DateNames(int Language);

// Error codes of the reader.
inline constexpr int drOk = 0;
inline constexpr int drTextMismatch = -1;  // literal or quoted text not where the format has it
inline constexpr int drBadToken = -2;      // a run of a field letter of no known length
inline constexpr int drBadField = -3;      // a field that is not a number or name, or cut short
inline constexpr int drOutOfRange = -4;    // a part outside the calendar or the clock

struct TDateTextReading {
  TDateTime Value = 0;  // 0 whenever Error is not drOk
  int Error = drOk;
};

// The year of the host's wall clock.
int WallClockYear();

// Reads Text by Format. Format tokens (case-sensitive): yyyy and yy (a two-digit year, placed
// in the hundred years that starts TwoDigitYearCenturyWindow years before CurrentYear; an
// unreadable one counts as 0), MMMM and MMM (month names), MM and M, dd and d, dddd and ddd
// (weekday names, checked and otherwise ignored), HH and H, hh and h (12-hour clock), mm and
// m (minutes), ss and s, t ("a" for am, else pm) and tt ("am", else pm); the one-letter number
// tokens read a signed integer of any length, the two-letter ones exactly two characters.
// Text in single quotes ('' for a quote) and any other character must stand in Text as they
// are. Names compare ignoring ASCII case. Text left over after the format is ignored. Without
// a year token, a month or day token reads the year as CurrentYear. Without any date part the
// value is the time of day alone.
TDateTextReading ReadDateText(std::string_view Text, std::string_view Format, int Language,
                              int TwoDigitYearCenturyWindow = 50,
                              int CurrentYear = WallClockYear());

}  // namespace kvl
