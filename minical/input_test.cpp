// TMiniCal driven as a user does: the navigation buttons, day cells with and without
// AutoSwitch, clicks that must be ignored, the keys, the range ends and the holiday hint.
#include <gtest/gtest.h>

#include <tuple>

#include "kvl/minical/minical.h"
#include "kvl/platform/hints.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class MiniCalInputTest : public TControlTest<TMiniCal> {
protected:
  int Changes = 0;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->OnChange = [this](TObject*) { ++Changes; };
    Form->Show();
    D.Settle();
  }
  void Select(int Y, int M, int Day) {
    Ctl->SetDate(EncodeDate(Y, M, Day));
    Changes = 0;
  }
  std::tuple<int, int, int> Ymd() const {
    return {Ctl->GetYear(), Ctl->GetMonth(), Ctl->GetDay()};
  }
  TPoint Centre(int C, int R) const {
    const TRect Cell = Ctl->CellRect(C, R);
    return {(Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2};
  }
  // A click in the middle of a cell, far enough in time from the last one to be a single.
  void ClickCell(int C, int R, TMouseButton Button = mbLeft) {
    D.AdvanceTime(1000);
    const TPoint P = Centre(C, R);
    D.Click(*Ctl, P.X, P.Y, Button);
  }
  void Key(std::uint16_t K) { D.Press(*Form, K); }
};

TEST_F(MiniCalInputTest, NavigationButtons) {
  struct Case {
    int Col, Row;
    int Y, M, Day;
  };
  // From 31 March 2024.
  for (const Case C : {Case{1, 0, 2023, 3, 31}, {2, 0, 2024, 2, 29}, {6, 0, 2024, 4, 30},
                       {7, 0, 2025, 3, 31}, {3, 0, 2024, 3, 31}, {5, 0, 2024, 3, 31},
                       {3, 1, 2024, 3, 31}}) {
    Select(2024, 3, 31);
    ClickCell(C.Col, C.Row);
    EXPECT_EQ(Ymd(), std::tuple(C.Y, C.M, C.Day)) << C.Col << "," << C.Row;
    EXPECT_EQ(Changes, C.Col == 3 || C.Col == 5 ? 0 : 1) << C.Col << "," << C.Row;
  }
  // A double click steps twice: each press counts.
  Select(2024, 1, 31);
  D.AdvanceTime(1000);
  const TPoint Next = Centre(6, 0);
  int DoubleClicks = 0;
  Ctl->OnDblClick = [&](TObject*) { ++DoubleClicks; };
  D.DblClick(*Ctl, Next.X, Next.Y);
  EXPECT_EQ(Ymd(), std::tuple(2024, 3, 29));
  EXPECT_EQ(DoubleClicks, 1);
  // "#" in either of its cells: today with the time.
  for (const int Row : {0, 1}) {
    Select(2000, 1, 1);
    D.Host().SetWallClock(EncodeDateTime(2026, 7, 14, 8, 30, 0));
    ClickCell(0, Row);
    EXPECT_EQ(Ymd(), std::tuple(2026, 7, 14));
    EXPECT_NEAR(Ctl->GetDate(), EncodeDateTime(2026, 7, 14, 8, 30, 1), 2.0 / 86400);
    EXPECT_EQ(Changes, 1);
  }
}

TEST_F(MiniCalInputTest, DayCellsWithAndWithoutAutoSwitch) {
  // September 2024 with a Monday start: (1, 2) is 26 August, (7, 2) the 1st, (2, 7) 1 October.
  struct Case {
    bool AutoSwitch;
    int Col, Row;
    int Y, M, Day;
  };
  for (const Case C : {Case{true, 1, 2, 2024, 8, 26}, {true, 2, 7, 2024, 10, 1},
                       {true, 7, 2, 2024, 9, 1}, {false, 1, 2, 2024, 9, 15},
                       {false, 2, 7, 2024, 9, 15}, {false, 3, 4, 2024, 9, 11}}) {
    Ctl->SetAutoSwitch(C.AutoSwitch);
    Ctl->SetDate(EncodeDateTime(2024, 9, 15, 10, 0, 0));
    Changes = 0;
    ClickCell(C.Col, C.Row);
    EXPECT_EQ(Ymd(), std::tuple(C.Y, C.M, C.Day)) << C.Col << "," << C.Row;
    const bool Moved = std::tuple(C.Y, C.M, C.Day) != std::tuple(2024, 9, 15);
    EXPECT_EQ(Changes, Moved ? 1 : 0);
    if (Moved) {
      EXPECT_EQ(Ctl->GetDate(), EncodeDate(C.Y, C.M, C.Day));  // time of day 0
    }
  }
}

TEST_F(MiniCalInputTest, ClicksOnTheEdgesRightClicksAndMovesAreIgnored) {
  Select(2024, 9, 15);
  const int W = Ctl->GetGridWidth(), H = Ctl->GetGridHeight();
  const TPoint Cell = Centre(3, 4);  // 11 September
  for (const TPoint P : {TPoint{0, Cell.Y}, TPoint{Cell.X, 0}, TPoint{W, Cell.Y},
                         TPoint{Cell.X, H}}) {
    D.AdvanceTime(1000);
    D.Click(*Ctl, P.X, P.Y);
  }
  ClickCell(3, 4, mbRight);
  EXPECT_EQ(Ymd(), std::tuple(2024, 9, 15));
  EXPECT_EQ(Changes, 0);
  int Clicks = 0;
  Ctl->OnClick = [&](TObject*) { ++Clicks; };
  ClickCell(3, 4);
  EXPECT_EQ(Ymd(), std::tuple(2024, 9, 11));
  EXPECT_EQ(Clicks, 1);
  for (const auto& [C, R] : {std::pair{5, 5}, {6, 0}, {1, 0}, {0, 1}}) {
    const TPoint P = Centre(C, R);
    D.MouseMove(*Ctl, P.X, P.Y);
  }
  D.AdvanceTime(1000);
  EXPECT_EQ(Ymd(), std::tuple(2024, 9, 11));
  EXPECT_EQ(Changes, 1);
  // A press dragged off the calendar and released there: no auto-scroll timer lives on.
  const TPoint P = Centre(4, 4);
  D.MouseDown(*Ctl, P.X, P.Y);
  D.MouseMove(*Ctl, P.X, H + 40);
  D.MouseUp(*Ctl, P.X, H + 40);
  D.AdvanceTime(2000);
  EXPECT_EQ(Ymd(), std::tuple(2024, 9, 12));
  EXPECT_EQ(Changes, 2);
}

TEST_F(MiniCalInputTest, Keys) {
  struct Case {
    bool AutoSwitch;
    std::uint16_t Key;
    bool Ctrl;
    int Y, M, Day;
  };
  // From Monday 30 September 2024.
  const auto Cursor = std::tuple(Ctl->GetCol(), Ctl->GetRow());
  for (const Case C : {Case{true, vk::Right, false, 2024, 10, 1}, {false, vk::Right, false, 2024, 9, 30},
                       {true, vk::Left, false, 2024, 9, 29}, {true, vk::Up, false, 2024, 9, 23},
                       {true, vk::Down, false, 2024, 10, 7}, {false, vk::Down, false, 2024, 9, 30},
                       {true, vk::Next, false, 2024, 10, 30}, {true, vk::Prior, false, 2024, 8, 30},
                       {true, vk::Next, true, 2025, 9, 30}, {true, vk::Prior, true, 2023, 9, 30},
                       {true, vk::Home, false, 2024, 9, 1}, {false, vk::End, false, 2024, 9, 30}}) {
    Ctl->SetAutoSwitch(C.AutoSwitch);
    Ctl->SetDate(EncodeDateTime(2024, 9, 30, 18, 0, 0));
    Changes = 0;
    if (C.Ctrl) D.KeyDown(*Form, vk::Control);
    Key(C.Key);
    if (C.Ctrl) D.KeyUp(*Form, vk::Control);
    EXPECT_EQ(Ymd(), std::tuple(C.Y, C.M, C.Day)) << C.Key << (C.Ctrl ? " with Ctrl" : "");
    const bool Moved = std::tuple(C.Y, C.M, C.Day) != std::tuple(2024, 9, 30);
    EXPECT_EQ(Changes, Moved || C.Key == vk::End ? 1 : 0) << C.Key;
  }
  // The grid's cell cursor stays where it was; Tab is left to the form.
  EXPECT_EQ(std::tuple(Ctl->GetCol(), Ctl->GetRow()), Cursor);
  EXPECT_FALSE(Ctl->WantsKey(vk::Tab, 0));
  EXPECT_TRUE(Ctl->WantsKey(vk::Left, 0));
}

TEST_F(MiniCalInputTest, NothingLeavesTheRange) {
  struct Case {
    int Y, M, Day;
    int Col, Row;        // a click, or -1
    std::uint16_t Key;  // or 0
  };
  Ctl->SetFirstDayOfWeek(dwSun);  // so that January 0001 starts with a grey day
  for (const Case C : {Case{9999, 6, 15, 7, 0, 0}, {9999, 12, 15, 6, 0, 0},
                       {9999, 12, 15, 6, 7, 0},  // a grey 1 January 10000
                       {9999, 12, 31, -1, -1, vk::Right}, {9999, 12, 31, -1, -1, vk::Down},
                       {9999, 12, 31, -1, -1, vk::Next}, {1, 6, 15, 1, 0, 0},
                       {1, 1, 15, 2, 0, 0}, {1, 1, 15, 1, 2, 0},  // a grey 31 December 0
                       {1, 1, 1, -1, -1, vk::Left}, {1, 1, 1, -1, -1, vk::Up},
                       {1, 1, 1, -1, -1, vk::Prior}}) {
    Select(C.Y, C.M, C.Day);
    if (C.Col >= 0)
      ClickCell(C.Col, C.Row);
    else
      Key(C.Key);
    EXPECT_EQ(Ymd(), std::tuple(C.Y, C.M, C.Day)) << C.Y << " " << C.Col << "," << C.Row;
    EXPECT_EQ(Changes, 0) << C.Y << " " << C.Col << "," << C.Row << " key " << C.Key;
  }
  // The clicked cells were grey days.
  Select(9999, 12, 15);
  EXPECT_EQ(Ctl->CellLook(6, 7).FontColor, Ctl->GetColorInactiveMonth());
  Select(1, 1, 15);
  EXPECT_EQ(Ctl->CellLook(1, 2).FontColor, Ctl->GetColorInactiveMonth());
}

TEST_F(MiniCalInputTest, HolidayHintShowsAfterHovering) {
  Ctl->SetLanguage(lgGerman);
  Ctl->SetShowHolidayHint(true);  // turns ShowHint on
  Ctl->SetDate(EncodeDate(2025, 12, 25));
  const TPoint P = Centre(4, 4);
  D.MouseMove(*Ctl, P.X, P.Y);
  D.AdvanceTime(Application->GetHintPause());
  ASSERT_NE(Application->GetHintWindow(), nullptr);
  EXPECT_EQ(Application->GetHintWindow()->GetHintText(), "Weihnachten");
}

}  // namespace
}  // namespace kvl
