#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "kvl/core/stringl.h"

namespace kvl {

namespace {

// Adds one unit in the last place of a digit string; returns true when it carried out of it.
bool IncrementDigits(std::string& Digits) {
  for (auto It = Digits.rbegin(); It != Digits.rend(); ++It) {
    if (*It != '9') {
      ++*It;
      return false;
    }
    *It = '0';
  }
  return true;
}

std::string FixedText(double X, int Decimals) {
  if (std::isnan(X)) return "NaN";
  if (std::isinf(X)) return X < 0 ? "-Inf" : "Inf";

  // The shortest decimal form that reads back as X: d.ddd e±x.
  char Buf[64];
  const auto Res = std::to_chars(Buf, Buf + sizeof Buf, X, std::chars_format::scientific);
  const std::string_view Sci(Buf, std::size_t(Res.ptr - Buf));
  const bool Negative = Sci.front() == '-';
  const std::size_t EPos = Sci.find('e');
  std::string Digits;
  for (char C : Sci.substr(Negative ? 1 : 0, EPos - (Negative ? 1 : 0)))
    if (C != '.') Digits += C;
  int Exp = 0;
  std::from_chars(Sci.data() + EPos + 1 + (Sci[EPos + 1] == '+'), Sci.data() + Sci.size(), Exp);

  // Digits[i] has the weight 10^(Exp - i); keep those down to 10^-Decimals.
  const int Keep = Exp + 1 + Decimals;
  if (Keep < 0) {
    Digits.assign(1, '0');
    Exp = 0;
  } else if (Keep < static_cast<int>(Digits.size())) {
    const bool Up = Digits[std::size_t(Keep)] >= '5';
    Digits.resize(std::size_t(Keep));
    if (Up && IncrementDigits(Digits)) {
      Digits.insert(Digits.begin(), '1');
      ++Exp;
    }
    if (Digits.empty()) {
      Digits.assign(1, '0');
      Exp = 0;
    }
  }

  std::string Int, Frac;
  for (int W = std::max(Exp, 0); W >= 0; --W) {
    const int I = Exp - W;
    Int += (I >= 0 && I < static_cast<int>(Digits.size())) ? Digits[std::size_t(I)] : '0';
  }
  for (int W = 1; W <= Decimals; ++W) {
    const int I = Exp + W;
    Frac += (I >= 0 && I < static_cast<int>(Digits.size())) ? Digits[std::size_t(I)] : '0';
  }
  const bool AllZero = std::all_of(Digits.begin(), Digits.end(), [](char C) { return C == '0'; });
  std::string R = (Negative && !AllZero) ? "-" : "";
  R += Int;
  if (Decimals > 0) R += '.' + Frac;
  return R;
}

}  // namespace

std::string strff(double X, int Width, int Decimals) {
  std::string R = FixedText(X, std::clamp(Decimals, 0, 30));
  const int Pad = std::clamp(Width, 0, 255) - static_cast<int>(R.size());
  if (Pad > 0) R.insert(0, std::size_t(Pad), ' ');
  return R;
}

}  // namespace kvl
