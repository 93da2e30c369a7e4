// Geometry, painting and scrolling of the grid.
#include "kvl/platform/grids.h"

#include <gtest/gtest.h>

#include <climits>

#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class GridTest : public TControlTest<TDrawGrid> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(0, 0, 400, 300);
  }
  // Pixels of the client area (Capture covers the bounds, the border is 2).
  TColor ClientPixel(int X, int Y) { return PixelAt(X + 2, Y + 2); }
};

TEST_F(GridTest, CellRectsAndHitsForLineOptions) {
  struct TCase {
    TGridOptions Options;
    int LineWidth;
    TRect Cell11;
    int GridWidth;
  };
  const TGridOptions All = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine;
  const TCase Cases[] = {
      {All, 1, Rect(65, 25, 129, 49), 325},
      // The gap stays for scrolling cells with only the fixed lines on.
      {goFixedVertLine | goFixedHorzLine, 1, Rect(65, 25, 129, 49), 325},
      {0, 1, Rect(64, 24, 128, 48), 320},
      {All, 0, Rect(64, 24, 128, 48), 320},
      {All, 2, Rect(66, 26, 130, 50), 330},
  };
  for (const TCase& C : Cases) {
    Ctl->SetOptions(C.Options);
    Ctl->SetGridLineWidth(C.LineWidth);
    EXPECT_EQ(Ctl->CellRect(1, 1), C.Cell11) << C.Options << "/" << C.LineWidth;
    EXPECT_EQ(Ctl->GetGridWidth(), C.GridWidth);
    // A point on the line belongs to the cell left of and above it.
    const int Gap = C.GridWidth / 5 - 64;
    EXPECT_EQ(Ctl->MouseCoord(C.Cell11.Right + Gap - 1, C.Cell11.Bottom + Gap - 1),
              (TGridCoord{1, 1}));
    EXPECT_EQ(Ctl->MouseCoord(C.Cell11.Left, C.Cell11.Top), (TGridCoord{1, 1}));
    EXPECT_EQ(Ctl->MouseCoord(C.GridWidth, 5), (TGridCoord{-1, 0}));
  }
}

// A list view places marks between rows from the row pitch and the header heights alone: every
// scrolling row is DefaultRowHeight + 1 below the previous one, also with only the fixed lines
// on and far down a huge table.
TEST_F(GridTest, RowTopsFollowThePitchAfterScrolling) {
  Ctl->SetOptions(goFixedVertLine | goFixedHorzLine | goRowSelect);
  Ctl->SetDefaultRowHeight(17);
  Ctl->SetFixedRows(2);
  Ctl->SetRowHeights(0, 30);
  Ctl->SetRowHeights(1, 20);
  const int Headers = (30 + 1) + (20 + 1);
  for (const int Rows : {100, 10'000'000}) {
    Ctl->SetRowCount(Rows);
    const int Top = Rows - 20;
    Ctl->SetTopRow(Top);
    ASSERT_EQ(Ctl->GetTopRow(), Top);
    for (int R = Top; R < Top + Ctl->GetVisibleRowCount(); ++R)
      EXPECT_EQ(Ctl->CellRect(1, R).Top, Headers + (R - Top) * (17 + 1)) << Rows << "/" << R;
    // An empty table's first free line lies right below the headers.
    EXPECT_EQ(Ctl->CellRect(1, 1).Bottom + 1, Headers);
  }
}

TEST_F(GridTest, HiddenHugeAndOutsideSizes) {
  Ctl->SetColWidths(1, 0);
  Ctl->SetColWidths(2, -5);
  EXPECT_EQ(Ctl->GetColWidths(2), -5);  // stored as given
  EXPECT_EQ(Ctl->CellRect(1, 1), TRect{});
  EXPECT_EQ(Ctl->CellRect(3, 1), Rect(65, 25, 129, 49));
  EXPECT_EQ(Ctl->MouseCoord(65, 30).X, 3);
  Ctl->SetColWidths(3, 1'000'000'000);
  EXPECT_EQ(Ctl->CellRect(3, 1).Right, 65 + 1'000'000'000);
  EXPECT_EQ(Ctl->CellRect(4, 1), TRect{});
  EXPECT_EQ(Ctl->GetGridWidth(), Ctl->GetClientWidth());
  // Reads and writes outside the counts.
  EXPECT_EQ(Ctl->GetColWidths(-1), 0);
  Ctl->SetRowHeights(5, 99);
  EXPECT_EQ(Ctl->GetRowHeights(5), 0);
  EXPECT_EQ(Ctl->CellRect(5, 0), TRect{});
  EXPECT_EQ(Ctl->MouseCoord(-1, -1), (TGridCoord{-1, -1}));
  // A 0x0 grid and a 1x1 grid paint and answer without cells.
  Ctl->SetBounds(0, 0, 0, 0);
  EXPECT_EQ(Ctl->CellRect(0, 0), TRect{});
  EXPECT_EQ(Ctl->GetVisibleRowCount(), 0);
  D.Capture(*Form);
  Ctl->SetBounds(0, 0, 1, 1);
  D.Capture(*Form);
}

TEST_F(GridTest, CountsKeepSurvivingSizesAndFixedCountsFollow) {
  Ctl->SetColWidths(2, 100);
  Ctl->SetColWidths(4, 30);
  Ctl->SetColCount(3);
  Ctl->SetColCount(6);
  EXPECT_EQ(Ctl->GetColWidths(2), 100);
  EXPECT_EQ(Ctl->GetColWidths(4), 64);
  Ctl->SetDefaultColWidth(50);
  EXPECT_EQ(Ctl->GetColWidths(2), 50);
  // Fixed counts asked for before the count grows apply once it has.
  Ctl->SetColCount(2);
  Ctl->SetFixedCols(2);
  EXPECT_EQ(Ctl->GetFixedCols(), 1);
  Ctl->SetColCount(4);
  EXPECT_EQ(Ctl->GetFixedCols(), 2);
  // Bad counts clamp.
  for (const int Bad : {-5, 0}) {
    Ctl->SetRowCount(Bad);
    EXPECT_EQ(Ctl->GetRowCount(), 1);
    EXPECT_EQ(Ctl->GetFixedRows(), 0);
  }
  Ctl->SetColCount(INT_MAX);
  EXPECT_EQ(Ctl->GetColCount(), 10'000'000);
  Ctl->SetRowCount(INT_MAX);
  EXPECT_EQ(Ctl->GetRowCount(), 100'000'000);
  Ctl->SetGridLineWidth(-3);
  EXPECT_EQ(Ctl->GetGridLineWidth(), 0);
  Ctl->SetGridLineWidth(1000);
  D.Capture(*Form);
}

TEST_F(GridTest, VisibleCountsAndScrolledGeometry) {
  Ctl->SetRowCount(101);
  Ctl->SetBounds(0, 0, 400, 294);  // client 290: a fixed row and ten full rows
  EXPECT_EQ(Ctl->GetVisibleRowCount(), 10);
  Ctl->SetTopRow(50);
  EXPECT_EQ(Ctl->GetTopRow(), 50);
  EXPECT_EQ(Ctl->CellRect(1, 50).Top, 25);
  EXPECT_EQ(Ctl->CellRect(1, 49), TRect{});
  EXPECT_EQ(Ctl->CellRect(0, 0), Rect(0, 0, 64, 24));
  // Program writes clamp to the table, leaving blank space below the last row.
  Ctl->SetTopRow(1000);
  EXPECT_EQ(Ctl->GetTopRow(), 100);
  Ctl->SetTopRow(-7);
  EXPECT_EQ(Ctl->GetTopRow(), 1);
  // Ten million rows: the last one by its index, with the same pixels.
  Ctl->SetRowCount(10'000'000);
  Ctl->SetTopRow(9'999'999);
  EXPECT_EQ(Ctl->CellRect(1, 9'999'999), Rect(65, 25, 129, 49));
  EXPECT_EQ(Ctl->MouseCoord(70, 30), (TGridCoord{1, 9'999'999}));
  // Shrinking pulls the scroll position and the current cell back.
  Ctl->SetRow(9'999'998);
  Ctl->SetRowCount(20);
  EXPECT_EQ(Ctl->GetTopRow(), 19);
  EXPECT_EQ(Ctl->GetRow(), 19);
}

TEST_F(GridTest, BordersAndScrollBarsShrinkTheClientArea) {
  EXPECT_EQ(Ctl->GetClientWidth(), 396);
  Ctl->SetCtl3D(false);
  EXPECT_EQ(Ctl->GetClientWidth(), 398);
  Ctl->SetBorderStyle(bsNone);
  EXPECT_EQ(Ctl->GetClientWidth(), 400);
  // Rows that do not fit bring the vertical bar; its width then needs the horizontal one.
  Ctl->SetDefaultColWidth(56);  // 7 x 57 = 399: fits 400, not 383
  Ctl->SetColCount(7);
  EXPECT_EQ(Ctl->GetClientHeight(), 300);
  Ctl->SetRowCount(20);
  EXPECT_EQ(Ctl->GetClientWidth(), 383);
  EXPECT_EQ(Ctl->GetClientHeight(), 283);
  Ctl->SetScrollBars(ssNone);
  EXPECT_EQ(Ctl->GetClientWidth(), 400);
  EXPECT_EQ(Ctl->GetClientHeight(), 300);
}

TEST_F(GridTest, PaintingOrderAndClipping) {
  Ctl->SetColor(clYellow);
  Ctl->SetDefaultDrawing(false);
  int Calls = 0;
  Ctl->OnDrawCell = [&](TObject*, int C, int R, const TRect& Rc, TGridDrawState) {
    ++Calls;
    TCanvas& Cv = *Ctl->GetCanvas();
    Cv.GetBrush().SetColor(clRed);
    // Over the gap: covers the line drawn before it.
    if (C == 1 && R == 1) Cv.FillRect(Rect(Rc.Left, Rc.Top, Rc.Right + 1, Rc.Bottom + 1));
    // A title across three cells, drawn by the last of them.
    if (C == 3 && R == 0) {
      Cv.GetBrush().SetColor(clLime);
      Cv.FillRect(Rect(Ctl->CellRect(1, 0).Left, 0, Rc.Right, Rc.Bottom));
    }
    // Everything: stays inside the client area.
    if (C == 4 && R == 4) {
      Cv.GetBrush().SetColor(clBlue);
      Cv.FillRect(Rect(300, 110, 10000, 10000));
    }
  };
  const TBitmap Shot = D.Capture(*Ctl);
  EXPECT_EQ(Calls, 25);
  const auto At = [&](int X, int Y) { return PixelOf(Shot, X + 2, Y + 2); };
  EXPECT_EQ(At(129, 49), clRed);      // the gap pixel right-below cell (1, 1)
  EXPECT_EQ(At(194, 30), clSilver);   // the line after cell (2, 1)
  EXPECT_EQ(At(64, 10), clBlack);     // a fixed line
  EXPECT_EQ(At(70, 10), clLime);      // the merged title over cell (1, 0)
  EXPECT_EQ(At(350, 50), clYellow);   // beyond the last column
  EXPECT_EQ(At(350, 200), clBlue);
  EXPECT_NE(PixelOf(Shot, 398, 298), clBlue);  // the border is not drawn over
  // Repainting one cell of the merged title runs every DrawCell, the title's too.
  Calls = 0;
  Ctl->InvalidateCell(1, 0);
  D.Settle();
  EXPECT_EQ(Calls, 25);
  EXPECT_EQ(ClientPixel(70, 10), clLime);
}

TEST_F(GridTest, DefaultDrawingPrefillsBeforeDrawCellWithFreshFont) {
  Ctl->SetFixedColor(clAqua);
  std::vector<TFontStyles> Seen;
  Ctl->OnDrawCell = [&](TObject*, int C, int R, const TRect& Rc, TGridDrawState State) {
    TCanvas& Cv = *Ctl->GetCanvas();
    Seen.push_back(Cv.GetFont().GetStyle());
    Cv.GetFont().SetStyle(fsBold);
    // A fixed cell shrunk by one pixel keeps the bevel drawn before.
    if ((State & gdFixed) && C == 1 && R == 0) {
      Cv.GetBrush().SetColor(clFuchsia);
      Cv.FillRect(Rect(Rc.Left + 1, Rc.Top + 1, Rc.Right - 1, Rc.Bottom - 1));
    }
  };
  const TBitmap Shot = D.Capture(*Ctl);
  const auto At = [&](int X, int Y) { return PixelOf(Shot, X + 2, Y + 2); };
  EXPECT_EQ(At(30, 10), clAqua);                         // a fixed cell
  EXPECT_EQ(At(65, 0), ColorToRGB(clBtnHighlight));      // the bevel kept around the shrunk cell
  EXPECT_EQ(At(128, 23), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(80, 10), clFuchsia);
  EXPECT_EQ(At(80, 30), ColorToRGB(clHighlight));        // the current cell, selected
  EXPECT_EQ(At(150, 30), ColorToRGB(clWindow));
  for (const TFontStyles S : Seen) EXPECT_EQ(S, 0);
}

class ScrollingTest : public GridTest {
protected:
  void SetUp() override {
    GridTest::SetUp();
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(500, 10, 100, 21);
    D.Settle();
    Other->SetFocus();
    Ctl->SetRowCount(100);
    Ctl->OnTopLeftChanged = [this](TObject*) { ++Changes; };
  }
  // Control coordinates of the vertical bar's parts, as client coordinates for the driver.
  void PressBar(int Y) { D.MouseDown(*Ctl, 400 - 2 - 8 - 2, Y - 2); }
  void ReleaseBar(int Y) { D.MouseUp(*Ctl, 400 - 2 - 8 - 2, Y - 2); }
  int Changes = 0;
};

TEST_F(ScrollingTest, ArrowsPagesAndRepeat) {
  PressBar(300 - 2 - 8);  // the down arrow
  EXPECT_EQ(Ctl->GetTopRow(), 2);
  D.AdvanceTime(400);
  EXPECT_EQ(Ctl->GetTopRow(), 3);
  D.AdvanceTime(50);
  EXPECT_EQ(Ctl->GetTopRow(), 4);
  ReleaseBar(300 - 2 - 8);
  D.AdvanceTime(500);
  EXPECT_EQ(Ctl->GetTopRow(), 4);
  EXPECT_EQ(Changes, 3);
  const int Page = Ctl->GetVisibleRowCount();
  PressBar(250);  // the track below the thumb
  ReleaseBar(250);
  EXPECT_EQ(Ctl->GetTopRow(), 4 + Page);
  // The bar moved neither the focus nor the current cell, and fired no mouse event.
  EXPECT_FALSE(Ctl->Focused());
  EXPECT_EQ(Ctl->GetRow(), 1);
  // No-op writes fire nothing.
  Changes = 0;
  Ctl->SetTopRow(Ctl->GetTopRow());
  Ctl->SetLeftCol(Ctl->GetLeftCol());
  EXPECT_EQ(Changes, 0);
}

TEST_F(ScrollingTest, ThumbDragWithAndWithoutTracking) {
  for (const bool Tracking : {false, true}) {
    Ctl->SetTopRow(1);
    Ctl->SetOptions(Tracking ? Ctl->GetOptions() | goThumbTracking
                             : Ctl->GetOptions() & ~goThumbTracking);
    const TRect Thumb = Ctl->GetVertScrollBar().GetGeometry().Thumb;
    PressBar(Thumb.Top + 2);
    D.MouseMove(*Ctl, 400 - 12, 150);
    EXPECT_EQ(Ctl->GetTopRow() > 1, Tracking);
    D.MouseMove(*Ctl, 400 - 12, 1000);
    ReleaseBar(1000);
    // Dragged to the end: the last row shows fully.
    const TRect Last = Ctl->CellRect(1, 99);
    EXPECT_FALSE(Last.IsEmpty());
    EXPECT_LE(Last.Bottom, Ctl->GetClientHeight());
    EXPECT_EQ(Ctl->GetTopRow(), Ctl->GetVertScrollBar().GetMax());
  }
}

TEST_F(ScrollingTest, TenMillionRowsThumbToTheEnd) {
  Ctl->SetRowCount(10'000'000);
  const TRect Thumb = Ctl->GetVertScrollBar().GetGeometry().Thumb;
  EXPECT_GE(Thumb.Height(), 8);
  PressBar(Thumb.Top + 2);
  D.MouseMove(*Ctl, 400 - 12, 5000);
  ReleaseBar(5000);
  const TRect Last = Ctl->CellRect(1, 9'999'999);
  EXPECT_FALSE(Last.IsEmpty());
  EXPECT_LE(Last.Bottom, Ctl->GetClientHeight());
}

TEST_F(ScrollingTest, KeysAndWheelScrollTheCurrentCellIntoView) {
  Ctl->SetFocus();
  for (int I = 0; I < 20; ++I) D.Press(*Form, vk::Down);
  EXPECT_EQ(Ctl->GetRow(), 21);
  const TRect R = Ctl->CellRect(1, 21);
  EXPECT_FALSE(R.IsEmpty());
  EXPECT_LE(R.Bottom, Ctl->GetClientHeight());
  const int Before = Changes;
  D.Wheel(*Ctl, 100, 100, -240);  // two notches down
  EXPECT_EQ(Ctl->GetRow(), 23);
  D.Wheel(*Ctl, 100, 100, 120);
  EXPECT_EQ(Ctl->GetRow(), 22);
  EXPECT_GT(Changes, Before);
  D.Press(*Form, vk::Home, {});
  D.KeyDown(*Form, vk::Control);
  D.Press(*Form, vk::Home);
  D.KeyUp(*Form, vk::Control);
  EXPECT_EQ(Ctl->GetTopRow(), 1);
}

TEST_F(ScrollingTest, PicturesOfBarStates) {
  Ctl->SetColCount(10);
  std::vector<TBitmap> Shots;
  for (const int Top : {1, 50, 100}) {
    Ctl->SetTopRow(Top);
    Ctl->SetLeftCol(Top == 1 ? 1 : 9);
    Shots.push_back(D.Capture(*Ctl));
  }
  Ctl->SetEnabled(false);
  Shots.push_back(D.Capture(*Ctl));
  TBitmap All;
  All.SetSize(4 * 400, 300);
  for (int I = 0; I < 4; ++I) All.GetCanvas()->Draw(I * 400, 0, Shots[std::size_t(I)]);
  EXPECT_TRUE(MatchesGolden(All, "testdata/grid_scrollbars.png"));
}

// A grid whose descendant keeps the releases: a scroll arrow still stops repeating, and the
// wheel over a bar moves the current row as over the cells.
class TSwallowingGrid : public TDrawGrid {
public:
  using TDrawGrid::TDrawGrid;
  void MouseUp(TMouseButton, TShiftState, int, int) override {}
};

TEST_F(ScrollingTest, SwallowedReleasesAndTheWheelOverABar) {
  auto* G = new TSwallowingGrid(Form);
  G->SetParent(Form);
  G->SetBounds(0, 0, 400, 300);
  G->SetRowCount(100);
  D.MouseDown(*G, 400 - 12, 300 - 14);
  D.MouseUp(*G, 400 - 12, 300 - 14);
  const int Top = G->GetTopRow();
  D.AdvanceTime(1000);
  EXPECT_EQ(G->GetTopRow(), Top);
  D.Wheel(*G, 400 - 12, 100, -120);
  EXPECT_EQ(G->GetRow(), 2);
}

TEST_F(GridTest, WindowedChildrenStayAboveTheCells) {
  auto* Child = new TEdit(Form);
  Child->SetParent(Ctl);
  Child->SetBounds(100, 60, 80, 21);
  Child->SetColor(clYellow);
  Ctl->SetRowCount(100);
  Ctl->OnDrawCell = [&](TObject*, int, int, const TRect& R, TGridDrawState) {
    Ctl->GetCanvas()->GetBrush().SetColor(clRed);
    Ctl->GetCanvas()->FillRect(R);
  };
  Ctl->SetTopRow(30);
  EXPECT_EQ(Child->GetBoundsRect(), Rect(100, 60, 180, 81));
  EXPECT_EQ(ClientPixel(140, 70), clYellow);
}

TEST_F(GridTest, GoldenDrawGridWithCustomCells) {
  Ctl->SetColCount(6);
  Ctl->SetRowCount(12);
  Ctl->SetColWidths(0, 30);
  Ctl->SetRowHeights(3, 40);
  Ctl->SetColWidths(2, -1);
  Ctl->SetSelection({3, 2, 4, 5});
  Ctl->OnDrawCell = [&](TObject*, int C, int R, const TRect& Rc, TGridDrawState S) {
    TCanvas& Cv = *Ctl->GetCanvas();
    if (S & gdFixed) {
      Cv.GetBrush().SetStyle(bsClear);
      Cv.TextOut(Rc.Left + 3, Rc.Top + 4, R == 0 ? std::string(1, char('A' + C)) : std::to_string(R));
      return;
    }
    if (!(S & gdSelected)) {
      Cv.GetBrush().SetColor(TColor(0x202020 * ((C + R) % 5) + 0x606060));
      Cv.FillRect(Rc);
    }
    Cv.GetPen().SetColor(clNavy);
    Cv.Ellipse(Rc.Left + 4, Rc.Top + 4, Rc.Right - 4, Rc.Bottom - 4);
  };
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/grid_draw_cells.png"));
}

}  // namespace
}  // namespace kvl
