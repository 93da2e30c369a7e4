#include "kvl/platform/bitmap.h"

#include <gtest/gtest.h>

#include "kvl/platform/canvas.h"

namespace kvl {
namespace {

TEST(Bitmap, SizesAtOrBelowZeroAreEmpty) {
  TBitmap B(-5, 10);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.GetWidth(), 0);
  EXPECT_EQ(B.GetHeight(), 0);
  B.SetSize(3, 0);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.GetCanvas()->GetPixel(0, 0), clInvalidPixel);
  B.GetCanvas()->SetPixel(0, 0, clRed);  // ignored, no crash
}

TEST(Bitmap, ResizeKeepsPixelsAndWhitensNewOnes) {
  TBitmap B(2, 2);
  B.GetCanvas()->SetPixel(1, 1, clRed);
  B.SetSize(3, 4);
  EXPECT_EQ(B.GetCanvas()->GetPixel(1, 1), clRed);
  EXPECT_EQ(B.GetCanvas()->GetPixel(2, 3), clWhite);
  B.SetSize(1, 1);
  EXPECT_EQ(B.GetCanvas()->GetPixel(0, 0), clWhite);
}

TEST(Bitmap, HugeSizesAreRefusedAndLeaveTheBitmapAsItWas) {
  TBitmap B(4, 4);
  EXPECT_THROW(B.SetSize(100000, 100000), EOutOfResources);
  EXPECT_THROW(B.SetSize(MaxBitmapSide, MaxBitmapSide), EOutOfResources);
  EXPECT_EQ(B.GetWidth(), 4);
  EXPECT_EQ(B.GetHeight(), 4);
}

TEST(Bitmap, CopiesAreDeepAndHaveTheirOwnCanvas) {
  TBitmap A(2, 1);
  A.GetCanvas()->SetPixel(0, 0, clBlue);
  TBitmap B = A;
  B.GetCanvas()->SetPixel(0, 0, clLime);
  EXPECT_EQ(A.GetCanvas()->GetPixel(0, 0), clBlue);
  EXPECT_EQ(B.GetCanvas()->GetPixel(0, 0), clLime);
  EXPECT_EQ(B.GetCanvas()->GetBitmap(), &B);
  A.Assign(B);
  EXPECT_EQ(A.GetCanvas()->GetPixel(0, 0), clLime);
  EXPECT_EQ(A.GetCanvas()->GetBitmap(), &A);
}

TEST(Bitmap, PixelsRoundTripExactlyAndSystemColoursResolve) {
  TBitmap B(1, 1);
  TCanvas& C = *B.GetCanvas();
  C.SetPixel(0, 0, 0x00EBBEEB);
  EXPECT_EQ(C.GetPixel(0, 0), 0x00EBBEEBu);
  EXPECT_EQ(B.Pixels()[0], 0x00EBBEEBu);  // R 0xEB, G 0xBE, B 0xEB in 0x00RRGGBB
  C.SetPixel(0, 0, 0x00123456);
  EXPECT_EQ(B.Pixels()[0], 0x00563412u);
  C.SetPixel(0, 0, clWindow);
  EXPECT_EQ(C.GetPixel(0, 0), clWhite);
  C.SetPixel(0, 0, 0x7F0000FF);  // the top byte of a plain colour is ignored
  EXPECT_EQ(C.GetPixel(0, 0), clRed);
}

TEST(Bitmap, TransparentColourDefaultsToTheBottomLeftPixel) {
  TBitmap B(3, 3);
  B.GetCanvas()->SetPixel(0, 2, clFuchsia);
  EXPECT_EQ(B.GetTransparentColor(), clFuchsia);
  B.SetTransparentColor(clLime);
  EXPECT_EQ(B.GetTransparentColor(), clLime);
}

TEST(Bitmap, MonochromeFormatKeepsOnlyBlackAndWhite) {
  TBitmap B(3, 1);
  TCanvas& C = *B.GetCanvas();
  C.SetPixel(0, 0, RGBColor(200, 200, 200));
  C.SetPixel(1, 0, RGBColor(60, 60, 60));
  C.SetPixel(2, 0, clRed);
  B.SetPixelFormat(pf1bit);
  EXPECT_TRUE(B.GetMonochrome());
  EXPECT_EQ(C.GetPixel(0, 0), clWhite);
  EXPECT_EQ(C.GetPixel(1, 0), clBlack);
  EXPECT_EQ(C.GetPixel(2, 0), clBlack);
}

TEST(Canvas, OriginAndClipApplyToPixelAccess) {
  TBitmap B(10, 10);
  TCanvas& C = *B.GetCanvas();
  C.SetOrigin({3, 4});
  C.SetPixel(0, 0, clRed);
  C.SetOrigin({0, 0});
  EXPECT_EQ(C.GetPixel(3, 4), clRed);
  C.SetClipRect(Rect(5, 5, 2, 2));  // corners in either order
  EXPECT_EQ(C.GetClipRect(), Rect(2, 2, 5, 5));
  C.SetPixel(1, 1, clBlue);
  C.SetPixel(2, 2, clBlue);
  EXPECT_EQ(C.GetPixel(2, 2), clBlue);
  EXPECT_EQ(C.GetPixel(1, 1), clInvalidPixel);
  C.ResetClip();
  EXPECT_EQ(C.GetPixel(1, 1), clWhite);
  EXPECT_EQ(C.GetPixel(10, 0), clInvalidPixel);
  EXPECT_EQ(C.GetPixel(-1, 0), clInvalidPixel);
}

TEST(Canvas, FreshStateAndPersistence) {
  TBitmap B(1, 1);
  TCanvas& C = *B.GetCanvas();
  EXPECT_EQ(C.GetPen().GetColor(), clBlack);
  EXPECT_EQ(C.GetPen().GetWidth(), 1);
  EXPECT_EQ(C.GetPen().GetMode(), pmCopy);
  EXPECT_EQ(C.GetBrush().GetColor(), clWhite);
  EXPECT_EQ(C.GetBrush().GetStyle(), bsSolid);
  EXPECT_EQ(C.GetCopyMode(), cmSrcCopy);
  C.GetBrush().SetStyle(bsClear);
  C.GetBrush().SetColor(clRed);  // a colour makes a clear brush solid again
  EXPECT_EQ(C.GetBrush().GetStyle(), bsSolid);
  EXPECT_EQ(B.GetCanvas()->GetBrush().GetColor(), clRed);
}

}  // namespace
}  // namespace kvl
