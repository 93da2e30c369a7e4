// The date-time picker's format: tokens that show one field of a date and time each, and the
// editing rules of those fields (stepping with wrap-round, first and last values, typed
// numbers). Letters are case-sensitive; names are English whatever the process locale:
//   d dd          day 5, 05          ddd dddd   weekday Mon, Monday
//   M MM          month 1, 01        MMM MMMM   month Jan, January
//   y yy yyyy     year 3, 23, 2023 (yyy counts as yyyy)
//   h hh          hour 1-12          H HH       hour 0-23
//   m mm          minute             s ss       second
//   t tt          A or P, AM or PM   '...'      literal text ('' is a quote, also outside)
// Every other character is literal. A quote left open runs to the end of the format.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/platform/dates.h"

namespace kvl {

enum class TDtField : std::uint8_t {
  Literal,
  Day,
  Weekday,
  Month,
  Year,
  Hour12,
  Hour24,
  Minute,
  Second,
  HalfDay
};

struct TDtToken {
  TDtField Field = TDtField::Literal;
  int Letters = 0;   // how many letters the token has (yyy counted as 4)
  std::string Text;  // a literal's text
  bool operator==(const TDtToken&) const = default;
};

std::vector<TDtToken> ParseDtFormat(std::string_view Format);

// What a token shows for P.
std::string FormatDtToken(const TDtToken& T, const TDateTimeParts& P);
// The whole text of P under the tokens.
std::string FormatDtTokens(const std::vector<TDtToken>& Tokens, const TDateTimeParts& P);

// English names, Monday first for the weekdays.
const char* MonthName(int Month, bool Short);
const char* WeekdayName(int IsoDay, bool Short);

// The parts with one field changed; every result is a real date of the years 1 to 9999 (the
// day pulled to the month's last when month or year change, a weekday step kept in the week).
// Steps wrap within the field: day 31 + 1 is day 1 of the same month, 23 h + 1 is 0 h of the
// same day, a 12-hour field stays in its half of the day.
TDateTimeParts StepDtField(const TDateTimeParts& P, TDtField Field, int Delta);
// Home and End: the field's first or last value.
TDateTimeParts FirstOrLastDtField(const TDateTimeParts& P, TDtField Field, bool Last);

// A number typed into a field, digit by digit.
class TDtDigits {
public:
  // Adds Digit (0-9). Answers whether the field took a value (Out set) and, in Done, whether
  // the field is complete: it holds as many digits as its widest value, or a further digit
  // would exceed its maximum. A digit that would overflow the field starts a new number.
  bool Add(const TDtToken& T, const TDateTimeParts& P, int Digit, TDateTimeParts& Out,
           bool& Done);
  void Reset() { FCount = 0, FValue = 0; }
  int GetCount() const { return FCount; }

private:
  int FCount = 0;
  int FValue = 0;
};

// The weekday of the parts' date, Monday 1 ... Sunday 7.
int IsoWeekday(const TDateTimeParts& P);
// The value of the parts (milliseconds kept); false when they are not a real date and time.
bool TryEncodeParts(const TDateTimeParts& P, TDateTime& Value);

}  // namespace kvl
