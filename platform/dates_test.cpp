// Calendar conversions and the date-time pattern formatter.
#include "kvl/platform/dates.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <utility>

#include "kvl/platform/errors.h"

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

}  // namespace
}  // namespace kvl
