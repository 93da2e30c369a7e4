// The clipboard number scanner of Extract from Clipboard and GetClipMatrixSize: a state
// table over the text, with '.' and ',' as separators and an optional exponent.
#include <algorithm>
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
    if (I == FText.size()) return ' ';
    if (I > FText.size()) return '\0';
    const char C = FText[I];
    if (C == '\t') return ' ';
    if (C == '\r') return I + 1 < FText.size() && FText[I + 1] == '\n' ? ' ' : '\n';
    return C;
  }

private:
  std::string_view FText;
};

TClass ClassOf(char C) {
  if (C == '.' || C == ',') return ccSeparator;
  if (C == ' ') return ccBlank;
  if (C == '+' || C == '-') return ccSign;
  if (C >= '0' && C <= '9') return ccDigit;
  if (C == 'E' || C == 'e') return ccE;
  return ccOther;
}

bool CanStart(char C) { return C == '+' || C == '-' || C == '.' || (C >= '0' && C <= '9'); }

// The value of a number text the scanner built, limited to the double range.
double Convert(std::string& S) {
  if (!S.empty() && S.back() == '.') S += '0';
  const char* B = S.data();
  const char* E = B + S.size();
  while (B < E && *B == ' ') ++B;
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
  const long Magnitude = FirstNonZero < Point ? long(Point - FirstNonZero) : -long(FirstNonZero - Point);
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
      if (T == stExpDigits) {
        if (ExpRead <= MaxExponentRead) {
          Num += C;
          ExpRead = std::min<long>(ExpRead * 10 + (C - '0'), MaxExponentRead + 1);
        }
      } else {
        Num += C == ',' ? '.' : C;
      }
      S = T;
    }
    const double V = S == stFail ? 0.0 : std::clamp(Convert(Num), -uc_MaxDouble, uc_MaxDouble);
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
