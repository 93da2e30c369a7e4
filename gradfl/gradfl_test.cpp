// TGradFill: clamping, the colour flip and copying; band colours and bounds per fill type,
// bands that do not divide the size, grid and frame, the after-paint notification, an empty
// control, and a reviewed picture.
#include "kvl/gradfl/gradfl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "kvl/platform/forms.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

// First (10, 200, 30) to last (250, 20, 130): the steps of each channel differ in sign and
// size, and several land on halves.
constexpr TColor First = RGBColor(10, 200, 30);
constexpr TColor Last = RGBColor(250, 20, 130);

using TRuns = std::vector<std::pair<TColor, int>>;  // colour and length of each band seen

class GradFillTest : public TControlTest<TGradFill> {
protected:
  TGradFill* G = nullptr;
  void SetUp() override {
    TControlTest::SetUp();
    G = Ctl;
    G->SetBounds(10, 10, 121, 121);
    G->SetColorFirst(First);
    G->SetColorLast(Last);
    Form->Show();
  }
  static TColor At(const TBitmap& B, int X, int Y) { return PixelOf(B, X, Y); }
  // Runs of equal colour along the gradient's axis, through the middle of the other axis.
  static TRuns Runs(const TBitmap& B, bool Horizontal) {
    TRuns R;
    const int Len = Horizontal ? B.GetHeight() : B.GetWidth();
    for (int I = 0; I < Len; ++I) {
      const TColor C = Horizontal ? At(B, B.GetWidth() / 2, I) : At(B, I, B.GetHeight() / 2);
      if (R.empty() || R.back().first != C)
        R.emplace_back(C, 1);
      else
        ++R.back().second;
    }
    return R;
  }
  static std::vector<int> Lengths(const TRuns& R) {
    std::vector<int> L;
    for (const auto& Run : R) L.push_back(Run.second);
    return L;
  }
};

TEST_F(GradFillTest, OutOfRangeValuesAreClamped) {
  G->SetNrColors(1000);
  EXPECT_EQ(G->GetNrColors(), 255);
  G->SetNrColors(-5);
  EXPECT_EQ(G->GetNrColors(), 1);
  // Unknown ordinals (from a stream or a cast) fall back to the first value.
  G->SetFillType(gtVert);
  G->SetFillType(static_cast<TGradType>(9));
  EXPECT_EQ(G->GetFillType(), gtHoriz);
  G->SetGridMode(static_cast<TGridMode>(4));
  EXPECT_EQ(G->GetGridMode(), gmNone);
}

TEST_F(GradFillTest, FlippingTwiceRestoresTheColoursAlsoAfterASetWhileFlipped) {
  G->SetColorFirst(clRed);
  G->SetColorLast(clBlue);
  G->SetColorFlipped(true);
  EXPECT_EQ(G->GetColorFirst(), clBlue);
  EXPECT_EQ(G->GetColorLast(), clRed);
  G->SetColorFlipped(true);  // setting the flag again does not flip again
  EXPECT_EQ(G->GetColorFirst(), clBlue);
  // A colour set while flipped is painted at once and is the host's other colour.
  G->SetColorFirst(clLime);
  EXPECT_EQ(G->GetColorFirst(), clLime);
  G->SetColorFlipped(false);
  EXPECT_EQ(G->GetColorFirst(), clRed);
  EXPECT_EQ(G->GetColorLast(), clLime);
  G->SetColorFlipped(true);
  G->SetColorLast(clAqua);
  G->SetColorFlipped(false);
  G->SetColorFlipped(true);
  EXPECT_EQ(G->GetColorFirst(), clLime);
  EXPECT_EQ(G->GetColorLast(), clAqua);
}

TEST_F(GradFillTest, AssignCopiesTheSettingsAndRefusesOtherClasses) {
  G->SetFillType(gtMidBandVert);
  G->SetNrColors(7);
  G->SetColorFirst(clTeal);
  G->SetColorLast(clWhite);
  G->SetColorFlipped(true);
  G->SetFrameStyle(fsEngraved);
  G->SetGridMode(gmBoth);
  G->SetGridColor(clRed);
  G->SetBounds(5, 5, 80, 40);
  auto* Copy = new TGradFill(Form);
  Copy->SetParent(Form);
  Copy->SetBounds(100, 5, 80, 40);
  Copy->Assign(G);
  EXPECT_EQ(Copy->GetLeft(), 100);  // position and size stay
  const TBitmap A = D.Capture(*G), B = D.Capture(*Copy);
  ASSERT_EQ(A.GetWidth(), B.GetWidth());
  EXPECT_TRUE(std::equal(A.Pixels(), A.Pixels() + 80 * 40, B.Pixels()));
  // The host's colours came along: unflipped, the copy has the colours set on the original.
  Copy->SetColorFlipped(false);
  EXPECT_EQ(Copy->GetColorFirst(), clTeal);
  EXPECT_EQ(Copy->GetColorLast(), clWhite);

  TGraphicControl Plain(nullptr);
  EXPECT_THROW(Plain.Assign(G), EConvertError);
  EXPECT_THROW(G->Assign(&Plain), EConvertError);
}

TEST_F(GradFillTest, FirstMiddleAndLastBandsOfEachTypeHaveTheirExactColours) {
  // 121 pixels in 16 bands: band k covers [MulDiv(k, 121, 16), MulDiv(k + 1, 121, 16)).
  struct TBand {
    int K, Length;
    TColor Color;
  };
  const std::vector<TBand> Plain = {
      {0, 8, First},
      {2, 8, RGBColor(40, 177, 43)},     // green 200 - 22.5, blue 30 + 12.5
      {8, 7, RGBColor(130, 110, 80)},    // rows 61 .. 67
      {15, 8, RGBColor(235, 31, 124)}};  // one step short of the last colour
  const std::vector<TBand> MidBand = {{0, 8, First},
                                      {7, 8, RGBColor(220, 42, 118)},  // 7/8 of the way
                                      {8, 7, Last},                    // 16 div 2
                                      {9, 8, RGBColor(190, 65, 105)},  // falls back to 6/8
                                      {15, 8, First}};
  for (TGradType T : {gtHoriz, gtVert, gtMidBandHoriz, gtMidBandVert}) {
    G->SetFillType(T);
    const TRuns R = Runs(D.Capture(*G), T == gtHoriz || T == gtMidBandHoriz);
    ASSERT_EQ(R.size(), 16u) << int(T);
    for (const TBand& B : T == gtHoriz || T == gtVert ? Plain : MidBand)
      EXPECT_EQ(R[B.K], std::make_pair(B.Color, B.Length)) << "type " << int(T) << " band " << B.K;
  }
}

TEST_F(GradFillTest, OneOrTwoColoursAndTheFlip) {
  G->SetNrColors(1);
  for (TGradType T : {gtHoriz, gtVert, gtMidBandHoriz, gtMidBandVert}) {
    G->SetFillType(T);
    const TBitmap Shot = D.Capture(*G);
    EXPECT_EQ(At(Shot, 0, 0), First) << int(T);
    EXPECT_EQ(At(Shot, 120, 120), First) << int(T);
    EXPECT_EQ(At(Shot, 60, 60), First) << int(T);
  }
  // Colours are used as RGB: system colours resolved, the high byte of others ignored.
  G->SetColorFirst(clBtnFace);
  EXPECT_EQ(At(D.Capture(*G), 60, 60), ColorToRGB(clBtnFace));
  G->SetColorFirst(0x6088FFF0);
  EXPECT_EQ(At(D.Capture(*G), 60, 60), TColor(0x88FFF0));

  G->SetColorFirst(First);
  G->SetFillType(gtHoriz);
  G->SetNrColors(2);
  TBitmap Shot = D.Capture(*G);
  EXPECT_EQ(At(Shot, 60, 60), First);  // MulDiv(1, 121, 2) = 61 rows in the upper half
  EXPECT_EQ(At(Shot, 60, 61), RGBColor(130, 110, 80));
  EXPECT_EQ(At(Shot, 60, 120), RGBColor(130, 110, 80));

  G->SetColorFlipped(true);
  Shot = D.Capture(*G);
  EXPECT_EQ(At(Shot, 60, 0), Last);
  EXPECT_EQ(At(Shot, 60, 120), RGBColor(130, 110, 80));
}

TEST_F(GradFillTest, BandWidthsWhenTheSizeIsNotAMultipleOfTheSteps) {
  // 10 pixels in 4 bands: boundaries 2.5 and 7.5 round away from zero.
  G->SetFillType(gtVert);
  G->SetNrColors(4);
  G->SetBounds(10, 10, 10, 6);
  EXPECT_EQ(Lengths(Runs(D.Capture(*G), false)), (std::vector<int>{3, 2, 3, 2}));

  // 100 pixels in 7 mid-bands, the middle one in the last colour.
  G->SetFillType(gtMidBandHoriz);
  G->SetNrColors(7);
  G->SetBounds(10, 10, 30, 100);
  TRuns R = Runs(D.Capture(*G), true);
  EXPECT_EQ(Lengths(R), (std::vector<int>{14, 15, 14, 14, 14, 15, 14}));
  EXPECT_EQ(R.at(3).first, Last);
  EXPECT_EQ(R.at(1).first, R.at(5).first);

  // More bands than pixels: 8 bands on 5 rows leave bands 1, 4 and 6 empty.
  G->SetFillType(gtHoriz);
  G->SetNrColors(8);
  G->SetBounds(10, 10, 30, 5);
  R = Runs(D.Capture(*G), true);
  const TRuns Expected = {{First, 1},
                          {RGBColor(70, 155, 55), 1},    // k = 2
                          {RGBColor(100, 132, 68), 1},   // k = 3
                          {RGBColor(160, 87, 93), 1},    // k = 5
                          {RGBColor(220, 42, 118), 1}};  // k = 7
  EXPECT_EQ(R, Expected);

  // A resize alone draws the bands anew.
  G->SetBounds(10, 10, 30, 10);
  EXPECT_EQ(Lengths(Runs(D.Capture(*G), true)), (std::vector<int>{1, 2, 1, 1, 1, 2, 1, 1}));
}

TEST_F(GradFillTest, GridLinesLieOnTheBandBoundariesUnderTheFrame) {
  // 121 pixels in 4 bands: boundaries at 30, 61 and 91 in both directions.
  G->SetNrColors(4);
  G->SetGridColor(clRed);
  const TColor Band0 = First, Band1 = RGBColor(70, 155, 55);
  G->SetGridMode(gmHoriz);
  TBitmap Shot = D.Capture(*G);
  for (int Y : {30, 61, 91}) EXPECT_EQ(At(Shot, 50, Y), clRed) << Y;
  EXPECT_EQ(At(Shot, 50, 29), Band0);
  EXPECT_EQ(At(Shot, 50, 31), Band1);
  EXPECT_EQ(At(Shot, 30, 10), Band0);  // no vertical lines

  G->SetGridMode(gmVert);
  Shot = D.Capture(*G);
  for (int X : {30, 61, 91}) EXPECT_EQ(At(Shot, X, 10), clRed) << X;

  // Across vertical bands the horizontal lines keep the same spacing.
  G->SetFillType(gtVert);
  G->SetGridMode(gmBoth);
  Shot = D.Capture(*G);
  for (int P : {30, 61, 91}) {
    EXPECT_EQ(At(Shot, 10, P), clRed) << P;
    EXPECT_EQ(At(Shot, P, 10), clRed) << P;
  }
  EXPECT_EQ(At(Shot, 31, 10), Band1);

  // The frame is drawn over the grid's ends.
  G->SetFrameStyle(fsSimple);
  Shot = D.Capture(*G);
  EXPECT_EQ(At(Shot, 0, 30), clBlack);
  EXPECT_EQ(At(Shot, 91, 120), clBlack);
  EXPECT_EQ(At(Shot, 1, 30), clRed);
}

TEST_F(GradFillTest, OnPaintFiresAfterEveryPaintWithTheGradientOnScreen) {
  int Paints = 0;
  TColor Seen = clNone;
  G->OnPaint = [&](TObject* Sender) {
    ++Paints;
    TCanvas& C = *static_cast<TGradFill*>(Sender)->GetCanvas();
    Seen = C.GetPixel(60, 64);
    C.GetBrush().SetColor(clWhite);
    C.FillRect(Rect(2, 2, 6, 6));
  };
  G->Invalidate();
  TBitmap Shot = D.Capture(*G);
  EXPECT_EQ(Paints, 1);
  EXPECT_EQ(Seen, RGBColor(130, 110, 80));
  EXPECT_EQ(At(Shot, 3, 3), clWhite);
  EXPECT_EQ(At(Shot, 9, 6), First);

  G->SetFillType(gtVert);
  Shot = D.Capture(*G);
  EXPECT_EQ(Paints, 2);
  EXPECT_EQ(At(Shot, 3, 3), clWhite);
  EXPECT_EQ(At(Shot, 64, 3), RGBColor(130, 110, 80));
}

// Paint is protected; the empty-control case calls it directly as well.
class TOpenGradFill : public TGradFill {
public:
  using TGradFill::Paint;
  using TGradFill::TGradFill;
};

TEST_F(GradFillTest, AnEmptyControlPaintsWithoutErrorAndRecoversItsSize) {
  auto* E = new TOpenGradFill(Form);
  E->SetParent(Form);
  int Paints = 0;
  E->OnPaint = [&](TObject*) { ++Paints; };
  E->SetColorFirst(First);
  E->SetColorLast(Last);
  E->SetFrameStyle(fsLowered);
  E->SetGridMode(gmBoth);
  E->SetBounds(200, 10, 0, 0);
  EXPECT_NO_THROW(D.Capture(*Form));
  const int Before = Paints;
  EXPECT_NO_THROW(E->Paint());
  EXPECT_EQ(Paints, Before + 1);  // the host may still draw, on nothing
  E->SetBounds(200, 10, 0, 40);
  EXPECT_NO_THROW(E->Paint());
  E->SetGridMode(gmNone);
  E->SetBounds(200, 10, 20, 40);
  const TBitmap Shot = D.Capture(*E);
  EXPECT_EQ(At(Shot, 0, 0), clGray);  // the frame's outline
  EXPECT_EQ(At(Shot, 10, 20), RGBColor(130, 110, 80));
}

TEST_F(GradFillTest, AFewFillsLookAsReviewed) {
  Form->SetBounds(0, 0, 420, 210);
  G->SetBounds(5, 5, 95, 95);
  G->SetColorFirst(clMaroon);  // the defaults otherwise
  G->SetColorLast(clYellow);
  struct TSetup {
    TGradType Type;
    TColor First, Last;
    int N;
    bool Flip;
    TFrameStyle Frame;
    TGridMode Grid;
    TColor GridColor;
  };
  const TSetup Setups[] = {
      {gtVert, clNavy, clAqua, 24, false, fsLowered, gmNone, clNavy},
      {gtMidBandHoriz, RGBColor(20, 20, 40), RGBColor(220, 230, 255), 31, false, fsNone, gmNone, 0},
      {gtMidBandVert, clGreen, clLime, 9, false, fsRaised, gmNone, 0},
      {gtHoriz, clBlack, clWhite, 8, false, fsSimple, gmBoth, clSilver},
      {gtVert, clPurple, clFuchsia, 6, true, fsNone, gmHoriz, clWhite},
      {gtHoriz, clBlue, clRed, 255, false, fsEngraved, gmNone, 0},
      {gtMidBandHoriz, clBtnFace, clSkyBlue, 12, false, fsEmbossed, gmNone, 0}};
  int I = 1;
  for (const TSetup& S : Setups) {
    auto* F = new TGradFill(Form);
    F->SetParent(Form);
    F->SetBounds(5 + I % 4 * 105, 5 + I / 4 * 105, 95, 95);
    F->SetFillType(S.Type);
    F->SetColorFirst(S.First);
    F->SetColorLast(S.Last);
    F->SetNrColors(S.N);
    F->SetColorFlipped(S.Flip);
    F->SetFrameStyle(S.Frame);
    F->SetGridMode(S.Grid);
    F->SetGridColor(S.GridColor);
    ++I;
  }
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/gradfl_fills.png"));
}

}  // namespace
}  // namespace kvl
