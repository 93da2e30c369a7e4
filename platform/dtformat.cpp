#include "kvl/platform/dtformat.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace kvl {

namespace {

constexpr std::array<const char*, 12> MonthsLong = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> WeekdaysLong = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                     "Friday", "Saturday", "Sunday"};
constexpr std::array<const char*, 12> MonthsShort = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 7> WeekdaysShort = {"Mon", "Tue", "Wed", "Thu",
                                                      "Fri", "Sat", "Sun"};

TDtField FieldOfLetter(char C) {
  switch (C) {
    case 'd':
      return TDtField::Day;
    case 'M':
      return TDtField::Month;
    case 'y':
      return TDtField::Year;
    case 'h':
      return TDtField::Hour12;
    case 'H':
      return TDtField::Hour24;
    case 'm':
      return TDtField::Minute;
    case 's':
      return TDtField::Second;
    case 't':
      return TDtField::HalfDay;
    default:
      return TDtField::Literal;
  }
}

std::string Padded(int Value, int Width) {
  char Buf[16];
  std::snprintf(Buf, sizeof Buf, "%0*d", Width, Value);
  return Buf;
}

int Wrap(int Value, int Lo, int Hi) {
  const int N = Hi - Lo + 1;
  return Lo + ((Value - Lo) % N + N) % N;
}

// The parts with the day pulled into the month.
TDateTimeParts FitDay(TDateTimeParts P) {
  P.Day = std::clamp(P.Day, 1, DaysInMonth(P.Year, P.Month));
  return P;
}

// The parts moved by Days whole days; P itself when that leaves the calendar.
TDateTimeParts MoveDays(const TDateTimeParts& P, int Days) {
  TDateTime D;
  if (!TryEncodeDate(P.Year, P.Month, P.Day, D)) return P;
  int Y, M, Day;
  if (!DecodeDate(D + Days, Y, M, Day)) return P;
  TDateTimeParts Out = P;
  Out.Year = Y, Out.Month = M, Out.Day = Day;
  return Out;
}

// The number a field shows and takes, for the typed-digit rules: Hour12 shows 1 to 12.
int MaxTyped(const TDtToken& T, const TDateTimeParts& P) {
  switch (T.Field) {
    case TDtField::Day:
      return DaysInMonth(P.Year, P.Month);
    case TDtField::Month:
      return 12;
    case TDtField::Year:
      return T.Letters == 1 ? 9 : T.Letters == 2 ? 99 : 9999;
    case TDtField::Hour12:
      return 12;
    case TDtField::Hour24:
      return 23;
    case TDtField::Minute:
    case TDtField::Second:
      return 59;
    default:
      return -1;
  }
}

int Digits(int N) {
  int D = 1;
  while (N >= 10) N /= 10, ++D;
  return D;
}

}  // namespace

std::vector<TDtToken> ParseDtFormat(std::string_view F) {
  std::vector<TDtToken> Out;
  const auto Literal = [&Out](std::string_view S) {
    if (Out.empty() || Out.back().Field != TDtField::Literal) Out.push_back({});
    Out.back().Text += S;
  };
  std::size_t I = 0;
  while (I < F.size()) {
    const char C = F[I];
    if (C == '\'') {
      // '' is a quote, inside quoted text or outside it.
      if (I + 1 < F.size() && F[I + 1] == '\'') {
        Literal("'");
        I += 2;
        continue;
      }
      ++I;
      while (I < F.size()) {
        if (F[I] == '\'') {
          if (I + 1 < F.size() && F[I + 1] == '\'') {
            Literal("'");
            I += 2;
            continue;
          }
          ++I;
          break;
        }
        Literal(F.substr(I, 1));
        ++I;
      }
      continue;
    }
    const TDtField Field = FieldOfLetter(C);
    if (Field == TDtField::Literal) {
      Literal(F.substr(I, 1));
      ++I;
      continue;
    }
    std::size_t N = 1;
    while (I + N < F.size() && F[I + N] == C) ++N;
    I += N;
    TDtToken T;
    T.Field = Field;
    const int Letters = static_cast<int>(std::min<std::size_t>(N, 4));
    switch (Field) {
      case TDtField::Day:
        T.Field = Letters >= 3 ? TDtField::Weekday : TDtField::Day;
        T.Letters = Letters;
        break;
      case TDtField::Year:
        T.Letters = Letters >= 3 ? 4 : Letters;
        break;
      case TDtField::Month:
        T.Letters = Letters;
        break;
      default:
        T.Letters = std::min(Letters, 2);
        break;
    }
    Out.push_back(std::move(T));
  }
  return Out;
}

const char* MonthName(int Month, bool Short) {
  const auto& Names = Short ? MonthsShort : MonthsLong;
  return Names[static_cast<std::size_t>(std::clamp(Month, 1, 12) - 1)];
}

const char* WeekdayName(int IsoDay, bool Short) {
  const auto& Names = Short ? WeekdaysShort : WeekdaysLong;
  return Names[static_cast<std::size_t>(std::clamp(IsoDay, 1, 7) - 1)];
}

int IsoWeekday(const TDateTimeParts& P) {
  TDateTime D;
  if (!TryEncodeDate(P.Year, P.Month, P.Day, D)) return 1;
  return DayOfTheWeek(D);
}

bool TryEncodeParts(const TDateTimeParts& P, TDateTime& Value) {
  TDateTime D, T;
  if (!TryEncodeDate(P.Year, P.Month, P.Day, D) ||
      !TryEncodeTime(P.Hour, P.Minute, P.Second, P.MilliSecond, T))
    return false;
  // Before 1899-12-30 the fraction counts forward from the day's start as well.
  Value = D < 0 ? D - T : D + T;
  return true;
}

std::string FormatDtToken(const TDtToken& T, const TDateTimeParts& P) {
  const int W = T.Letters >= 2 ? 2 : 1;
  switch (T.Field) {
    case TDtField::Literal:
      return T.Text;
    case TDtField::Day:
      return Padded(P.Day, W);
    case TDtField::Weekday:
      return WeekdayName(IsoWeekday(P), T.Letters == 3);
    case TDtField::Month:
      return T.Letters >= 3 ? MonthName(P.Month, T.Letters == 3) : Padded(P.Month, W);
    case TDtField::Year:
      return T.Letters == 1 ? Padded(P.Year % 10, 1)
             : T.Letters == 2 ? Padded(P.Year % 100, 2)
                              : Padded(P.Year, 4);
    case TDtField::Hour12:
      return Padded(P.Hour % 12 == 0 ? 12 : P.Hour % 12, W);
    case TDtField::Hour24:
      return Padded(P.Hour, W);
    case TDtField::Minute:
      return Padded(P.Minute, W);
    case TDtField::Second:
      return Padded(P.Second, W);
    case TDtField::HalfDay:
      return P.Hour < 12 ? (W == 1 ? "A" : "AM") : (W == 1 ? "P" : "PM");
  }
  return {};
}

std::string FormatDtTokens(const std::vector<TDtToken>& Tokens, const TDateTimeParts& P) {
  std::string S;
  for (const TDtToken& T : Tokens) S += FormatDtToken(T, P);
  return S;
}

TDateTimeParts StepDtField(const TDateTimeParts& P, TDtField Field, int Delta) {
  TDateTimeParts Out = P;
  switch (Field) {
    case TDtField::Day:
      Out.Day = Wrap(P.Day + Delta, 1, DaysInMonth(P.Year, P.Month));
      return Out;
    case TDtField::Weekday: {
      const int Now = IsoWeekday(P);
      return MoveDays(P, Wrap(Now + Delta, 1, 7) - Now);
    }
    case TDtField::Month:
      Out.Month = Wrap(P.Month + Delta, 1, 12);
      return FitDay(Out);
    case TDtField::Year:
      Out.Year = Wrap(P.Year + Delta, 1, 9999);
      return FitDay(Out);
    case TDtField::Hour12:
      Out.Hour = Wrap(P.Hour % 12 + Delta, 0, 11) + (P.Hour >= 12 ? 12 : 0);
      return Out;
    case TDtField::Hour24:
      Out.Hour = Wrap(P.Hour + Delta, 0, 23);
      return Out;
    case TDtField::Minute:
      Out.Minute = Wrap(P.Minute + Delta, 0, 59);
      return Out;
    case TDtField::Second:
      Out.Second = Wrap(P.Second + Delta, 0, 59);
      return Out;
    case TDtField::HalfDay:
      if (Delta % 2 != 0) Out.Hour = (P.Hour + 12) % 24;
      return Out;
    case TDtField::Literal:
      break;
  }
  return Out;
}

TDateTimeParts FirstOrLastDtField(const TDateTimeParts& P, TDtField Field, bool Last) {
  TDateTimeParts Out = P;
  switch (Field) {
    case TDtField::Day:
      Out.Day = Last ? DaysInMonth(P.Year, P.Month) : 1;
      return Out;
    case TDtField::Weekday:
      return MoveDays(P, (Last ? 7 : 1) - IsoWeekday(P));
    case TDtField::Month:
      Out.Month = Last ? 12 : 1;
      return FitDay(Out);
    case TDtField::Year:
      Out.Year = Last ? 9999 : 1;
      return FitDay(Out);
    case TDtField::Hour12:
      Out.Hour = (Last ? 11 : 0) + (P.Hour >= 12 ? 12 : 0);
      return Out;
    case TDtField::Hour24:
      Out.Hour = Last ? 23 : 0;
      return Out;
    case TDtField::Minute:
      Out.Minute = Last ? 59 : 0;
      return Out;
    case TDtField::Second:
      Out.Second = Last ? 59 : 0;
      return Out;
    case TDtField::HalfDay:
      Out.Hour = P.Hour % 12 + (Last ? 12 : 0);
      return Out;
    case TDtField::Literal:
      break;
  }
  return Out;
}

bool TDtDigits::Add(const TDtToken& T, const TDateTimeParts& P, int Digit, TDateTimeParts& Out,
                    bool& Done) {
  Done = false;
  const int Max = MaxTyped(T, P);
  if (Max < 0 || Digit < 0 || Digit > 9) return false;
  const int Width = T.Field == TDtField::Year ? T.Letters : Digits(Max);
  int Value = FValue * 10 + Digit;
  if (FCount == 0 || Value > Max || FCount >= Width) {
    FValue = 0, FCount = 0;
    Value = Digit;
  }
  FValue = Value;
  ++FCount;
  Done = FCount >= Width || FValue * 10 > Max;
  Out = P;
  switch (T.Field) {
    case TDtField::Day:
      if (Value < 1) return false;
      Out.Day = Value;
      break;
    case TDtField::Month:
      if (Value < 1) return false;
      Out.Month = Value;
      break;
    case TDtField::Year:
      if (T.Letters == 1)
        Out.Year = P.Year - P.Year % 10 + Value;
      else if (T.Letters == 2)
        Out.Year = P.Year - P.Year % 100 + Value;
      else
        Out.Year = Value;
      if (Out.Year < 1) return false;
      break;
    case TDtField::Hour12:
      if (Value < 1) return false;
      Out.Hour = Value % 12 + (P.Hour >= 12 ? 12 : 0);
      break;
    case TDtField::Hour24:
      Out.Hour = Value;
      break;
    case TDtField::Minute:
      Out.Minute = Value;
      break;
    case TDtField::Second:
      Out.Second = Value;
      break;
    default:
      return false;
  }
  Out = FitDay(Out);
  if (Done) Reset();
  return true;
}

}  // namespace kvl
