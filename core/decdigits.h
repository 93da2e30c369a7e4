// Decimal digits of a double for number text that does not depend on the process locale.
// Rounding works on the shortest decimal form that reads back as the value, halves away from
// zero, so 0.125 to two decimals is 0.13 and 2.675 is 2.68, as a reader of the value expects.
#pragma once

#include <string>

namespace kvl {

struct TDecimalDigits {
  // Significant digits; the first is not '0' unless the value is zero ("0").
  std::string Digits = "0";
  // The weight of the first digit is 10^Exponent.
  int Exponent = 0;
  bool IsZero() const { return Digits.find_first_not_of('0') == std::string::npos; }
};

// The shortest digits of |V|; V must be finite.
TDecimalDigits ShortestDigits(double V);
// Exactly Count (at least 1) significant digits: rounded, or padded with zeros.
void RoundToSignificant(TDecimalDigits& D, int Count);
// Rounded to the unit 10^-Decimals; digits below it are dropped.
void RoundToDecimals(TDecimalDigits& D, int Decimals);
// The integer digits (at least "0") and, when Decimals > 0, "." and Decimals digits; no sign.
std::string FixedDigits(const TDecimalDigits& D, int Decimals);

}  // namespace kvl
