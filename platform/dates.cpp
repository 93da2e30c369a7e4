// Calendar arithmetic on day counts, the pattern formatter of date-time values and the wall
// clock.
#include "kvl/platform/dates.h"

#include <time.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>

#include "kvl/platform/application.h"
#include "kvl/platform/errors.h"

namespace kvl {

namespace {

// Day 0 of the value scale, 1899-12-30, counted from 1970-01-01.
constexpr std::int64_t EpochOffset = -25569;
// The first and the last supported day: 0001-01-01 and 9999-12-31.
constexpr std::int64_t FirstDay = -693593;
constexpr std::int64_t LastDay = 2958465;
constexpr std::int64_t MsPerDay = 86400000;

constexpr std::array<std::string_view, 12> MonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> DayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                      "Thursday", "Friday", "Saturday"};

// Proleptic Gregorian calendar on days since 1970-01-01, exact for every day of the range.
std::int64_t DaysFromCivil(std::int64_t Y, int M, int D) {
  Y -= M <= 2;
  const std::int64_t Era = (Y >= 0 ? Y : Y - 399) / 400;
  const std::int64_t Yoe = Y - Era * 400;
  const std::int64_t Doy = (153 * (M > 2 ? M - 3 : M + 9) + 2) / 5 + D - 1;
  const std::int64_t Doe = Yoe * 365 + Yoe / 4 - Yoe / 100 + Doy;
  return Era * 146097 + Doe - 719468;
}

void CivilFromDays(std::int64_t Z, TDateTimeParts& P) {
  Z += 719468;
  const std::int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const std::int64_t Doe = Z - Era * 146097;
  const std::int64_t Yoe = (Doe - Doe / 1460 + Doe / 36524 - Doe / 146096) / 365;
  const std::int64_t Doy = Doe - (365 * Yoe + Yoe / 4 - Yoe / 100);
  const std::int64_t Mp = (5 * Doy + 2) / 153;
  P.Day = int(Doy - (153 * Mp + 2) / 5 + 1);
  P.Month = int(Mp < 10 ? Mp + 3 : Mp - 9);
  P.Year = int(Yoe + Era * 400 + (P.Month <= 2));
}

// A value as whole days since 1899-12-30 and milliseconds into that day, the form all the
// arithmetic uses: the raw number's negative-fraction convention never takes part in a sum.
struct TStamp {
  std::int64_t Day = 0;
  std::int64_t Ms = 0;  // 0 <= Ms < MsPerDay
};

std::optional<TStamp> Split(TDateTime DateTime) {
  if (!std::isfinite(DateTime)) return std::nullopt;
  const double Whole = std::trunc(DateTime);
  // Checked as a double first: the cast below is defined only for values in range.
  if (Whole < double(FirstDay) || Whole > double(LastDay)) return std::nullopt;
  TStamp S{std::int64_t(Whole), std::llround(std::fabs(DateTime - Whole) * double(MsPerDay))};
  if (S.Ms >= MsPerDay) {  // 23:59:59.9996 rounds into the next calendar day
    S.Ms -= MsPerDay;
    ++S.Day;
  }
  if (S.Day > LastDay) return std::nullopt;
  return S;
}

TStamp SplitOrRaise(TDateTime DateTime) {
  const std::optional<TStamp> S = Split(DateTime);
  if (!S) throw EConvertError("Invalid date and time value");
  return *S;
}

TDateTime Join(TStamp S) {
  if (S.Day < FirstDay || S.Day > LastDay) throw EConvertError("Date outside the years 1 to 9999");
  const double Fraction = double(S.Ms) / double(MsPerDay);
  return double(S.Day) + (S.Day < 0 ? -Fraction : Fraction);
}

bool ValidDate(int Year, int Month, int Day) {
  return Year >= 1 && Year <= 9999 && Day >= 1 && Day <= DaysInMonth(Year, Month);
}

bool ValidTime(int Hour, int Minute, int Second, int MilliSecond) {
  return Hour >= 0 && Hour < 24 && Minute >= 0 && Minute < 60 && Second >= 0 && Second < 60 &&
         MilliSecond >= 0 && MilliSecond < 1000;
}

std::int64_t DayNumber(int Year, int Month, int Day) {
  return DaysFromCivil(Year, Month, Day) - EpochOffset;
}

std::int64_t MsOfDay(int Hour, int Minute, int Second, int MilliSecond) {
  return ((Hour * 60 + Minute) * 60 + Second) * std::int64_t(1000) + MilliSecond;
}

// 1 Monday ... 7 Sunday; day 0 was a Saturday.
int IsoWeekday(std::int64_t Day) { return int(((Day % 7) + 7 + 5) % 7) + 1; }

char Lower(char C) { return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C; }

bool StartsWithNoCase(std::string_view S, std::string_view Prefix) {
  if (S.size() < Prefix.size()) return false;
  for (std::size_t I = 0; I < Prefix.size(); ++I)
    if (Lower(S[I]) != Prefix[I]) return false;
  return true;
}

void AppendNumber(std::string& Out, int V, int MinDigits) {
  const std::string Digits = std::to_string(V);
  if (int(Digits.size()) < MinDigits) Out.append(std::size_t(MinDigits) - Digits.size(), '0');
  Out += Digits;
}

}  // namespace

std::optional<TDateTimeParts> DecodeDateTime(TDateTime DateTime) {
  const std::optional<TStamp> S = Split(DateTime);
  if (!S) return std::nullopt;
  TDateTimeParts P;
  CivilFromDays(S->Day + EpochOffset, P);
  P.DayOfWeek = IsoWeekday(S->Day) % 7 + 1;
  P.Hour = int(S->Ms / 3600000);
  P.Minute = int(S->Ms / 60000 % 60);
  P.Second = int(S->Ms / 1000 % 60);
  P.MilliSecond = int(S->Ms % 1000);
  return P;
}

bool DecodeDate(TDateTime DateTime, int& Year, int& Month, int& Day) {
  const std::optional<TDateTimeParts> P = DecodeDateTime(DateTime);
  if (!P) return false;
  Year = P->Year;
  Month = P->Month;
  Day = P->Day;
  return true;
}

bool DecodeTime(TDateTime DateTime, int& Hour, int& Minute, int& Second, int& MilliSecond) {
  const std::optional<TDateTimeParts> P = DecodeDateTime(DateTime);
  if (!P) return false;
  Hour = P->Hour;
  Minute = P->Minute;
  Second = P->Second;
  MilliSecond = P->MilliSecond;
  return true;
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
  if (!ValidDate(Year, Month, Day)) return false;
  Date = double(DayNumber(Year, Month, Day));
  return true;
}

bool TryEncodeTime(int Hour, int Minute, int Second, int MilliSecond, TDateTime& Time) {
  if (!ValidTime(Hour, Minute, Second, MilliSecond)) return false;
  Time = double(MsOfDay(Hour, Minute, Second, MilliSecond)) / double(MsPerDay);
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime D = 0;
  if (!TryEncodeDate(Year, Month, Day, D)) throw EConvertError("Invalid argument to date encode");
  return D;
}

TDateTime EncodeTime(int Hour, int Minute, int Second, int MilliSecond) {
  TDateTime T = 0;
  if (!TryEncodeTime(Hour, Minute, Second, MilliSecond, T))
    throw EConvertError("Invalid argument to time encode");
  return T;
}

TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second,
                         int MilliSecond) {
  EncodeDate(Year, Month, Day);  // each raises for its invalid parts
  EncodeTime(Hour, Minute, Second, MilliSecond);
  return Join({DayNumber(Year, Month, Day), MsOfDay(Hour, Minute, Second, MilliSecond)});
}

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInMonth(int Year, int Month) {
  static constexpr int MonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return MonthDays[Month - 1] + (Month == 2 && IsLeapYear(Year));
}

int DayOfWeek(TDateTime DateTime) { return DayOfTheWeek(DateTime) % 7 + 1; }

int DayOfTheWeek(TDateTime DateTime) { return IsoWeekday(SplitOrRaise(DateTime).Day); }

int WeekOfTheYear(TDateTime DateTime) {
  int IsoYear = 0;
  return WeekOfTheYear(DateTime, IsoYear);
}

int WeekOfTheYear(TDateTime DateTime, int& IsoYear) {
  return IsoWeekOfDayNumber(SplitOrRaise(DateTime).Day, IsoYear);
}

std::int64_t DayNumberOfDate(int Year, int Month, int Day) {
  return DaysFromCivil(Year, Month, 1) - EpochOffset + (std::int64_t(Day) - 1);
}

void DateOfDayNumber(std::int64_t Number, int& Year, int& Month, int& Day) {
  TDateTimeParts P;
  CivilFromDays(Number + EpochOffset, P);
  Year = P.Year;
  Month = P.Month;
  Day = P.Day;
}

int IsoWeekdayOfDayNumber(std::int64_t Number) { return IsoWeekday(Number); }

int IsoWeekOfDayNumber(std::int64_t Number, int& IsoYear) {
  // A week belongs to the year that holds its Thursday.
  const std::int64_t Thursday = Number - IsoWeekday(Number) + 4;
  TDateTimeParts P;
  CivilFromDays(Thursday + EpochOffset, P);
  IsoYear = P.Year;
  return int((Thursday - DayNumber(P.Year, 1, 1)) / 7) + 1;
}

TDateTime IncMonth(TDateTime DateTime, int N) {
  const TStamp S = SplitOrRaise(DateTime);
  TDateTimeParts P;
  CivilFromDays(S.Day + EpochOffset, P);
  const std::int64_t Months = std::int64_t(P.Year) * 12 + (P.Month - 1) + N;
  const std::int64_t Year = Months >= 0 ? Months / 12 : -1;
  if (Year < 1 || Year > 9999) throw EConvertError("Date outside the years 1 to 9999");
  const int Month = int(Months % 12) + 1;
  const int Day = std::min(P.Day, DaysInMonth(int(Year), Month));
  return Join({DayNumber(int(Year), Month, Day), S.Ms});
}

TDateTime IncDay(TDateTime DateTime, int N) {
  TStamp S = SplitOrRaise(DateTime);
  S.Day += N;
  return Join(S);
}

TDateTime IncMilliSecond(TDateTime DateTime, std::int64_t N) {
  const TStamp S = SplitOrRaise(DateTime);
  // Beyond the whole range either way; also keeps the sum below from overflowing.
  constexpr std::int64_t Span = (LastDay - FirstDay + 1) * MsPerDay;
  if (N > Span || N < -Span) throw EConvertError("Date outside the years 1 to 9999");
  const std::int64_t Total = S.Day * MsPerDay + S.Ms + N;
  const std::int64_t Day = Total >= 0 ? Total / MsPerDay : -((-Total + MsPerDay - 1) / MsPerDay);
  return Join({Day, Total - Day * MsPerDay});
}

TDateTime DateOf(TDateTime DateTime) { return Join({SplitOrRaise(DateTime).Day, 0}); }

TDateTime TimeOf(TDateTime DateTime) { return Join({0, SplitOrRaise(DateTime).Ms}); }

std::optional<std::string> FormatDateTime(std::string_view Format, TDateTime DateTime) {
  const std::optional<TDateTimeParts> Decoded = DecodeDateTime(DateTime);
  if (!Decoded) return std::nullopt;
  const TDateTimeParts& P = *Decoded;

  bool TwelveHour = false;
  for (std::size_t I = 0; I < Format.size() && !TwelveHour; ++I)
    TwelveHour = StartsWithNoCase(Format.substr(I), "am/pm");

  std::string Out;
  bool AfterHour = false;  // the last token was h or hh: a following m means minutes
  std::size_t I = 0;
  while (I < Format.size()) {
    const char C = Format[I];
    const char L = Lower(C);
    if (C == '"' || C == '\'') {
      const std::size_t Close = Format.find(C, I + 1);
      const std::size_t End = Close == std::string_view::npos ? Format.size() : Close;
      Out.append(Format.substr(I + 1, End - I - 1));
      I = End + 1;
      continue;
    }
    if (L == 'a' && StartsWithNoCase(Format.substr(I), "am/pm")) {
      Out.append(Format.substr(P.Hour < 12 ? I : I + 3, 2));
      I += 5;
      continue;
    }
    if (L != 'd' && L != 'm' && L != 'y' && L != 'h' && L != 'n' && L != 's') {
      Out += C;
      ++I;
      continue;
    }
    std::size_t Run = 1;
    while (I + Run < Format.size() && Lower(Format[I + Run]) == L) ++Run;
    const int Max = (L == 'd' || L == 'm' || L == 'y') ? 4 : 2;
    const int K = int(std::min<std::size_t>(Run, std::size_t(Max)));
    I += std::size_t(K);
    switch (L) {
      case 'd':
        if (K <= 2)
          AppendNumber(Out, P.Day, K);
        else
          Out +=
              DayNames[std::size_t(P.DayOfWeek - 1)].substr(0, K == 3 ? 3 : std::string_view::npos);
        break;
      case 'm':
        if (K <= 2 && AfterHour)
          AppendNumber(Out, P.Minute, K);
        else if (K <= 2)
          AppendNumber(Out, P.Month, K);
        else
          Out +=
              MonthNames[std::size_t(P.Month - 1)].substr(0, K == 3 ? 3 : std::string_view::npos);
        break;
      case 'y':
        if (K <= 2)
          AppendNumber(Out, P.Year % 100, 2);
        else
          AppendNumber(Out, P.Year, 4);
        break;
      case 'h': {
        int H = P.Hour;
        if (TwelveHour) H = H % 12 == 0 ? 12 : H % 12;
        AppendNumber(Out, H, K);
        break;
      }
      case 'n':
        AppendNumber(Out, P.Minute, K);
        break;
      default:
        AppendNumber(Out, P.Second, K);
        break;
    }
    AfterHour = L == 'h';
  }
  return Out;
}

TDateTime Now() { return Application->GetHost().LocalNow(); }

TDateTime Date() { return DateOf(Now()); }

TDateTime Time() { return TimeOf(Now()); }

// The machine's clock and time zone; a host with a clock of its own overrides this.
TDateTime THost::LocalNow() const {
  using namespace std::chrono;
  const auto Since1970 = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
  const time_t Seconds = time_t(duration_cast<seconds>(Since1970).count());
  tm Local{};
  if (!localtime_r(&Seconds, &Local)) throw EConvertError("The local time is not known");
  return EncodeDateTime(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday, Local.tm_hour,
                        Local.tm_min, std::min(Local.tm_sec, 59), int(Since1970.count() % 1000));
}

}  // namespace kvl
