// TNumIO2 pixels: the painting steps at named coordinates, and a reviewed picture of a set of
// fields.
#include <gtest/gtest.h>

#include "kvl/numio/numio2.h"
#include "kvl/platform/forms.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

class NumIO2PaintTest : public TControlTest<TNumIO2> {
protected:
  TNumIO2* F = nullptr;
  void SetUp() override {
    TControlTest::SetUp();
    F = Ctl;
    F->SetValue(5);
  }
  TColor At(int X, int Y) { return PixelAt(X, Y); }
};

TEST_F(NumIO2PaintTest, TextBoxFrameStylesDrawTheirLines) {
  // L = 35, B = 80, H = 28: outline, inner top-left line, outer bottom-right line.
  struct TCase {
    TFrameStyle Style;
    TColor Outline, Inner, Outer;
  };
  const TCase Cases[] = {{fsLowered, clGray, clBlack, clWhite},
                         {fsRaised, clGray, clWhite, clBlack},
                         {fsEmbossed, clWhite, clGray, clGray},
                         {fsEngraved, clGray, clWhite, clWhite}};
  for (const TCase& C : Cases) {
    F->SetFrameStyle(C.Style);
    EXPECT_EQ(At(35, 10), C.Outline) << int(C.Style);
    EXPECT_EQ(At(36, 10), C.Inner) << int(C.Style);
    EXPECT_EQ(At(60, 1), C.Inner) << int(C.Style);
    EXPECT_EQ(At(117, 10), C.Outer) << int(C.Style);
    EXPECT_EQ(At(60, 27), C.Outer) << int(C.Style);
    EXPECT_EQ(At(40, 10), clWhite) << int(C.Style);
  }
  F->SetFrameStyle(fsSimple);
  EXPECT_EQ(At(35, 10), clGray);
  EXPECT_EQ(At(116, 27), clGray);
  EXPECT_EQ(At(36, 10), clWhite);
  F->SetFrameStyle(fsNone);
  EXPECT_EQ(At(35, 10), clWhite);
  F->SetColorScheme(csSystem);
  F->SetFrameStyle(fsLowered);
  EXPECT_EQ(At(35, 10), ColorToRGB(clBtnShadow));
}

TEST_F(NumIO2PaintTest, OutOfRangeValuesShowInTheWarningColours) {
  F->SetRangeHigh(4);
  EXPECT_EQ(At(40, 10), TColor(0x88FFF0));  // 0x6088FFF0 by its low three bytes
  F->SetColorWarnBG(clAqua);
  EXPECT_EQ(At(40, 10), clAqua);
  F->SetRangeHigh(10);
  EXPECT_EQ(At(40, 10), clWhite);
}

TEST_F(NumIO2PaintTest, CaretLineAndInvertedSelection) {
  Form->Show();
  F->SetFocus();
  F->SetText("88.88");
  F->SetSelBegin(5);  // caret at the end, nothing selected
  const int X = F->CharPosToXCoords(5) - 1;
  EXPECT_EQ(At(X, 10), clBlack);
  EXPECT_EQ(At(X, 2), clWhite);
  D.AdvanceTime(500);  // blinks off
  EXPECT_EQ(At(X, 10), clWhite);
  F->SetSelBegin(0);
  F->SetSelEnd(5);
  const int X1 = F->CharPosToXCoords(0), X2 = F->CharPosToXCoords(5);
  EXPECT_EQ(At(X1 + 1, 4), clBlack);  // white inverted
  EXPECT_EQ(At(X2 + 1, 4), clWhite);
  EXPECT_EQ(At(X1 + 1, 2), clWhite);
  // Hidden without the focus unless HideSelection is off.
  F->SetHideSelection(false);
  auto* Other = new TNumIO2(Form);
  Other->SetParent(Form);
  Other->SetTop(100);
  Other->SetFocus();
  EXPECT_EQ(At(X1 + 1, 4), clBlack);
  F->SetHideSelection(true);
  EXPECT_EQ(At(X1 + 1, 4), clWhite);
}

TEST_F(NumIO2PaintTest, SpinButtonsAndTheirArrows) {
  F->SetButVisible(true);
  // bx = 35 + 80 + 3 = 118, bw = 18, hb = 14, q = 7, cx = 127.
  EXPECT_EQ(At(118, 5), clGray);
  EXPECT_EQ(At(119, 5), clWhite);
  EXPECT_EQ(At(125, 13), clGray);   // divider
  EXPECT_EQ(At(127, 6), clBlack);   // up arrow tip row
  EXPECT_EQ(At(125, 8), clBlack);   // its base row
  EXPECT_EQ(At(127, 21), clBlack);  // down arrow tip row
  EXPECT_EQ(At(130, 10), clSilver);
  F->SetEnabled(false);
  EXPECT_EQ(At(127, 6), clGray);
  F->SetBut3D(false);
  EXPECT_EQ(At(119, 5), clSilver);
}

TEST_F(NumIO2PaintTest, GaugeFillFollowsTheValueWithinTheRange) {
  F->SetBounds(0, 0, 200, 40);
  F->SetGaugeVisible(true);
  F->SetRangeHigh(100);
  // gl = 35, gw = 82, band 31 .. 39.
  const auto Filled = [&] {
    int N = 0;
    for (int X = 35; X < 117; ++X) N += At(X, 35) == clNavy;
    return N;
  };
  F->SetValue(0);
  EXPECT_EQ(Filled(), 0);
  F->SetValue(50);
  EXPECT_EQ(Filled(), 41 - 2);  // r = 41, less the frame's inner line and the outline
  F->SetValue(100);
  EXPECT_EQ(Filled(), 82 - 3);
  F->SetValue(250);
  EXPECT_EQ(Filled(), 82 - 3);
  F->SetValue(-5);
  EXPECT_EQ(Filled(), 0);
  F->SetRangeLow(100);  // equal bounds draw it full
  EXPECT_EQ(Filled(), 82 - 3);
  F->SetEnabled(false);
  EXPECT_EQ(At(60, 35), clGray);
}

TEST_F(NumIO2PaintTest, DisabledFieldsAreGrey) {
  F->SetLeftText("Gain");
  F->SetEnabled(false);
  EXPECT_EQ(At(40, 10), clSilver);
  const TBitmap Shot = D.Capture(*F);
  bool Gray = false, Black = false;
  for (int Y = 0; Y < 28; ++Y)
    for (int X = 0; X < 35; ++X) {
      const TColor C = PixelOf(Shot, X, Y);
      Gray |= C == clGray;
      Black |= C == clBlack;
    }
  EXPECT_TRUE(Gray);
  EXPECT_FALSE(Black);
  EXPECT_TRUE(FollowsParentEnabled([](TWinControl* P) {
    auto* N = new TNumIO2(P->GetOwner());
    N->SetParent(P);
    N->SetLeftText("Gain");
    return N;
  }));
}

TEST_F(NumIO2PaintTest, FieldsLookAsReviewed) {
  Form->SetColor(clBtnFace);
  delete F;
  struct TField {
    TInFormat Format;
    double Value;
    TFrameStyle Style;
    TAlignment Align;
    bool Buttons, Gauge, Enabled;
    const char* Left;
    const char* Right;
  };
  const TField Fields[] = {
      {itFloat, 3.3, fsLowered, taCenter, false, false, true, "Float", "V"},
      {itFixPoint, 1.25, fsRaised, taRightJustify, true, false, true, "Fix", "mm"},
      {itInt, 600, fsEmbossed, taLeftJustify, false, true, true, "Int", "rpm"},
      {itHex, 48879, fsEngraved, taCenter, false, false, true, "Hex", ""},
      {itExp, 1.5e7, fsSimple, taCenter, true, false, true, "Exp", "Hz"},
      {itFloat, 2000, fsLowered, taCenter, true, true, false, "Off", "x"},
  };
  int Top = 4;
  for (const TField& S : Fields) {
    auto* N = new TNumIO2(Form);
    N->SetParent(Form);
    N->SetBounds(4, Top, 200, S.Gauge ? 40 : 28);
    N->SetInputFormat(S.Format);
    N->SetFrameStyle(S.Style);
    N->SetAlignment(S.Align);
    N->SetButVisible(S.Buttons);
    N->SetGaugeVisible(S.Gauge);
    N->SetLeftText(S.Left);
    N->SetRightText(S.Right);
    N->SetValue(S.Value);
    N->SetEnabled(S.Enabled);
    Top += N->GetHeight() + 4;
  }
  Form->SetBounds(0, 0, 208, Top);
  D.AdvanceTime(1000);  // past the first caret tick: no caret without the focus
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/numio2_fields.png"));
}

}  // namespace
}  // namespace kvl
