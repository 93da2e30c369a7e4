// TMiniCal's grid of days and week numbers for every month of four centuries and every first
// weekday, against std::chrono's calendar and glibc's "%V"; the ends of the date range.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>

#include "kvl/minical/minical.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

using namespace std::chrono;

class MiniCalGridTest : public TControlTest<TMiniCal> {
protected:
  // The date of the first day cell (1, 2): the row holding the 1st, starting on the first
  // weekday.
  static sys_days FirstCell(int Y, unsigned M, TDayOfWeek Start) {
    const sys_days First{year{Y} / month{M} / 1};
    const int Back = (int(weekday{First}.iso_encoding()) - 1 - int(Start) + 7) % 7;
    return First - days{Back};
  }
  static std::string DayText(sys_days D) {
    return std::to_string(unsigned(year_month_day{D}.day()));
  }
  // ISO week by glibc: strftime's %V on a struct tm completed by timegm.
  static std::string GlibcWeek(sys_days D) {
    const year_month_day YMD{D};
    std::tm T{};
    T.tm_year = int(YMD.year()) - 1900;
    T.tm_mon = int(unsigned(YMD.month())) - 1;
    T.tm_mday = int(unsigned(YMD.day()));
    T.tm_hour = 12;
    timegm(&T);
    char Buf[8];
    std::strftime(Buf, sizeof Buf, "%V", &T);
    return std::to_string(std::stoi(Buf));
  }
  // ISO week by std::chrono alone, for the years glibc's tm does not reach well.
  static std::string ChronoWeek(sys_days D) {
    const sys_days Thursday = D - days{int(weekday{D}.iso_encoding()) - 4};
    const year Y = year_month_day{Thursday}.year();
    return std::to_string((Thursday - sys_days{Y / January / 1}).count() / 7 + 1);
  }
  // Every day cell and week number of the shown month, checked against the expected ones.
  ::testing::AssertionResult ShowsMonth(int Y, unsigned M, TDayOfWeek Start, bool Glibc) {
    const sys_days Cell0 = FirstCell(Y, M, Start);
    for (int R = 2; R <= 7; ++R) {
      const sys_days RowStart = Cell0 + days{7 * (R - 2)};
      for (int C = 1; C <= 7; ++C) {
        const TMiniCalCellLook L = Ctl->CellLook(C, R);
        const std::string Want = DayText(RowStart + days{C - 1});
        if (L.Text != Want)
          return ::testing::AssertionFailure() << Y << "-" << M << " start " << int(Start)
                                               << " cell " << C << "," << R << ": " << L.Text
                                               << " for " << Want;
      }
      const sys_days Thursday = RowStart + days{(int(dwThu) - int(Start) + 7) % 7};
      const std::string Week = Glibc ? GlibcWeek(Thursday) : ChronoWeek(Thursday);
      const std::string Shown = Ctl->CellLook(0, R).Text;
      if (Shown != Week)
        return ::testing::AssertionFailure() << Y << "-" << M << " start " << int(Start)
                                             << " row " << R << ": week " << Shown << " for "
                                             << Week;
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
        ASSERT_TRUE(ShowsMonth(Y, M, TDayOfWeek(Start), true));
      }
    }
  }
}

TEST_F(MiniCalGridTest, TheRangeEndsShowTheirNeighboursWithEveryFirstWeekday) {
  for (int Start = dwMon; Start <= dwSun; ++Start) {
    Ctl->SetFirstDayOfWeek(TDayOfWeek(Start));
    for (const auto& [Y, M, Day] : {std::tuple{1, 1u, 1}, {1, 1u, 31}, {9999, 12u, 1},
                                  {9999, 12u, 31}}) {
      Ctl->SetDate(EncodeDate(Y, int(M), Day));
      EXPECT_TRUE(ShowsMonth(Y, M, TDayOfWeek(Start), false));
      (void)D.Capture(*Ctl);
    }
  }
}

TEST_F(MiniCalGridTest, WeekNumbersFollowTheRowsThursday) {
  Ctl->SetFirstDayOfWeek(dwSun);
  Ctl->SetDate(EncodeDate(2024, 9, 10));
  EXPECT_EQ(Ctl->CellLook(0, 2).Text, "36");  // Sunday 1 ... Saturday 7 September
  EXPECT_EQ(Ctl->CellLook(1, 6).Text, "29");
  EXPECT_EQ(Ctl->CellLook(0, 6).Text, "40");  // Sunday 29 September ... Saturday 5 October
  Ctl->SetDate(EncodeDate(2024, 10, 10));
  EXPECT_EQ(Ctl->CellLook(1, 2).Text, "29");
  EXPECT_EQ(Ctl->CellLook(0, 2).Text, "40");
}

TEST_F(MiniCalGridTest, DayOnePlacement) {
  struct Case {
    int Y, M;
    TDayOfWeek Start;
    int Col;
  };
  // January 2024 starts on a Monday, September 2024 on a Sunday.
  Ctl->SetIndicateHolidays(false);  // 1 January is one
  for (const Case C : {Case{2024, 1, dwMon, 1}, {2024, 1, dwTue, 7}, {2024, 1, dwSun, 2},
                       {2024, 9, dwMon, 7}, {2024, 9, dwSun, 1}, {2024, 9, dwSat, 2}}) {
    Ctl->SetFirstDayOfWeek(C.Start);
    Ctl->SetDate(EncodeDate(C.Y, C.M, 20));
    const TMiniCalCellLook L = Ctl->CellLook(C.Col, 2);
    EXPECT_EQ(L.Text, "1") << C.Y << "-" << C.M << " start " << int(C.Start);
    EXPECT_EQ(L.FontColor, Ctl->GetColorActiveMonth());
  }
  Ctl->SetFirstDayOfWeek(dwMon);
  Ctl->SetDate(EncodeDate(2024, 9, 20));
  for (int C = 1; C <= 6; ++C) {
    const TMiniCalCellLook L = Ctl->CellLook(C, 2);
    EXPECT_EQ(L.Text, std::to_string(25 + C));  // 26 to 31 August
    EXPECT_EQ(L.FontColor, Ctl->GetColorInactiveMonth());
  }
}

}  // namespace
}  // namespace kvl
