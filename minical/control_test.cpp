// TMiniCal on a form, driven and looked at as a user does: the buttons, day cells with and
// without AutoSwitch, clicks that must be ignored, the keys, the range ends and the holiday
// hint; size handling, the button frames, the looks of the cells, the today ring across
// midnight, and reviewed pictures.
#include <gtest/gtest.h>

#include <tuple>

#include "kvl/core/kvlcolors.h"
#include "kvl/minical/minical.h"
#include "kvl/platform/hints.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class MiniCalControlTest : public TControlTest<TMiniCal> {
protected:
  int Changes = 0;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->OnChange = [this](TObject*) { ++Changes; };
    Form->Show();
  }
  void Select(int Y, int M, int Day, bool AutoSwitch = true) {
    Ctl->SetAutoSwitch(AutoSwitch);
    Ctl->SetDate(EncodeDateTime(Y, M, Day, 18, 0, 0));
    Changes = 0;
  }
  std::tuple<int, int, int> Ymd() const { return {Ctl->GetYear(), Ctl->GetMonth(), Ctl->GetDay()}; }
  TPoint Centre(int C, int R) const {
    const TRect Cell = Ctl->CellRect(C, R);
    return {(Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2};
  }
  // A single click in the middle of a cell (a second apart from the last, so no double click).
  void ClickAt(TPoint P, TMouseButton Button = mbLeft) {
    D.AdvanceTime(1000);
    D.Click(*Ctl, P.X, P.Y, Button);
  }
  void ClickCell(int C, int R, TMouseButton Button = mbLeft) { ClickAt(Centre(C, R), Button); }
  // A fresh picture, and one of its pixels at client coordinates (inside the border).
  TBitmap Shot() {
    Ctl->Invalidate();
    return D.Capture(*Ctl);
  }
  TColor Client(const TBitmap& Shot, int X, int Y) {
    return PixelOf(Shot, X + (Ctl->GetCtl3D() ? 2 : 1), Y + (Ctl->GetCtl3D() ? 2 : 1));
  }
};

TEST_F(MiniCalControlTest, ButtonsAndDayCells) {
  // From 31 March 2024: "<<", "<", ">", ">>", the title, a weekday name.
  // clang-format off
  for (const auto& [C, R, Want] : {std::tuple{1, 0, std::tuple(2023, 3, 31)},
       {2, 0, std::tuple(2024, 2, 29)}, {6, 0, std::tuple(2024, 4, 30)},
       {7, 0, std::tuple(2025, 3, 31)}, {4, 0, std::tuple(2024, 3, 31)},
       {3, 1, std::tuple(2024, 3, 31)}}) {  // clang-format on
    Select(2024, 3, 31);
    ClickCell(C, R);
    EXPECT_EQ(Ymd(), Want) << C << "," << R;
    EXPECT_EQ(Changes, C == 4 || R == 1 ? 0 : 1) << C << "," << R;
  }
  // September 2024, Monday start: (1, 2) is 26 August, (2, 7) 1 October, (3, 4) the 11th.
  // clang-format off
  for (const auto& [Auto, C, R, Want] : {std::tuple{true, 1, 2, std::tuple(2024, 8, 26)},
       {true, 2, 7, std::tuple(2024, 10, 1)}, {false, 1, 2, std::tuple(2024, 9, 15)},
       {false, 2, 7, std::tuple(2024, 9, 15)}, {false, 3, 4, std::tuple(2024, 9, 11)}}) {
    // clang-format on
    Select(2024, 9, 15, Auto);
    ClickCell(C, R);
    EXPECT_EQ(Ymd(), Want) << C << "," << R;
    EXPECT_EQ(Changes, Want != std::tuple(2024, 9, 15));
    EXPECT_EQ(Ctl->GetDate(), EncodeDate(Ctl->GetYear(), Ctl->GetMonth(), Ctl->GetDay()) +
                                  (Changes ? 0 : 0.75));  // a click sets the time to 0
  }
  Select(2024, 1, 31);  // a double click steps twice
  D.AdvanceTime(1000);
  D.DblClick(*Ctl, Centre(6, 0).X, Centre(6, 0).Y);
  EXPECT_EQ(Ymd(), std::tuple(2024, 3, 29));
  for (const int Row : {0, 1}) {  // "#" in either of its cells: now, with the time
    Select(2000, 1, 1);
    D.Host().SetWallClock(EncodeDateTime(2026, 7, 14, 8, 30, 0));
    ClickCell(0, Row);
    EXPECT_NEAR(Ctl->GetDate(), EncodeDateTime(2026, 7, 14, 8, 30, 1), 1e-6);
  }
}

TEST_F(MiniCalControlTest, KeysMoveTheSelectionWithinTheRange) {
  const auto Cursor = std::tuple(Ctl->GetCol(), Ctl->GetRow());
  // From Monday 30 September 2024 with and without AutoSwitch, then at the range ends.
  // clang-format off
  struct Case { int Y, M, Day, Auto; std::uint16_t Key; int Ctrl, WY, WM, WD; };
  for (const Case& C : {Case{2024, 9, 30, 1, vk::Right, 0, 2024, 10, 1},
                             {2024, 9, 30, 0, vk::Right, 0, 2024, 9, 30},
                             {2024, 9, 30, 1, vk::Up, 0, 2024, 9, 23},
                             {2024, 9, 30, 1, vk::Down, 0, 2024, 10, 7},
                             {2024, 9, 30, 0, vk::Left, 0, 2024, 9, 29},
                             {2024, 9, 30, 1, vk::Next, 0, 2024, 10, 30},
                             {2024, 9, 30, 1, vk::Prior, 1, 2023, 9, 30},
                             {2024, 9, 30, 1, vk::Home, 0, 2024, 9, 1},
                             {2024, 9, 3, 1, vk::End, 0, 2024, 9, 30},
                             {9999, 12, 31, 1, vk::Right, 0, 9999, 12, 31},
                             {9999, 12, 31, 1, vk::Next, 1, 9999, 12, 31},
                             {1, 1, 1, 1, vk::Left, 0, 1, 1, 1},
                             {1, 1, 1, 1, vk::Prior, 0, 1, 1, 1}}) {  // clang-format on
    Select(C.Y, C.M, C.Day, C.Auto != 0);
    if (C.Ctrl) D.KeyDown(*Form, vk::Control);
    D.Press(*Form, C.Key);
    if (C.Ctrl) D.KeyUp(*Form, vk::Control);
    EXPECT_EQ(Ymd(), std::tuple(C.WY, C.WM, C.WD)) << C.Y << " key " << C.Key;
    EXPECT_EQ(Changes, Ymd() != std::tuple(C.Y, C.M, C.Day)) << C.Key;
  }
  EXPECT_EQ(std::tuple(Ctl->GetCol(), Ctl->GetRow()), Cursor);  // the grid's cursor never moved
  EXPECT_FALSE(Ctl->WantsKey(vk::Tab, 0));
}

TEST_F(MiniCalControlTest, ClicksThatChangeNothing) {
  // On the grid's edges, with the right button, moves without a button, past the range ends.
  Select(2024, 9, 15);
  const TPoint P = Centre(3, 4);  // 11 September
  for (const TPoint E :
       {TPoint{0, P.Y}, {P.X, 0}, {Ctl->GetGridWidth(), P.Y}, {P.X, Ctl->GetGridHeight()}})
    ClickAt(E);
  ClickCell(3, 4, mbRight);
  EXPECT_EQ(std::tuple(Ymd(), Changes), std::tuple(std::tuple(2024, 9, 15), 0));
  ClickCell(3, 4);
  for (const auto& [C, R] : {std::pair{5, 5}, {6, 0}, {1, 0}, {0, 1}})
    D.MouseMove(*Ctl, Centre(C, R).X, Centre(C, R).Y);
  EXPECT_EQ(std::tuple(Ymd(), Changes), std::tuple(std::tuple(2024, 9, 11), 1));
  Ctl->SetFirstDayOfWeek(dwSun);  // January 0001 then starts with a grey day
  // ">>", ">" and a grey 7 January 10000 in December 9999; "<<", "<" and a grey 31 December 0.
  // clang-format off
  for (const auto& [Y, M, C, R] : {std::tuple{9999, 12, 7, 0}, {9999, 12, 6, 0}, {9999, 12, 6, 7},
       {9999, 6, 7, 0}, {1, 1, 1, 0}, {1, 1, 2, 0}, {1, 1, 1, 2}}) {  // clang-format on
    Select(Y, M, 15);
    ClickCell(C, R);
    EXPECT_EQ(std::tuple(Ymd(), Changes), std::tuple(std::tuple(Y, M, 15), 0)) << C << "," << R;
  }
}

TEST_F(MiniCalControlTest, HolidayHintShowsAfterHovering) {
  Ctl->SetLanguage(lgGerman);
  Ctl->SetShowHolidayHint(true);  // turns ShowHint on
  Ctl->SetDate(EncodeDate(2025, 12, 25));
  D.MouseMove(*Ctl, Centre(4, 4).X, Centre(4, 4).Y);
  D.AdvanceTime(Application->GetHintPause());
  ASSERT_NE(Application->GetHintWindow(), nullptr);
  EXPECT_EQ(Application->GetHintWindow()->GetHintText(), "Weihnachten");
}

TEST_F(MiniCalControlTest, SizesShareTheClientArea) {
  // clang-format off
  for (const auto& [W, H, Ctl3D, Sizes] : {std::tuple{300, 180, true, std::tuple(21, 36, 21, 36)},
       {330, 200, true, std::tuple(27, 45, 23, 39)},
       {300, 180, false, std::tuple(24, 39, 21, 36)}}) {
    // clang-format on
    Ctl->SetCtl3D(Ctl3D);
    Ctl->SetBounds(0, 0, W, H);
    EXPECT_EQ(std::tuple(Ctl->GetRowHeights(0), Ctl->GetColWidths(0), Ctl->GetRowHeights(7),
                         Ctl->GetColWidths(7)),
              Sizes);
  }
  // Too small to share: nothing is negative, and painting and clicking still work.
  Ctl->SetCtl3D(true);
  for (const auto& [W, H] : {std::pair{1, 1}, {10, 10}, {40, 30}}) {
    Ctl->SetBounds(0, 0, W, H);
    for (int I = 0; I < 8; ++I) EXPECT_GE(std::min(Ctl->GetRowHeights(I), Ctl->GetColWidths(I)), 0);
    EXPECT_EQ(Shot().GetWidth(), W);
    D.AdvanceTime(1000);
    D.Click(*Ctl, W / 2, H / 2);
  }
}

TEST_F(MiniCalControlTest, ButtonFramesAndSpanningButtons) {
  const TColor Face = ColorToRGB(clBtnFace);
  // "<<" in cell (1, 0): left 37, right 73 (its grid line), top 0, bottom 21. The title starts
  // at cell 3 and covers the lines at 147 and 184; "#" covers (0, 0), (0, 1) and the line at 21.
  const TBitmap B = Shot();
  // clang-format off
  for (const auto& [X, Y, Color] : {std::tuple{37, 10, clWhite}, {50, 0, clWhite},
       {73, 10, 0x686868u}, {50, 21, 0x686868u}, {72, 10, 0x9CA0A5u}, {50, 20, 0x9CA0A5u},
       {38, 10, 0xE6E2E2u}, {50, 1, 0xE6E2E2u}, {111, 10, clWhite}, {147, 18, Face},
       {184, 18, Face}, {0, 30, clWhite}, {3, 21, Face}, {36, 30, 0x686868u},
       {20, 43, 0x686868u}})  // clang-format on
    EXPECT_EQ(Client(B, X, Y), Color) << X << "," << Y;
  Ctl->SetCtl3D(false);  // a one-pixel border and no frames
  const TBitmap Flat = Shot();
  const TRect R = Ctl->CellRect(1, 0);
  EXPECT_EQ(std::tuple(Client(Flat, R.Left, 10), Client(Flat, R.Left + 1, 10),
                       Client(Flat, R.Right - 1, 10), Client(Flat, 10, R.Bottom - 1)),
            std::tuple(Face, Face, Face, Face));
}

TEST_F(MiniCalControlTest, CellLooks) {
  // May 2025, Monday start: the 1st (Labor Day, a Thursday) in (4, 2); Ascension Day the 29th.
  Ctl->SetDate(EncodeDate(2025, 5, 29));
  Ctl->SetDayColors(dwSat, 0x00AA00);
  const TColor Mean = MeanColor(Ctl->GetColorSelectedBg(), Ctl->GetColorHolidayBg());
  const TColor Grey = Ctl->GetColorInactiveMonth(), Black = Ctl->GetColorActiveMonth();
  // clang-format off
  for (const auto& [C, R, Text, Font, Brush] : {std::tuple{1, 2, "28", Grey, 0xF8F8F8u},
       {4, 2, "1", 0x0000C0u, 0x9BD8F1u}, {6, 2, "3", Black, 0x00AA00u},
       {7, 2, "4", Black, 0xCCEEFFu}, {4, 6, "29", 0xFFFFFFu, Mean}, {7, 6, "1", Grey, 0xCCEEFFu},
       {1, 1, "Mon", 0u, 0xC0C0C0u}, {0, 2, "18", 0u, 0xC0C0C0u}, {5, 0, "May 2025", 0u, clBtnFace},
       {1, 0, "<<", 0u, clBtnFace}, {0, 1, "#", 0u, clBtnFace}}) {  // clang-format on
    const TMiniCalCellLook L = Ctl->CellLook(C, R);
    EXPECT_EQ(std::tuple(L.Text, L.FontColor, L.BrushColor), std::tuple(Text, Font, Brush))
        << C << "," << R;
  }
  for (const int C : {0, 3, 4}) EXPECT_EQ(Ctl->CellLook(C, 0).Kind, TMiniCalCellLook::ckNothing);
  Ctl->SetIndicateHolidays(false);
  Ctl->SetShowMonthShort(false);
  Ctl->SetLanguage(lgFrench);
  EXPECT_EQ(Ctl->CellLook(4, 2).BrushColor, 0xF8F8F8u);
  EXPECT_EQ(Ctl->CellLook(5, 0).Text, "Mai 2025");
  // The painted backgrounds follow the looks (a corner of each cell, away from the text).
  const TBitmap B = Shot();
  for (const auto& [C, R] : {std::pair{1, 2}, {6, 3}, {7, 4}, {5, 2}, {1, 1}, {0, 5}}) {
    const TRect Cell = Ctl->CellRect(C, R);
    EXPECT_EQ(Client(B, Cell.Left + 1, Cell.Top + 1), ColorToRGB(Ctl->CellLook(C, R).BrushColor));
  }
}

TEST_F(MiniCalControlTest, TodaysRingMovesAtMidnight) {
  D.Host().SetWallClock(EncodeDateTime(2024, 9, 10, 23, 59, 50));
  Ctl->SetDate(EncodeDate(2024, 9, 20));
  // Monday start: 10 September in (2, 4), the 11th in (3, 4). The left edge of each ring:
  const auto Rings = [this] {
    const TBitmap B = Shot();
    const TRect Ten = Ctl->CellRect(2, 4), Eleven = Ctl->CellRect(3, 4);
    const int Y = (Ten.Top + Ten.Bottom) / 2;
    return std::pair(Client(B, Ten.Left + 2, Y) == Ctl->GetColorToday(),
                     Client(B, Eleven.Left + 2, Y) == Ctl->GetColorToday());
  };
  EXPECT_EQ(Rings(), std::pair(true, false));
  D.AdvanceTime(20000);
  EXPECT_EQ(Rings(), std::pair(false, true));
}

// One calendar per language and per first weekday, as reviewed.
TEST_F(MiniCalControlTest, LooksAsReviewed) {
  D.Host().SetWallClock(EncodeDateTime(2025, 5, 14, 12, 0, 0));
  Form->SetBounds(0, 0, 1240, 380);
  delete Ctl;
  const auto Place = [this](int I, TLanguage Lang, TDayOfWeek Start, TDateTime Date) {
    auto* C = new TMiniCal(Form);
    C->SetParent(Form);
    C->SetBounds(I % 4 * 310, I / 4 * 190, 300, 180);
    C->SetLanguage(Lang);
    C->SetFirstDayOfWeek(Start);
    C->SetDate(Date);
  };
  int I = 0;  // clang-format off
  for (const auto& [Lang, Y, M, Day] : {std::tuple{lgEnglish, 2025, 12, 25},
       {lgGerman, 2025, 5, 29}, {lgFrench, 2025, 4, 21}, {lgSpanish, 2025, 6, 9}}) // clang-format on
    Place(I++, Lang, dwMon, EncodeDate(Y, M, Day));
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/languages.png"));
  while (Form->GetControlCount() > 0) delete Form->GetControls(0);
  for (int S = dwMon; S <= dwSun; ++S) Place(S, lgEnglish, TDayOfWeek(S), EncodeDate(2024, 9, 30));
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/first_weekdays.png"));
}

}  // namespace
}  // namespace kvl
