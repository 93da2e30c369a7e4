// Reading number text: the number scanner, the validity checks, the digit readers and the
// conversions from text to value.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "kvl/core/univconst.h"
#include "kvl/numio/numio.h"

namespace kvl {

namespace {

// Exponent digits count only while the exponent stays at or below this magnitude.
constexpr int kMaxExponent = 4200;

enum TCharClass { ccSep, ccBlank, ccSign, ccDigit, ccExp, ccOther };

// Scanner outcomes besides the states 1 to 8; kExpState becomes 6 when the exponent is
// allowed and kStop otherwise.
constexpr int kStop = 0, kError = -1, kExpState = -2;

// Next state per state (1 to 8) and character class.
// clang-format off
constexpr int kNext[8][6] = {
    // separator blank   sign    digit  exponent   other or end
    {4,          1,      2,      3,     kError,    kError},  // 1 start
    {4,          kError, kError, 3,     kError,    kError},  // 2 after sign
    {4,          kStop,  kStop,  3,     kExpState, kStop},   // 3 integer digits
    {kError,     kStop,  kStop,  5,     kExpState, kStop},   // 4 after separator
    {kError,     kStop,  kStop,  5,     kExpState, kStop},   // 5 decimals
    {kError,     kError, 7,      8,     kError,    kStop},   // 6 after exponent mark
    {kError,     kError, kError, 8,     kError,    kStop},   // 7 after exponent sign
    {kStop,      kStop,  kStop,  8,     kStop,     kStop},   // 8 exponent digits
};
// clang-format on

char Upper(char C) { return (C >= 'a' && C <= 'z') ? char(C - 'a' + 'A') : C; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// Unknown mode bytes accept either separator, as an unknown DecPlaceSep does.
bool IsSeparator(char C, TSepMode Mode) {
  switch (Mode) {
    case smPoint:
      return C == '.';
    case smComma:
      return C == ',';
    default:
      return C == '.' || C == ',';
  }
}

TCharClass ClassOf(char C, TSepMode Mode) {
  if (IsSeparator(C, Mode)) return ccSep;
  if (C == ' ') return ccBlank;
  if (C == '+' || C == '-') return ccSign;
  if (IsDigit(C)) return ccDigit;
  if (C == 'E') return ccExp;
  return ccOther;
}

int Length(std::string_view Text) { return static_cast<int>(Text.size()); }

struct TRawScan {
  bool Stopped = false;   // ended in stop rather than error
  int StopPos = 1;        // position of the character that ended the scan
  std::string Collected;  // the accepted characters, "," as "."
};

// Runs the scanner table. Validating turns an exponent beyond the limit into an error; the
// number scanner instead reads such digits without collecting them. The magnitude saturates
// just above the limit, so a long digit run can neither overflow it nor wrap back below.
TRawScan RunScan(std::string_view Text, bool ExpAllowed, TSepMode Mode, int StartPos,
                 bool Validating) {
  TRawScan R;
  const int Len = Length(Text);
  int Pos = std::clamp(StartPos, 1, Len + 1);
  int State = 1;
  int ExpMagnitude = 0;
  for (;; ++Pos) {
    const char C = Pos <= Len ? Upper(Text[std::size_t(Pos - 1)]) : '\0';
    const TCharClass Class = Pos <= Len ? ClassOf(C, Mode) : ccOther;
    int Next = kNext[State - 1][Class];
    if (Next == kExpState) Next = ExpAllowed ? 6 : kStop;
    if (Next == kStop || Next == kError) {
      R.Stopped = Next == kStop;
      R.StopPos = Pos;
      return R;
    }
    bool Append = true;
    if (Class == ccDigit && State >= 6) {
      ExpMagnitude = std::min(ExpMagnitude * 10 + (C - '0'), kMaxExponent + 1);
      if (ExpMagnitude > kMaxExponent) {
        if (Validating) {
          R.StopPos = Pos;
          return R;
        }
        Append = false;
      }
    }
    if (Append) R.Collected += C == ',' ? '.' : C;
    State = Next;
  }
}

// Converts collected text: blanks, an optional sign, mantissa digits with at most one ".",
// optionally "E", an exponent sign and at most kMaxExponent as exponent value.
double ConvertCollected(std::string_view S) {
  std::size_t I = S.find_first_not_of(' ');
  if (I == std::string_view::npos) return 0;
  bool Negative = false;
  if (S[I] == '+' || S[I] == '-') Negative = S[I++] == '-';
  const std::size_t EPos = std::min(S.find('E', I), S.size());
  const std::string_view Mantissa = S.substr(I, EPos - I);
  // No mantissa digit (".E5") or none but zeros: nothing to convert.
  if (Mantissa.find_first_of("123456789") == std::string_view::npos) return 0;

  int Exponent = 0;
  if (EPos < S.size()) {
    std::size_t J = EPos + 1;
    bool ExpNegative = false;
    if (J < S.size() && (S[J] == '+' || S[J] == '-')) ExpNegative = S[J++] == '-';
    // Collection kept the value within kMaxExponent; an exponent without digits counts as
    // none, so "1E-" reads as the mantissa.
    for (; J < S.size(); ++J) Exponent = Exponent * 10 + (S[J] - '0');
    if (ExpNegative) Exponent = -Exponent;
  }

  std::string Number(Mantissa);
  if (Number.back() == '.') Number += '0';
  char ExpText[16];
  const auto ExpEnd = std::to_chars(ExpText, ExpText + sizeof ExpText, Exponent).ptr;
  Number += 'e';
  Number.append(ExpText, ExpEnd);

  double V = 0;
  const auto Res = std::from_chars(Number.data(), Number.data() + Number.size(), V);
  if (Res.ec == std::errc::result_out_of_range) {
    // Out of range either way; the decimal order of the first non-zero digit tells which.
    const std::size_t Dot = std::min(Mantissa.find('.'), Mantissa.size());
    const std::size_t First = Mantissa.find_first_of("123456789");
    const long Order = First < Dot ? long(Dot - First) : -long(First - Dot - 1);
    V = Order + Exponent > 0 ? uc_MaxDouble : 0.0;
  } else if (Res.ec != std::errc()) {
    V = 0;
  }
  V = std::clamp(V, -uc_MaxDouble, uc_MaxDouble);
  return Negative ? -V : V;
}

bool IsBaseDigit(char C, int Base) {
  const char U = Upper(C);
  if (Base == 16 && U >= 'A' && U <= 'F') return true;
  return C >= '0' && C < '0' + std::min(Base, 10);
}

// Not empty and made of digits of Base only.
bool AllDigits(std::string_view Text, int Base) {
  return !Text.empty() &&
         std::all_of(Text.begin(), Text.end(), [Base](char C) { return IsBaseDigit(C, Base); });
}

// The itInt test: an optional sign and at least one digit.
bool IsIntText(std::string_view Text) {
  if (Text.empty()) return false;
  const std::size_t Start = (Text[0] == '+' || Text[0] == '-') ? 1 : 0;
  return Start < Text.size() && std::all_of(Text.begin() + std::ptrdiff_t(Start), Text.end(),
                                            [](char C) { return IsDigit(C); });
}

// Position of the first separator the mode allows, 0 when there is none.
int FirstSeparatorPos(std::string_view Text, TSepMode Mode) {
  for (std::size_t I = 0; I < Text.size(); ++I)
    if (IsSeparator(Text[I], Mode)) return int(I) + 1;
  return 0;
}

TDigitsRead ReadDigits(std::string_view Text, int Base, bool SignAllowed, bool DollarAllowed) {
  TDigitsRead R;
  std::size_t I = 0;
  while (I < Text.size() && Text[I] == ' ') ++I;
  if (DollarAllowed && I == 0 && !Text.empty() && Text[0] == '$') ++I;
  bool Negative = false;
  if (SignAllowed && I < Text.size() && (Text[I] == '+' || Text[I] == '-'))
    Negative = Text[I++] == '-';
  // Unsigned arithmetic wraps in 32 bits as the readers are meant to.
  std::uint32_t V = 0;
  for (; I < Text.size() && IsBaseDigit(Text[I], Base); ++I, ++R.Digits) {
    const char U = Upper(Text[I]);
    const std::uint32_t Digit = U >= 'A' ? std::uint32_t(U - 'A' + 10) : std::uint32_t(U - '0');
    V = V * std::uint32_t(Base) + Digit;
  }
  if (Negative) V = 0u - V;
  R.Value = static_cast<std::int32_t>(V);
  R.StopPos = int(I) + 1;
  return R;
}

// The itInt reading of a numeric field: a text that is not an integer reads 0, one beyond
// the 32-bit range the bound on its own side.
double ReadIntText(std::string_view Text) {
  if (!IsIntText(Text)) return 0;
  const bool Negative = Text[0] == '-';
  constexpr std::int64_t kLimit = std::int64_t(1) << 31;  // saturates above every bound
  std::int64_t Magnitude = 0;
  for (char C : Text)
    if (IsDigit(C)) Magnitude = std::min(Magnitude * 10 + (C - '0'), kLimit + 1);
  if (Negative) return double(-std::min(Magnitude, kLimit));
  return double(std::min(Magnitude, kLimit - 1));
}

}  // namespace

TNumScan ScanNumber(std::string_view Text, bool ExpAllowed, TSepMode Mode, int StartPos) {
  const TRawScan Raw = RunScan(Text, ExpAllowed, Mode, StartPos, false);
  TNumScan R;
  R.StopPos = Raw.StopPos;
  R.Ok = Raw.Stopped;
  if (Raw.Stopped) R.Value = ConvertCollected(Raw.Collected);
  return R;
}

bool ScanValidity(std::string_view Text, TSepMode Mode) {
  return !Text.empty() && RunScan(Text, true, Mode, 1, true).Stopped;
}

bool CheckFloat(std::string_view Text, TSepMode Mode) {
  if (Text.empty()) return false;
  enum { Start, Integer, Decimals } State = Start;  // after a sign counts as Integer
  for (char C : Text) {
    if (IsSeparator(C, Mode) && State != Decimals) {
      State = Decimals;
    } else if (IsDigit(C)) {
      if (State == Start) State = Integer;
    } else if ((C == '+' || C == '-') && State == Start) {
      State = Integer;
    } else {
      return false;
    }
  }
  return true;
}

bool CheckValidity(std::string_view Text, TInFormat Format, TSepMode Mode, int FixPointDecPlaces) {
  switch (InFormatFromByte(Format)) {
    case itExp:
      return ScanValidity(Text, Mode);
    case itFloat:
      break;
    case itFixPoint:
      return CheckFloat(Text, Mode) &&
             FirstSeparatorPos(Text, Mode) == std::int64_t(Text.size()) - FixPointDecPlaces;
    case itInt:
      return IsIntText(Text);
    case itHex:
      return AllDigits(Text, 16);
    case itOct:
      return AllDigits(Text, 8);
    case itBin:
      return AllDigits(Text, 2);
    case itDynamic:
      if (Text.empty()) return false;
      switch (Text[0]) {
        case '$':
          return AllDigits(Text.substr(1), 16);
        case '%':
          return AllDigits(Text.substr(1), 2);
        case '&':
          return AllDigits(Text.substr(1), 8);
        default:
          break;
      }
      break;
  }
  return CheckFloat(Text, Mode);
}

TDigitsRead ReadHexDigits(std::string_view Text) { return ReadDigits(Text, 16, false, true); }
TDigitsRead ReadOctDigits(std::string_view Text) { return ReadDigits(Text, 8, false, false); }
TDigitsRead ReadBinDigits(std::string_view Text) { return ReadDigits(Text, 2, false, false); }
TDigitsRead ReadDecInteger(std::string_view Text) { return ReadDigits(Text, 10, true, false); }

double ReadNioValue(std::string_view Text, TInFormat Format) {
  switch (InFormatFromByte(Format)) {
    case itExp:
    case itFloat:
    case itFixPoint:
      break;
    case itInt:
      return ReadIntText(Text);
    case itHex:
      return ReadHexDigits(Text).Value;
    case itOct:
      return ReadOctDigits(Text).Value;
    case itBin:
      return ReadBinDigits(Text).Value;
    case itDynamic:
      if (Text.empty()) return 0;
      switch (Text[0]) {
        case '$':
          return ReadHexDigits(Text).Value;
        case '%':
          return ReadBinDigits(Text.substr(1)).Value;
        case '&':
          return ReadOctDigits(Text.substr(1)).Value;
        default:
          break;
      }
      break;
  }
  return ScanNumber(Text, true, smBoth).Value;
}

namespace {

// Whether the signed decimal digits of Text lie in the 32-bit range (counted in 64 bits, so a
// long digit run cannot overflow the count).
bool DecimalFitsInt32(std::string_view Text) {
  std::size_t I = 0;
  const bool Negative = I < Text.size() && Text[I] == '-';
  if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) ++I;
  const std::int64_t Limit = Negative ? std::int64_t(1) << 31 : (std::int64_t(1) << 31) - 1;
  std::int64_t Magnitude = 0;
  for (; I < Text.size() && Text[I] >= '0' && Text[I] <= '9'; ++I) {
    Magnitude = Magnitude * 10 + (Text[I] - '0');
    if (Magnitude > Limit) return false;
  }
  return true;
}

}  // namespace

bool ConvertNumString(std::string_view Text, TInFormat Format, TSepMode Mode, double& Value) {
  if (Text.empty()) return false;
  Value = 0;
  const std::size_t First = Text.find_first_not_of(' ');
  if (First == std::string_view::npos) return true;
  std::string S(Text.substr(First));
  if (S.find(' ') != std::string::npos) return false;
  std::transform(S.begin(), S.end(), S.begin(),
                 [](char C) { return (C >= 'A' && C <= 'Z') ? char(C - 'A' + 'a') : C; });

  TInFormat Fmt = InFormatFromByte(Format);
  std::string_view Body = S;
  if (Fmt == itDynamic) {
    // The hexadecimal reader skips the "$" itself, so "$$1" stays invalid.
    Fmt = S[0] == '$' ? itHex : S[0] == '%' ? itBin : S[0] == '&' ? itOct : itExp;
    if (Fmt == itBin || Fmt == itOct) Body.remove_prefix(1);
  }

  // At least one digit, and nothing else after the prefix.
  const auto Digits = [&](const TDigitsRead& R) {
    Value = R.Value;
    return R.Digits > 0 && R.StopPos == Length(Body) + 1;
  };
  switch (Fmt) {
    case itExp: {
      // An exponent mark still waiting for its digits ("1e", "1e-") is left out.
      const std::size_t E = Body.find('e');
      if (E != std::string_view::npos &&
          (E + 1 == Body.size() ||
           (E + 2 == Body.size() && (Body.back() == '+' || Body.back() == '-'))))
        Body = Body.substr(0, E);
      // Nothing but the mark is no number.
      if (Body.empty()) return false;
      const TNumScan R = ScanNumber(Body, true, Mode);
      Value = R.Value;
      return R.StopPos == Length(Body) + 1;
    }
    case itFloat:
    case itFixPoint: {
      const TNumScan R = ScanNumber(Body, false, Mode);
      Value = R.Value;
      return R.StopPos == Length(Body) + 1;
    }
    case itInt: {
      // A lone sign converts to 0, so that a negative number can be typed.
      const TDigitsRead R = ReadDecInteger(Body);
      Value = R.Value;
      // A number beyond 32 bits would read as another one: it does not convert.
      return R.StopPos == Length(Body) + 1 && DecimalFitsInt32(Body);
    }
    case itHex:
      return Digits(ReadHexDigits(Body));
    case itOct:
      return Digits(ReadOctDigits(Body));
    case itBin:
      return Digits(ReadBinDigits(Body));
    case itDynamic:
      break;
  }
  return false;
}

double ReadNumIOValue(std::string_view Text, TInFormat Format) {
  std::string S(Text);
  if (const std::size_t Comma = S.find(','); Comma != std::string::npos) S[Comma] = '.';
  if (!S.empty() && S.back() == '.') S += '0';
  // Either separator: the box's own texts carry "," in comma mode, "." after the swap above.
  double V = 0;
  return ConvertNumString(S, Format, smBoth, V) ? V : 0.0;
}

}  // namespace kvl
