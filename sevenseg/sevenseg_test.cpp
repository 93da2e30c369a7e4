#include "kvl/sevenseg/sevenseg.h"

#include <gtest/gtest.h>

#include "kvl/platform/forms.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

constexpr TColor Back = 0x00333333;

// One digit cell of 156 x 216 pixels: the design grid at half size.
class SevenSegTest : public TControlTest<TSevenSeg> {
protected:
  TSevenSeg* S = nullptr;
  void SetUp() override {
    TControlTest::SetUp();
    S = Ctl;
    S->SetBounds(0, 0, 8 + 156 + 2 + 8, 8 + 216 + 8);
    S->SetNumDigits(1);
  }
  // The colour at a point of the design grid of digit position J (from 0).
  static TColor AtGrid(const TBitmap& Shot, int J, int GX, int GY) {
    return PixelOf(Shot, 8 + J * (156 + 2) + GX / 2, 8 + GY / 2);
  }
};

struct TProbe {
  int X, Y;
};
// Centres of segments 1 ... 7 and of the dot on the design grid.
constexpr TProbe SegmentCentres[] = {{194, 19}, {71, 118},  {278, 118}, {157, 216},
                                     {34, 315}, {241, 315}, {120, 413}};
constexpr TProbe DotCentre{288, 413};

TEST_F(SevenSegTest, EveryCharacterLightsItsSegmentsAndTheDotOnRequest) {
  const char* const Lit[] = {"1235 67", "3 6", "13457",   "13467",  "2346", "12467",
                             "124567",  "136", "1234567", "123467", "4"};
  const std::string Letters[] = {"123456", "24567", "1257", "34567", "12457", "1245"};
  for (int K = 0; K < SevenSegCharCount; ++K) {
    const char32_t C = SevenSegCharList[std::size_t(K)];
    std::string Expected;
    if (K <= 10) Expected = Lit[K];
    if (K >= 14 && K <= 19) Expected = Letters[K - 14];
    if (C == U'+') Expected = "4";  // the plus's crossbar lies where segment 4 would
    for (const bool Dot : {false, true}) {
      std::string Caption = C == U'\u00B0' ? "\xC2\xB0" : std::string(1, char(C));
      if (Dot && C != U'.') Caption += ".";
      S->SetCaption(Caption);
      const TBitmap Shot = D.Capture(*S);
      for (int Seg = 1; Seg <= 7; ++Seg) {
        const TProbe P = SegmentCentres[Seg - 1];
        const bool On = Expected.find(char('0' + Seg)) != std::string::npos;
        EXPECT_EQ(AtGrid(Shot, 0, P.X, P.Y), On ? clRed : Back)
            << "character " << Caption << " segment " << Seg;
      }
      const bool DotOn = Dot || C == U'.';
      EXPECT_EQ(AtGrid(Shot, 0, DotCentre.X, DotCentre.Y), DotOn ? clRed : Back) << Caption;
    }
  }
  // The three signs of their own: plus (its upright bar), colon (both dots), degree (the ring,
  // with background inside).
  S->SetCaption("+");
  EXPECT_EQ(AtGrid(D.Capture(*S), 0, 157, 150), clRed);
  S->SetCaption(":");
  EXPECT_EQ(AtGrid(D.Capture(*S), 0, 156, 169), clRed);
  EXPECT_EQ(AtGrid(D.Capture(*S), 0, 148, 261), clRed);
  S->SetCaption("\xC2\xB0");
  EXPECT_EQ(AtGrid(D.Capture(*S), 0, 192, 60), clRed);
  EXPECT_EQ(AtGrid(D.Capture(*S), 0, 230, 60), Back);
  // Lower-case hexadecimal letters count as capitals; unknown characters stay dark.
  S->SetCaption("e");
  EXPECT_EQ(AtGrid(D.Capture(*S), 0, 157, 216), clRed);
  S->SetCaption("x");
  EXPECT_EQ(AtGrid(D.Capture(*S), 0, 157, 216), Back);
}

TEST_F(SevenSegTest, CaptionWalkGivesDotsTheirPositions) {
  S->SetBounds(0, 0, 16 + 4 * 158, 232);
  S->SetNumDigits(4);
  const auto Shown = [&](const std::string& Caption) {
    S->SetCaption(Caption);
    const TBitmap Shot = D.Capture(*S);
    std::string R;
    for (int J = 0; J < 4; ++J) {
      const bool Mid = AtGrid(Shot, J, 157, 216) == clRed;    // segment 4
      const bool Top = AtGrid(Shot, J, 194, 19) == clRed;     // segment 1
      const bool Right = AtGrid(Shot, J, 278, 118) == clRed;  // segment 3
      const bool Dot = AtGrid(Shot, J, 288, 413) == clRed;
      R += !Top && !Mid && !Right ? '_' : Top && Mid ? '8' : Right ? '1' : '?';
      if (Dot) R += '.';
    }
    return R;
  };
  EXPECT_EQ(Shown("18.11"), "18.11");
  EXPECT_EQ(Shown(".1"), "_.1__");
  EXPECT_EQ(Shown("8.8.8.8."), "8.8.8.8.");
  EXPECT_EQ(Shown("111118"), "1111");
  EXPECT_EQ(Shown("1,1"), "1.1__");
}

TEST_F(SevenSegTest, OnlySizeAndLookSettersRebuildTheCache) {
  const int Start = S->GetCacheBuildCount();
  S->SetCaption("42");
  S->SetCaption("8:");
  S->SetFrameStyle(fsRaised);
  S->SetNumDigits(0);
  S->SetNumDigits(33);
  S->SetNumDigits(1);
  S->SetColorText(clRed);
  S->SetLeft(20);
  EXPECT_EQ(S->GetCacheBuildCount(), Start);
  EXPECT_EQ(S->GetNumDigits(), 1);
  S->SetNumDigits(2);
  S->SetColorText(clLime);
  S->SetColorBackGnd(clBlack);
  S->SetMargin(4);
  S->SetInterDigDist(3);
  S->SetWidth(300);
  EXPECT_EQ(S->GetCacheBuildCount(), Start + 6);
}

TEST_F(SevenSegTest, WhiteSegmentsStayVisibleOnTheWhiteDesignGrid) {
  S->SetCaption("8");
  for (TColor White : {clWhite, clWindow, clBtnHighlight}) {
    S->SetColorText(White);
    EXPECT_EQ(AtGrid(D.Capture(*S), 0, 157, 216), TColor(0xFEFEFE)) << std::hex << White;
    S->SetColorText(clRed);
  }
}

TEST_F(SevenSegTest, TinyAndDegenerateLayoutsPaintBackgroundAndFrame) {
  S->SetCaption("8888");
  S->SetNumDigits(4);
  for (const TRect R : {Rect(0, 0, 20, 30), Rect(0, 0, 0, 0), Rect(0, 0, 3, 2)}) {
    S->SetBoundsRect(R);
    const TBitmap Shot = D.Capture(*S);
    EXPECT_EQ(Shot.GetWidth(), R.Width());
    if (R.Width() > 4) {
      EXPECT_EQ(PixelOf(Shot, R.Width() / 2, R.Height() / 2), Back);
    }
  }
  S->SetBounds(0, 0, 100, 40);
  S->SetMargin(8);
  S->SetHeight(12);  // the margin no longer fits
  S->SetInterDigDist(-5);
  EXPECT_EQ(S->GetInterDigDist(), 0);
  S->SetInterDigDist(1000);
  EXPECT_EQ(S->GetInterDigDist(), 255);
  D.Capture(*S);
}

TEST_F(SevenSegTest, AssignCopiesTheLookAndOtherClassesRefuse) {
  S->SetColorText(clYellow);
  S->SetNumDigits(6);
  S->SetCaption("12");
  S->SetMargin(5);
  auto* Copy = new TSevenSeg(Form);
  Copy->Assign(S);
  EXPECT_EQ(Copy->GetColorText(), clYellow);
  EXPECT_EQ(Copy->GetNumDigits(), 6);
  EXPECT_EQ(Copy->GetCaption(), "12");
  EXPECT_EQ(Copy->GetMargin(), 5);
  TGraphicControl Plain(nullptr);
  EXPECT_THROW(Plain.Assign(S), EConvertError);
}

TEST_F(SevenSegTest, DisplaysLookAsReviewed) {
  S->SetBounds(0, 0, 300, 90);
  S->SetNumDigits(5);
  S->SetCaption("-12.5\xC2\xB0");
  auto* Clock = new TSevenSeg(Form);
  Clock->SetParent(Form);
  Clock->SetBounds(0, 90, 300, 70);
  Clock->SetNumDigits(5);
  Clock->SetCaption("12:34");
  Clock->SetColorText(clLime);
  Clock->SetColorBackGnd(clBlack);
  Clock->SetFrameStyle(fsRaised);
  Form->SetBounds(0, 0, 300, 160);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/sevenseg_displays.png"));
}

}  // namespace
}  // namespace kvl
