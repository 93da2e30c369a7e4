// TThumbnails pixels: card fill and frames, the placeholder, fitted and halftone-scaled
// pictures, marks, frame-only and empty cards, bands and frame, a grid scrolled by part of a
// row, the focus rectangle; hostile answers from the host; reviewed pictures.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "kvl/core/drawing.h"
#include "kvl/platform/application.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/thumbnails/thumbnails.h"

namespace kvl {
namespace {

// The default control: one card per row, pitch 136, card side 134, the first card at (10, 12).
constexpr int X1 = 10, Y1 = 12, S = 134, M = 7;

class ThumbnailsPaintTest : public TControlTest<TThumbnails> {
protected:
  TImageRequestProcessing How = irpShowEmpty;
  int Mark = -1;
  TBitmap Picture;
  void SetUp() override {
    TControlTest::SetUp();
    Form->SetBounds(0, 0, 800, 600);
    Ctl->OnImageRequest = [this](TObject*, int, TImageRequestProcessing& H, int& Mk,
                                 std::unique_ptr<TBitmap>& Buf) {
      H = How;
      Mk = Mark;
      if (H == irpShowSlide) *Buf = Picture;
    };
    Form->Show();
    D.Settle();
  }
  // A fresh paint with the current answers.
  TBitmap Shot() {
    Ctl->Invalidate();
    return D.Capture(*Ctl);
  }
  static TBitmap Filled(int W, int H, TColor C) {
    TBitmap B(W, H);
    B.GetCanvas()->GetBrush().SetColor(C);
    B.GetCanvas()->FillRect(Rect(0, 0, W, H));
    return B;
  }
  static TBitmap Crop(const TBitmap& B, const TRect& R) {
    TBitmap Out(R.Width(), R.Height());
    for (int Y = 0; Y < R.Height(); ++Y)
      for (int X = 0; X < R.Width(); ++X) Out.ScanLine(Y)[X] = B.ScanLine(R.Top + Y)[R.Left + X];
    return Out;
  }
};

TEST_F(ThumbnailsPaintTest, CardsAreFilledByTheirSelectionAndFramedInEveryStyle) {
  How = irpShowFrameOnly;
  Ctl->SetSelectedSlide(2, true);
  for (const TFrameStyle Style : {fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved}) {
    Ctl->SetOuterFrameStyle(Style);
    const TBitmap B = Shot();
    for (const auto& [Y, Fill] : {std::pair{Y1, clSilver}, {Y1 + 136, clNavy}}) {
      TBitmap Expected = Filled(S + 1, S + 1, Fill);
      DrawFrame(*Expected.GetCanvas(), Style, 0, 0, S, S, clWhite, clSilver, clGray, clBlack,
                clBlack);
      EXPECT_TRUE(SamePicture(Crop(B, Rect(X1, Y, X1 + S + 1, Y + S + 1)), Expected)) << Style;
    }
  }
}

TEST_F(ThumbnailsPaintTest, PlaceholderIsWhiteWithTheCentredNumber) {
  const TBitmap B = Shot();
  const int L = X1 + M, T = Y1 + M + 20, R = X1 + S - M, Bt = Y1 + S - M - 20;
  EXPECT_EQ(PixelOf(B, L, T), clBlack);
  EXPECT_EQ(PixelOf(B, R - 1, Bt - 1), clBlack);
  EXPECT_EQ(PixelOf(B, L + 2, T + 2), clWhite);
  EXPECT_EQ(PixelOf(B, R, Bt - 5), clSilver);
  EXPECT_EQ(PixelOf(B, L + 5, Bt), clSilver);
  // The ink of "1" sits around the card's centre.
  int MinX = 1000, MaxX = -1, MinY = 1000, MaxY = -1;
  for (int Y = T + 1; Y < Bt - 1; ++Y)
    for (int X = L + 1; X < R - 1; ++X)
      if (PixelOf(B, X, Y) != clWhite) {
        MinX = std::min(MinX, X), MaxX = std::max(MaxX, X);
        MinY = std::min(MinY, Y), MaxY = std::max(MaxY, Y);
      }
  ASSERT_GE(MaxX, 0);
  EXPECT_NEAR((MinX + MaxX) / 2.0, X1 + S / 2, 2.5);
  EXPECT_NEAR((MinY + MaxY) / 2.0, Y1 + S / 2, 3.5);
}

TEST_F(ThumbnailsPaintTest, PicturesAreFittedWithTheirAspectAndFramed) {
  How = irpShowSlide;
  Ctl->SetInnerFrameStyle(fsNone);
  struct TCase {
    int W, H;
    TRect Target;  // relative to the card
  };
  const TCase Cases[] = {
      {60, 120, Rect(M + 30, M, M + 90, M + 120)},  {120, 60, Rect(M, M + 30, M + 120, M + 90)},
      {1, 10000, Rect(M + 59, M, M + 60, M + 120)}, {10000, 1, Rect(M, M + 59, M + 120, M + 60)},
      {4000, 4000, Rect(M, M, M + 120, M + 120)},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.W << " x " << C.H);
    Picture = Filled(C.W, C.H, clRed);
    const TBitmap B = Shot();
    const TRect T = C.Target.Offset(X1, Y1);
    const int Mx = (T.Left + T.Right) / 2, My = (T.Top + T.Bottom) / 2;
    EXPECT_EQ(PixelOf(B, T.Left, My), clRed);
    EXPECT_EQ(PixelOf(B, T.Right - 1, My), clRed);
    EXPECT_EQ(PixelOf(B, Mx, T.Top), clRed);
    EXPECT_EQ(PixelOf(B, Mx, T.Bottom - 1), clRed);
    EXPECT_EQ(PixelOf(B, T.Left - 1, My), clSilver);
    EXPECT_EQ(PixelOf(B, T.Right, My), clSilver);
    EXPECT_EQ(PixelOf(B, Mx, T.Top - 1), clSilver);
    EXPECT_EQ(PixelOf(B, Mx, T.Bottom), clSilver);
  }
  // The inner frame lies on the target, its right and bottom lines just past the picture.
  Picture = Filled(60, 120, clRed);
  Ctl->SetInnerFrameStyle(fsSimple);
  const TBitmap B = Shot();
  EXPECT_EQ(PixelOf(B, X1 + M + 30, Y1 + 60), clBlack);
  EXPECT_EQ(PixelOf(B, X1 + M + 90, Y1 + 60), clBlack);
  EXPECT_EQ(PixelOf(B, X1 + M + 31, Y1 + 60), clRed);
}

TEST_F(ThumbnailsPaintTest, ShrunkStripesTurnGrey) {
  How = irpShowSlide;
  Picture = TBitmap(240, 240);
  for (int Y = 0; Y < 240; ++Y)
    for (int X = 0; X < 240; ++X) Picture.ScanLine(Y)[X] = X % 2 ? 0xFFFFFF : 0;
  const TBitmap B = Shot();
  for (int Y = Y1 + 20; Y < Y1 + 110; Y += 7)
    for (int X = X1 + 20; X < X1 + 110; ++X) {
      const TColor C = PixelOf(B, X, Y);
      ASSERT_NEAR(GetRValue(C), 128, 8) << X << "," << Y;
    }
}

TEST_F(ThumbnailsPaintTest, MarksFrameOnlyNothingBandsAndFrame) {
  How = irpShowFrameOnly;
  Ctl->SetColorMark(clRed);
  const TBitmap Plain = Shot();
  for (const int Bad : {-2, 52, 300}) {
    Mark = Bad;
    EXPECT_TRUE(SamePicture(Shot(), Plain)) << Bad;
  }
  Mark = 0;  // a dot
  EXPECT_EQ(PixelOf(Shot(), X1 + 10, Y1 + 12), clRed);
  EXPECT_EQ(PixelOf(Plain, X1 + 10, Y1 + 12), clSilver);
  EXPECT_EQ(PixelOf(Plain, X1 + 60, Y1 + 60), clSilver);
  How = irpShowNothing;
  Mark = -1;
  const TBitmap Nothing = Shot();
  const TColor Face = ColorToRGB(clBtnFace);
  EXPECT_EQ(PixelOf(Nothing, X1 + 60, Y1 + 60), Face);
  // The outer frame on (0, 0, W - 2, H - 2) in the lowered look, and the bands.
  const int W = Ctl->GetWidth(), H = Ctl->GetHeight();
  EXPECT_EQ(PixelOf(Nothing, 0, 100), clGray);
  EXPECT_EQ(PixelOf(Nothing, 1, 100), clBlack);
  EXPECT_EQ(PixelOf(Nothing, W - 2, 100), clWhite);
  EXPECT_EQ(PixelOf(Nothing, W - 1, 100), Face);
  How = irpShowFrameOnly;
  const TBitmap Cut = Shot();
  EXPECT_EQ(PixelOf(Cut, 60, 5), Face);
  EXPECT_EQ(PixelOf(Cut, 60, 14), clSilver);
  EXPECT_EQ(PixelOf(Cut, 60, H - 11), clSilver);  // slide 3 reaches into the bottom band
  EXPECT_EQ(PixelOf(Cut, 60, H - 5), Face);
}

TEST_F(ThumbnailsPaintTest, GridScrolledByPartOfARowShowsItsBottomRow) {
  How = irpShowFrameOnly;
  bool Asked4 = false;
  Ctl->OnImageRequest = [&](TObject*, int Id, TImageRequestProcessing& H, int&,
                            std::unique_ptr<TBitmap>&) {
    H = How;
    Asked4 = Asked4 || Id == 4;
  };
  Ctl->SetFirstThumbIx(1.5);
  EXPECT_TRUE(Asked4);
  EXPECT_EQ(PixelAt(130, 370), clSilver);
}

// Erasing refills the bands from x = 2 to W - 3, over the frame's right outline: compare the
// first card and the band to its left only.
TEST_F(ThumbnailsPaintTest, FocusRectangleIsDrawnAndErasedBackToTheCard) {
  const auto Card = [](const TBitmap& B) { return Crop(B, Rect(0, 0, X1 + S + 2, 300)); };
  const TBitmap Before = Shot();
  for (const int Width : {1, 3}) {
    Ctl->SetFocusLinewidth(Width);
    D.MouseMove(*Ctl, 60, 60);
    const TBitmap Focused = D.Capture(*Ctl);
    for (int I = 0; I < Width; ++I) {
      EXPECT_EQ(PixelOf(Focused, X1 + 2 + I, 80), clBlue);
      EXPECT_EQ(PixelOf(Focused, X1 + S - 2 - I, 80), clBlue);
      EXPECT_EQ(PixelOf(Focused, 80, Y1 + 2 + I), clBlue);
    }
    EXPECT_EQ(PixelOf(Focused, X1 + 2 + Width, 80), clSilver);
    D.MouseMove(*Ctl, 5, 5);
    EXPECT_TRUE(SamePicture(Card(D.Capture(*Ctl)), Card(Before))) << Width;
  }
  // A selected card is erased back to the selected colour.
  Ctl->SetSelectedSlide(1, true);
  const TBitmap Selected = Shot();
  D.MouseMove(*Ctl, 60, 60);
  D.MouseMove(*Ctl, 5, 5);
  EXPECT_TRUE(SamePicture(Card(D.Capture(*Ctl)), Card(Selected)));
}

TEST_F(ThumbnailsPaintTest, HostileAnswersNeitherCrashNorLeakNorStopPainting) {
  int Requests = 0, Thrower = 0;
  std::unique_ptr<TBitmap> Own;
  const auto Throw = [&](int Which) {
    if (Thrower == Which) {
      Thrower = 0;
      throw std::runtime_error("host fault");
    }
  };
  Ctl->OnFirstImageRequest = [&](TObject*) { Throw(1); };
  Ctl->OnImageRequest = [&](TObject*, int Id, TImageRequestProcessing& H, int&,
                            std::unique_ptr<TBitmap>& Buf) {
    ++Requests;
    Throw(2);
    H = irpShowSlide;
    switch (Id % 4) {
      case 0:
        Buf.reset();
        break;
      case 1:
        Buf = std::make_unique<TBitmap>(30 + Id, 20);
        break;  // replaced every time
      case 2:
        Buf = std::make_unique<TBitmap>();
        break;  // 0 x 0
      default:
        H = static_cast<TImageRequestProcessing>(200);
        break;
    }
  };
  Ctl->OnSlideRendered = [&](TObject*, TCanvas&, int, int, int) { Throw(3); };
  Ctl->OnLastImageRequest = [&](TObject*) { Throw(4); };
  D.Settle();
  int Caught = 0;
  Application->OnException = [&](TObject*, const std::exception&) { ++Caught; };
  for (int Which = 1; Which <= 4; ++Which) {
    Thrower = Which;
    EXPECT_THROW(Ctl->SetColorCover(Ctl->GetColorCover() ^ 1), std::runtime_error) << Which;
    Requests = 0;
    Ctl->SetColorCover(Ctl->GetColorCover() ^ 1);
    EXPECT_EQ(Requests, 3) << Which;
    // Painting from the loop hands the exception to the application.
    Thrower = Which;
    Ctl->Invalidate();
    D.Settle();
    EXPECT_EQ(Caught, Which);
  }
  Application->OnException = nullptr;
  for (const auto& [W, H] : {std::pair{0, 0}, {1, 1}}) {
    Ctl->SetBounds(0, 0, W, H);
    D.Capture(*Form);
    D.MouseMove(*Form, 0, 0);
    D.Click(*Form, 0, 0);
  }
}

// A picture of W x H: a sky over a meadow with a sun, so that a squeezed or cut picture shows.
TBitmap Scene(int W, int H, TColor Sky) {
  TBitmap B(W, H);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(Sky);
  C.FillRect(Rect(0, 0, W, H));
  C.GetBrush().SetColor(RGBColor(40, 140, 60));
  C.FillRect(Rect(0, H * 2 / 3, W, H));
  C.GetPen().SetColor(clBlack);
  C.GetBrush().SetColor(clYellow);
  const int R = std::min(W, H) / 4;
  C.Ellipse(W / 4 - R, H / 3 - R, W / 4 + R, H / 3 + R);
  return B;
}

TEST_F(ThumbnailsPaintTest, ReviewedPictures) {
  EXPECT_TRUE(MatchesGolden(Shot(), "testdata/thumbnails_default.png"));

  // Every kind of answer on a wide grid, with a selection, marks and the focus at width 3.
  Ctl->SetBounds(0, 0, 700, 420);
  Ctl->SetFocusLinewidth(3);
  Ctl->SetSelectedSlide(2, true);
  Ctl->SetSelectedSlide(8, true);
  Ctl->OnImageRequest = [](TObject*, int Id, TImageRequestProcessing& H, int& Mk,
                           std::unique_ptr<TBitmap>& Buf) {
    const TColor Sky = RGBColor(120, 170, std::uint8_t(200 + Id * 5 % 50));
    static const std::pair<int, int> Sizes[] = {{160, 120}, {90, 160}, {100, 100}, {300, 100}};
    H = irpShowSlide;
    if (Id == 5) H = irpShowEmpty;
    if (Id == 6) H = irpShowFrameOnly;
    if (Id == 7) H = irpShowNothing;
    if (Id == 10) {
      Buf = std::make_unique<TBitmap>(Scene(400, 1, Sky));  // a sliver
      return;
    }
    const auto [W, Ht] = Sizes[Id % 4];
    *Buf = Scene(W, Ht, Sky);
    if (Id % 3 == 0) Mk = 8 + Id;
  };
  Ctl->OnSlideRendered = [](TObject*, TCanvas& C, int X, int Y, int Id) {
    C.GetBrush().SetStyle(bsClear);
    C.GetFont().SetColor(clWhite);
    C.TextOut(X + 100, Y + 3, std::to_string(Id));
  };
  Shot();
  D.MouseMove(*Ctl, 420, 100);
  EXPECT_EQ(Ctl->GetFocusedSlide(), 4);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/thumbnails_pictures.png"));

  Ctl->SetFirstThumbIx(1 + 5 * 0.5);
  EXPECT_TRUE(MatchesGolden(Shot(), "testdata/thumbnails_scrolled.png"));
}

}  // namespace
}  // namespace kvl
