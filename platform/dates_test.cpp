// Calendar conversions, arithmetic, ISO weeks, the date-time pattern formatter and the wall
// clock.
#include "kvl/platform/dates.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <ctime>
#include <limits>
#include <tuple>
#include <utility>

#include "kvl/platform/errors.h"
#include "kvl/testing/driver.h"

namespace kvl {
namespace {

TEST(DateTime, EncodeDateCountsDaysFrom1899December30) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  EXPECT_EQ(EncodeDate(2024, 3, 1) - EncodeDate(2024, 2, 28), 2);  // leap day
  EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1);  // not a leap year
  EXPECT_DOUBLE_EQ(EncodeTime(18, 0, 0), 0.75);
  EXPECT_DOUBLE_EQ(EncodeTime(0, 0, 1, 500), 1.5 / 86400);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 4, 31), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0), EConvertError);
}

std::string Decoded(double V) {
  const auto P = DecodeDateTime(V);
  if (!P) return "none";
  char S[64];
  std::snprintf(S, sizeof S, "%04d-%02d-%02d %d %02d:%02d:%02d.%03d", P->Year, P->Month, P->Day,
                P->DayOfWeek, P->Hour, P->Minute, P->Second, P->MilliSecond);
  return S;
}

TEST(DateTime, DecodeGivesDateWeekdayAndTime) {
  EXPECT_EQ(Decoded(0), "1899-12-30 7 00:00:00.000");
  EXPECT_EQ(Decoded(EncodeDate(2024, 2, 29) + EncodeTime(13, 45, 30, 250)),
            "2024-02-29 5 13:45:30.250");
  EXPECT_EQ(Decoded(EncodeDate(1, 1, 1)), "0001-01-01 2 00:00:00.000");
  // Negative values: the whole days count back, the fraction is still the time of day.
  EXPECT_EQ(Decoded(-1.25), "1899-12-29 6 06:00:00.000");
  EXPECT_EQ(Decoded(-0.5), "1899-12-30 7 12:00:00.000");
  // Rounding to the millisecond carries into the next day, and past the range.
  EXPECT_EQ(Decoded(EncodeDate(2024, 12, 31) + 0.999999999999), "2025-01-01 4 00:00:00.000");
  EXPECT_EQ(Decoded(2958465.9999999999), "none");
  EXPECT_EQ(Decoded(-693594), "none");
  EXPECT_EQ(Decoded(1e300), "none");
  EXPECT_EQ(Decoded(std::numeric_limits<double>::quiet_NaN()), "none");
}

TEST(DateTime, EveryDayOfTheRangeRoundTrips) {
  // Day by day through four centuries around the epoch and the ends of the range.
  for (const auto& [First, Last] :
       {std::pair{-693593, -693593 + 800}, {-73000, 73000}, {2958465 - 800, 2958465}}) {
    int PrevDay = 0;
    for (int V = First; V <= Last; ++V) {
      const auto P = DecodeDateTime(V);
      ASSERT_TRUE(P) << V;
      ASSERT_EQ(EncodeDate(P->Year, P->Month, P->Day), V);
      if (V > First) {
        ASSERT_TRUE(P->Day == PrevDay + 1 || P->Day == 1) << V;
      }
      PrevDay = P->Day;
    }
  }
}

TEST(DateTime, FormatTokens) {
  const double T = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9);  // a Tuesday
  struct TCase {
    const char* Format;
    const char* Text;
  };
  const TCase Cases[] = {{"d/m/yy", "5/3/24"},
                         {"dd.mm.yyyy", "05.03.2024"},
                         {"ddd dddd", "Tue Tuesday"},
                         {"mmm mmmm", "Mar March"},
                         {"h:n:s", "14:7:9"},
                         {"hh:nn:ss", "14:07:09"},
                         {"hh:mm", "14:07"},  // m after an hour means minutes
                         {"mm/dd hh:mm", "03/05 14:07"},
                         {"hh mmm", "14 Mar"},  // but a month name stays a month name
                         {"h:nn am/pm", "2:07 pm"},
                         {"h:nn AM/PM", "2:07 PM"},
                         {"'day' d \"of\" mmmm", "day 5 of March"},
                         {"YYYY-MM-DD", "2024-03-05"},
                         {"x#~ 'open", "x#~ open"},
                         {"yyyy\xE5\xB9\xB4", "2024\xE5\xB9\xB4"}};
  for (const TCase& C : Cases) EXPECT_EQ(FormatDateTime(C.Format, T), C.Text) << C.Format;
  EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(0, 30, 0)), "12:30 am");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(12, 0, 0)), "12:00 pm");
  EXPECT_EQ(FormatDateTime("yyyy yy", EncodeDate(5, 6, 7)), "0005 05");
  EXPECT_EQ(FormatDateTime("dd", 1e9), std::nullopt);
}

TEST(DateTime, CalendarEdgesAndKnownWeekdays) {
  struct TCase {
    int Y, M, D;
    double Value;
    int DayOfWeek;  // 1 Sunday ... 7 Saturday
  };
  const TCase Cases[] = {
      {1, 1, 1, -693593, 2},      {1, 12, 31, -693229, 2},    {1582, 10, 4, -115869, 2},
      {1582, 10, 15, -115858, 6},  // no gap: one calendar
      {1600, 2, 29, -109512, 3},  {1899, 12, 29, -1, 6},      {1899, 12, 31, 1, 1},
      {1900, 1, 1, 2, 2},         {1900, 2, 28, 60, 4},       {1900, 3, 1, 61, 5},
      {1970, 1, 1, 25569, 5},     {9999, 12, 31, 2958465, 6},
  };
  for (const TCase& C : Cases) {
    const double V = EncodeDate(C.Y, C.M, C.D);
    EXPECT_EQ(V, C.Value) << C.Y << "-" << C.M << "-" << C.D;
    EXPECT_EQ(DayOfWeek(V), C.DayOfWeek) << C.Y << "-" << C.M << "-" << C.D;
    EXPECT_EQ(DayOfTheWeek(V), (C.DayOfWeek + 5) % 7 + 1) << C.Y << "-" << C.M << "-" << C.D;
  }
}

TEST(DateTime, InvalidPartsAreRefusedNotWrapped) {
  const int Dates[][3] = {{0, 12, 31},   {10000, 1, 1}, {-1, 1, 1},    {2024, 0, 1}, {2024, 13, 1},
                          {2023, 2, 29}, {1900, 2, 29}, {2024, 4, 31}, {2024, 1, 0}, {2024, 1, 32}};
  for (const auto& D : Dates) {
    TDateTime V = 123;
    EXPECT_FALSE(TryEncodeDate(D[0], D[1], D[2], V)) << D[0] << "-" << D[1] << "-" << D[2];
    EXPECT_EQ(V, 123);
    EXPECT_THROW(EncodeDate(D[0], D[1], D[2]), EConvertError);
  }
  const int Times[][4] = {{24, 0, 0, 0}, {-1, 0, 0, 0},   {0, 60, 0, 0},
                          {0, 0, 60, 0}, {0, 0, 0, 1000}, {0, 0, 0, -1}};
  for (const auto& T : Times) {
    TDateTime V = 123;
    EXPECT_FALSE(TryEncodeTime(T[0], T[1], T[2], T[3], V)) << T[0] << ":" << T[1] << ":" << T[2];
    EXPECT_EQ(V, 123);
    EXPECT_THROW(EncodeDateTime(2024, 1, 1, T[0], T[1], T[2], T[3]), EConvertError);
  }
  int Y = 7, M = 7, D = 7, H = 7;
  EXPECT_FALSE(DecodeDate(-693594, Y, M, D));
  EXPECT_FALSE(DecodeTime(std::numeric_limits<double>::infinity(), H, M, D, Y));
  EXPECT_EQ(std::tuple(Y, M, D, H), std::tuple(7, 7, 7, 7));
  EXPECT_THROW(DayOfWeek(3e6), EConvertError);
  EXPECT_THROW(DateOf(std::numeric_limits<double>::quiet_NaN()), EConvertError);
}

std::string Shown(double V) { return FormatDateTime("yyyy-mm-dd hh:nn:ss", V).value_or("none"); }

TEST(DateTime, ArithmeticWorksOnTheDecodedDateOnBothSidesOf1899) {
  const double Jan31 = EncodeDateTime(2024, 1, 31, 9, 15, 0);
  const double Leap = EncodeDateTime(2024, 2, 29, 23, 0, 0);
  const double Before = EncodeDateTime(1899, 12, 29, 6, 0, 0);  // -1.25
  struct TCase {
    double Got;
    const char* Want;
  };
  const TCase Cases[] = {
      {IncMonth(Jan31, 1), "2024-02-29 09:15:00"},
      {IncMonth(EncodeDate(2023, 1, 31), 1), "2023-02-28 00:00:00"},
      {IncMonth(Jan31, 3), "2024-04-30 09:15:00"},
      {IncMonth(Jan31, -2), "2023-11-30 09:15:00"},
      {IncMonth(Leap, 12), "2025-02-28 23:00:00"},
      {IncMonth(Leap, 48), "2028-02-29 23:00:00"},
      {IncMonth(Leap, -1), "2024-01-29 23:00:00"},
      {IncMonth(Before, 1), "1900-01-29 06:00:00"},
      {IncMonth(EncodeDate(9999, 11, 30), 1), "9999-12-30 00:00:00"},
      {IncDay(Before, 2), "1899-12-31 06:00:00"},
      {IncDay(EncodeDateTime(1899, 12, 31, 6, 0, 0), -3), "1899-12-28 06:00:00"},
      {IncMilliSecond(EncodeDateTime(1899, 12, 29, 23, 0, 0), 7200000), "1899-12-30 01:00:00"},
      {IncMilliSecond(EncodeDateTime(1899, 12, 30, 1, 0, 0), -7200000), "1899-12-29 23:00:00"},
      {DateOf(Before), "1899-12-29 00:00:00"},
      {TimeOf(Before), "1899-12-30 06:00:00"},
  };
  for (std::size_t I = 0; I < std::size(Cases); ++I)
    EXPECT_EQ(Shown(Cases[I].Got), Cases[I].Want) << I;
  EXPECT_EQ(TimeOf(Before), 0.25);  // a time of day alone is never negative
  for (const auto& F :
       {+[] { IncMonth(EncodeDate(1, 1, 31), -1); }, +[] { IncMonth(EncodeDate(9999, 12, 1), 1); },
        +[] { IncMonth(EncodeDate(2024, 1, 1), INT_MAX); },
        +[] { IncMonth(EncodeDate(2024, 1, 1), INT_MIN); },
        +[] { IncDay(EncodeDate(9999, 12, 31), 1); }, +[] { IncDay(EncodeDate(1, 1, 1), -1); },
        +[] { IncMilliSecond(0, LLONG_MAX); }})
    EXPECT_THROW(F(), EConvertError);
}

// ISO weekday (1 Monday ... 7 Sunday) by Zeller's congruence, independent of the unit.
int ZellerIsoWeekday(int Y, int M, int D) {
  if (M < 3) {
    M += 12;
    --Y;
  }
  const int H = (D + 13 * (M + 1) / 5 + Y % 100 + Y % 100 / 4 + Y / 100 / 4 + 5 * (Y / 100)) % 7;
  return (H + 5) % 7 + 1;  // H: 0 Saturday, 1 Sunday, 2 Monday ...
}

// A year has 53 weeks when it starts on a Thursday, or on a Wednesday in a leap year.
int WeeksInYear(int Y) {
  const int W = ZellerIsoWeekday(Y, 1, 1);
  const bool Leap = (Y % 4 == 0 && Y % 100 != 0) || Y % 400 == 0;
  return W == 4 || (W == 3 && Leap) ? 53 : 52;
}

// Week and ISO year of a day in the first ten days of January or the last ten of December.
std::pair<int, int> ExpectedWeek(int Y, int M, int D) {
  if (M == 1) {
    // Days of the week of 1 January that lie before it, then whole weeks; week 1 only when
    // that week holds at least four January days (its Thursday).
    const int W1 = ZellerIsoWeekday(Y, 1, 1);
    const int Week = (D - 1 + W1 - 1) / 7 + (W1 <= 4 ? 1 : 0);
    return Week == 0 ? std::pair(WeeksInYear(Y - 1), Y - 1) : std::pair(Week, Y);
  }
  const int Thursday = D - ZellerIsoWeekday(Y, 12, D) + 4;  // of this week, as a December day
  if (Thursday > 31) return {1, Y + 1};
  const int LastThursday = 31 - (ZellerIsoWeekday(Y, 12, 31) + 3) % 7;
  return {WeeksInYear(Y) - (LastThursday - Thursday) / 7, Y};
}

TEST(DateTime, IsoWeeksAroundNewYearMatchASecondComputation) {
  for (int Y = 1583; Y <= 4099; ++Y) {
    for (const auto& [M, FirstDay, LastDay] : {std::tuple(1, 1, 10), std::tuple(12, 22, 31)}) {
      for (int D = FirstDay; D <= LastDay; ++D) {
        int IsoYear = 0;
        const int Week = WeekOfTheYear(EncodeDateTime(Y, M, D, 12, 0, 0), IsoYear);
        ASSERT_EQ(std::pair(Week, IsoYear), ExpectedWeek(Y, M, D)) << Y << "-" << M << "-" << D;
      }
    }
  }
  EXPECT_EQ(WeekOfTheYear(EncodeDate(2024, 6, 15)), 24);
  EXPECT_EQ(WeekOfTheYear(EncodeDate(1, 1, 1)), 1);
  EXPECT_EQ(WeekOfTheYear(EncodeDate(9999, 12, 31)), 52);
}

TEST(WallClock, HeadlessClockIsFixedSettableAndMovesWithVirtualTime) {
  TDriver D;
  EXPECT_EQ(Shown(Now()), "2024-01-15 10:30:00");
  D.Host().SetWallClock(EncodeDateTime(2023, 12, 31, 22, 0, 0));
  D.AdvanceTime(25 * 3600 * 1000 + 1500);
  EXPECT_EQ(Shown(Now()), "2024-01-01 23:00:01");
  EXPECT_EQ(Date(), EncodeDate(2024, 1, 1));
  EXPECT_EQ(Time(), EncodeTime(23, 0, 1, 500));
  D.AdvanceTime(3600 * 1000);
  EXPECT_EQ(Shown(Date()), "2024-01-02 00:00:00");
  // Before 1899-12-30 the clock still runs forward.
  D.Host().SetWallClock(EncodeDateTime(1899, 12, 29, 23, 30, 0));
  D.AdvanceTime(3600 * 1000);
  EXPECT_EQ(Shown(Now()), "1899-12-30 00:30:00");
  EXPECT_THROW(D.Host().SetWallClock(1e7), EConvertError);
}

TEST(WallClock, MachineClockIsLocalTime) {
  TDriver D;
  // The base host's clock, which the x11 host uses; again if a second turned meanwhile.
  time_t Before = 0;
  double V = 0;
  do {
    Before = time(nullptr);
    V = D.Host().THost::LocalNow();
  } while (time(nullptr) != Before);
  tm L{};
  char Want[32];
  std::strftime(Want, sizeof Want, "%Y-%m-%d %H:%M:%S", localtime_r(&Before, &L));
  EXPECT_EQ(Shown(V), Want);
}

}  // namespace
}  // namespace kvl
