// TMiniCal pixels: size handling, the button frames and spanning buttons, the looks of day
// cells, the today ring across midnight, small sizes, and reviewed pictures.
#include <gtest/gtest.h>

#include <tuple>

#include "kvl/core/kvlcolors.h"
#include "kvl/minical/minical.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class MiniCalPaintTest : public TControlTest<TMiniCal> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Form->Show();
  }
  // A pixel at client coordinates (the border is 2 pixels with Ctl3D).
  TColor Client(const TBitmap& Shot, int X, int Y) {
    const int B = Ctl->GetCtl3D() ? 2 : 1;
    return PixelOf(Shot, X + B, Y + B);
  }
  TBitmap Shot() {
    Ctl->Invalidate();
    return D.Capture(*Ctl);
  }
};

TEST_F(MiniCalPaintTest, SizesShareTheClientArea) {
  struct Case {
    int W, H;
    bool Ctl3D;
    int Row0, Col0, Row, Col;
  };
  for (const Case C : {Case{300, 180, true, 21, 36, 21, 36}, {330, 200, true, 27, 45, 23, 39},
                       {300, 180, false, 24, 39, 21, 36}}) {
    Ctl->SetCtl3D(C.Ctl3D);
    Ctl->SetBounds(0, 0, C.W, C.H);
    EXPECT_EQ(std::tuple(Ctl->GetRowHeights(0), Ctl->GetColWidths(0), Ctl->GetRowHeights(7),
                         Ctl->GetColWidths(7), Ctl->GetRowHeights(1), Ctl->GetColWidths(1)),
              std::tuple(C.Row0, C.Col0, C.Row, C.Col, C.Row, C.Col))
        << C.W << "x" << C.H;
  }
  // Too small to share: nothing is negative, and painting and clicking still work.
  Ctl->SetCtl3D(true);
  Ctl->SetDate(EncodeDate(2024, 5, 5));
  for (const auto& [W, H] : {std::pair{1, 1}, {10, 10}, {40, 30}}) {
    Ctl->SetBounds(0, 0, W, H);
    for (int I = 0; I < 8; ++I) {
      EXPECT_GE(Ctl->GetRowHeights(I), 0) << W << "x" << H;
      EXPECT_GE(Ctl->GetColWidths(I), 0) << W << "x" << H;
    }
    const TBitmap B = Shot();
    EXPECT_EQ(std::tuple(B.GetWidth(), B.GetHeight()), std::tuple(W, H));
    D.AdvanceTime(1000);
    D.Click(*Ctl, W / 2, H / 2);
  }
}

TEST_F(MiniCalPaintTest, ButtonFramesAndSpanningButtons) {
  const TBitmap B = Shot();
  // "<<" in cell (1, 0): left 37, right 73 (its grid line), top 0, bottom 21.
  struct Pixel {
    int X, Y;
    TColor Color;
  };
  for (const Pixel P : {Pixel{37, 10, clWhite}, {50, 0, clWhite}, {73, 10, 0x686868},
                        {50, 21, 0x686868}, {72, 10, 0x9CA0A5}, {50, 20, 0x9CA0A5},
                        {38, 10, 0xE6E2E2}, {50, 1, 0xE6E2E2},
                        // the title starts at cell 3 and covers the lines between 3, 4, 5
                        {111, 10, clWhite}, {147, 18, ColorToRGB(clBtnFace)},
                        {184, 18, ColorToRGB(clBtnFace)},
                        // "#" covers (0, 0), (0, 1) and the line between them
                        {0, 30, clWhite}, {3, 21, ColorToRGB(clBtnFace)},
                        {36, 30, 0x686868}, {20, 43, 0x686868}})
    EXPECT_EQ(Client(B, P.X, P.Y), P.Color) << P.X << "," << P.Y;
  // Without Ctl3D: a one-pixel border and no frames.
  Ctl->SetCtl3D(false);
  const TBitmap Flat = Shot();
  const int L = Ctl->CellRect(1, 0).Left;
  EXPECT_EQ(Client(Flat, L, 10), ColorToRGB(clBtnFace));
  EXPECT_EQ(Client(Flat, L + 1, 10), ColorToRGB(clBtnFace));
  EXPECT_EQ(Client(Flat, 2, 2), ColorToRGB(clBtnFace));
}

TEST_F(MiniCalPaintTest, CellLooks) {
  // May 2025, Monday start: the 1st (Labor Day, a Thursday) in (4, 2); Ascension Day the 29th.
  Ctl->SetDate(EncodeDate(2025, 5, 29));
  Ctl->SetDayColors(dwSat, 0x00AA00);
  const TColor Mean = MeanColor(Ctl->GetColorSelectedBg(), Ctl->GetColorHolidayBg());
  struct Case {
    int Col, Row;
    const char* Text;
    TColor Font, Brush;
  };
  const Case Cases[] = {
      {1, 2, "28", Ctl->GetColorInactiveMonth(), 0xF8F8F8},        // 28 April
      {4, 2, "1", Ctl->GetColorHolidayFg(), Ctl->GetColorHolidayBg()},
      {5, 2, "2", Ctl->GetColorActiveMonth(), 0xF8F8F8},
      {6, 2, "3", Ctl->GetColorActiveMonth(), 0x00AA00},           // Saturday
      {7, 2, "4", Ctl->GetColorActiveMonth(), 0xCCEEFF},           // Sunday
      {4, 6, "29", Ctl->GetColorSelectedFg(), Mean},               // selected holiday
      {7, 6, "1", Ctl->GetColorInactiveMonth(), 0xCCEEFF},         // 1 June
      {1, 1, "Mon", Ctl->GetColorDayIdFg(), Ctl->GetColorDayIdBg()},
      {0, 2, "18", Ctl->GetColorWeekNoFg(), Ctl->GetColorWeekNoBg()},
      {5, 0, "May 2025", clBlack, clBtnFace},
      {1, 0, "<<", clBlack, clBtnFace},
      {0, 1, "#", clBlack, clBtnFace},
  };
  for (const Case& C : Cases) {
    const TMiniCalCellLook L = Ctl->CellLook(C.Col, C.Row);
    EXPECT_EQ(std::tuple(L.Text, L.FontColor, L.BrushColor), std::tuple(C.Text, C.Font, C.Brush))
        << C.Col << "," << C.Row;
  }
  for (const auto& [C, R] : {std::pair{0, 0}, {3, 0}, {4, 0}})
    EXPECT_EQ(Ctl->CellLook(C, R).Kind, TMiniCalCellLook::ckNothing);
  // A plain selected day; holidays not indicated; the long month name.
  Ctl->SetDate(EncodeDate(2025, 5, 2));
  EXPECT_EQ(Ctl->CellLook(5, 2).BrushColor, Ctl->GetColorSelectedBg());
  Ctl->SetIndicateHolidays(false);
  EXPECT_EQ(Ctl->CellLook(4, 2).BrushColor, 0xF8F8F8u);
  Ctl->SetShowMonthShort(false);
  Ctl->SetLanguage(lgFrench);
  EXPECT_EQ(Ctl->CellLook(5, 0).Text, "Mai 2025");
  Ctl->SetDate(EncodeDate(2025, 12, 2));
  EXPECT_EQ(Ctl->CellLook(5, 0).Text, "Décembre 2025");
  // The painted backgrounds follow the looks (a corner of each cell, away from the text).
  const TBitmap B = Shot();
  for (const auto& [C, R] : {std::pair{1, 2}, {6, 3}, {7, 4}, {2, 2}, {1, 1}, {0, 5}}) {
    const TRect Cell = Ctl->CellRect(C, R);
    EXPECT_EQ(Client(B, Cell.Left + 1, Cell.Top + 1), ColorToRGB(Ctl->CellLook(C, R).BrushColor))
        << C << "," << R;
  }
}

TEST_F(MiniCalPaintTest, TodaysRingMovesAtMidnight) {
  D.Host().SetWallClock(EncodeDateTime(2024, 9, 10, 23, 59, 50));
  Ctl->SetDate(EncodeDate(2024, 9, 20));
  // Monday start: 10 September in (2, 4), the 11th in (3, 4).
  const auto RingEdge = [this](const TBitmap& B, int C) {
    const TRect Cell = Ctl->CellRect(C, 4);
    return Client(B, Cell.Left + 2, (Cell.Top + Cell.Bottom) / 2);
  };
  EXPECT_TRUE(Ctl->CellLook(2, 4).Ring);
  TBitmap B = Shot();
  EXPECT_EQ(RingEdge(B, 2), Ctl->GetColorToday());
  EXPECT_NE(RingEdge(B, 3), Ctl->GetColorToday());
  D.AdvanceTime(20000);
  B = Shot();
  EXPECT_NE(RingEdge(B, 2), Ctl->GetColorToday());
  EXPECT_EQ(RingEdge(B, 3), Ctl->GetColorToday());
  Ctl->SetMarkToday(false);
  EXPECT_NE(RingEdge(Shot(), 3), Ctl->GetColorToday());
  Ctl->SetMarkToday(true);
  Ctl->SetDate(EncodeDate(2024, 10, 11));  // another month: no ring on its 11th
  EXPECT_FALSE(Ctl->CellLook(5, 3).Ring);
}

// One calendar per language and per first weekday, as reviewed.
TEST_F(MiniCalPaintTest, LooksAsReviewed) {
  D.Host().SetWallClock(EncodeDateTime(2025, 5, 14, 12, 0, 0));
  Form->SetBounds(0, 0, 1240, 380);
  Ctl->SetVisible(false);
  struct Cal {
    TLanguage Lang;
    TDayOfWeek Start;
    int Y, M, D;
  };
  const auto Place = [this](const std::vector<Cal>& Cals) {
    std::vector<TMiniCal*> Made;
    for (std::size_t I = 0; I < Cals.size(); ++I) {
      auto* C = new TMiniCal(Form);
      C->SetParent(Form);
      C->SetBounds(int(I % 4) * 310, int(I / 4) * 190, 300, 180);
      C->SetLanguage(Cals[I].Lang);
      C->SetFirstDayOfWeek(Cals[I].Start);
      C->SetDate(EncodeDate(Cals[I].Y, Cals[I].M, Cals[I].D));
      Made.push_back(C);
    }
    return Made;
  };
  auto Langs = Place({{lgEnglish, dwMon, 2025, 12, 25},
                      {lgGerman, dwMon, 2025, 5, 29},
                      {lgFrench, dwMon, 2025, 4, 21},
                      {lgSpanish, dwMon, 2025, 6, 9}});
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/languages.png"));
  for (TMiniCal* C : Langs) delete C;
  std::vector<Cal> Starts;
  for (int S = dwMon; S <= dwSun; ++S) Starts.push_back({lgEnglish, TDayOfWeek(S), 2024, 9, 30});
  Place(Starts);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/first_weekdays.png"));
}

}  // namespace
}  // namespace kvl
