// The date text reader. It never reads past the end of the text and never raises: parts are
// range-checked before they are encoded, so cells from files cannot make the row editor fail.
#include "kvl/replist/datereader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>

#include "kvl/core/stringl.h"

namespace kvl {

namespace {

bool IsFieldLetter(char C) {
  return C == 'H' || C == 'M' || C == 'd' || C == 'h' || C == 'm' || C == 's' || C == 't' ||
         C == 'y';
}

char FoldAscii(char C) { return C >= 'A' && C <= 'Z' ? char(C + 32) : C; }

bool StartsWithNoCase(std::string_view S, std::string_view Prefix) {
  if (S.size() < Prefix.size()) return false;
  for (std::size_t I = 0; I < Prefix.size(); ++I)
    if (FoldAscii(S[I]) != FoldAscii(Prefix[I])) return false;
  return true;
}

// Parts are wide so that no text or argument can overflow them; the range check comes last.
using TPart = std::int64_t;

class TDateTextReader {
public:
  TDateTextReader(std::string_view Text, const TDateNames& Names) : FText(Text), FNames(Names) {}

  TPart Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  bool TwelveHour = false, Pm = false, HasYear = false, HasMonthOrDay = false;

  int Literal(std::string_view Lit) {
    if (FText.substr(FPos, Lit.size()) != Lit) return drTextMismatch;
    FPos += Lit.size();
    return drOk;
  }

  int Field(char Letter, std::size_t Run, int Window, int CurrentYear) {
    if (!KnownRun(Letter, Run)) return drBadToken;
    if (FPos >= FText.size()) return drBadField;
    switch (Letter) {
      case 'y': {
        HasYear = true;
        if (Run == 4) return Fixed(4, Year);
        const auto Chars = Take(2);
        if (!Chars) return drBadField;
        TPart Y = 0;
        ParseFixed(*Chars, Y);  // unreadable counts as 0; only a cut-short text is an error
        const TPart C = TPart(CurrentYear) - Window;
        Year = C / 100 * 100 + Y;
        if (Window != 0 && Year < C) Year += 100;
        return drOk;
      }
      case 'M':
        HasMonthOrDay = true;
        if (Run == 4) return Name(FNames.LongMonths, Month);
        if (Run == 3) return Name(FNames.ShortMonths, Month);
        return Number(Run, Month);
      case 'd': {
        if (Run == 4 || Run == 3) {
          TPart Ignored = 0;
          return Name(Run == 4 ? FNames.LongDays : FNames.ShortDays, Ignored);
        }
        HasMonthOrDay = true;
        return Number(Run, Day);
      }
      case 'h':
        TwelveHour = true;
        return Number(Run, Hour);
      case 'H':
        return Number(Run, Hour);
      case 'm':
        return Number(Run, Minute);
      case 's':
        return Number(Run, Second);
      case 't': {
        const auto Chars = Take(int(Run));
        if (!Chars) return drBadField;
        Pm = !StartsWithNoCase(*Chars, Run == 1 ? "a" : "am");
        return drOk;
      }
      default:
        return drBadToken;
    }
  }

private:
  static bool KnownRun(char Letter, std::size_t Run) {
    switch (Letter) {
      case 'y':
        return Run == 2 || Run == 4;
      case 'M':
      case 'd':
        return Run <= 4;
      default:
        return Run <= 2;
    }
  }

  // The next N characters, or nothing (and no move) when fewer are left.
  std::optional<std::string_view> Take(int N) {
    std::size_t End = FPos;
    for (int I = 0; I < N; ++I) {
      const int L = Utf8CharLen(FText, End);
      if (L == 0) return std::nullopt;
      End += std::size_t(L);
    }
    const std::string_view R = FText.substr(FPos, End - FPos);
    FPos = End;
    return R;
  }

  // Run 1: a signed integer of any length, blanks before it skipped, none read as 0. Run 2:
  // exactly two characters that must be a number.
  int Number(std::size_t Run, TPart& Part) {
    if (Run == 2) return Fixed(2, Part);
    while (FPos < FText.size() && FText[FPos] == ' ') ++FPos;
    const auto IsDigit = [this](std::size_t I) {
      return I < FText.size() && FText[I] >= '0' && FText[I] <= '9';
    };
    bool Negative = false;
    if (FPos < FText.size() && (FText[FPos] == '-' || FText[FPos] == '+') && IsDigit(FPos + 1))
      Negative = FText[FPos++] == '-';
    TPart V = 0;
    for (; IsDigit(FPos); ++FPos) V = std::min<TPart>(V * 10 + (FText[FPos] - '0'), INT_MAX);
    Part = Negative ? -V : V;
    return drOk;
  }

  int Fixed(int N, TPart& Part) {
    const auto Chars = Take(N);
    return Chars && ParseFixed(*Chars, Part) ? drOk : drBadField;
  }

  // Blanks, an optional sign and at least one digit, in that order and nothing else.
  static bool ParseFixed(std::string_view S, TPart& Part) {
    std::size_t I = 0;
    while (I < S.size() && S[I] == ' ') ++I;
    bool Negative = false;
    if (I < S.size() && (S[I] == '-' || S[I] == '+')) Negative = S[I++] == '-';
    if (I == S.size()) return false;
    TPart V = 0;
    for (; I < S.size(); ++I) {
      if (S[I] < '0' || S[I] > '9') return false;
      V = V * 10 + (S[I] - '0');
    }
    Part = Negative ? -V : V;
    return true;
  }

  // The first name of the table, in its order, that starts the text; Part is its number.
  template <std::size_t K>
  int Name(const std::array<std::string_view, K>& Table, TPart& Part) {
    for (std::size_t I = 0; I < K; ++I)
      if (StartsWithNoCase(FText.substr(FPos), Table[I])) {
        FPos += Table[I].size();
        Part = TPart(I) + 1;
        return drOk;
      }
    return drBadField;
  }

  std::string_view FText;
  const TDateNames& FNames;
  std::size_t FPos = 0;
};

bool InRange(TPart V, TPart Lo, TPart Hi) { return V >= Lo && V <= Hi; }

}  // namespace

int WallClockYear() {
  int Y = 0, M = 0, D = 0;
  return DecodeDate(Date(), Y, M, D) ? Y : 0;
}

TDateTextReading ReadDateText(std::string_view Text, std::string_view Format, int Language,
                              int TwoDigitYearCenturyWindow, int CurrentYear) {
  TDateTextReader R(Text, DateNames(Language));
  int Error = drOk;
  std::size_t F = 0;
  while (F < Format.size() && Error == drOk) {
    const char C = Format[F];
    if (C == '\'') {
      // Without its closing quote, quoted text runs to the end of the format.
      std::string Quoted;
      for (++F; F < Format.size(); ++F) {
        if (Format[F] == '\'') {
          if (F + 1 < Format.size() && Format[F + 1] == '\'') {
            ++F;
          } else {
            ++F;
            break;
          }
        }
        Quoted += Format[F];
      }
      Error = R.Literal(Quoted);
    } else if (IsFieldLetter(C)) {
      std::size_t Run = 1;
      while (F + Run < Format.size() && Format[F + Run] == C) ++Run;
      F += Run;
      Error = R.Field(C, Run, TwoDigitYearCenturyWindow, CurrentYear);
    } else {
      std::size_t E = F + 1;
      while (E < Format.size() && Format[E] != '\'' && !IsFieldLetter(Format[E])) ++E;
      Error = R.Literal(Format.substr(F, E - F));
      F = E;
    }
  }
  if (Error != drOk) return {0, Error};

  if (R.TwelveHour) {
    if (!R.Pm && R.Hour == 12)
      R.Hour = 0;
    else if (R.Pm && R.Hour != 12)
      R.Hour += 12;
  }
  // The year a day or month without a year stands in; the text written back holds none.
  if (!R.HasYear && R.HasMonthOrDay) R.Year = CurrentYear;
  if (!InRange(R.Hour, 0, 23) || !InRange(R.Minute, 0, 59) || !InRange(R.Second, 0, 59))
    return {0, drOutOfRange};
  const int H = int(R.Hour), Mi = int(R.Minute), S = int(R.Second);
  if (R.Year == 0 && R.Month == 0 && R.Day == 0) return {EncodeTime(H, Mi, S), drOk};
  if (!InRange(R.Year, 1, 9999) || !InRange(R.Month, 1, 12) ||
      !InRange(R.Day, 1, DaysInMonth(int(R.Year), int(R.Month))))
    return {0, drOutOfRange};
  return {EncodeDateTime(int(R.Year), int(R.Month), int(R.Day), H, Mi, S), drOk};
}

}  // namespace kvl
