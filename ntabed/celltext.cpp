// The text of a cell: numbers in fixed or shortened scientific form, nominal codes, and the
// conversion of the in-place editor's text back to a number.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "kvl/core/decdigits.h"
#include "kvl/core/dstruct.h"
#include "kvl/core/stringl.h"
#include "kvl/core/univconst.h"
#include "kvl/ntabed/ntabed.h"

namespace kvl {

namespace {

// abs(v) bounds of the fixed form for precisions 0 .. 8.
constexpr double FixedHigh[9] = {999999999.0, 9999999.9, 999999.99, 99999.999, 9999.9999,
                                 999.99999,   99.999999, 9.9999999, 0.99999999};
constexpr double FixedLow[9] = {1.0, 0.1, 0.01, 0.001, 0.0001, 0.00001, 0.000001, 0.0000001,
                                0.00000001};

}  // namespace

std::string NTabScientific(double V, int Decimals) {
  TDecimalDigits D = ShortestDigits(V);
  RoundToSignificant(D, Decimals + 1);
  std::string S;
  S += (std::signbit(V) && !D.IsZero()) ? '-' : ' ';
  S += D.Digits[0];
  S += '.';
  S.append(D.Digits, 1, std::string::npos);
  const int E = D.IsZero() ? 0 : D.Exponent;
  S += E < 0 ? "E-" : "E+";
  const int A = std::abs(E);
  char Exp[5] = {char('0' + A / 1000 % 10), char('0' + A / 100 % 10), char('0' + A / 10 % 10),
                 char('0' + A % 10), 0};
  S += Exp;
  return S;
}

std::string NTabNumberText(double V, int P, int W) {
  W = std::clamp(W, 1, 20);
  P = std::clamp(P, -1, 10);
  if (!std::isfinite(V)) return strff(V, W, 0);
  const double A = std::fabs(V);
  if (P >= 0 && P <= 8 && (V == 0 || (A <= FixedHigh[P] && A >= FixedLow[P])))
    return strff(V, W, P);
  std::string S = NTabScientific(V, std::max(1, std::min(17, W - 1)));
  if (static_cast<int>(S.size()) < W + 8) S.insert(0, std::size_t(W + 8) - S.size(), ' ');
  // The exponent keeps two digits; a three-digit one does not fit and shows as asterisks.
  const std::size_t ExpAt = S.size() - 4;
  const bool Small = S[ExpAt] == '0' && S[ExpAt + 1] == '0';
  S.erase(ExpAt, 2);
  if (!Small) S.assign(S.size(), '*');
  return S;
}

std::string NTabNominalText(const TDataTable& T, int Col, double V, bool ForEditor) {
  // Only finite values within 32 bits are rounded to an integer; the rest lie outside the codes.
  if (std::isfinite(V) && std::fabs(V) < 2147483647.0) {
    const long N = std::lround(std::nearbyint(V));
    if (N >= 1 && N <= MaxNominalCode) {
      std::string ID = T.GetNominalID(Col, int(N));
      if (!ID.empty()) return ID;
    }
    const std::string Num = std::to_string(N);
    return ForEditor ? Num : std::string(MScaleTypeName(T.GetMScaleType(Col))) + ":" + Num;
  }
  const std::string Num = strff(V, 1, 0);
  return ForEditor ? Num : std::string(MScaleTypeName(T.GetMScaleType(Col))) + ":" + Num;
}

bool NTabParseNumber(std::string_view Text, double& Value) {
  std::string S = ReplaceCharInString(Text, ',', '.');
  const std::size_t B = S.find_first_not_of(' ');
  if (B == std::string::npos) return false;
  S = S.substr(B, S.find_last_not_of(' ') - B + 1);
  double X = 0;
  if (!TStringArray::ParseNumber(S, X)) return false;
  Value = std::clamp(X, -uc_MaxDouble, uc_MaxDouble);
  return true;
}

}  // namespace kvl
