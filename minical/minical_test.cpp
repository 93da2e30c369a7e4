// TMiniCal's model: Easter against an independent algorithm, the holidays of four centuries in
// four languages, the list, the date parts and navigation with their events, the range ends,
// bad values and unchecked indexes.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <limits>
#include <tuple>

#include "kvl/minical/minical.h"
#include "kvl/platform/errors.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

using namespace std::chrono;

// The anonymous Gregorian algorithm (Meeus, Jones, Butcher): month and day of Easter Sunday.
std::pair<int, int> AnonymousEaster(int Y) {
  const int A = Y % 19, B = Y / 100, C = Y % 100, D = B / 4, E = B % 4, F = (B + 8) / 25;
  const int G = (B - F + 1) / 3, H = (19 * A + B - D - G + 15) % 30, I = C / 4, K = C % 4;
  const int L = (32 + 2 * E + 2 * I - H - K) % 7, M = (A + 11 * H + 22 * L) / 451;
  return {(H + L - 7 * M + 114) / 31, (H + L - 7 * M + 114) % 31 + 1};
}

class MiniCalTest : public TControlTest<TMiniCal> {
protected:
  int Changes = 0;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->OnChange = [this](TObject*) { ++Changes; };
  }
  // Year, month, day and the time in milliseconds of the selected date.
  std::tuple<int, int, int, int> Parts() const {
    const auto P = DecodeDateTime(Ctl->GetDate());
    if (!P) return {};
    return {P->Year, P->Month, P->Day,
            ((P->Hour * 60 + P->Minute) * 60 + P->Second) * 1000 + P->MilliSecond};
  }
  void Select(int Y, int M, int D) {
    Ctl->SetDate(EncodeDate(Y, M, D));
    Changes = 0;
  }
};

TEST(MiniCalEaster, MatchesAnIndependentAlgorithmAndTheVectors) {
  for (int Y = 1; Y <= 9999; ++Y) {
    int Day = 0, Month = 0;
    CalcEasterSunday(Y, Day, Month);
    ASSERT_EQ(std::pair(Month, Day), AnonymousEaster(Y)) << Y;
  }
  struct Case {
    int Year, Month, Day;
  };
  for (const Case C : {Case{2024, 3, 31}, {2025, 4, 20}, {1981, 4, 19}, {1954, 4, 18},
                       {2049, 4, 18}, {2076, 4, 19}, {1818, 3, 22}, {2285, 3, 22},
                       {1943, 4, 25}, {2038, 4, 25}}) {
    int Day = 0, Month = 0;
    CalcEasterSunday(C.Year, Day, Month);
    EXPECT_EQ(std::pair(Month, Day), std::pair(C.Month, C.Day)) << C.Year;
  }
}

TEST(MiniCalEaster, YearsBelowOneHaveNoneAndHugeYearsStayInTheWindow) {
  for (const int Y : {0, -1, -2000, INT_MIN}) {
    int Day = 9, Month = 9;
    CalcEasterSunday(Y, Day, Month);
    EXPECT_EQ(std::pair(Day, Month), std::pair(0, 0)) << Y;
  }
  for (const int Y : {INT_MAX, INT_MAX - 1, 1 << 30}) {
    int Day = 0, Month = 0;
    CalcEasterSunday(Y, Day, Month);
    const int FromMarch = Month == 3 ? Day : 31 + Day;
    EXPECT_TRUE(Month == 3 || Month == 4) << Y;
    EXPECT_GE(FromMarch, 22) << Y;
    EXPECT_LE(FromMarch, 56) << Y;
  }
}

// Every day from March to June of four centuries and more, in each language: holidays exactly
// on the six feasts (from the test's own Easter) and on 1 May, where the list's caption wins.
TEST_F(MiniCalTest, SpringHolidaysOfFourCenturiesInFourLanguages) {
  struct Language {
    TLanguage Lang;
    std::array<const char*, 6> Feasts;
    const char* MayDay;
  };
  const Language Languages[] = {
      {lgEnglish,
       {"Easter Day", "Easter Monday", "Ascension Day", "Pentecost", "Whit Monday",
        "Corpus Christi"},
       "Labor Day"},
      {lgGerman,
       {"Ostersonntag", "Ostermontag", "Christi Himmelfahrt", "Pfingstsonntag", "Pfingstmontag",
        "Fronleichnam"},
       "Tag der Arbeit"},
      {lgFrench,
       {"Le jour de Pâques", "Lundi de Pâques", "Ascension du Christ",
        "Dimanche de Pentecôte", "Lundi de Pentecôte", "Corpus Christi"},
       "Fête du Travail"},
      {lgSpanish,
       {"Domingo de Resurrección", "Lunes de Pascua", "Ascensión de Cristo",
        "Domingo de Pentecostés", "Lunes de Pentecostés", "Corpus Cristi"},
       "Día del Trabajo"},
  };
  constexpr int Offsets[] = {0, 1, 39, 49, 50, 60};
  for (const Language& L : Languages) {
    Ctl->SetLanguage(L.Lang);
    for (int Y = 1583; Y <= 4099; ++Y) {
      const auto [EM, ED] = AnonymousEaster(Y);
      const sys_days Easter{year{Y} / month(unsigned(EM)) / day(unsigned(ED))};
      for (sys_days T{year{Y} / March / 1}; T <= sys_days{year{Y} / June / 30}; T += days{1}) {
        const year_month_day YMD{T};
        const char* Expected = nullptr;
        for (int I = 0; I < 6; ++I)
          if (T == Easter + days{Offsets[I]}) Expected = L.Feasts[std::size_t(I)];
        if (YMD.month() == May && YMD.day() == day{1}) Expected = L.MayDay;
        std::string Caption = "stale";
        const bool Found = Ctl->CheckHoliday(Y, int(unsigned(YMD.month())),
                                             int(unsigned(YMD.day())), Caption);
        ASSERT_EQ(Found, Expected != nullptr) << Y << "-" << unsigned(YMD.month()) << "-"
                                              << unsigned(YMD.day());
        ASSERT_EQ(Caption, Expected ? Expected : "");
      }
    }
  }
  std::string Caption;
  Ctl->SetLanguage(lgEnglish);
  EXPECT_TRUE(Ctl->CheckHoliday(2025, 6, 9, Caption));
  EXPECT_EQ(Caption, "Whit Monday");
}

TEST_F(MiniCalTest, TheListWinsAndMovableFeastsCanBeSwitchedOff) {
  std::string Caption;
  Ctl->AddHoliday(21, 4, 2025, "Bridge day");
  EXPECT_TRUE(Ctl->CheckHoliday(2025, 4, 21, Caption));
  EXPECT_EQ(Caption, "Bridge day");
  EXPECT_TRUE(Ctl->CheckHoliday(2026, 4, 6, Caption));  // Easter Monday of another year
  EXPECT_EQ(Caption, "Easter Monday");
  // Two entries on one day: the first added wins.
  Ctl->AddRepeatHoliday(3, 10, "Unity Day");
  Ctl->AddHoliday(3, 10, 2025, "Later entry");
  EXPECT_TRUE(Ctl->CheckHoliday(2025, 10, 3, Caption));
  EXPECT_EQ(Caption, "Unity Day");
  // Days that cannot exist are kept and never match, even as a spring date.
  Ctl->AddHoliday(31, 2, 2025, "Never");
  EXPECT_FALSE(Ctl->CheckHoliday(2025, 3, 51, Caption));
  EXPECT_EQ(Ctl->GetNumHolidays(), 12);

  Ctl->SetShowMovableHolidays(false);
  EXPECT_FALSE(Ctl->CheckHoliday(2026, 4, 6, Caption));
  EXPECT_EQ(Caption, "");
  EXPECT_TRUE(Ctl->CheckHoliday(2025, 4, 21, Caption));
  EXPECT_TRUE(Ctl->CheckHoliday(1999, 12, 25, Caption));

  Ctl->ClearHolidayList();
  EXPECT_EQ(Ctl->GetNumHolidays(), 0);
  EXPECT_FALSE(Ctl->CheckHoliday(1999, 12, 25, Caption));
  int Day = 7, Month = 7, Year = 7;
  bool Repeat = true;
  std::string Text = "kept";
  EXPECT_FALSE(Ctl->RetrieveHoliday(1, Day, Month, Year, Repeat, Text));
  EXPECT_EQ(std::tuple(Day, Month, Year, Repeat, Text), std::tuple(7, 7, 7, true, "kept"));
  Ctl->SetShowMovableHolidays(true);
  EXPECT_TRUE(Ctl->CheckHoliday(2025, 4, 20, Caption));  // the feasts are not in the list
}

TEST_F(MiniCalTest, RetrieveGivesTheListInOrder) {
  Ctl->AddHoliday(3, 10, 1990, "Reunification");
  Ctl->AddRepeatHoliday(14, 7, std::string(5000, 'x'));
  Ctl->AddHoliday(9, 9, TMiniCal::RepeatYear, "Counts as yearly");
  struct Case {
    int Index, Day, Month, Year;
    bool Repeat;
    std::string Caption;
  };
  for (const Case& C : {Case{1, 25, 12, -99999, true, "Christmas Day"},
                        Case{8, 1, 5, -99999, true, "Labor Day"},
                        Case{9, 3, 10, 1990, false, "Reunification"},
                        Case{10, 14, 7, -99999, true, std::string(5000, 'x')},
                        Case{11, 9, 9, -99999, true, "Counts as yearly"}}) {
    int Day = 0, Month = 0, Year = 0;
    bool Repeat = false;
    std::string Text;
    ASSERT_TRUE(Ctl->RetrieveHoliday(C.Index, Day, Month, Year, Repeat, Text)) << C.Index;
    EXPECT_EQ(std::tuple(Day, Month, Year, Repeat, Text),
              std::tuple(C.Day, C.Month, C.Year, C.Repeat, C.Caption));
  }
  int Day = 0, Month = 0, Year = 0;
  bool Repeat = false;
  std::string Text;
  for (const int I : {0, -1, 12, INT_MAX})
    EXPECT_FALSE(Ctl->RetrieveHoliday(I, Day, Month, Year, Repeat, Text)) << I;
}

TEST_F(MiniCalTest, LanguageResetsTheListAndAnyValueFallsBackToEnglish) {
  std::string Caption;
  Ctl->AddRepeatHoliday(3, 10, "Unity Day");
  Ctl->SetLanguage(lgEnglish);  // the same language again drops it too
  EXPECT_EQ(Ctl->GetNumHolidays(), 8);
  EXPECT_FALSE(Ctl->CheckHoliday(2025, 10, 3, Caption));
  struct Case {
    TLanguage Lang;
    const char* Christmas;
    const char* Boxing;
  };
  for (const Case C : {Case{lgGerman, "Weihnachten", "Stephanitag"},
                       {lgFrench, "Noël", "Jour de boxe"},
                       {lgSpanish, "Navidad", "Día de San Esteban"},
                       {TLanguage(0), "Christmas Day", "Boxing Day"},
                       {TLanguage(5), "Christmas Day", "Boxing Day"},
                       {TLanguage(255), "Christmas Day", "Boxing Day"}}) {
    Ctl->SetLanguage(C.Lang);
    EXPECT_EQ(Ctl->GetLanguage(), C.Lang);
    EXPECT_TRUE(Ctl->CheckHoliday(2030, 12, 25, Caption));
    EXPECT_EQ(Caption, C.Christmas);
    EXPECT_TRUE(Ctl->CheckHoliday(2030, 12, 26, Caption));
    EXPECT_EQ(Caption, C.Boxing);
    EXPECT_TRUE(Ctl->CheckHoliday(2025, 6, 9, Caption));
    (void)D.Capture(*Ctl);  // names from the core's tables paint for every value
  }
  EXPECT_EQ(Changes, 0);  // Language fires no event
}

TEST_F(MiniCalTest, HintIsTheSelectedHolidaysCaption) {
  Ctl->SetLanguage(lgGerman);
  Ctl->SetHint("host text");
  Ctl->SetShowHint(false);
  Ctl->SetShowHolidayHint(true);
  EXPECT_TRUE(Ctl->GetShowHint());
  EXPECT_EQ(Ctl->GetHint(), "");
  Ctl->SetDate(EncodeDate(2025, 12, 25));
  EXPECT_EQ(Ctl->GetHint(), "Weihnachten");
  Ctl->SetDate(EncodeDate(2025, 6, 9));
  EXPECT_EQ(Ctl->GetHint(), "Pfingstmontag");
  Ctl->SetIndicateHolidays(false);
  EXPECT_EQ(Ctl->GetHint(), "");
  Ctl->SetIndicateHolidays(true);
  Ctl->SetDate(EncodeDate(2025, 6, 10));
  EXPECT_EQ(Ctl->GetHint(), "");
  // Off: the hint is cleared once and then left to the host.
  Ctl->SetShowHolidayHint(false);
  Ctl->SetHint("host text");
  Ctl->SetDate(EncodeDate(2025, 12, 25));
  EXPECT_EQ(Ctl->GetHint(), "host text");
}

TEST_F(MiniCalTest, MonthAndYearStepsClampTheDay) {
  struct Case {
    int Y, M, D;
    void (TMiniCal::*Step)();
    int EY, EM, ED, Events;
  };
  for (const Case C : {Case{2024, 1, 31, &TMiniCal::NextMonth, 2024, 2, 29, 1},
                       {2100, 1, 31, &TMiniCal::NextMonth, 2100, 2, 28, 1},
                       {2024, 3, 31, &TMiniCal::PrevMonth, 2024, 2, 29, 1},
                       {2024, 12, 15, &TMiniCal::NextMonth, 2025, 1, 15, 1},
                       {2024, 1, 15, &TMiniCal::PrevMonth, 2023, 12, 15, 1},
                       {2024, 2, 29, &TMiniCal::NextYear, 2025, 2, 28, 2},
                       {2000, 2, 29, &TMiniCal::NextYear, 2001, 2, 28, 2},
                       {2024, 2, 29, &TMiniCal::PrevYear, 2023, 2, 28, 2},
                       {2024, 2, 28, &TMiniCal::NextYear, 2025, 2, 28, 1},
                       {2024, 4, 3, &TMiniCal::LastDayOfMonth, 2024, 4, 30, 1}}) {
    Select(C.Y, C.M, C.D);
    (Ctl->*C.Step)();
    EXPECT_EQ(Parts(), std::tuple(C.EY, C.EM, C.ED, 0)) << C.Y << "-" << C.M << "-" << C.D;
    EXPECT_EQ(Changes, C.Events) << C.Y << "-" << C.M << "-" << C.D;
  }
  // Months keep the time of day; years go through the part writes, which drop it.
  Ctl->SetDate(EncodeDateTime(2024, 1, 31, 15, 30, 0));
  Ctl->NextMonth();
  EXPECT_EQ(Parts(), std::tuple(2024, 2, 29, 55800000));
  Ctl->NextYear();
  EXPECT_EQ(Parts(), std::tuple(2025, 2, 28, 0));
}

TEST_F(MiniCalTest, PartWritesLeaveOrRaise) {
  struct Case {
    int Y, M, D;
    void (TMiniCal::*Set)(int);
    int Value;
    bool Raises;
  };
  for (const Case C : {Case{2025, 4, 10, &TMiniCal::SetMonth, 0, false},
                       {2025, 4, 10, &TMiniCal::SetMonth, 13, false},
                       {2025, 4, 10, &TMiniCal::SetDay, 0, false},
                       {2025, 4, 10, &TMiniCal::SetDay, 31, false},
                       {2025, 4, 10, &TMiniCal::SetYear, 0, false},
                       {2025, 3, 31, &TMiniCal::SetMonth, 4, true},
                       {2024, 2, 29, &TMiniCal::SetYear, 2025, true},
                       {2024, 2, 29, &TMiniCal::SetYear, 10000, true}}) {
    Ctl->SetDate(EncodeDateTime(C.Y, C.M, C.D, 12, 0, 0));
    Changes = 0;
    if (C.Raises) {
      EXPECT_THROW((Ctl->*C.Set)(C.Value), EConvertError);
      EXPECT_EQ(Parts(), std::tuple(C.Y, C.M, C.D, 43200000));
      EXPECT_EQ(Changes, 0);
    } else {
      (Ctl->*C.Set)(C.Value);
      EXPECT_EQ(Parts(), std::tuple(C.Y, C.M, C.D, 0)) << C.Value;
      EXPECT_EQ(Changes, 1);
    }
  }
  Select(2025, 4, 10);
  Ctl->SetYear(1);
  Ctl->SetMonth(12);
  Ctl->SetDay(31);
  EXPECT_EQ(Parts(), std::tuple(1, 12, 31, 0));
  EXPECT_EQ(Changes, 3);
}

TEST_F(MiniCalTest, StepsOffTheRangeDoNothing) {
  struct Case {
    int Y, M, D;
    void (TMiniCal::*Step)();
  };
  for (const Case C : {Case{9999, 12, 31, &TMiniCal::NextMonth},
                       {9999, 12, 1, &TMiniCal::NextMonth},
                       {9999, 1, 1, &TMiniCal::NextYear},
                       {9999, 6, 30, &TMiniCal::NextYear},
                       {1, 1, 1, &TMiniCal::PrevMonth},
                       {1, 1, 31, &TMiniCal::PrevMonth},
                       {1, 12, 31, &TMiniCal::PrevYear}}) {
    Select(C.Y, C.M, C.D);
    (Ctl->*C.Step)();
    EXPECT_EQ(Parts(), std::tuple(C.Y, C.M, C.D, 0)) << C.Y << "-" << C.M;
    EXPECT_EQ(Changes, 0);
  }
  Select(4, 2, 29);  // year 3 is inside
  Ctl->PrevYear();
  EXPECT_EQ(Parts(), std::tuple(3, 2, 28, 0));
  EXPECT_EQ(Changes, 2);
}

TEST_F(MiniCalTest, DateWritesOutsideTheRangeAreIgnored) {
  Select(2025, 5, 5);
  const TDateTime Kept = Ctl->GetDate();
  constexpr double Inf = std::numeric_limits<double>::infinity();
  for (const double V : {std::nan(""), Inf, -Inf, 1e300, -1e300, -693594.0, 2958466.0}) {
    Ctl->SetDate(V);
    EXPECT_EQ(Ctl->GetDate(), Kept) << V;
  }
  EXPECT_EQ(Changes, 0);
  Ctl->SetDate(-693593);
  EXPECT_EQ(Parts(), std::tuple(1, 1, 1, 0));
  Ctl->SetDate(2958465.5);
  EXPECT_EQ(Parts(), std::tuple(9999, 12, 31, 43200000));
  Ctl->SetDate(-1.25);
  EXPECT_EQ(Parts(), std::tuple(1899, 12, 29, 21600000));
  Ctl->SetDate(-1.25);  // the same value still fires
  EXPECT_EQ(Changes, 4);
}

TEST_F(MiniCalTest, DefaultsAndUncheckedIndexes) {
  EXPECT_EQ(Ctl->GetDate(), Now());  // the headless wall clock
  EXPECT_EQ(std::tuple(Ctl->GetWidth(), Ctl->GetHeight()), std::tuple(300, 180));
  EXPECT_EQ(std::tuple(Ctl->GetColCount(), Ctl->GetRowCount(), Ctl->GetFixedCols(),
                       Ctl->GetFixedRows(), Ctl->GetGridLineWidth()),
            std::tuple(8, 8, 1, 2, 1));
  EXPECT_EQ(Ctl->GetScrollBars(), ssNone);
  EXPECT_FALSE(Ctl->GetDefaultDrawing());
  EXPECT_TRUE(Ctl->GetDoubleBuffered());
  EXPECT_TRUE(Ctl->GetCtl3D());
  EXPECT_EQ(Ctl->GetOptions() & (goRangeSelect | goDrawFocusSelected), goDrawFocusSelected);
  EXPECT_EQ(Ctl->GetFirstDayOfWeek(), dwMon);
  EXPECT_EQ(Ctl->GetLanguage(), lgEnglish);
  EXPECT_EQ(Ctl->GetNumHolidays(), 8);
  EXPECT_TRUE(Ctl->GetAutoSwitch() && Ctl->GetIndicateHolidays() &&
              Ctl->GetShowMovableHolidays() && Ctl->GetShowHolidayHint() &&
              Ctl->GetMarkToday() && Ctl->GetShowMonthShort());
  EXPECT_EQ((std::array{Ctl->GetColorActiveMonth(), Ctl->GetColorInactiveMonth(),
                        Ctl->GetColorWeekNoBg(), Ctl->GetColorWeekNoFg(), Ctl->GetColorDayIdBg(),
                        Ctl->GetColorDayIdFg(), Ctl->GetColorSelectedBg(),
                        Ctl->GetColorSelectedFg(), Ctl->GetColorHolidayBg(),
                        Ctl->GetColorHolidayFg(), Ctl->GetColorToday()}),
            (std::array<TColor, 11>{0x000000, 0xC0C0C0, 0xC0C0C0, 0x000000, 0xC0C0C0, 0x000000,
                                    0xD0A040, 0xFFFFFF, 0x9BD8F1, 0x0000C0, 0x0000FF}));
  for (int W = dwMon; W <= dwSun; ++W)
    EXPECT_EQ(Ctl->GetDayColors(TDayOfWeek(W)),
              W == dwSat ? 0xBBDDEEu : W == dwSun ? 0xCCEEFFu : 0xF8F8F8u);

  Ctl->SetFirstDayOfWeek(dwWed);
  Ctl->SetFirstDayOfWeek(dwWed);  // unchanged: no event
  Ctl->SetFirstDayOfWeek(TDayOfWeek(9));
  EXPECT_EQ(Ctl->GetFirstDayOfWeek(), dwWed);
  Ctl->SetDayColors(TDayOfWeek(200), 0x123456);
  EXPECT_EQ(Ctl->GetDayColors(TDayOfWeek(200)), 0u);
  Ctl->SetDayColors(TDayOfWeek(7), 0x123456);
  Ctl->SetDayColors(dwSun, 0x123456);
  EXPECT_EQ(Ctl->GetDayColors(dwSun), 0x123456u);
  EXPECT_EQ(Changes, 2);  // FirstDayOfWeek once, DayColors once
}

}  // namespace
}  // namespace kvl
