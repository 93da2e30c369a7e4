// Writing number text: the fixed, scientific, integer and digit forms and the texts each
// component writes for its value.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kvl/core/decdigits.h"
#include "kvl/core/stringl.h"
#include "kvl/core/univconst.h"
#include "kvl/numio/numio.h"

namespace kvl {

namespace {

// NaN has no text and reads as 0; the infinities write as the largest finite values.
double FiniteOf(double V) {
  if (std::isnan(V)) return 0;
  return std::clamp(V, -uc_MaxDouble, uc_MaxDouble);
}

std::string WithSeparator(std::string S, TSepMode Mode) {
  if (SeparatorChar(Mode) != '.') std::replace(S.begin(), S.end(), '.', SeparatorChar(Mode));
  return S;
}

}  // namespace

std::string FixedForm(double V, int Decimals, TSepMode Mode) {
  return WithSeparator(strff(FiniteOf(V), 0, std::clamp(Decimals, 0, 30)), Mode);
}

std::string ScientificForm(double V, int Digits, TSepMode Mode) {
  Digits = std::clamp(Digits, 1, 15);
  const double Finite = FiniteOf(V);
  // Rounded as strff rounds: the shortest decimal form of V, halves away from zero.
  TDecimalDigits R = ShortestDigits(Finite);
  RoundToSignificant(R, Digits);
  std::string T(1, std::signbit(Finite) && !R.IsZero() ? '-' : ' ');
  T += R.Digits.front();
  if (Digits > 1) {
    T += SeparatorChar(Mode);
    T.append(R.Digits, 1);
  }
  T += 'E';
  T += R.Exponent < 0 ? '-' : '+';
  const int Magnitude = std::abs(R.Exponent);
  // The form has room for two exponent digits; a longer exponent shows as asterisks only.
  if (Magnitude >= 100) return std::string(T.size() + 2, '*');
  T += char('0' + Magnitude / 10);
  T += char('0' + Magnitude % 10);
  return T;
}

std::string IntegerForm(double V) {
  // The digits come from the double itself, so values beyond any integer type write too.
  return strff(std::nearbyint(FiniteOf(V)), 0, 0);
}

std::string LowBitsForm(double V, int Radix, int Count) {
  if (Radix != 2 && Radix != 8) Radix = 16;
  constexpr double kTwoTo32 = 4294967296.0;
  // fmod is exact and defined for every finite value, unlike a cast of a large double.
  double Low = std::fmod(std::nearbyint(FiniteOf(V)), kTwoTo32);
  if (Low < 0) Low += kTwoTo32;
  auto Bits = static_cast<std::uint32_t>(Low);
  std::string T(std::size_t(std::clamp(Count, 0, 64)), '0');
  for (auto It = T.rbegin(); It != T.rend(); ++It) {
    *It = "0123456789ABCDEF"[Bits % std::uint32_t(Radix)];
    Bits /= std::uint32_t(Radix);
  }
  return T;
}

std::string NioValueText(double V, TInFormat Format, TSepMode Mode, int FixPointDecPlaces,
                         int SignificantDigits) {
  switch (InFormatFromByte(Format)) {
    case itExp:
      return ScientificForm(V, SignificantDigits, Mode);
    case itFloat:
    case itFixPoint:
      break;
    case itInt:
    case itDynamic:
      return IntegerForm(V);
    case itHex:
      return LowBitsForm(V, 16, 8);
    case itOct:
      return LowBitsForm(V, 8, 11);
    case itBin:
      return LowBitsForm(V, 2, 32);
  }
  return FixedForm(V, FixPointDecPlaces, Mode);
}

namespace {

// Eight digits at least, leading zeros kept, but never fewer than the significant ones: an
// edit box must not drop bits of the value it shows.
std::string AtLeastEightDigits(const std::string& Digits) {
  const std::size_t Lead = std::min(Digits.find_first_not_of('0'), Digits.size());
  return Digits.substr(std::min(Lead, Digits.size() - 8));
}

}  // namespace

std::string NumIOValueText(double V, TInFormat Format, TSepMode Mode, int FixPointDecPlaces) {
  switch (InFormatFromByte(Format)) {
    case itExp:
    case itDynamic:
      return ScientificForm(V, 6, Mode);
    case itFloat:
      return FixedForm(V, 8, Mode);
    case itFixPoint:
      return FixedForm(V, FixPointDecPlaces, Mode);
    case itInt:
      // The box converts 32-bit integers only; a larger value shows as the nearest one.
      return FixedForm(std::isnan(V) ? V : std::clamp(V, -2147483648.0, 2147483647.0), 0, Mode);
    case itHex:
      return LowBitsForm(V, 16, 8);
    case itOct:
      return AtLeastEightDigits(LowBitsForm(V, 8, 11));
    case itBin:
      return AtLeastEightDigits(LowBitsForm(V, 2, 32));
  }
  return FixedForm(V, 8, Mode);
}

}  // namespace kvl
