// The clipboard number scanner of Extract from Clipboard and GetClipMatrixSize: a state
// table over the text, with '.' and ',' as separators and an optional exponent.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "kvl/core/univconst.h"
#include "kvl/ntabed/ntabed.h"

namespace kvl {

namespace {

enum TState : std::uint8_t { stStart, stSign, stInteger, stPoint, stFraction, stExponent,
                             stExpSign, stExpDigits, stEnd, stFail };
enum TClass : std::uint8_t { ccSeparator, ccBlank, ccSign, ccDigit, ccE, ccOther };

constexpr TState Next[8][6] = {
    /* start     */ {stPoint, stStart, stSign, stInteger, stFail, stFail},
    /* sign      */ {stPoint, stFail, stFail, stInteger, stFail, stFail},
    /* integer   */ {stPoint, stEnd, stEnd, stInteger, stExponent, stEnd},
    /* point     */ {stFail, stEnd, stEnd, stFraction, stExponent, stEnd},
    /* fraction  */ {stFail, stEnd, stEnd, stFraction, stExponent, stEnd},
    /* exponent  */ {stFail, stFail, stExpSign, stExpDigits, stFail, stEnd},
    /* exp. sign */ {stFail, stFail, stFail, stExpDigits, stFail, stEnd},
    /* exp. dig. */ {stEnd, stEnd, stEnd, stExpDigits, stEnd, stEnd},
};

constexpr int MaxExponentRead = 4200;

// The text as Extract prepares it: tabs become blanks, CR LF a blank and a line feed, a lone CR
// a line feed, and one blank follows the end. Past that comes a character of the class other.
class TPrepared {
public:
  explicit TPrepared(std::string_view S) : FText(S) {}
  std::size_t Size() const { return FText.size() + 1; }
  char At(std::size_t I) const {
    if (I >= FText.size()) return I == FText.size() ? ' ' : '\0';
    const char C = FText[I];
    if (C == '\t') return ' ';
    if (C == '\r') return I + 1 < FText.size() && FText[I + 1] == '\n' ? ' ' : '\n';
    return C;
  }
  bool IsDigit(std::size_t I) const { return I < FText.size() && FText[I] >= '0' && FText[I] <= '9'; }
  std::string_view Slice(std::size_t From, std::size_t To) const { return FText.substr(From, To - From); }

private:
  std::string_view FText;
};

constexpr std::array<TClass, 256> MakeClasses() {
  std::array<TClass, 256> T{};
  for (auto& C : T) C = ccOther;
  T['.'] = T[','] = ccSeparator;
  T[' '] = ccBlank;
  T['+'] = T['-'] = ccSign;
  for (int D = '0'; D <= '9'; ++D) T[std::size_t(D)] = ccDigit;
  T['E'] = T['e'] = ccE;
  return T;
}
constexpr std::array<TClass, 256> Classes = MakeClasses();

TClass ClassOf(char C) { return Classes[static_cast<unsigned char>(C)]; }

bool CanStart(char C) { return C == '+' || C == '-' || C == '.' || (C >= '0' && C <= '9'); }

// The value of a number text the scanner read, limited to the double range.
double Convert(std::string_view S) {
  const char* B = S.data();
  const char* E = B + S.size();
  const bool Negative = B < E && *B == '-';
  if (B < E && (*B == '+' || *B == '-')) ++B;
  double V = 0;
  const auto R = std::from_chars(B, E, V);
  if (R.ec == std::errc()) return Negative ? -V : V;
  if (R.ec != std::errc::result_out_of_range) return 0;
  // Out of range: the decimal magnitude tells overflow from underflow.
  const std::string_view T(B, std::size_t(E - B));
  const std::size_t EPos = T.find_first_of("eE");
  const std::string_view Mant = T.substr(0, EPos);
  long Exp = 0;
  if (EPos != std::string_view::npos) {
    const std::string_view X = T.substr(EPos + 1);
    const bool ENeg = !X.empty() && X[0] == '-';
    for (char C : X)
      if (C >= '0' && C <= '9') Exp = std::min(Exp * 10 + (C - '0'), 100000L);
    if (ENeg) Exp = -Exp;
  }
  const std::size_t Point = std::min(Mant.find('.'), Mant.size());
  const std::size_t FirstNonZero = Mant.find_first_of("123456789");
  if (FirstNonZero == std::string_view::npos) return 0;
  const long Magnitude =
      FirstNonZero < Point ? long(Point - FirstNonZero) : -long(FirstNonZero - Point);
  if (Magnitude + Exp > 0) return Negative ? -uc_MaxDouble : uc_MaxDouble;
  return Negative ? -0.0 : 0.0;
}

}  // namespace

bool NTabScanNumbers(std::string_view Text,
                     const std::function<void(int Col, int Row, double Value)>& Put) {
  const TPrepared P(Text);
  const std::size_t N = P.Size();
  std::size_t Pos = 0;
  int Col = 0, Row = 0;
  bool Any = false;
  std::string Num;
  // Moves to the next character that can start a number, counting the line feeds passed.
  const auto SkipToStart = [&] {
    while (Pos < N && !CanStart(P.At(Pos))) {
      if (P.At(Pos) == '\n') {
        ++Row;
        Col = 0;
      }
      ++Pos;
    }
  };
  SkipToStart();
  while (Pos < N) {
    // The number is read in place unless a ',' must become '.' or exponent digits are dropped.
    const std::size_t Start = Pos;
    bool Copy = false;
    Num.clear();
    TState S = stStart;
    long ExpRead = 0;
    for (;; ++Pos) {
      const char C = P.At(Pos);
      const TState T = Next[S][ClassOf(C)];
      if (T == stEnd || T == stFail) {
        S = T;
        break;
      }
      if (T == stExpDigits && ExpRead > MaxExponentRead) {
        if (!Copy) Num.assign(P.Slice(Start, Pos));
        Copy = true;
      } else {
        if (T == stExpDigits) ExpRead = std::min<long>(ExpRead * 10 + (C - '0'), MaxExponentRead + 1);
        if (C == ',' && !Copy) {
          Num.assign(P.Slice(Start, Pos));
          Copy = true;
        }
        if (Copy) Num += C == ',' ? '.' : C;
      }
      S = T;
      // A run of mantissa digits goes on without the table.
      if (!Copy && (S == stInteger || S == stFraction))
        while (P.IsDigit(Pos + 1)) ++Pos;
    }
    const double V =
        S == stFail ? 0.0
                    : std::clamp(Convert(Copy ? std::string_view(Num) : P.Slice(Start, Pos)),
                                 -uc_MaxDouble, uc_MaxDouble);
    Put(Col, Row, V);
    Any = true;
    ++Col;
    // Past the character that ended the number, then on to the next start.
    if (Pos < N) {
      if (P.At(Pos) == '\n') {
        ++Row;
        Col = 0;
      }
      ++Pos;
    }
    SkipToStart();
  }
  return Any;
}

}  // namespace kvl
