// TNumLab on a form: properties, the frame pixels of each style, what the box shows (host's
// text, overflow by width, empty box), transparency, the mouse area, copying, and a reviewed
// picture of a set of labels.
#include "kvl/numlab/numlab.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>

#include "kvl/platform/dates.h"
#include "kvl/platform/forms.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

class NumLabTest : public TControlTest<TNumLab> {
protected:
  TNumLab* N = nullptr;
  void SetUp() override {
    TControlTest::SetUp();
    Form->Show();
    N = Ctl;
  }
  TNumLab* Add(int Top) {
    auto* L = new TNumLab(Form);
    L->SetParent(Form);
    L->SetTop(Top);
    return L;
  }
  TColor At(TControl& C, int X, int Y) { return PixelOf(D.Capture(C), X, Y); }
  // A label of the same layout that shows Text as it is.
  TBitmap Showing(const std::string& Text) {
    TNumLab* R = Add(200);
    R->SetLabelWidth(N->GetLabelWidth());
    R->SetDisplayType(dtState);
    R->SetStateText(Text);
    TBitmap Shot = D.Capture(*R);
    delete R;
    return Shot;
  }
  int WidthOf(const std::string& Text) {
    TBitmap B(1, 1);
    B.GetCanvas()->SetFont(N->GetFont());
    return B.GetCanvas()->TextWidth(Text);
  }
};

TEST_F(NumLabTest, SettersKeepTheirRanges) {
  N->SetPrecision(-1);
  EXPECT_EQ(N->GetPrecision(), 2);
  N->SetPrecision(20);
  EXPECT_EQ(N->GetPrecision(), 15);
  N->SetLeftSpace(-5);
  EXPECT_EQ(N->GetLeftSpace(), 35);
  N->SetLeftSpace(500);
  EXPECT_EQ(N->GetLeftSpace(), 160);
  N->SetDisplayType(TDisplay(99));
  EXPECT_EQ(N->GetDisplayType(), dtFixP);
}

TEST_F(NumLabTest, FramePixelsPerStyle) {
  // LeftSpace 35, LabelWidth 80, height 28: the frame lies on (36, 0)-(115, 26).
  N->SetColorLabBakG(clYellow);
  const TColor Out = ColorToRGB(clBtnFace);
  struct TCase {
    TFrameStyle Style;
    TColor Outline, Inner, Outer;
  };
  const TCase Cases[] = {{fsLowered, clGray, clBlack, clWhite},
                         {fsRaised, clGray, clWhite, clBlack},
                         {fsEmbossed, clWhite, clGray, clGray},
                         {fsEngraved, clGray, clWhite, clWhite}};
  for (const TCase& C : Cases) {
    N->SetFrameStyle(C.Style);
    const TBitmap Shot = D.Capture(*N);
    const auto Px = [&Shot](int X, int Y) { return PixelToColor(Shot.ScanLine(Y)[X]); };
    EXPECT_EQ(Px(36, 10), C.Outline) << int(C.Style);
    EXPECT_EQ(Px(114, 10), C.Outline) << int(C.Style);
    EXPECT_EQ(Px(37, 10), C.Inner) << int(C.Style);
    EXPECT_EQ(Px(115, 10), C.Outer) << int(C.Style);
    EXPECT_EQ(Px(60, 26), C.Outer) << int(C.Style);
    // The number's clip rectangle fills the inside: (38, 2) to (113, 24).
    EXPECT_EQ(Px(38, 2), clYellow) << int(C.Style);
    EXPECT_EQ(Px(113, 24), clYellow) << int(C.Style);
    EXPECT_EQ(Px(116, 10), Out) << int(C.Style);
  }
  N->SetFrameStyle(fsSimple);
  EXPECT_EQ(At(*N, 36, 10), clBlack);
  EXPECT_EQ(At(*N, 115, 26), clBlack);
  EXPECT_EQ(At(*N, 37, 10), Out);  // a ring of the outer colour between line and fill
  EXPECT_EQ(At(*N, 38, 10), clYellow);
  N->SetFrameStyle(fsNone);
  EXPECT_EQ(At(*N, 36, 10), Out);
  EXPECT_EQ(At(*N, 38, 10), clYellow);
  N->SetColorScheme(csSystem);
  N->SetFrameStyle(fsLowered);
  EXPECT_EQ(At(*N, 36, 10), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(*N, 115, 10), ColorToRGB(clBtnHighlight));
}

TEST_F(NumLabTest, TextWiderThanTheBoxGivesWayToTheIndicator) {
  N->SetValue(123456);
  const std::string Text = "123456.00";
  N->SetLabelWidth(WidthOf(Text) + 6);
  EXPECT_TRUE(SamePicture(D.Capture(*N), Showing(Text)));
  N->SetLabelWidth(WidthOf(Text) + 5);
  EXPECT_TRUE(SamePicture(D.Capture(*N), Showing("*********")));
  N->SetOverflowIndicator("#");
  EXPECT_TRUE(SamePicture(D.Capture(*N), Showing("#")));
  // Values a display type cannot write show the indicator too, also when they would fit.
  N->SetLabelWidth(80);
  N->SetDisplayType(dtInt);
  N->SetValue(1e300);
  EXPECT_TRUE(SamePicture(D.Capture(*N), Showing("#")));
  N->SetDisplayType(dtFloat);
  N->SetValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(SamePicture(D.Capture(*N), Showing("#")));
  // A state text is never replaced.
  N->SetDisplayType(dtState);
  N->SetStateText(std::string(40, 'W'));
  EXPECT_FALSE(SamePicture(D.Capture(*N), Showing("#")));
}

TEST_F(NumLabTest, OnBeforeDisplayChangesTheFinishedText) {
  std::string Seen;
  int Calls = 0;
  N->OnBeforeDisplay = [&](TObject* Sender, std::string& Text) {
    EXPECT_EQ(Sender, N);
    Seen = Text;
    ++Calls;
    Text = "n/a";
  };
  N->SetComma(true);
  N->SetForcePlusSign(true);
  N->SetValue(3.14159);
  EXPECT_EQ(Seen, "+3,14");
  EXPECT_TRUE(SamePicture(D.Capture(*N), Showing("n/a")));
  // The host's text meets the width rule like any other.
  N->OnBeforeDisplay = [](TObject*, std::string& Text) { Text = std::string(40, 'W'); };
  N->SetValue(1);
  EXPECT_TRUE(SamePicture(D.Capture(*N), Showing("*********")));
  // An empty box has no text to offer.
  N->OnBeforeDisplay = [&](TObject*, std::string&) { ++Calls; };
  Calls = 0;
  N->SetEmpty(true);
  N->SetValue(2);
  D.Settle();
  EXPECT_EQ(Calls, 0);
}

TEST_F(NumLabTest, EmptyBoxKeepsTheOuterBackground) {
  N->SetColorLabBakG(clYellow);
  N->SetColorOutBakG(clAqua);
  EXPECT_EQ(At(*N, 40, 10), clYellow);
  N->SetEmpty(true);
  EXPECT_EQ(At(*N, 40, 10), clAqua);
  EXPECT_EQ(At(*N, 36, 10), clGray);  // the frame stays
}

// Disabled side texts: a white copy one pixel lower, then grey at the enabled place. The copy
// lies one pixel right of it, but one pixel left for the right-aligned right text.
TEST_F(NumLabTest, DisabledSideTextsCastTheirWhiteCopyAside) {
  const struct {
    bool Right;
    TAlignment Alignment;
    int Dx;
  } Cases[] = {{false, taLeftJustify, 1}, {false, taRightJustify, 1}, {false, taCenter, 1},
               {true, taLeftJustify, 1},  {true, taRightJustify, -1}, {true, taCenter, 1}};
  N->SetBounds(0, 0, 240, 28);
  N->SetLeftSpace(60);
  N->SetColorOutBakG(clNavy);
  // Left, right and bottom of what differs from the background within columns [X0, X1).
  const auto Extent = [&](int X0, int X1) {
    const TBitmap Shot = D.Capture(*N);
    int L = X1, R = -1, B = -1;
    for (int Y = 0; Y < Shot.GetHeight(); ++Y)
      for (int X = X0; X < X1; ++X)
        if (PixelOf(Shot, X, Y) != clNavy) L = std::min(L, X), R = std::max(R, X), B = Y;
    return std::array<int, 3>{L, R, B};
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(testing::Message() << Case.Right << " " << int(Case.Alignment));
    N->SetLeftText(Case.Right ? "" : "Hz");
    N->SetRightText(Case.Right ? "Hz" : "");
    N->SetLeftTextAlignment(Case.Alignment);
    N->SetRightTextAlignment(Case.Alignment);
    const int X0 = Case.Right ? 60 + 80 + 1 : 0, X1 = Case.Right ? 240 : 60;
    N->SetEnabled(true);
    const auto On = Extent(X0, X1);
    N->SetEnabled(false);
    const auto Off = Extent(X0, X1);
    EXPECT_EQ(Off[0], On[0] + std::min(Case.Dx, 0));
    EXPECT_EQ(Off[1], On[1] + std::max(Case.Dx, 0));
    EXPECT_EQ(Off[2], On[2] + 1);
  }
  N->SetEnabled(true);
  EXPECT_TRUE(FollowsParentEnabled([](TWinControl* P) {
    auto* L = new TNumLab(P->GetOwner());
    L->SetParent(P);
    L->SetLeftText("Gain");
    return L;
  }));
}

TEST_F(NumLabTest, TransparentLabelShowsTheParentAndRepaintsCleanly) {
  Form->SetColor(clRed);
  N->SetColorLabBakG(clYellow);
  N->SetTransparent(true);
  N->SetValue(888888);
  D.Settle();
  EXPECT_EQ(At(*N, 5, 5), clRed);             // outside the box
  EXPECT_EQ(At(*N, 38, 3), clYellow);         // inside the box
  EXPECT_EQ(At(*N, 36, 10), clGray & clRed);  // frame lines are combined with the parent
  // New texts leave no trace of the old ones, also outside the box.
  N->SetLeftText("Wide");
  D.Settle();
  N->SetLeftText("V");
  N->SetValue(1);
  const TBitmap After = D.Capture(*N);
  TNumLab* Fresh = Add(100);
  Fresh->SetColorLabBakG(clYellow);
  Fresh->SetTransparent(true);
  Fresh->SetLeftText("V");
  Fresh->SetValue(1);
  EXPECT_TRUE(SamePicture(After, D.Capture(*Fresh)));
}

TEST_F(NumLabTest, MouseAreaCodeFollowsTheBox) {
  const std::pair<int, int> Cases[] = {{0, 0}, {35, 0}, {36, 1}, {115, 1}, {116, 2}, {159, 2}};
  for (const auto& [X, Code] : Cases) {
    D.MouseMove(*N, X, 5);
    EXPECT_EQ(N->GetMouseAreaCode(), Code) << X;
  }
}

TEST_F(NumLabTest, AssignCopiesTheLabelStateOnly) {
  TNumLab* S = Add(100);
  S->SetValue(7.5);
  S->SetDisplayType(dtExp);
  S->SetLeftText("L");
  S->SetColorScheme(csSystem);
  S->SetTransparent(true);
  S->SetComma(true);
  S->SetDTFormat("yyyy");
  S->SetLeft(50);
  N->Assign(S);
  EXPECT_EQ(N->GetValue(), 7.5);
  EXPECT_EQ(N->GetDisplayType(), dtExp);
  EXPECT_EQ(N->GetLeftText(), "L");
  EXPECT_TRUE(N->GetTransparent());
  EXPECT_FALSE(N->GetComma());
  EXPECT_EQ(N->GetDTFormat(), "mmm-dd, yyyy");
  EXPECT_EQ(N->GetLeft(), 0);
  // The frame-line colours come along with the scheme.
  N->SetTransparent(false);
  EXPECT_EQ(At(*N, 36, 10), ColorToRGB(clBtnShadow));
  EXPECT_THROW(N->Assign(Form), EConvertError);
  EXPECT_THROW(Form->Assign(N), EConvertError);
}

TEST_F(NumLabTest, TinyAndEmptySizesPaintWithoutFault) {
  N->SetBounds(0, 0, 0, 0);
  N->SetValue(5);
  D.Settle();
  N->SetBounds(0, 0, 12, 3);
  N->SetValue(6);
  EXPECT_EQ(D.Capture(*N).GetWidth(), 12);
}

// A set of labels that shows the display types side by side (reviewed by eye).
TEST_F(NumLabTest, GoldenSetOfLabels) {
  struct TSetup {
    TDisplay Type;
    double Value;
    int Precision;
    const char* Left;
    const char* Right;
  };
  const double When = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9);
  const TSetup Setups[] = {
      {dtFixP, 3.14159, 2, "Pi", ""},    {dtFloat, 6.02214076e23, 4, "N", "/mol"},
      {dtExp, -0.000123, 3, "I", "A"},   {dtEEng, 47000, 3, "R", "Ohm"},
      {dtInt, 1234567, 0, "n", ""},      {dtZeroInt, 42, 5, "No.", ""},
      {dtHex, 48879, 0, "Hex", ""},      {dtBin, 10, 0, "Bin", ""},
      {dtOct, 511, 0, "Oct", ""},        {dtDeg, 370.25, 2, "Az", ""},
      {dtDegMin, -12.5, 1, "Lat", ""},   {dtDegMinSec, 48.8584, 1, "Lon", ""},
      {dtEEngNoDP, 0.0625, 3, "t", "s"}, {dtDateTime, When, 0, "At", ""},
      {dtState, 0, 0, "Pump", ""},       {dtFixP, 1e18, 2, "Big", ""},
  };
  delete N;
  Form->SetBounds(0, 0, 420, 8 * 30 + 4);
  int I = 0;
  for (const TSetup& S : Setups) {
    TNumLab* L = Add(2 + (I / 2) * 30);
    L->SetBounds(2 + (I % 2) * 210, 2 + (I / 2) * 30, 205, 28);
    L->SetLeftSpace(45);
    L->SetLabelWidth(112);
    L->SetDisplayType(S.Type);
    L->SetPrecision(S.Precision);
    L->SetValue(S.Value);
    L->SetLeftText(S.Left);
    L->SetRightText(S.Right);
    L->SetColorLabBakG(clWhite);
    if (S.Type == dtDateTime) L->SetDTFormat("dd.mm.yyyy hh:nn");
    if (S.Type == dtState) L->SetStateText("running");
    if (S.Type == dtDegMin) L->SetFrameStyle(fsRaised);
    if (S.Type == dtDegMinSec) L->SetFrameStyle(fsEngraved);
    if (S.Type == dtInt) L->SetAlignment(taRightJustify);
    if (S.Type == dtZeroInt) L->SetAlignment(taLeftJustify);
    if (S.Type == dtOct) L->SetEnabled(false);
    if (S.Type == dtEEng) {
      L->SetComma(true);
      L->SetForcePlusSign(true);
    }
    ++I;
  }
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/numlab_labels.png"));
}

// Transparent labels over a coloured form: the picture is combined with what lies beneath by
// AND, so its texts are drawn in two colours and leave no coloured fringes (reviewed by eye).
TEST_F(NumLabTest, GoldenTransparentOverColour) {
  struct TSetup {
    TColor OutText, LabText;
    bool Enabled;
    int Points;
  };
  const TSetup Setups[] = {{clBlack, clBlack, true, 8},
                           {clNavy, clRed, true, 8},
                           {clBlack, clBlue, false, 8},
                           {clPurple, clGreen, true, 12}};
  delete N;
  Form->SetColor(RGBColor(250, 210, 80));
  Form->SetBounds(0, 0, 232, 4 * 30 + 4);
  int I = 0;
  for (const TSetup& S : Setups) {
    TNumLab* L = Add(0);
    L->SetBounds(2, 2 + I++ * 30, 228, 28);
    L->SetLeftSpace(50);
    L->SetLabelWidth(112);
    L->GetFont().SetSize(S.Points);
    L->SetTransparent(true);
    L->SetColorOutText(S.OutText);
    L->SetColorLabText(S.LabText);
    L->SetEnabled(S.Enabled);
    L->SetValue(1013.25);
    L->SetLeftText("Flow");
    L->SetRightText("l/min");
  }
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/numlab_transparent.png"));
}

}  // namespace
}  // namespace kvl
