// Calendar arithmetic on day counts and the pattern formatter of date-time values.
#include "kvl/platform/dates.h"

#include <array>
#include <cmath>
#include <cstdint>

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

bool IsLeapYear(int Y) { return Y % 4 == 0 && (Y % 100 != 0 || Y % 400 == 0); }

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

std::optional<TDateTimeParts> DecodeDateTime(double DateTime) {
  if (!std::isfinite(DateTime)) return std::nullopt;
  const double Whole = std::trunc(DateTime);
  // Checked as a double first: the cast below is defined only for values in range.
  if (Whole < double(FirstDay) || Whole > double(LastDay)) return std::nullopt;
  std::int64_t Day = std::int64_t(Whole);
  std::int64_t Ms = std::llround(std::fabs(DateTime - Whole) * double(MsPerDay));
  if (Ms >= MsPerDay) {  // 23:59:59.9996 rounds into the next calendar day
    Ms -= MsPerDay;
    ++Day;
  }
  if (Day > LastDay) return std::nullopt;
  TDateTimeParts P;
  CivilFromDays(Day + EpochOffset, P);
  // Day 0 was a Saturday.
  P.DayOfWeek = int(((Day % 7) + 7 + 6) % 7) + 1;
  P.Hour = int(Ms / 3600000);
  P.Minute = int(Ms / 60000 % 60);
  P.Second = int(Ms / 1000 % 60);
  P.MilliSecond = int(Ms % 1000);
  return P;
}

double EncodeDate(int Year, int Month, int Day) {
  static constexpr int MonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool Valid = Year >= 1 && Year <= 9999 && Month >= 1 && Month <= 12 && Day >= 1 &&
                     Day <= MonthDays[Month - 1] + (Month == 2 && IsLeapYear(Year));
  if (!Valid) throw EConvertError("Invalid argument to date encode");
  return double(DaysFromCivil(Year, Month, Day) - EpochOffset);
}

double EncodeTime(int Hour, int Minute, int Second, int MilliSecond) {
  const bool Valid = Hour >= 0 && Hour < 24 && Minute >= 0 && Minute < 60 && Second >= 0 &&
                     Second < 60 && MilliSecond >= 0 && MilliSecond < 1000;
  if (!Valid) throw EConvertError("Invalid argument to time encode");
  const std::int64_t Ms = ((Hour * 60 + Minute) * 60 + Second) * 1000 + MilliSecond;
  return double(Ms) / double(MsPerDay);
}

std::optional<std::string> FormatDateTime(std::string_view Format, double DateTime) {
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

}  // namespace kvl
