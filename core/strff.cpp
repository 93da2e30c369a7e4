#include <algorithm>
#include <cmath>
#include <string>

#include "kvl/core/decdigits.h"
#include "kvl/core/stringl.h"

namespace kvl {

namespace {

std::string FixedText(double X, int Decimals) {
  if (std::isnan(X)) return "NaN";
  if (std::isinf(X)) return X < 0 ? "-Inf" : "Inf";
  TDecimalDigits D = ShortestDigits(X);
  RoundToDecimals(D, Decimals);
  // No sign on a value that rounded to zero.
  return (std::signbit(X) && !D.IsZero() ? "-" : "") + FixedDigits(D, Decimals);
}

}  // namespace

std::string strff(double X, int Width, int Decimals) {
  std::string R = FixedText(X, std::clamp(Decimals, 0, 30));
  const int Pad = std::clamp(Width, 0, 255) - static_cast<int>(R.size());
  if (Pad > 0) R.insert(0, std::size_t(Pad), ' ');
  return R;
}

}  // namespace kvl
