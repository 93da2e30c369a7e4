#include <gtest/gtest.h>

#include <random>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"

namespace kvl {
namespace {

TBitmap Filled(int W, int H, TColor C) {
  TBitmap B(W, H);
  B.GetCanvas()->GetBrush().SetColor(C);
  B.GetCanvas()->FillRect(Rect(0, 0, W, H));
  return B;
}

// Copies a one-pixel source S onto a one-pixel destination D with the given mode.
TColor CopyOne(TCopyMode M, TColor S, TColor D, TColor Brush = clBlack) {
  TBitmap Src = Filled(1, 1, S), Dst = Filled(1, 1, D);
  TCanvas& C = *Dst.GetCanvas();
  C.GetBrush().SetColor(Brush);
  C.SetCopyMode(M);
  C.CopyRect(Rect(0, 0, 1, 1), *Src.GetCanvas(), Rect(0, 0, 1, 1));
  EXPECT_EQ(Dst.Pixels()[0] >> 24, 0u);
  return C.GetPixel(0, 0);
}

TEST(CopyModes, CombineSourceDestinationAndBrush) {
  const TColor S = 0x00F0CC55, D = 0x003C0FAA, P = 0x00FF00FF;
  EXPECT_EQ(CopyOne(cmSrcCopy, S, D), S);
  EXPECT_EQ(CopyOne(cmSrcAnd, S, D), S & D);
  EXPECT_EQ(CopyOne(cmSrcPaint, S, D), S | D);
  EXPECT_EQ(CopyOne(cmSrcInvert, S, D), S ^ D);
  EXPECT_EQ(CopyOne(cmSrcErase, S, D), S & ~D & 0xFFFFFF);
  EXPECT_EQ(CopyOne(cmNotSrcCopy, S, D), ~S & 0xFFFFFF);
  EXPECT_EQ(CopyOne(cmNotSrcErase, S, D), ~(S | D) & 0xFFFFFF);
  EXPECT_EQ(CopyOne(cmMergeCopy, S, D, P), S & P);
  EXPECT_EQ(CopyOne(cmMergePaint, S, D), (~S | D) & 0xFFFFFF);
  EXPECT_EQ(CopyOne(cmPatCopy, S, D, P), P);
  EXPECT_EQ(CopyOne(cmPatInvert, S, D, P), P ^ D);
  EXPECT_EQ(CopyOne(cmDstInvert, S, D), ~D & 0xFFFFFF);
  EXPECT_EQ(CopyOne(cmBlackness, S, D), clBlack);
  EXPECT_EQ(CopyOne(cmWhiteness, S, D), clWhite);
}

TEST(CopyModes, AndMaskThenOrImageMakesASprite) {
  // Mask: white = background, black = content. Image: content on black.
  TBitmap Mask = Filled(3, 1, clWhite), Image = Filled(3, 1, clBlack);
  Mask.GetCanvas()->SetPixel(1, 0, clBlack);
  Image.GetCanvas()->SetPixel(1, 0, clRed);
  TBitmap Scene = Filled(3, 1, clLime);
  TCanvas& C = *Scene.GetCanvas();
  C.SetCopyMode(cmSrcAnd);
  C.Draw(0, 0, Mask);
  C.SetCopyMode(cmSrcPaint);
  C.Draw(0, 0, Image);
  EXPECT_EQ(C.GetPixel(0, 0), clLime);
  EXPECT_EQ(C.GetPixel(1, 0), clRed);
  EXPECT_EQ(C.GetPixel(2, 0), clLime);
  // AND onto white keeps the glyph; white in the glyph lets the scene through.
  TBitmap Glyph = Filled(2, 1, clWhite);
  Glyph.GetCanvas()->SetPixel(0, 0, clNavy);
  TBitmap Grid = Filled(2, 1, clWhite);
  Grid.GetCanvas()->SetCopyMode(cmSrcAnd);
  Grid.GetCanvas()->Draw(0, 0, Glyph);
  EXPECT_EQ(Grid.GetCanvas()->GetPixel(0, 0), clNavy);
  EXPECT_EQ(Grid.GetCanvas()->GetPixel(1, 0), clWhite);
}

TEST(Draw, TransparentBitmapsLeaveTheirKeyColourOut) {
  TBitmap Sprite = Filled(2, 2, clFuchsia);
  Sprite.GetCanvas()->SetPixel(1, 0, clBlue);
  Sprite.SetTransparent(true);  // key: the bottom-left pixel, fuchsia
  TBitmap Scene = Filled(3, 3, clYellow);
  Scene.GetCanvas()->Draw(1, 1, Sprite);
  EXPECT_EQ(Scene.GetCanvas()->GetPixel(1, 1), clYellow);
  EXPECT_EQ(Scene.GetCanvas()->GetPixel(2, 1), clBlue);
  Sprite.SetTransparentColor(clBlue);
  Scene.GetCanvas()->Draw(0, 0, Sprite);
  EXPECT_EQ(Scene.GetCanvas()->GetPixel(0, 0), clFuchsia);
  EXPECT_EQ(Scene.GetCanvas()->GetPixel(1, 0), clYellow);
  Sprite.SetTransparent(false);
  Scene.GetCanvas()->Draw(0, 0, Sprite);
  EXPECT_EQ(Scene.GetCanvas()->GetPixel(1, 0), clBlue);
}

TEST(Draw, ClipsAtEverySideWithOriginAndClipRect) {
  TBitmap Src(4, 4);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) Src.GetCanvas()->SetPixel(X, Y, RGBColor(X * 10, Y * 10, 7));
  TBitmap Dst = Filled(5, 5, clBlack);
  TCanvas& C = *Dst.GetCanvas();
  C.Draw(-2, -1, Src);
  EXPECT_EQ(C.GetPixel(0, 0), RGBColor(20, 10, 7));
  EXPECT_EQ(C.GetPixel(1, 2), RGBColor(30, 30, 7));
  EXPECT_EQ(C.GetPixel(2, 0), clBlack);
  C.Draw(3, 3, Src);
  EXPECT_EQ(C.GetPixel(4, 4), RGBColor(10, 10, 7));
  TBitmap Clipped = Filled(6, 6, clBlack);
  TCanvas& K = *Clipped.GetCanvas();
  K.SetOrigin({1, 1});
  K.SetClipRect(Rect(1, 1, 3, 3));
  K.Draw(0, 0, Src);
  K.SetOrigin({0, 0});
  K.ResetClip();
  EXPECT_EQ(K.GetPixel(1, 1), clBlack);
  EXPECT_EQ(K.GetPixel(2, 2), RGBColor(10, 10, 7));
  EXPECT_EQ(K.GetPixel(3, 3), RGBColor(20, 20, 7));
  EXPECT_EQ(K.GetPixel(4, 4), clBlack);
}

TEST(CopyRect, SourcePartlyOutsideAndOverlappingSelfCopies) {
  TBitmap Src = Filled(2, 2, clRed);
  TBitmap Dst = Filled(4, 4, clBlack);
  Dst.GetCanvas()->CopyRect(Rect(0, 0, 4, 4), *Src.GetCanvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(Dst.GetCanvas()->GetPixel(1, 1), clRed);
  EXPECT_EQ(Dst.GetCanvas()->GetPixel(2, 2), clBlack);  // beyond the source: untouched
  TBitmap Strip(5, 1);
  TCanvas& C = *Strip.GetCanvas();
  for (int X = 0; X < 5; ++X) C.SetPixel(X, 0, RGBColor(X, 0, 0));
  C.CopyRect(Rect(1, 0, 5, 1), C, Rect(0, 0, 4, 1));  // shift right by one onto itself
  for (int X = 1; X < 5; ++X) EXPECT_EQ(C.GetPixel(X, 0), RGBColor(X - 1, 0, 0));
}

TEST(CopyRect, ReversedRectanglesMirror) {
  TBitmap Src(3, 1);
  for (int X = 0; X < 3; ++X) Src.GetCanvas()->SetPixel(X, 0, RGBColor(X + 1, 0, 0));
  TBitmap Dst(3, 1);
  Dst.GetCanvas()->CopyRect(Rect(3, 0, 0, 1), *Src.GetCanvas(), Rect(0, 0, 3, 1));
  EXPECT_EQ(Dst.GetCanvas()->GetPixel(0, 0), RGBColor(3, 0, 0));
  EXPECT_EQ(Dst.GetCanvas()->GetPixel(2, 0), RGBColor(1, 0, 0));
}

TEST(Stretch, NearestPixelUpAndDown) {
  TBitmap Src(2, 1);
  Src.GetCanvas()->SetPixel(0, 0, clRed);
  Src.GetCanvas()->SetPixel(1, 0, clBlue);
  TBitmap Up(4, 2);
  Up.GetCanvas()->StretchDraw(Rect(0, 0, 4, 2), Src);
  EXPECT_EQ(Up.GetCanvas()->GetPixel(0, 1), clRed);
  EXPECT_EQ(Up.GetCanvas()->GetPixel(1, 0), clRed);
  EXPECT_EQ(Up.GetCanvas()->GetPixel(2, 0), clBlue);
  EXPECT_EQ(Up.GetCanvas()->GetPixel(3, 1), clBlue);
  TBitmap Down(1, 1);
  TBitmap Four(4, 4);
  Four.GetCanvas()->SetPixel(2, 2, clLime);
  Down.GetCanvas()->StretchDraw(Rect(0, 0, 1, 1), Four);  // samples the pixel nearest the centre
  EXPECT_EQ(Down.GetCanvas()->GetPixel(0, 0), clLime);
}

TEST(Stretch, HalftoneAveragesTheCoveredArea) {
  TBitmap Checker(8, 8);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) Checker.GetCanvas()->SetPixel(X, Y, (X + Y) % 2 ? clWhite : clBlack);
  TBitmap Half(4, 4);
  Half.GetCanvas()->SetStretchMode(smHalftone);
  Half.GetCanvas()->StretchDraw(Rect(0, 0, 4, 4), Checker);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) EXPECT_EQ(Half.GetCanvas()->GetPixel(X, Y), RGBColor(128, 128, 128));
  // 3 -> 2: each output takes one whole and one half source pixel.
  TBitmap Three(3, 1);
  Three.GetCanvas()->SetPixel(0, 0, RGBColor(0, 0, 0));
  Three.GetCanvas()->SetPixel(1, 0, RGBColor(90, 30, 60));
  Three.GetCanvas()->SetPixel(2, 0, RGBColor(180, 240, 0));
  TBitmap Two(2, 1);
  Two.GetCanvas()->SetStretchMode(smHalftone);
  Two.GetCanvas()->StretchDraw(Rect(0, 0, 2, 1), Three);
  EXPECT_EQ(Two.GetCanvas()->GetPixel(0, 0), RGBColor(30, 10, 20));      // (2a + b) / 3
  EXPECT_EQ(Two.GetCanvas()->GetPixel(1, 0), RGBColor(150, 170, 20));    // (b + 2c) / 3
}

TEST(Stretch, HalftoneKeepsTheMeanColourOfAnImage) {
  std::mt19937 Rng(7);
  TBitmap Src(312, 432);
  double Sum[3] = {0, 0, 0};
  for (int Y = 0; Y < 432; ++Y)
    for (int X = 0; X < 312; ++X) {
      const std::uint32_t P = Rng() & 0xFFFFFF;
      Src.ScanLine(Y)[X] = P;
      for (int K = 0; K < 3; ++K) Sum[K] += (P >> (16 - 8 * K)) & 0xFF;
    }
  TBitmap Dst(48, 60);
  Dst.GetCanvas()->SetStretchMode(smHalftone);
  Dst.GetCanvas()->StretchDraw(Rect(0, 0, 48, 60), Src);
  double Out[3] = {0, 0, 0};
  for (int I = 0; I < 48 * 60; ++I)
    for (int K = 0; K < 3; ++K) Out[K] += (Dst.Pixels()[I] >> (16 - 8 * K)) & 0xFF;
  for (int K = 0; K < 3; ++K) EXPECT_NEAR(Out[K] / (48 * 60), Sum[K] / (312 * 432), 1.0);
}

TEST(Stretch, HalftoneEnlargesSmoothly) {
  TBitmap Src(2, 1);
  Src.GetCanvas()->SetPixel(0, 0, clBlack);
  Src.GetCanvas()->SetPixel(1, 0, clWhite);
  TBitmap Dst(8, 2);
  Dst.GetCanvas()->SetStretchMode(smHalftone);
  Dst.GetCanvas()->StretchDraw(Rect(0, 0, 8, 2), Src);
  int Last = -1;
  for (int X = 0; X < 8; ++X) {
    const int V = GetRValue(Dst.GetCanvas()->GetPixel(X, 0));
    EXPECT_GE(V, Last);
    Last = V;
  }
  EXPECT_EQ(GetRValue(Dst.GetCanvas()->GetPixel(0, 0)), 0);
  EXPECT_EQ(GetRValue(Dst.GetCanvas()->GetPixel(7, 1)), 255);
}

TEST(Stretch, AnEmptyBitmapIsAnError) {
  TBitmap Dst(4, 4), Empty;
  EXPECT_THROW(Dst.GetCanvas()->StretchDraw(Rect(0, 0, 4, 4), Empty), EInvalidGraphic);
  Dst.GetCanvas()->Draw(0, 0, Empty);  // drawing nothing is fine
}

TEST(InvertRect, TwiceRestores) {
  TBitmap B(4, 3);
  B.GetCanvas()->SetPixel(1, 1, 0x00123456);
  B.GetCanvas()->InvertRect(Rect(3, 3, 0, 0));
  EXPECT_EQ(B.GetCanvas()->GetPixel(1, 1), 0x00EDCBA9u);
  EXPECT_EQ(B.GetCanvas()->GetPixel(0, 0), clBlack);
  EXPECT_EQ(B.GetCanvas()->GetPixel(3, 0), clWhite);
  B.GetCanvas()->InvertRect(Rect(0, 0, 3, 3));
  EXPECT_EQ(B.GetCanvas()->GetPixel(1, 1), 0x00123456u);
}

}  // namespace
}  // namespace kvl
