// TMiniCal's days and week numbers for every month of four centuries and every first weekday,
// against std::chrono's calendar and glibc's "%V"; the ends of the date range; placement.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>

#include "kvl/minical/minical.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

using namespace std::chrono;

std::string Num(long long V) { return std::to_string(V); }

// ISO week by glibc (strftime's %V on a struct tm completed by timegm), or by chrono alone
// for the years a struct tm does not reach well.
std::string IsoWeek(sys_days D, bool Glibc) {
  const year_month_day YMD{D};
  if (!Glibc) {
    const sys_days Thursday = D - days{int(weekday{D}.iso_encoding()) - 4};
    return Num((Thursday - sys_days{year_month_day{Thursday}.year() / 1 / 1}).count() / 7 + 1);
  }
  std::tm T{};
  T.tm_year = int(YMD.year()) - 1900;
  T.tm_mon = int(unsigned(YMD.month())) - 1;
  T.tm_mday = int(unsigned(YMD.day()));
  timegm(&T);
  char Buf[8];
  std::strftime(Buf, sizeof Buf, "%V", &T);
  return Num(std::stoi(Buf));
}

class MiniCalGridTest : public TControlTest<TMiniCal> {
protected:
  // Every day cell and week number of the shown month against the expected ones.
  ::testing::AssertionResult ShowsMonth(year_month YM, TDayOfWeek Start, bool Glibc) {
    const sys_days First{YM / 1};
    const sys_days Cell0 = First - days{(int(weekday{First}.iso_encoding()) + 6 - Start) % 7};
    for (int R = 2; R <= 7; ++R) {
      const sys_days Row = Cell0 + days{7 * (R - 2)};
      for (int C = 0; C <= 7; ++C) {
        const std::string Want = C == 0 ? IsoWeek(Row + days{(dwThu - Start + 7) % 7}, Glibc)
                                        : Num(unsigned(year_month_day{Row + days{C - 1}}.day()));
        if (Ctl->CellLook(C, R).Text != Want)
          return ::testing::AssertionFailure()
                 << int(YM.year()) << "-" << unsigned(YM.month()) << " start " << int(Start)
                 << " cell " << C << "," << R << ": " << Ctl->CellLook(C, R).Text;
      }
    }
    return ::testing::AssertionSuccess();
  }
};

TEST_F(MiniCalGridTest, EveryMonthOfFourCenturiesWithEveryFirstWeekday) {
  for (int Start = dwMon; Start <= dwSun; ++Start) {
    Ctl->SetFirstDayOfWeek(TDayOfWeek(Start));
    for (int Y = 1583; Y <= 4099; ++Y) {
      for (unsigned M = 1; M <= 12; ++M) {
        Ctl->SetDate(EncodeDate(Y, int(M), 15));
        ASSERT_TRUE(ShowsMonth(year{Y} / month{M}, TDayOfWeek(Start), true));
      }
    }
  }
  // The range ends show the days and weeks of year 0 and year 10000.
  for (int Start = dwMon; Start <= dwSun; ++Start) {
    Ctl->SetFirstDayOfWeek(TDayOfWeek(Start));
    for (const year_month YM : {year{1} / 1, year{9999} / 12}) {
      Ctl->SetDate(EncodeDate(int(YM.year()), int(unsigned(YM.month())), 1));
      EXPECT_TRUE(ShowsMonth(YM, TDayOfWeek(Start), false));
      (void)D.Capture(*Ctl);
    }
  }
}

TEST_F(MiniCalGridTest, WeekNumbersFollowTheRowsThursdayAndDayOneItsWeekday) {
  Ctl->SetFirstDayOfWeek(dwSun);
  Ctl->SetDate(EncodeDate(2024, 9, 10));
  EXPECT_EQ(
      Ctl->CellLook(0, 2).Text + " " + Ctl->CellLook(1, 6).Text + " " + Ctl->CellLook(0, 6).Text,
      "36 29 40");  // Sunday 1 ... Saturday 7; Sunday 29 September ... Saturday 5 October
  Ctl->SetDate(EncodeDate(2024, 10, 10));
  EXPECT_EQ(Ctl->CellLook(1, 2).Text + " " + Ctl->CellLook(0, 2).Text, "29 40");
  // January 2024 starts on a Monday, September 2024 on a Sunday; 1 January is no holiday here.
  Ctl->SetIndicateHolidays(false);
  for (const auto& [Y, M, Start, Col] : {std::tuple{2024, 1, dwMon, 1},
                                         {2024, 1, dwSun, 2},
                                         {2024, 9, dwMon, 7},
                                         {2024, 9, dwSat, 2}}) {
    Ctl->SetFirstDayOfWeek(Start);
    Ctl->SetDate(EncodeDate(Y, M, 20));
    EXPECT_EQ(Ctl->CellLook(Col, 2).Text, "1") << M << " start " << int(Start);
    EXPECT_EQ(Ctl->CellLook(Col, 2).FontColor, Ctl->GetColorActiveMonth());
  }
  Ctl->SetFirstDayOfWeek(dwMon);
  for (int C = 1; C <= 6; ++C) {  // September: 26 to 31 August in grey
    EXPECT_EQ(Ctl->CellLook(C, 2).Text, Num(25 + C));
    EXPECT_EQ(Ctl->CellLook(C, 2).FontColor, Ctl->GetColorInactiveMonth());
  }
}

}  // namespace
}  // namespace kvl
