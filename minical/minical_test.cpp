// TMiniCal's model: Easter against an independent algorithm, the holidays of four centuries in
// four languages, the list, date parts and navigation with their events, the range ends, bad
// values and unchecked indexes; the days and week numbers of every month of four centuries
// against std::chrono's calendar.
#include "kvl/minical/minical.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <limits>
#include <tuple>

#include "kvl/platform/errors.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

using namespace std::chrono;

// The anonymous Gregorian algorithm (Meeus, Jones, Butcher): Easter Sunday as month and day.
std::pair<int, int> AnonymousEaster(int Y) {
  const int A = Y % 19, B = Y / 100, C = Y % 100, D = B / 4, E = B % 4, F = (B + 8) / 25;
  const int G = (B - F + 1) / 3, H = (19 * A + B - D - G + 15) % 30, I = C / 4, K = C % 4;
  const int L = (32 + 2 * E + 2 * I - H - K) % 7, M = (A + 11 * H + 22 * L) / 451;
  return {(H + L - 7 * M + 114) / 31, (H + L - 7 * M + 114) % 31 + 1};
}

std::pair<int, int> Easter(int Year) {
  int Day = -1, Month = -1;
  CalcEasterSunday(Year, Day, Month);
  return {Month, Day};
}

class MiniCalTest : public TControlTest<TMiniCal> {
protected:
  int Changes = 0;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->OnChange = [this](TObject*) { ++Changes; };
  }
  // Year, month, day and milliseconds into the day of the selected date.
  std::tuple<int, int, int, int> Parts() const {
    const auto P = DecodeDateTime(Ctl->GetDate()).value();
    return {P.Year, P.Month, P.Day, ((P.Hour * 60 + P.Minute) * 60 + P.Second) * 1000};
  }
  void Select(int Y, int M, int D, int Hour = 0) {
    Ctl->SetDate(EncodeDateTime(Y, M, D, Hour, 0, 0));
    Changes = 0;
  }
  std::string Holiday(int Y, int M, int D) {
    std::string Caption = "stale";
    const bool Found = Ctl->CheckHoliday(Y, M, D, Caption);
    return Found == !Caption.empty() ? Caption : "disagrees";
  }
};

TEST(MiniCalEaster, MatchesAnIndependentAlgorithmVectorsAndEdges) {
  for (int Y = 1; Y <= 9999; ++Y) ASSERT_EQ(Easter(Y), AnonymousEaster(Y)) << Y;
  // clang-format off
  for (const auto& [Y, M, D] : {std::tuple{2024, 3, 31}, {2025, 4, 20}, {1981, 4, 19},
       {1954, 4, 18}, {2049, 4, 18}, {2076, 4, 19}, {1818, 3, 22}, {2285, 3, 22}, {1943, 4, 25},
       {2038, 4, 25}})  // clang-format on
    EXPECT_EQ(Easter(Y), std::pair(M, D)) << Y;
  for (const int Y : {0, -1, -2000, INT_MIN}) EXPECT_EQ(Easter(Y), std::pair(0, 0)) << Y;
  const auto [M, D] = Easter(INT_MAX);  // computed without overflow
  EXPECT_TRUE((M == 3 && D >= 22) || (M == 4 && D <= 25));
}

// Every day from March to June of four centuries and more, in each language: holidays exactly
// on the six feasts (from the test's own Easter) and on 1 May, where the list's caption wins.
TEST_F(MiniCalTest, SpringHolidaysOfFourCenturiesInFourLanguages) {
  // clang-format off
  const std::tuple<TLanguage, std::array<const char*, 7>> Languages[] = {{lgEnglish, {"Easter Day",
      "Easter Monday", "Ascension Day", "Pentecost", "Whit Monday", "Corpus Christi", "Labor Day"}},
      {lgGerman, {"Ostersonntag", "Ostermontag", "Christi Himmelfahrt", "Pfingstsonntag",
                  "Pfingstmontag", "Fronleichnam", "Tag der Arbeit"}},
      {lgFrench, {"Le jour de Pâques", "Lundi de Pâques", "Ascension du Christ",
       "Dimanche de Pentecôte", "Lundi de Pentecôte", "Corpus Christi", "Fête du Travail"}},
      {lgSpanish, {"Domingo de Resurrección", "Lunes de Pascua", "Ascensión de Cristo",
       "Domingo de Pentecostés", "Lunes de Pentecostés", "Corpus Cristi", "Día del Trabajo"}}};
  // clang-format on
  constexpr int Offsets[] = {0, 1, 39, 49, 50, 60};
  for (const auto& [Lang, Names] : Languages) {
    Ctl->SetLanguage(Lang);
    for (int Y = 1583; Y <= 4099; ++Y) {
      const auto [EM, ED] = AnonymousEaster(Y);
      const sys_days E{year{Y} / EM / ED};
      for (sys_days T{year{Y} / March / 1}; T <= sys_days{year{Y} / June / 30}; T += days{1}) {
        const year_month_day YMD{T};
        std::string Want;
        for (int I = 0; I < 6; ++I)
          if (T == E + days{Offsets[I]}) Want = Names[std::size_t(I)];
        if (YMD.month() == May && YMD.day() == day{1}) Want = Names[6];
        ASSERT_EQ(Holiday(Y, int(unsigned(YMD.month())), int(unsigned(YMD.day()))), Want)
            << Y << "-" << unsigned(YMD.month()) << "-" << unsigned(YMD.day());
      }
    }
  }
}

TEST_F(MiniCalTest, TheListComesFirstInItsOrder) {
  Ctl->AddHoliday(21, 4, 2025, "Bridge day");  // on Easter Monday 2025
  Ctl->AddRepeatHoliday(3, 10, std::string(5000, 'x'));
  Ctl->AddHoliday(3, 10, 2025, "Later entry");
  Ctl->AddHoliday(31, 2, TMiniCal::RepeatYear, "Never");  // kept, never matches
  EXPECT_EQ(Holiday(2025, 4, 21), "Bridge day");
  EXPECT_EQ(Holiday(2026, 4, 6), "Easter Monday");
  EXPECT_EQ(Holiday(2025, 10, 3), std::string(5000, 'x'));
  EXPECT_EQ(Holiday(2025, 3, 51), "");  // no spring count beyond the month
  int Day = 0, Month = 0, Year = 0;
  bool Repeat = false;
  std::string Text;
  ASSERT_TRUE(Ctl->RetrieveHoliday(12, Day, Month, Year, Repeat, Text));
  EXPECT_EQ(std::tuple(Day, Month, Year, Repeat, Text), std::tuple(31, 2, -99999, true, "Never"));
  Ctl->SetShowMovableHolidays(false);
  EXPECT_EQ(Holiday(2026, 4, 6), "");
  EXPECT_EQ(Holiday(2025, 4, 21), "Bridge day");
  Ctl->SetShowMovableHolidays(true);
  Ctl->ClearHolidayList();  // the feasts are not in the list
  EXPECT_EQ(Ctl->GetNumHolidays() + Holiday(1999, 12, 25).size(), 0u);
  EXPECT_EQ(Holiday(2025, 4, 20), "Easter Day");
  for (const int I : {0, 1, -1, INT_MAX})
    EXPECT_FALSE(Ctl->RetrieveHoliday(I, Day, Month, Year, Repeat, Text)) << I;
  EXPECT_EQ(std::tuple(Day, Month, Year, Text), std::tuple(31, 2, -99999, "Never"));
}

TEST_F(MiniCalTest, LanguageResetsTheListAndAnyValueFallsBackToEnglish) {
  Ctl->AddRepeatHoliday(3, 10, "Unity Day");
  Ctl->SetLanguage(lgEnglish);  // the same language again drops it too
  EXPECT_EQ(Ctl->GetNumHolidays(), 8);
  EXPECT_EQ(Holiday(2025, 10, 3), "");
  // clang-format off
  for (const auto& [Lang, Christmas, Boxing] : {std::tuple{lgGerman, "Weihnachten", "Stephanitag"},
       {lgFrench, "Noël", "Jour de boxe"}, {lgSpanish, "Navidad", "Día de San Esteban"},
       {TLanguage(0), "Christmas Day", "Boxing Day"}, {TLanguage(5), "Christmas Day", "Boxing Day"},
       {TLanguage(255), "Christmas Day", "Boxing Day"}}) {  // clang-format on
    Ctl->SetLanguage(Lang);
    EXPECT_EQ(Ctl->GetLanguage(), Lang);
    EXPECT_EQ(Holiday(2030, 12, 25), Christmas);
    EXPECT_EQ(Holiday(2030, 12, 26), Boxing);
    (void)D.Capture(*Ctl);  // names from the core's tables paint for every value
  }
  EXPECT_EQ(Changes, 0);
  // The hint: the selected holiday's caption while ShowHolidayHint, else left to the host.
  Ctl->SetLanguage(lgGerman);
  Ctl->SetHint("host text");
  Ctl->SetShowHolidayHint(true);
  EXPECT_EQ(std::tuple(Ctl->GetShowHint(), Ctl->GetHint()), std::tuple(true, ""));
  Ctl->SetDate(EncodeDate(2025, 12, 25));
  EXPECT_EQ(Ctl->GetHint(), "Weihnachten");
  Ctl->SetIndicateHolidays(false);
  EXPECT_EQ(Ctl->GetHint(), "");
}

TEST_F(MiniCalTest, NavigationClampsTheDayAndStopsAtTheRangeEnds) {
  // Steps: '>' NextMonth, '<' PrevMonth, '+' NextYear, '-' PrevYear, 'L' LastDayOfMonth.
  // clang-format off
  struct Case { int Y, M, D; char Step; int EY, EM, ED, Events; };
  for (const Case C : {Case{2024, 1, 31, '>', 2024, 2, 29, 1}, {2100, 1, 31, '>', 2100, 2, 28, 1},
       {2024, 3, 31, '<', 2024, 2, 29, 1}, {2024, 12, 15, '>', 2025, 1, 15, 1},
       {2024, 2, 29, '+', 2025, 2, 28, 2}, {2000, 2, 29, '+', 2001, 2, 28, 2},
       {4, 2, 29, '-', 3, 2, 28, 2}, {2024, 2, 28, '+', 2025, 2, 28, 1},
       {2024, 4, 3, 'L', 2024, 4, 30, 1}, {9999, 12, 31, '>', 9999, 12, 31, 0},
       {9999, 6, 30, '+', 9999, 6, 30, 0}, {1, 1, 31, '<', 1, 1, 31, 0},
       {1, 12, 31, '-', 1, 12, 31, 0}}) {  // clang-format on
    Select(C.Y, C.M, C.D);
    C.Step == '>'   ? Ctl->NextMonth()
    : C.Step == '<' ? Ctl->PrevMonth()
    : C.Step == '+' ? Ctl->NextYear()
    : C.Step == '-' ? Ctl->PrevYear()
                    : Ctl->LastDayOfMonth();
    EXPECT_EQ(Parts(), std::tuple(C.EY, C.EM, C.ED, 0)) << C.Y << "-" << C.M << "-" << C.D;
    EXPECT_EQ(Changes, C.Events) << C.Y << "-" << C.M << "-" << C.D;
  }
  Select(2024, 1, 31, 15);  // months keep the time of day; years drop it
  Ctl->NextMonth();
  EXPECT_EQ(Parts(), std::tuple(2024, 2, 29, 54000000));
  Ctl->NextYear();
  EXPECT_EQ(Parts(), std::tuple(2025, 2, 28, 0));
}

TEST_F(MiniCalTest, PartWritesLeaveOrRaise) {
  // clang-format off
  for (const auto& [Y, M, D, Part, Value, Raises] : {std::tuple{2025, 4, 10, 'M', 0, false},
       {2025, 4, 10, 'M', 13, false}, {2025, 4, 10, 'D', 0, false},
       {2025, 4, 10, 'D', 31, false}, {2025, 4, 10, 'Y', 0, false}, {2025, 3, 31, 'M', 4, true},
       {2024, 2, 29, 'Y', 2025, true}, {2024, 2, 29, 'Y', 10000, true}}) {  // clang-format on
    Select(Y, M, D, 12);
    const auto Write = [&, P = Part, V = Value] {
      P == 'D' ? Ctl->SetDay(V) : P == 'M' ? Ctl->SetMonth(V) : Ctl->SetYear(V);
    };
    if (Raises) {
      EXPECT_THROW(Write(), EConvertError);
    } else {
      Write();
    }
    EXPECT_EQ(Parts(), std::tuple(Y, M, D, Raises ? 43200000 : 0)) << Value;
    EXPECT_EQ(Changes, Raises ? 0 : 1) << Value;
  }
}

TEST_F(MiniCalTest, DateWritesOutsideTheRangeAreIgnored) {
  Select(2025, 5, 5);
  constexpr double Inf = std::numeric_limits<double>::infinity();
  for (const double V : {std::nan(""), Inf, -Inf, 1e300, -1e300, -693594.0, 2958466.0}) {
    Ctl->SetDate(V);
    EXPECT_EQ(Parts(), std::tuple(2025, 5, 5, 0)) << V;
  }
  Ctl->SetDate(-693593);
  EXPECT_EQ(Parts(), std::tuple(1, 1, 1, 0));
  Ctl->SetDate(2958465.5);
  EXPECT_EQ(Parts(), std::tuple(9999, 12, 31, 43200000));
  Ctl->SetDate(-1.25);
  Ctl->SetDate(-1.25);  // fires again; the ignored values fired nothing
  EXPECT_EQ(std::tuple(Parts(), Changes), std::tuple(std::tuple(1899, 12, 29, 21600000), 4));
}

TEST_F(MiniCalTest, StartsTodayAndIgnoresUncheckedIndexes) {
  EXPECT_EQ(Ctl->GetDate(), Now());  // the headless wall clock
  Ctl->SetFirstDayOfWeek(dwWed);
  Ctl->SetFirstDayOfWeek(dwWed);  // unchanged: no event
  Ctl->SetFirstDayOfWeek(TDayOfWeek(9));
  EXPECT_EQ(Ctl->GetFirstDayOfWeek(), dwWed);
  for (const int I : {200, 7, 6}) Ctl->SetDayColors(TDayOfWeek(I), 0x123456);
  EXPECT_EQ(std::pair(Ctl->GetDayColors(TDayOfWeek(200)), Ctl->GetDayColors(dwSun)),
            std::pair(0u, 0x123456u));
  EXPECT_EQ(Changes, 2);  // FirstDayOfWeek once, DayColors once
}

std::string Num(long long V) { return std::to_string(V); }

// ISO week by std::chrono: the days from 1 January of the year of D's Thursday, over 7.
std::string IsoWeek(sys_days D) {
  const sys_days Thursday = D - days{int(weekday{D}.iso_encoding()) - 4};
  return Num((Thursday - sys_days{year_month_day{Thursday}.year() / 1 / 1}).count() / 7 + 1);
}

// Every day cell and week number of the shown month: the first text that differs, or "".
std::string Mismatch(const TMiniCal& Cal, year_month YM, TDayOfWeek Start) {
  const sys_days First{YM / 1};
  const sys_days Cell0 = First - days{(int(weekday{First}.iso_encoding()) + 6 - Start) % 7};
  for (int R = 2; R <= 7; ++R) {
    const sys_days Row = Cell0 + days{7 * (R - 2)};
    for (int C = 0; C <= 7; ++C)
      if (Cal.CellLook(C, R).Text != (C == 0
                                          ? IsoWeek(Row + days{(dwThu - Start + 7) % 7})
                                          : Num(unsigned(year_month_day{Row + days{C - 1}}.day()))))
        return "cell " + Num(C) + "," + Num(R) + " shows " + Cal.CellLook(C, R).Text;
  }
  return "";
}

TEST_F(MiniCalTest, EveryMonthOfFourCenturiesAndTheRangeEndsWithEveryFirstWeekday) {
  for (int Start = dwMon; Start <= dwSun; ++Start) {
    Ctl->SetFirstDayOfWeek(TDayOfWeek(Start));
    for (int Y = 1583; Y <= 4099; ++Y) {
      for (unsigned M = 1; M <= 12; ++M) {
        Ctl->SetDate(EncodeDate(Y, int(M), 15));
        ASSERT_EQ(Mismatch(*Ctl, year{Y} / month{M}, TDayOfWeek(Start)), "")
            << Y << "-" << M << " " << Start;
      }
    }
    // The ends show the days and weeks of year 0 and year 10000.
    for (const year_month YM : {year{1} / 1, year{9999} / 12}) {
      Ctl->SetDate(EncodeDate(int(YM.year()), int(unsigned(YM.month())), 1));
      EXPECT_EQ(Mismatch(*Ctl, YM, TDayOfWeek(Start)), "") << int(YM.year()) << " " << Start;
      (void)D.Capture(*Ctl);
    }
  }
  // Sunday start: 1 ... 7 September 2024 in week 36; 29 September ... 5 October in week 40 in
  // the September and in the October view.
  Ctl->SetFirstDayOfWeek(dwSun);
  Ctl->SetDate(EncodeDate(2024, 9, 10));
  EXPECT_EQ(Ctl->CellLook(0, 2).Text + Ctl->CellLook(1, 6).Text + Ctl->CellLook(0, 6).Text,
            "362940");
  Ctl->SetDate(EncodeDate(2024, 10, 10));
  EXPECT_EQ(Ctl->CellLook(1, 2).Text + Ctl->CellLook(0, 2).Text, "2940");
}

TEST_F(MiniCalTest, DayOneLiesAtItsWeekday) {
  Ctl->SetIndicateHolidays(false);  // 1 January is a holiday
  // January 2024 starts on a Monday, September 2024 on a Sunday.
  for (const auto& [M, Col] : {std::pair{1, 1}, {9, 7}}) {
    Ctl->SetDate(EncodeDate(2024, M, 20));
    EXPECT_EQ(std::tuple(Ctl->CellLook(Col, 2).Text, Ctl->CellLook(Col, 2).FontColor),
              std::tuple("1", Ctl->GetColorActiveMonth()));
  }
  for (int C = 1; C <= 6; ++C)  // September: 26 to 31 August in grey
    EXPECT_EQ(std::tuple(Ctl->CellLook(C, 2).Text, Ctl->CellLook(C, 2).FontColor),
              std::tuple(Num(25 + C), Ctl->GetColorInactiveMonth()));
}

}  // namespace
}  // namespace kvl
