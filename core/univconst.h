// Universal constants and the name tables of months and weekdays.
#pragma once

#include <limits>
#include <numbers>
#include <string_view>

#include "kvl/core/kvlbase.h"

namespace kvl {

inline constexpr double uc_MaxDouble = std::numeric_limits<double>::max();
// Larger than any distance the components compare; starts nearest-value searches.
inline constexpr double uc_MaxReal = 1.0e300;
inline constexpr double uc_ln10 = std::numbers::ln10;

// Month names for Month 1..12 and weekday names for Day 1..7 (Monday first). A month or day
// out of range gives an empty text; a language beyond the known ones falls back to English.
std::string_view MonthLong(TLanguage Language, int Month);
std::string_view MonthShort(TLanguage Language, int Month);
std::string_view WeekDayLong(TLanguage Language, int Day);
std::string_view WeekDayShort(TLanguage Language, int Day);

}  // namespace kvl
