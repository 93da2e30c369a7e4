// Writing number text: the fixed, scientific, integer and digit forms and the texts each
// component writes for its value.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

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

struct TSignificant {
  std::string Digits;  // exactly the requested count; the first has the weight 10^Exponent
  int Exponent = 0;
  bool Negative = false;
};

// V rounded to Count significant digits. Like strff, it rounds the shortest decimal form that
// reads back as V, halves away from zero, so 2.5 is "3" and 0.125 to two digits is "0.13".
TSignificant RoundSignificant(double V, int Count) {
  TSignificant R;
  R.Negative = std::signbit(V);
  if (V == 0) {
    R.Digits.assign(std::size_t(Count), '0');
    return R;
  }
  char Buf[64];
  const auto End = std::to_chars(Buf, Buf + sizeof Buf, V, std::chars_format::scientific).ptr;
  const std::string_view Sci(Buf, std::size_t(End - Buf));  // "-1.2345e+03"
  const std::size_t EPos = Sci.find('e');
  for (char C : Sci.substr(0, EPos))
    if (C >= '0' && C <= '9') R.Digits += C;
  const char* ExpFirst = Sci.data() + EPos + 1;
  if (*ExpFirst == '+') ++ExpFirst;
  std::from_chars(ExpFirst, Sci.data() + Sci.size(), R.Exponent);

  if (R.Digits.size() > std::size_t(Count)) {
    const bool Up = R.Digits[std::size_t(Count)] >= '5';
    R.Digits.resize(std::size_t(Count));
    if (Up) {
      auto It = R.Digits.rbegin();
      for (; It != R.Digits.rend() && *It == '9'; ++It) *It = '0';
      if (It != R.Digits.rend()) {
        ++*It;
      } else {
        // 9.99 became 10.0: one digit more in front, the last falls away.
        R.Digits.front() = '1';
        ++R.Exponent;
      }
    }
  }
  R.Digits.resize(std::size_t(Count), '0');
  return R;
}

}  // namespace

std::string FixedForm(double V, int Decimals, TSepMode Mode) {
  return WithSeparator(strff(FiniteOf(V), 0, std::clamp(Decimals, 0, 30)), Mode);
}

std::string ScientificForm(double V, int Digits, TSepMode Mode) {
  Digits = std::clamp(Digits, 1, 15);
  const TSignificant R = RoundSignificant(FiniteOf(V), Digits);
  const bool AllZero = R.Digits.find_first_not_of('0') == std::string::npos;
  std::string T(1, R.Negative && !AllZero ? '-' : ' ');
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
