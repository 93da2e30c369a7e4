// The progress bar's value text: fixed or scientific, locale-free, halves away from zero.
#include <cmath>
#include <cstdlib>
#include <string>

#include "kvl/core/decdigits.h"
#include "kvl/progbar/progbar.h"

namespace kvl {

namespace {

// "1.234E+05" (ExpDigits 2) or "1.234E+0005" (4), without the value's sign.
std::string Scientific(double Magnitude, int ExpDigits) {
  TDecimalDigits D = ShortestDigits(Magnitude);
  RoundToSignificant(D, 4);
  const int Exp = D.IsZero() ? 0 : D.Exponent;
  std::string E = std::to_string(std::abs(Exp));
  if (int(E.size()) < ExpDigits) E.insert(0, std::size_t(ExpDigits) - E.size(), '0');
  return D.Digits.substr(0, 1) + "." + D.Digits.substr(1, 3) + "E" + (Exp < 0 ? "-" : "+") + E;
}

}  // namespace

std::string ProgBarValueText(double Value, int Decimals) {
  if (std::isnan(Value)) return "NaN";
  if (std::isinf(Value)) return Value < 0 ? "-Inf" : "Inf";
  const std::string Sign = Value < 0 ? "-" : "";
  const double Magnitude = std::fabs(Value);
  if (Decimals == -1) {
    const std::string Text = Sign + Scientific(Magnitude, 2);
    // An exponent of three digits does not fit the two the form has room for.
    if (Text.size() - Text.find('E') > 4) return std::string(Text.size(), '*');
    return Text;
  }
  if (Decimals == -2) return Sign + Scientific(Magnitude, 4);
  TDecimalDigits D = ShortestDigits(Magnitude);
  RoundToDecimals(D, Decimals);
  return Sign + FixedDigits(D, Decimals);
}

}  // namespace kvl
