#include "kvl/marksel/marksel.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class MarkSelTest : public TControlTest<TMarkSel> {
protected:
  std::vector<std::string> Log;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetLeft(20);
    Ctl->SetTop(20);
    Form->Show();  // painted now: a pending paint would wipe a highlight drawn before it
    D.Settle();
    Ctl->OnMarkClick = [this](TObject*, int X, int Y, int M) {
      Log.push_back("click " + std::to_string(X) + "," + std::to_string(Y) + " " +
                    std::to_string(M));
    };
    Ctl->OnMarkDblClick = [this](TObject*, int, int, int M) {
      Log.push_back("dbl " + std::to_string(M));
    };
  }
};

TEST_F(MarkSelTest, CentresFollowTheGridAlsoBeforeTheFirstPaint) {
  struct TRow {
    int W, H, Cols, Rows, Hidden, Mark, X, Y;
  };
  const TRow Rows[] = {
      {236, 178, 8, 6, 0, 0, 14, 14},   {236, 178, 8, 6, 0, 9, 43, 43},
      {236, 178, 8, 6, 0, 47, 217, 159}, {236, 178, 8, 6, 0, 48, 14, 188},
      {104, 54, 4, 2, 0, 5, 37, 37},    {104, 54, 4, 2, 3, 5, 12, 37},  // 3 hidden: 5 moves up
      {0, 0, 8, 6, 0, 51, 0, 0},        {3, 3, 8, 6, 0, 10, 0, 0}};
  for (const TRow& R : Rows) {
    auto* M = new TMarkSel(nullptr);  // never painted
    M->SetBounds(0, 0, R.W, R.H);
    M->SetNrOfColumns(R.Cols);
    M->SetNrOfRows(R.Rows);
    if (R.Hidden) M->SetMarkVisible(R.Hidden, false);
    EXPECT_EQ(M->GetMarkCentre(R.Mark), (TPoint{R.X, R.Y})) << R.W << "x" << R.H << " " << R.Mark;
    M->MouseMove(0, 5, 5);  // no paint target, no undefined centres
    EXPECT_EQ(M->NearestMark(R.W / 2, R.H / 2), M->NearestMark(R.W / 2, R.H / 2));
    delete M;
  }
}

TEST_F(MarkSelTest, PicksOnlyShownShapesInsideTheGrid) {
  // The bottom row of the default layout: the hidden row below would be nearer.
  for (int X : {5, 40, 70, 100}) {
    D.Click(*Ctl, X, 176);
    D.AdvanceTime(1000);
    EXPECT_GE(Ctl->GetSelected(), 40) << X;
    EXPECT_LE(Ctl->GetSelected(), 47) << X;
  }
  // A pointer captured far outside.
  D.MouseDown(*Ctl, 100, 100);
  D.MouseUp(*Ctl, 30000, 30000);
  EXPECT_EQ(Ctl->GetSelected(), 47);
  D.AdvanceTime(1000);
  D.MouseDown(*Ctl, 100, 100);
  D.MouseUp(*Ctl, -30000, -30000);
  EXPECT_EQ(Ctl->GetSelected(), 0);
  // One cell 1000 pixels high: the others lie tens of thousands of pixels below.
  Ctl->SetBounds(0, 0, 40, 1000);
  Ctl->SetNrOfColumns(1);
  Ctl->SetNrOfRows(1);
  EXPECT_EQ(Ctl->NearestMark(INT_MAX, INT_MAX), 0);
  EXPECT_EQ(Ctl->NearestMark(20, 60000), 0);
  Ctl->HideAllMarks();
  Ctl->SetNrOfRows(6);
  D.AdvanceTime(1000);
  D.Click(*Ctl, 20, 900);
  EXPECT_EQ(Ctl->GetSelected(), 0);
}

TEST_F(MarkSelTest, ClicksAndDoubleClicksReportInOrder) {
  int Paints = 0;
  Ctl->OnPaint = [&](TObject*) { ++Paints; };
  D.Click(*Ctl, 43, 43);
  EXPECT_EQ(Log, std::vector<std::string>{"click 43,43 9"});
  EXPECT_GE(Paints, 1);
  EXPECT_EQ(Ctl->GetHighlighted(), 9);
  D.AdvanceTime(1000);
  Log.clear();
  D.DblClick(*Ctl, 72, 14);
  EXPECT_EQ(Log, (std::vector<std::string>{"click 72,14 2", "dbl 2", "click 72,14 2"}));
  Log.clear();
  Ctl->SetSelected(5);
  D.AdvanceTime(1000);
  D.MouseDown(*Ctl, 10, 10);
  D.MouseUp(*Ctl, -1, -1);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Ctl->GetSelected(), 5);
  Ctl->SetEnabled(false);
  D.AdvanceTime(1000);
  D.Click(*Ctl, 43, 43);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Ctl->GetSelected(), 5);
  // A handler that deletes the control.
  Ctl->SetEnabled(true);
  Ctl->OnMarkClick = [this](TObject*, int, int, int) { delete Ctl; };
  D.AdvanceTime(1000);
  D.Click(*Ctl, 43, 43);
}

TEST_F(MarkSelTest, PropertiesRefuseValuesOutsideTheirRanges) {
  for (const int V : {0, 52, INT_MIN, INT_MAX}) {
    Ctl->SetNrOfColumns(V);
    Ctl->SetNrOfRows(V);
  }
  Ctl->SetSelected(52);
  Ctl->SetSelected(-2);
  EXPECT_EQ(Ctl->GetNrOfColumns(), 8);
  EXPECT_EQ(Ctl->GetNrOfRows(), 6);
  EXPECT_EQ(Ctl->GetSelected(), -1);
  Ctl->SetMarkVisible(0, false);
  Ctl->SetMarkVisible(7, false);
  EXPECT_TRUE(Ctl->GetMarkVisible(0));
  EXPECT_TRUE(Ctl->GetMarkVisible(60));
  EXPECT_FALSE(Ctl->GetMarkVisible(7));
  Ctl->HideAllMarks();
  D.Click(*Ctl, 200, 150);
  EXPECT_EQ(Ctl->GetSelected(), 0);
  auto* Copy = new TMarkSel(Form);
  Copy->Assign(Ctl);
  EXPECT_EQ(Copy->GetSelected(), 0);
  EXPECT_FALSE(Copy->GetMarkVisible(7));
}

TEST_F(MarkSelTest, CellsSelectionAndHighlightAreDrawnWhereTheirRulesSay) {
  Ctl->SetSelected(9);  // centre (43, 43), hd = vd = 14
  D.MouseMove(*Ctl, 72, 43);  // shape 10, centre (72, 43)
  const TBitmap Shot = D.Capture(*Ctl);
  EXPECT_EQ(PixelOf(Shot, 43 + 3 - 14, 43 + 3 - 14), TColor(0x800000));  // SelFG outline
  EXPECT_EQ(PixelOf(Shot, 43 - 8, 43 + 12), TColor(0xFFFFFF));           // SelBG inside
  EXPECT_EQ(PixelOf(Shot, 72 + 4 - 14, 43 + 4 - 14), TColor(0x0000FF));  // highlight
  EXPECT_EQ(PixelOf(Shot, 72 + 1 + 14, 43 + 1 + 14), TColor(0x0000FF));
  EXPECT_EQ(PixelOf(Shot, 72 + 2 + 14, 43 + 2 + 14), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelOf(Shot, 4, 4), clBlack);  // the zero cross
  EXPECT_EQ(PixelOf(Shot, 10, 23), clBlack);
  // Removing a highlight gives back the plain look of a fresh paint: for the selected shape 9
  // and the plain shape 10.
  const auto Cell = [](const TBitmap& B, int CX) {
    std::vector<std::uint32_t> P;
    for (int Y = 43 + 3 - 14; Y < 43 + 3 + 14; ++Y)
      for (int X = CX + 3 - 14; X < CX + 3 + 14; ++X) P.push_back(B.ScanLine(Y)[X]);
    return P;
  };
  D.MouseMove(*Ctl, 43, 43);
  D.MouseMove(*Ctl, 101, 43);
  const TBitmap Moved = D.Capture(*Ctl);
  Ctl->Repaint();
  const TBitmap Fresh = D.Capture(*Ctl);
  EXPECT_EQ(Cell(Moved, 43), Cell(Fresh, 43));
  EXPECT_EQ(Cell(Moved, 72), Cell(Fresh, 72));
  EXPECT_NE(Cell(Moved, 101), Cell(Fresh, 101));
}

TEST_F(MarkSelTest, Goldens) {
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/default.png"));
  Ctl->SetSelected(12);
  D.MouseMove(*Ctl, 130, 72);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/selected_hilite.png"));
  Ctl->SetEnabled(false);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/disabled.png"));
  auto* Small = new TMarkSel(Form);
  Small->SetParent(Form);
  Small->SetBounds(300, 20, 130, 70);
  Small->SetNrOfColumns(6);
  Small->SetNrOfRows(3);
  for (int I = 1; I < 52; I += 2) Small->SetMarkVisible(I, false);
  Small->SetShowZeroAsCross(false);
  Small->SetFrameStyle(fsRaised);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Small), "testdata/subset.png"));
}

}  // namespace
}  // namespace kvl
