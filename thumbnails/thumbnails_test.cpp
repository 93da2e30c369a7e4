// TThumbnails: card geometry and scrolling, setter clamps and the range rules, the selection,
// copying, the order of the paint events, and the mouse.
#include "kvl/thumbnails/thumbnails.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class ThumbnailsTest : public TControlTest<TThumbnails> {
protected:
  int Paints = 0;
  std::vector<std::string> Log;
  void SetUp() override {
    TControlTest::SetUp();
    Form->SetBounds(0, 0, 800, 600);
    Ctl->OnFirstImageRequest = [this](TObject*) { ++Paints; };
    D.Settle();
  }
  // Width giving N cards per row at the default pitch of 136.
  void CardsPerRow(int N) {
    Ctl->SetWidth(136 * N + 18);
    D.Capture(*Ctl);
    ASSERT_EQ(Ctl->GetNumSldX(), N);
  }
};

TEST_F(ThumbnailsTest, SlidePositionAndIndexAgreeOnEveryVisibleCardWithInclusiveEdges) {
  constexpr int P = 136, S = 134;
  for (const int N : {1, 2, 5})
    for (const double Fraction : {0.0, 0.25, 0.5, 0.99}) {
      SCOPED_TRACE(testing::Message() << N << " per row, fraction " << Fraction);
      CardsPerRow(N);
      Ctl->SetFirstThumbIx(1 + N + Fraction * N);  // the second row, scrolled by Fraction
      EXPECT_DOUBLE_EQ(Ctl->GetFirstThumbIx(), 1 + N + Fraction);
      const int H = Ctl->GetHeight(), W = Ctl->GetWidth();
      int Seen = 0;
      for (int Sld = 1; Sld <= 100; ++Sld) {
        int X, Y;
        Ctl->CalcSlidePos(Sld, X, Y);
        EXPECT_EQ(X, P * ((Sld - 1) % N) + 10);
        if (Y + S <= 10 || Y > H - 10) continue;
        ++Seen;
        const int Yin = std::clamp(Y + S / 2, 10, H - 10);
        for (const int Xe : {X, X + S}) EXPECT_EQ(Ctl->CalcSlideIndex(Xe, Yin), Sld);
        for (const int Ye : {Y, Y + S})
          if (Ye >= 10 && Ye <= H - 10) {
            EXPECT_EQ(Ctl->CalcSlideIndex(X + 5, Ye), Sld);
          }
        EXPECT_EQ(Ctl->CalcSlideIndex(X + S + 1, Yin), 0);  // the gap to the next card
        if (Y - 1 >= 10) {
          EXPECT_EQ(Ctl->CalcSlideIndex(X + 5, Y - 1), 0);
        }
        if (Y <= H - 9 && Y + S >= H - 9) {
          EXPECT_EQ(Ctl->CalcSlideIndex(X + 5, H - 9), 0);
        }
      }
      EXPECT_GE(Seen, N * 2);
      EXPECT_EQ(Ctl->CalcSlideIndex(9, 50), 0);
      EXPECT_EQ(Ctl->CalcSlideIndex(W - 9, 50), 0);
    }
  // Above the top row: floor division keeps the column.
  Ctl->SetFirstThumbIx(11);
  int X, Y;
  Ctl->CalcSlidePos(9, X, Y);
  EXPECT_EQ(X, 10 + P * 3);
  EXPECT_EQ(Y, 12 - P);
}

TEST_F(ThumbnailsTest, PositionIsClampedAlignedToItsRowAndRealignedWhenARowWidens) {
  CardsPerRow(2);
  Ctl->SetFirstThumbIx(5.5);
  EXPECT_DOUBLE_EQ(Ctl->GetFirstThumbIx(), 5.25);
  Ctl->SetFirstThumbIx(-3);
  EXPECT_DOUBLE_EQ(Ctl->GetFirstThumbIx(), 1);
  Ctl->SetFirstThumbIx(1e9);  // 100 lies in the row starting at 99
  EXPECT_DOUBLE_EQ(Ctl->GetFirstThumbIx(), 99.5);
  Ctl->SetFirstThumbIx(7);
  CardsPerRow(5);  // slide 7 now lies in the row of 6
  EXPECT_DOUBLE_EQ(Ctl->GetFirstThumbIx(), 6 + 1.0 / 5);
}

TEST_F(ThumbnailsTest, SettersClampAndPaintOnlyOnChange) {
  struct TCase {
    const char* Name;
    std::function<void(int)> Set;
    std::function<int()> Get;
    int In, Stored;
  };
  TThumbnails& T = *Ctl;
#define KVL_PROPERTY(P) [&](int V) { T.Set##P(V); }, [&] { return T.Get##P(); }
  const TCase Cases[] = {
      {"size low", KVL_PROPERTY(SlideSize), 10, 50},
      {"size wide", KVL_PROPERTY(SlideSize), 900, 260},
      {"distance low", KVL_PROPERTY(SlideDistance), -1, 0},
      {"distance high", KVL_PROPERTY(SlideDistance), 101, 100},
      {"margin low", KVL_PROPERTY(SlideMargin), -1, 0},
      {"margin high", KVL_PROPERTY(SlideMargin), 101, 100},
      {"focus low", KVL_PROPERTY(FocusLinewidth), -1, 0},
      {"focus high", KVL_PROPERTY(FocusLinewidth), 11, 10},
      {"min low", KVL_PROPERTY(Min), -5, 1},
      {"max low", KVL_PROPERTY(Max), -5, 1},
  };
#undef KVL_PROPERTY
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const int Old = C.Get();
    Paints = 0;
    C.Set(Old);
    EXPECT_EQ(Paints, 0);
    C.Set(C.In);
    EXPECT_EQ(C.Get(), C.Stored);
    EXPECT_EQ(Paints, C.Stored != Old ? 1 : 0);
    C.Set(Old);
  }
  Paints = 0;
  Ctl->SetColorCover(clSilver);
  Ctl->SetFrameStyle(fsLowered);
  Ctl->SetSlideSelectMode(ssmSingle);
  EXPECT_EQ(Paints, 0);
  Ctl->SetColorCover(clRed);
  Ctl->SetOuterFrameStyle(fsEngraved);
  EXPECT_EQ(Paints, 2);
  Ctl->SetWidth(30);
  Ctl->SetSlideSize(120);
  EXPECT_EQ(Ctl->GetSlideSize(), 30);
  // Width 0 with no distance and margin would make the pitch 0.
  Ctl->SetWidth(0);
  Ctl->SetSlideDistance(0);
  Ctl->SetSlideMargin(0);
  Ctl->SetSlideSize(120);
  EXPECT_EQ(Ctl->GetSlideSize(), 1);
  D.MouseMove(*Form, 0, 0);
  D.Click(*Form, 0, 0);
  EXPECT_EQ(Ctl->CalcSlideIndex(0, 0), 0);
  // Off a form a setter only stores.
  TThumbnails Loose(nullptr);
  Loose.OnFirstImageRequest = [this](TObject*) { ++Paints; };
  Paints = 0;
  Loose.SetColorCover(clRed);
  Loose.SetMax(500);
  EXPECT_EQ(Paints, 0);
}

TEST_F(ThumbnailsTest, MinAndMaxKeepTheRangeAndTheSelectionConsistent) {
  Ctl->SetMax(50);
  Ctl->SetSelectedSlide(10, true);
  Ctl->SetMin(60);  // above Max: ignored
  EXPECT_EQ(Ctl->GetMin(), 1);
  Ctl->SetMax(0);
  EXPECT_EQ(Ctl->GetMax(), 1);
  Ctl->SetMax(50);
  EXPECT_FALSE(Ctl->GetSelectedSlide(10));  // the shrink dropped it for good
  Ctl->SetSelectedSlide(10, true);
  Ctl->SetFirstThumbIx(45);
  Ctl->SetMin(5);
  EXPECT_EQ(Ctl->NumSlidesSelected(), 0);
  Ctl->SetSelectedSlide(50, true);
  EXPECT_TRUE(Ctl->GetSelectedSlide(50));
  Ctl->SetMax(20);  // the grid must not stay blank past the new end
  EXPECT_LE(Ctl->GetFirstThumbIx(), 20);
  Ctl->SetMax(10);
  Ctl->SetMin(8);
  EXPECT_GE(Ctl->GetFirstThumbIx(), 8);
}

TEST_F(ThumbnailsTest, SelectionStaysInsideTheRange) {
  Ctl->SetMin(5);
  Ctl->SetMax(300);
  Paints = 0;
  for (const int Sld : {4, 301, INT_MIN, INT_MAX}) {
    Ctl->SetSelectedSlide(Sld, true);
    EXPECT_FALSE(Ctl->GetSelectedSlide(Sld));
  }
  EXPECT_EQ(Paints, 0);
  EXPECT_EQ(Ctl->NumSlidesSelected(), 0);
  EXPECT_EQ(Ctl->FirstSelectedSlide(), 4);
  EXPECT_EQ(Ctl->NextSelectedSlide(INT_MIN), 4);
  Ctl->SetSelectedRange(200, 70, true);
  Ctl->SetSelectedRange(-10, 6, true);
  Ctl->SetSelectedRange(299, INT_MAX, true);
  EXPECT_EQ(Paints, 3);
  EXPECT_EQ(Ctl->NumSlidesSelected(), 131 + 2 + 2);
  Ctl->SetSelectedRange(100, 100, false);
  EXPECT_EQ(Ctl->FirstSelectedSlide(), 5);
  EXPECT_EQ(Ctl->NextSelectedSlide(6), 70);
  EXPECT_EQ(Ctl->NextSelectedSlide(99), 101);
  EXPECT_EQ(Ctl->NextSelectedSlide(300), 4);
  EXPECT_EQ(Ctl->NextSelectedSlide(INT_MAX), 4);
  Ctl->SetSlideSelectMode(ssmMultiple);
  EXPECT_EQ(Ctl->NumSlidesSelected(), 0);
}

TEST_F(ThumbnailsTest, AssignCopiesTheListedStateOnly) {
  auto* Src = new TThumbnails(Form);
  int Calls = 0;
  Src->SetMax(500);
  Src->SetSlideSize(90);
  Src->SetSlideDistance(5);
  Src->SetSlideMargin(3);
  Src->SetFocusLinewidth(4);
  Src->SetColorBackGnd(clTeal);
  Src->SetColorCover(clRed);
  Src->SetColorSelected(clLime);
  Src->SetColorFocus(clYellow);
  Src->SetColorMark(clWhite);
  Src->SetColorScheme(csSystem);
  Src->SetFrameStyle(fsNone);
  Src->SetOuterFrameStyle(fsSimple);
  Src->SetInnerFrameStyle(fsEmbossed);
  Src->SetAntiAlias(true);
  Src->SetFirstThumbIx(7);
  Src->SetSlideSelectMode(ssmMultiple);
  Src->SetSelectedSlide(3, true);
  Src->OnImageClick = [&](TObject*, int, int, int) { ++Calls; };
  Ctl->SetSelectedSlide(40, true);
  Ctl->Assign(Src);
  EXPECT_EQ(Ctl->GetMax(), 500);
  EXPECT_EQ(Ctl->GetSlideSize(), 90);
  EXPECT_EQ(Ctl->GetSlideDistance(), 5);
  EXPECT_EQ(Ctl->GetSlideMargin(), 3);
  EXPECT_EQ(Ctl->GetFocusLinewidth(), 4);
  EXPECT_EQ(Ctl->GetColorBackGnd(), clTeal);
  EXPECT_EQ(Ctl->GetColorCover(), clRed);
  EXPECT_EQ(Ctl->GetColorSelected(), clLime);
  EXPECT_EQ(Ctl->GetColorFocus(), clYellow);
  EXPECT_EQ(Ctl->GetColorMark(), clWhite);
  EXPECT_EQ(Ctl->GetColorScheme(), csSystem);
  EXPECT_EQ(Ctl->GetFrameStyle(), fsNone);
  EXPECT_EQ(Ctl->GetOuterFrameStyle(), fsSimple);
  EXPECT_EQ(Ctl->GetInnerFrameStyle(), fsEmbossed);
  EXPECT_TRUE(Ctl->GetAntiAlias());
  EXPECT_EQ(Ctl->GetFirstThumbIx(), Src->GetFirstThumbIx());
  EXPECT_EQ(Ctl->GetSlideSelectMode(), ssmSingle);
  // Min stayed: the selection keeps its bits, and the bit field covers the new range.
  EXPECT_TRUE(Ctl->GetSelectedSlide(40));
  EXPECT_FALSE(Ctl->GetSelectedSlide(3));
  Ctl->SetSelectedSlide(500, true);
  EXPECT_TRUE(Ctl->GetSelectedSlide(500));
  ASSERT_TRUE(Ctl->OnImageClick);
  Ctl->OnImageClick(Ctl, 0, 0, 0);
  EXPECT_EQ(Calls, 1);
  Src->SetMin(2);
  Ctl->Assign(Src);
  EXPECT_EQ(Ctl->NumSlidesSelected(), 0);
  TGraphicControl Plain(nullptr);
  EXPECT_THROW(Ctl->Assign(&Plain), EConvertError);
  EXPECT_THROW(Plain.Assign(Ctl), EConvertError);
}

TEST_F(ThumbnailsTest, PaintAsksForEveryVisibleSlideInColumnOrder) {
  CardsPerRow(2);
  Ctl->SetHeight(300);  // rows 12..146, 148..282 and a third reaching into the bottom band
  Ctl->OnFirstImageRequest = [this](TObject*) { Log.push_back("first"); };
  Ctl->OnLastImageRequest = [this](TObject*) { Log.push_back("last"); };
  Ctl->OnImageRequest = [this](TObject*, int Id, TImageRequestProcessing& How, int& Mark,
                               std::unique_ptr<TBitmap>&) {
    EXPECT_EQ(How, irpShowEmpty);
    EXPECT_EQ(Mark, -1);
    How = irpShowNothing;
    Mark = 3;
    Log.push_back("ask " + std::to_string(Id));
    Ctl->SetColorMark(Ctl->GetColorMark() ^ 1);  // no nested paint
  };
  Ctl->OnSlideRendered = [this](TObject*, TCanvas&, int X, int Y, int Id) {
    Log.push_back("done " + std::to_string(Id) + " " + std::to_string(X) + "," + std::to_string(Y));
  };
  Ctl->SetFirstThumbIx(3);
  const std::vector<std::string> Expected = {"first",          "ask 3", "done 3 10,12",   "ask 5",
                                             "done 5 10,148",  "ask 7", "done 7 10,284",  "ask 4",
                                             "done 4 146,12",  "ask 6", "done 6 146,148", "ask 8",
                                             "done 8 146,284", "last"};
  EXPECT_EQ(Log, Expected);
  EXPECT_EQ(Ctl->GetNumSldY(), 3);
}

TEST_F(ThumbnailsTest, MouseFocusesClicksAndDoubleClicks) {
  Ctl->SetFocusLinewidth(0);
  int Focus = 0;
  Ctl->OnFocusChange = [&](TObject*) { ++Focus; };
  D.MouseMove(*Ctl, 50, 50);
  EXPECT_EQ(Focus, 0);
  Ctl->SetFocusLinewidth(1);
  for (const auto& [X, Y] : {std::pair{50, 50}, {60, 60}, {50, 200}, {5, 5}, {6, 6}})
    D.MouseMove(*Ctl, X, Y);
  EXPECT_EQ(Focus, 3);  // slide 1, slide 2, none
  EXPECT_EQ(Ctl->GetFocusedSlide(), 0);

  Ctl->OnImageClick = [this](TObject*, int X, int Y, int Id) {
    Log.push_back("image " + std::to_string(X) + "," + std::to_string(Y) + " " +
                  std::to_string(Id));
  };
  Ctl->OnImageDblClick = [this](TObject*, int, int, int Id) {
    Log.push_back("image double " + std::to_string(Id));
  };
  Ctl->OnDblClick = [this](TObject*) { Log.push_back("double"); };
  Ctl->SetSelectedSlide(3, true);
  D.Click(*Ctl, 50, 200);
  EXPECT_EQ(Ctl->NumSlidesSelected(), 1);
  EXPECT_TRUE(Ctl->GetSelectedSlide(2));
  EXPECT_EQ(Ctl->GetLastClickedSlide(), 2);
  D.AdvanceTime(1000);
  D.Click(*Ctl, 5, 5);  // the border: nothing selected, slide 0 reported
  EXPECT_EQ(Ctl->NumSlidesSelected(), 0);
  for (const TSlideSelectMode Mode : {ssmMultiple, ssmDisabled}) {
    Ctl->SetSlideSelectMode(Mode);
    Ctl->SetSelectedSlide(3, true);
    D.AdvanceTime(1000);
    D.Click(*Ctl, 50, 50);
    EXPECT_EQ(Ctl->NumSlidesSelected(), 1);
    EXPECT_TRUE(Ctl->GetSelectedSlide(3));
  }
  D.AdvanceTime(1000);
  D.DblClick(*Ctl, 50, 200);
  D.AdvanceTime(1000);
  D.MouseDown(*Ctl, 50, 50);
  D.MouseUp(*Ctl, -1, -1);
  EXPECT_EQ(Ctl->GetLastClickedSlide(), 2);
  const std::vector<std::string> Expected = {"image 50,200 2", "image 5,5 0",    "image 50,50 1",
                                             "image 50,50 1",  "image 50,200 2", "double",
                                             "image double 2", "image 50,200 2"};
  EXPECT_EQ(Log, Expected);
}

TEST_F(ThumbnailsTest, HugeRangeScrolledToItsEndPaintsAndClicks) {
  Ctl->SetMax(INT_MAX);
  Ctl->SetFirstThumbIx(INT_MAX);
  D.Capture(*Ctl);
  const int F = int(Ctl->GetFirstThumbIx());
  EXPECT_EQ(F, INT_MAX);
  D.MouseMove(*Ctl, 50, 50);
  D.Click(*Ctl, 50, 50);
  EXPECT_TRUE(Ctl->GetSelectedSlide(INT_MAX));
  EXPECT_EQ(Ctl->FirstSelectedSlide(), INT_MAX);
  int X, Y;
  Ctl->CalcSlidePos(1, X, Y);
  EXPECT_EQ(Y, INT_MIN);
  Ctl->SetFirstThumbIx(1);
  Ctl->CalcSlidePos(INT_MAX, X, Y);
  EXPECT_EQ(Y, INT_MAX);
}

}  // namespace
}  // namespace kvl
