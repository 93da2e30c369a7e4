#include "kvl/core/decdigits.h"

#include <charconv>
#include <cmath>

namespace kvl {

TDecimalDigits ShortestDigits(double V) {
  TDecimalDigits D;
  V = std::fabs(V);
  if (V == 0) return D;
  char Buf[64];
  const auto End = std::to_chars(Buf, Buf + sizeof Buf, V, std::chars_format::scientific).ptr;
  const std::string_view Sci(Buf, std::size_t(End - Buf));  // "1.2345e+03"
  const std::size_t EPos = Sci.find('e');
  D.Digits.clear();
  for (char C : Sci.substr(0, EPos))
    if (C != '.') D.Digits += C;
  const char* ExpFirst = Sci.data() + EPos + 1;
  if (*ExpFirst == '+') ++ExpFirst;
  std::from_chars(ExpFirst, Sci.data() + Sci.size(), D.Exponent);
  return D;
}

void RoundToSignificant(TDecimalDigits& D, int Count) {
  if (Count < 1) Count = 1;
  const auto N = std::size_t(Count);
  if (D.Digits.size() > N) {
    const bool Up = D.Digits[N] >= '5';
    D.Digits.resize(N);
    if (Up) {
      auto It = D.Digits.rbegin();
      for (; It != D.Digits.rend() && *It == '9'; ++It) *It = '0';
      if (It != D.Digits.rend()) {
        ++*It;
      } else {
        // 9.99 became 10.0: a new first digit, the last one falls away.
        D.Digits.insert(D.Digits.begin(), '1');
        D.Digits.pop_back();
        ++D.Exponent;
      }
    }
  }
  D.Digits.resize(N, '0');
}

void RoundToDecimals(TDecimalDigits& D, int Decimals) {
  if (D.IsZero()) {
    D = TDecimalDigits{};
    return;
  }
  // Digits kept: from the first one down to the weight 10^-Decimals.
  const long long Count = static_cast<long long>(D.Exponent) + 1 + Decimals;
  if (Count > 0) {
    if (static_cast<long long>(D.Digits.size()) > Count) RoundToSignificant(D, int(Count));
    return;
  }
  // Every digit lies below the unit: the value rounds to one unit or to zero.
  if (Count == 0 && D.Digits.front() >= '5') {
    D.Digits = "1";
    D.Exponent = -Decimals;
  } else {
    D = TDecimalDigits{};
  }
}

std::string FixedDigits(const TDecimalDigits& D, int Decimals) {
  const auto DigitAt = [&D](long long Weight) {
    const long long Index = D.Exponent - Weight;
    return Index >= 0 && Index < static_cast<long long>(D.Digits.size())
               ? D.Digits[std::size_t(Index)]
               : '0';
  };
  std::string S;
  for (long long W = D.Exponent > 0 ? D.Exponent : 0; W >= 0; --W) S += DigitAt(W);
  if (Decimals > 0) {
    S += '.';
    for (long long W = -1; W >= -Decimals; --W) S += DigitAt(W);
  }
  return S;
}

}  // namespace kvl
