// The text of a number in each display type.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "kvl/core/decdigits.h"
#include "kvl/numlab/numlab.h"
#include "kvl/platform/dates.h"

namespace kvl {

namespace {

constexpr std::string_view DegreeSign = "\xC2\xB0";           // U+00B0
constexpr std::string_view PrimeSign = "\xE2\x80\xB2";        // U+2032, minutes
constexpr std::string_view DoublePrimeSign = "\xE2\x80\xB3";  // U+2033, seconds
constexpr double TwoTo63 = 9223372036854775808.0;

// "E+005", "E-012", "E+308": a sign and at least three digits.
std::string ExponentText(int X) {
  std::string S = X < 0 ? "E-" : "E+";
  const std::string M = std::to_string(std::abs(X));
  if (M.size() < 3) S.append(3 - M.size(), '0');
  return S + M;
}

// d.ddd followed by the exponent; StripZeros drops trailing zeros and a lone point.
std::string ScientificText(const TDecimalDigits& D, bool StripZeros) {
  std::string Mantissa = D.Digits.substr(0, 1);
  std::string Rest = D.Digits.substr(1);
  if (StripZeros) Rest.erase(Rest.find_last_not_of('0') + 1);
  if (!Rest.empty()) Mantissa += '.' + Rest;
  return Mantissa + ExponentText(D.IsZero() ? 0 : D.Exponent);
}

std::string StripFraction(std::string S) {
  if (S.find('.') == std::string::npos) return S;
  S.erase(S.find_last_not_of('0') + 1);
  if (S.back() == '.') S.pop_back();
  return S;
}

// Significant digits in fixed or scientific form, as C's %g chooses them.
std::string GeneralText(double A, int Significant) {
  TDecimalDigits D = ShortestDigits(A);
  if (D.IsZero()) return "0";
  RoundToSignificant(D, Significant);
  if (D.Exponent < -4 || D.Exponent >= Significant) return ScientificText(D, true);
  return StripFraction(FixedDigits(D, Significant - 1 - D.Exponent));
}

std::string FixedText(double A, int Decimals) {
  TDecimalDigits D = ShortestDigits(A);
  RoundToDecimals(D, Decimals);
  return FixedDigits(D, Decimals);
}

std::string ExpText(double A, int Significant) {
  TDecimalDigits D = ShortestDigits(A);
  RoundToSignificant(D, Significant);
  return ScientificText(D, false);
}

int FloorToMultipleOf3(int X) { return X >= 0 ? X / 3 * 3 : -((-X + 2) / 3 * 3); }

// The mantissa has Significant digits (never fewer than its integer digits) and 1 to 3 integer
// digits; without a decimal point it is the integer of all those digits instead.
std::string EngineeringText(double A, int Significant, bool NoPoint) {
  TDecimalDigits D = ShortestDigits(A);
  RoundToSignificant(D, Significant);
  if (D.IsZero()) {
    if (NoPoint) return "0" + ExponentText(0);
    return FixedDigits(D, Significant - 1) + ExponentText(0);
  }
  if (NoPoint) {
    const int Low = D.Exponent - (Significant - 1);  // the weight of the last digit
    const int E = FloorToMultipleOf3(Low);
    return D.Digits + std::string(std::size_t(Low - E), '0') + ExponentText(E);
  }
  const int E = FloorToMultipleOf3(D.Exponent);
  const auto IntDigits = std::size_t(D.Exponent - E + 1);
  std::string S = D.Digits.substr(0, IntDigits);
  if (S.size() < IntDigits) S.append(IntDigits - S.size(), '0');
  if (D.Digits.size() > IntDigits) S += '.' + D.Digits.substr(IntDigits);
  return S + ExponentText(E);
}

// The magnitude of V rounded (halves to even) in Radix with at least MinDigits digits, or
// nothing beyond the 64-bit range.
std::optional<std::string> IntegerText(double V, unsigned Radix, int MinDigits) {
  const double R = std::nearbyint(V);
  if (!(R >= -TwoTo63 && R < TwoTo63)) return std::nullopt;
  auto M = static_cast<std::uint64_t>(std::fabs(R));  // 2^63 itself fits unsigned
  std::string S;
  do {
    S.insert(S.begin(), "0123456789ABCDEF"[M % Radix]);
    M /= Radix;
  } while (M != 0);
  if (int(S.size()) < MinDigits) S.insert(0, std::size_t(MinDigits) - S.size(), '0');
  return R < 0 ? "-" + S : S;
}

std::string TwoDigits(std::uint64_t N) {
  return std::string(1, char('0' + N / 10)) + char('0' + N % 10);
}

// Degrees with minutes (Parts 60) or with minutes and seconds (Parts 3600): the smallest unit
// carries the decimals and is rounded first, so that 59.999 minutes never shows as 60.
std::optional<std::string> SexagesimalText(double A, int Decimals, int Parts) {
  const double Units = A * Parts;
  if (!(Units < TwoTo63)) return std::nullopt;
  const std::string Fixed = FixedText(Units, Decimals);
  const std::size_t Point = Fixed.find('.');
  const std::uint64_t Whole = std::stoull(Fixed.substr(0, Point));
  const std::string Fraction = Point == std::string::npos ? "" : Fixed.substr(Point);
  std::string S = std::to_string(Whole / std::uint64_t(Parts)) + std::string(DegreeSign);
  if (Parts == 60) return S + TwoDigits(Whole % 60) + Fraction + std::string(PrimeSign);
  return S + TwoDigits(Whole / 60 % 60) + std::string(PrimeSign) + TwoDigits(Whole % 60) +
         Fraction + std::string(DoublePrimeSign);
}

// The text of |V| for the decimal display types, which take the sign separately.
std::optional<std::string> MagnitudeText(double A, TDisplay Type, int P) {
  const int Significant = std::max(P, 1);
  switch (Type) {
    case dtFloat:
      return GeneralText(A, Significant);
    case dtExp:
      return ExpText(A, Significant);
    case dtDeg:
      return FixedText(A, P) + std::string(DegreeSign);
    case dtDegMin:
      return SexagesimalText(A, P, 60);
    case dtDegMinSec:
      return SexagesimalText(A, P, 3600);
    case dtEEng:
      return EngineeringText(A, Significant, false);
    case dtEEngNoDP:
      return EngineeringText(A, Significant, true);
    default:
      return FixedText(A, P);
  }
}

std::optional<std::string> FormText(double V, const TNumLabTextForm& F, int P) {
  switch (F.DisplayType) {
    case dtState:
      return F.StateText;
    case dtDateTime:
      return FormatDateTime(F.DTFormat, V);
    case dtInt:
      return IntegerText(V, 10, 1);
    case dtZeroInt:
      return IntegerText(V, 10, P);
    case dtHex:
      return IntegerText(V, 16, 1);
    case dtOct:
      return IntegerText(V, 8, 1);
    case dtBin:
      return IntegerText(V, 2, 1);
    default:
      break;
  }
  if (!std::isfinite(V)) return std::nullopt;
  std::optional<std::string> S = MagnitudeText(std::fabs(V), F.DisplayType, P);
  if (S && V < 0) S->insert(0, 1, '-');
  return S;
}

}  // namespace

TDisplay DisplayFromByte(std::uint8_t B) {
  return B <= dtEEngNoDP ? static_cast<TDisplay>(B) : dtFixP;
}

std::optional<std::string> NumLabText(double Value, const TNumLabTextForm& Form) {
  TNumLabTextForm F = Form;
  F.DisplayType = DisplayFromByte(F.DisplayType);
  const int P = std::clamp(F.Precision, 0, 15);
  std::optional<std::string> S = FormText(Value, F, P);
  if (!S) return S;
  switch (F.DisplayType) {
    case dtHex:
    case dtBin:
    case dtDateTime:
    case dtState:
      return S;
    default:
      break;
  }
  if (F.Comma)
    std::replace(S->begin(), S->end(), '.', ',');
  else
    std::replace(S->begin(), S->end(), ',', '.');
  if (F.ForcePlusSign && Value > 0) S->insert(0, 1, '+');
  return S;
}

}  // namespace kvl
