#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"

namespace kvl {
namespace {

using Pixels = std::vector<std::uint32_t>;

std::uint32_t At(const TBitmap& B, int X, int Y) { return B.ScanLine(Y)[X]; }

// A bitmap whose pixels are given row by row.
TBitmap Make(int W, int H, const Pixels& P) {
  TBitmap B(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) B.ScanLine(Y)[X] = P[std::size_t(Y * W + X)];
  return B;
}

// Every pixel different: red from X, green from Y.
TBitmap Distinct(int W, int H) {
  TBitmap B(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      B.ScanLine(Y)[X] = std::uint32_t((X + 1) << 16 | (Y + 1) << 8 | 0x40);
  return B;
}

TBitmap Filled(int W, int H, std::uint32_t P) {
  TBitmap B(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) B.ScanLine(Y)[X] = P;
  return B;
}

TBitmap Random(int W, int H, unsigned Seed) {
  std::mt19937 Gen(Seed);
  TBitmap B(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) B.ScanLine(Y)[X] = Gen() & 0xFFFFFF;
  return B;
}

Pixels Row(const TBitmap& B, int Y) { return Pixels(B.ScanLine(Y), B.ScanLine(Y) + B.GetWidth()); }

Pixels All(const TBitmap& B) {
  return Pixels(B.Pixels(), B.Pixels() + std::size_t(B.GetWidth()) * std::size_t(B.GetHeight()));
}

int Channel(std::uint32_t P, int K) { return int(P >> (8 * K) & 0xFF); }

double MeanChannel(const TBitmap& B, int K) {
  double Sum = 0;
  for (int Y = 0; Y < B.GetHeight(); ++Y)
    for (int X = 0; X < B.GetWidth(); ++X) Sum += Channel(At(B, X, Y), K);
  return Sum / (double(B.GetWidth()) * B.GetHeight());
}

// --- copy modes -----------------------------------------------------------------------------

TEST(CopyModes, EachModeCombinesKnownPixelsOn24Bits) {
  const std::uint32_t S = 0x00F0A05A, D = 0x0033CC0F;
  const TColor Brush = 0x0055AA66;  // pixel 0x66AA55
  const struct {
    TCopyMode Mode;
    std::uint32_t Expected;
  } Cases[] = {
      {cmSrcCopy, 0xF0A05A},     {cmSrcAnd, 0x30800A},    {cmSrcPaint, 0xF3EC5F},
      {cmSrcInvert, 0xC36C55},   {cmSrcErase, 0xC02050},  {cmNotSrcCopy, 0x0F5FA5},
      {cmNotSrcErase, 0x0C13A0}, {cmMergeCopy, 0x60A050}, {cmMergePaint, 0x3FDFAF},
      {cmPatCopy, 0x66AA55},     {cmPatInvert, 0x55665A}, {cmDstInvert, 0xCC33F0},
      {cmBlackness, 0x000000},   {cmWhiteness, 0xFFFFFF},
  };
  TBitmap Src = Filled(5, 3, S);
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "mode 0x" << std::hex << C.Mode);
    TBitmap Dst = Filled(7, 4, D);
    TCanvas& K = *Dst.GetCanvas();
    K.GetBrush().SetColor(Brush);
    K.SetCopyMode(C.Mode);
    K.CopyRect(Rect(1, 1, 6, 4), *Src.GetCanvas(), Rect(0, 0, 5, 3));
    // The whole 5x3 block, nothing beside it, top byte clear.
    for (int Y = 0; Y < 4; ++Y)
      for (int X = 0; X < 7; ++X)
        EXPECT_EQ(At(Dst, X, Y), (X >= 1 && X < 6 && Y >= 1) ? C.Expected : D) << X << "," << Y;
  }
}

TEST(CopyModes, AndOntoWhiteShowsTheGlyphAndMaskThenPaintMakesASprite) {
  // A glyph ANDed onto white: white parts of the glyph keep the background.
  TBitmap Glyph = Make(3, 1, {0xFFFFFF, 0x102030, 0xFFFFFF});
  TBitmap Paper = Make(3, 1, {0xFFFFFF, 0xFFFFFF, 0x808080});
  Paper.GetCanvas()->SetCopyMode(cmSrcAnd);
  Paper.GetCanvas()->CopyRect(Rect(0, 0, 3, 1), *Glyph.GetCanvas(), Rect(0, 0, 3, 1));
  EXPECT_EQ(Row(Paper, 0), (Pixels{0xFFFFFF, 0x102030, 0x808080}));

  // Mask: black where the sprite is, white elsewhere; image: sprite colours on black.
  TBitmap Mask = Make(4, 1, {0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF});
  TBitmap Image = Make(4, 1, {0x000000, 0xFF0000, 0x00FF00, 0x000000});
  TBitmap Scene = Make(4, 1, {0x123456, 0x123456, 0x654321, 0x654321});
  TCanvas& C = *Scene.GetCanvas();
  C.SetCopyMode(cmSrcAnd);
  C.Draw(0, 0, Mask);
  C.SetCopyMode(cmSrcPaint);
  C.Draw(0, 0, Image);
  EXPECT_EQ(Row(Scene, 0), (Pixels{0x123456, 0xFF0000, 0x00FF00, 0x654321}));
}

TEST(CopyModes, ApplyWhenStretchingToo) {
  TBitmap Src = Make(2, 1, {0x0F0F0F, 0xF0F0F0});
  TBitmap Dst = Filled(4, 1, 0x3C3C3C);
  TCanvas& C = *Dst.GetCanvas();
  C.SetCopyMode(cmSrcInvert);
  C.CopyRect(Rect(0, 0, 4, 1), *Src.GetCanvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(Row(Dst, 0), (Pixels{0x333333, 0x333333, 0xCCCCCC, 0xCCCCCC}));
  C.SetStretchMode(smHalftone);
  C.SetCopyMode(cmNotSrcCopy);
  C.CopyRect(Rect(0, 0, 4, 1), *Src.GetCanvas(), Rect(0, 0, 2, 1));
  // Interpolated 0x0F, 0x0F + (0xF0 - 0x0F) / 4 = 0x47 (71.25), 0xB8 (183.75), 0xF0; inverted.
  EXPECT_EQ(Row(Dst, 0), (Pixels{0xF0F0F0, 0xB8B8B8, 0x474747, 0x0F0F0F}));
}

// --- Draw -----------------------------------------------------------------------------------

TEST(Draw, TransparentBitmapLeavesItsKeyColourOut) {
  // Bottom-left pixel (blue) is the default key.
  TBitmap Sprite = Make(3, 2,
                        {0x0000FF, 0xFF0000, 0x0000FF,  //
                         0x0000FF, 0x00FF00, 0xFF0000});
  TBitmap Dst = Filled(4, 3, 0x777777);
  TCanvas& C = *Dst.GetCanvas();
  C.Draw(1, 1, Sprite);  // not transparent: everything
  EXPECT_EQ(Row(Dst, 1), (Pixels{0x777777, 0x0000FF, 0xFF0000, 0x0000FF}));

  Dst = Filled(4, 3, 0x777777);
  Sprite.SetTransparent(true);
  Dst.GetCanvas()->Draw(1, 1, Sprite);
  EXPECT_EQ(Row(Dst, 0), (Pixels{0x777777, 0x777777, 0x777777, 0x777777}));
  EXPECT_EQ(Row(Dst, 1), (Pixels{0x777777, 0x777777, 0xFF0000, 0x777777}));
  EXPECT_EQ(Row(Dst, 2), (Pixels{0x777777, 0x777777, 0x00FF00, 0xFF0000}));

  // A set key (a TColor, so red is 0x0000FF there) replaces the bottom-left one.
  Dst = Filled(4, 3, 0x777777);
  Sprite.SetTransparentColor(clRed);
  Dst.GetCanvas()->Draw(1, 1, Sprite);
  EXPECT_EQ(Row(Dst, 1), (Pixels{0x777777, 0x0000FF, 0x777777, 0x0000FF}));
  EXPECT_EQ(Row(Dst, 2), (Pixels{0x777777, 0x0000FF, 0x00FF00, 0x777777}));
}

TEST(Draw, UsesTheCopyModeAndTheOrigin) {
  TBitmap Src = Filled(2, 2, 0x0F0F0F);
  TBitmap Dst = Filled(4, 4, 0xFFFF00);
  TCanvas& C = *Dst.GetCanvas();
  C.SetOrigin(Point(1, 2));
  C.SetCopyMode(cmSrcAnd);
  C.Draw(-1, -1, Src);  // bitmap pixels (0, 1) to (1, 2)
  EXPECT_EQ(Row(Dst, 0), (Pixels{0xFFFF00, 0xFFFF00, 0xFFFF00, 0xFFFF00}));
  EXPECT_EQ(Row(Dst, 1), (Pixels{0x0F0F00, 0x0F0F00, 0xFFFF00, 0xFFFF00}));
  EXPECT_EQ(Row(Dst, 2), (Pixels{0x0F0F00, 0x0F0F00, 0xFFFF00, 0xFFFF00}));
  EXPECT_EQ(Row(Dst, 3), (Pixels{0xFFFF00, 0xFFFF00, 0xFFFF00, 0xFFFF00}));
  TBitmap Empty;
  C.Draw(0, 0, Empty);  // nothing to draw, no failure
  EXPECT_EQ(At(Dst, 3, 3), 0xFFFF00u);
}

// --- clipping -------------------------------------------------------------------------------

// A same-size copy checked pixel by pixel: destination pixel (X, Y) of the bitmap gets source
// pixel (X - DX, Y - DY) when it lies inside Clip and the source exists, else stays white.
void ExpectShiftedCopy(const TBitmap& Dst, const TBitmap& Src, int DX, int DY, const TRect& Clip) {
  for (int Y = 0; Y < Dst.GetHeight(); ++Y)
    for (int X = 0; X < Dst.GetWidth(); ++X) {
      const int SX = X - DX, SY = Y - DY;
      const bool Copied = Clip.Contains(Point(X, Y)) && SX >= 0 && SY >= 0 && SX < Src.GetWidth() &&
                          SY < Src.GetHeight();
      EXPECT_EQ(At(Dst, X, Y), Copied ? At(Src, SX, SY) : 0xFFFFFFu) << X << "," << Y;
    }
}

TEST(Clipping, DestinationBeyondEachSideOfTheBitmap) {
  const TBitmap Src = Distinct(4, 4);
  TBitmap Scratch = Src;
  const TPoint Places[] = {{-2, 1}, {1, -3}, {4, 2}, {2, 5}, {-3, -3}, {5, 5}, {-4, 0}, {7, 0}};
  for (TPoint P : Places) {
    SCOPED_TRACE(testing::Message() << P.X << "," << P.Y);
    TBitmap Dst(7, 7);
    Dst.GetCanvas()->CopyRect(Rect(P.X, P.Y, P.X + 4, P.Y + 4), *Scratch.GetCanvas(),
                              Rect(0, 0, 4, 4));
    ExpectShiftedCopy(Dst, Src, P.X, P.Y, Rect(0, 0, 7, 7));
  }
}

TEST(Clipping, ClipRectangleAndOriginsOfBothCanvases) {
  const TBitmap Src = Distinct(5, 5);
  TBitmap From = Src;
  From.GetCanvas()->SetOrigin(Point(1, 1));  // logical (-1, -1) is bitmap (0, 0)
  TBitmap Dst(8, 8);
  TCanvas& C = *Dst.GetCanvas();
  C.SetOrigin(Point(2, 0));
  C.SetClipRect(Rect(0, 2, 3, 6));  // bitmap (2, 2) .. (5, 6)
  C.CopyRect(Rect(-1, 1, 4, 6), *From.GetCanvas(), Rect(-1, -1, 4, 4));
  // Source bitmap (0, 0) lands on destination bitmap (1, 1).
  ExpectShiftedCopy(Dst, Src, 1, 1, Rect(2, 2, 5, 6));
  // Clipped halftone and nearest stretches write exactly the clipped part of the whole result.
  for (TStretchMode Mode : {smColorOnColor, smHalftone}) {
    TBitmap Big = Random(31, 9, 7);  // shrinks across, enlarges down
    TBitmap Whole(20, 20), Part(20, 20);
    Whole.GetCanvas()->SetStretchMode(Mode);
    Part.GetCanvas()->SetStretchMode(Mode);
    Whole.GetCanvas()->CopyRect(Rect(18, 1, 3, 17), *Big.GetCanvas(), Rect(0, 0, 31, 9));
    Part.GetCanvas()->SetClipRect(Rect(5, 4, 11, 14));
    Part.GetCanvas()->CopyRect(Rect(18, 1, 3, 17), *Big.GetCanvas(), Rect(0, 0, 31, 9));
    for (int Y = 0; Y < 20; ++Y)
      for (int X = 0; X < 20; ++X)
        EXPECT_EQ(At(Part, X, Y),
                  Rect(5, 4, 11, 14).Contains(Point(X, Y)) ? At(Whole, X, Y) : 0xFFFFFFu)
            << X << "," << Y;
  }
}

TEST(Clipping, SourcePartlyOutsideItsBitmapCopiesOnlyWhatExists) {
  const TBitmap Src = Distinct(4, 3);
  TBitmap From = Src;
  TBitmap Dst(8, 8);
  // Same size: the block shrinks with the source.
  Dst.GetCanvas()->CopyRect(Rect(2, 2, 8, 7), *From.GetCanvas(), Rect(-1, -2, 5, 3));
  ExpectShiftedCopy(Dst, Src, 3, 4, Rect(0, 0, 8, 8));
  // Stretched 2x: destination pixels that map outside stay as they were.
  for (TStretchMode Mode : {smColorOnColor, smHalftone}) {
    TBitmap Two(8, 6);
    Two.GetCanvas()->SetStretchMode(Mode);
    Two.GetCanvas()->CopyRect(Rect(0, 0, 8, 6), *From.GetCanvas(), Rect(-2, 1, 2, 4));
    for (int Y = 0; Y < 6; ++Y)
      for (int X = 0; X < 8; ++X) {
        const bool Inside = X >= 4 && Y < 4;
        if (!Inside) {
          EXPECT_EQ(At(Two, X, Y), 0xFFFFFFu) << X << "," << Y;
        }
      }
    // Nearest doubles each source pixel; halftone clamps to the last existing one there.
    EXPECT_EQ(At(Two, 4, 0), At(Src, 0, 1));
    EXPECT_EQ(At(Two, 7, 3), At(Src, 1, 2));
  }
  // A source entirely outside changes nothing.
  TBitmap None(3, 3);
  None.GetCanvas()->CopyRect(Rect(0, 0, 3, 3), *From.GetCanvas(), Rect(10, 10, 13, 13));
  None.GetCanvas()->CopyRect(Rect(0, 0, 3, 3), *From.GetCanvas(), Rect(10, 10, 12, 12));
  EXPECT_EQ(Row(None, 1), (Pixels{0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
}

// --- copies within one bitmap ---------------------------------------------------------------

TEST(SelfCopy, OverlappingCopiesReadTheSourceFirst) {
  const TPoint Moves[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {2, 3}, {-3, -1}, {1, -2}};
  for (TPoint M : Moves) {
    for (TCopyMode Mode : {cmSrcCopy, cmSrcInvert}) {
      SCOPED_TRACE(testing::Message() << M.X << "," << M.Y << " mode " << Mode);
      TBitmap B = Random(9, 8, 3);
      const TBitmap Before = B;
      TBitmap Expected = B;
      TBitmap Copy = B;
      const TRect From = Rect(2, 2, 7, 6), To = From.Offset(M.X, M.Y);
      Expected.GetCanvas()->SetCopyMode(Mode);
      Expected.GetCanvas()->CopyRect(To, *Copy.GetCanvas(), From);
      B.GetCanvas()->SetCopyMode(Mode);
      B.GetCanvas()->CopyRect(To, *B.GetCanvas(), From);
      for (int Y = 0; Y < 8; ++Y) EXPECT_EQ(Row(B, Y), Row(Expected, Y)) << "row " << Y;
      EXPECT_NE(All(B), All(Before));
    }
  }
}

TEST(SelfCopy, StretchingAndDrawingOntoItself) {
  for (TStretchMode Mode : {smColorOnColor, smHalftone}) {
    TBitmap B = Random(10, 10, 5);
    TBitmap Copy = B, Expected = B;
    Expected.GetCanvas()->SetStretchMode(Mode);
    Expected.GetCanvas()->CopyRect(Rect(1, 2, 9, 10), *Copy.GetCanvas(), Rect(0, 0, 4, 4));
    B.GetCanvas()->SetStretchMode(Mode);
    B.GetCanvas()->CopyRect(Rect(1, 2, 9, 10), *B.GetCanvas(), Rect(0, 0, 4, 4));
    for (int Y = 0; Y < 10; ++Y) EXPECT_EQ(Row(B, Y), Row(Expected, Y)) << "row " << Y;
  }
  TBitmap B = Distinct(3, 3);
  const TBitmap Before = B;
  B.GetCanvas()->Draw(1, 1, B);
  EXPECT_EQ(At(B, 2, 2), At(Before, 1, 1));
  EXPECT_EQ(At(B, 1, 1), At(Before, 0, 0));
}

// --- mirroring and nearest stretching -------------------------------------------------------

TEST(Mirror, ReversedRectanglesMirrorAlongThatAxis) {
  TBitmap Src = Make(3, 2, {1, 2, 3, 4, 5, 6});
  const struct {
    TRect Dest, Source;
    Pixels Top, Bottom;
  } Cases[] = {
      {Rect(3, 0, 0, 2), Rect(0, 0, 3, 2), {3, 2, 1}, {6, 5, 4}},  // horizontal
      {Rect(0, 2, 3, 0), Rect(0, 0, 3, 2), {4, 5, 6}, {1, 2, 3}},  // vertical
      {Rect(3, 2, 0, 0), Rect(0, 0, 3, 2), {6, 5, 4}, {3, 2, 1}},  // both
      {Rect(0, 0, 3, 2), Rect(3, 0, 0, 2), {3, 2, 1}, {6, 5, 4}},  // reversed source
      {Rect(3, 0, 0, 2), Rect(3, 0, 0, 2), {1, 2, 3}, {4, 5, 6}},  // both reversed: none
  };
  for (TStretchMode Mode : {smColorOnColor, smHalftone})
    for (const auto& C : Cases) {
      SCOPED_TRACE(testing::Message() << "case " << (&C - Cases) << " mode " << int(Mode));
      TBitmap Dst(3, 2);
      Dst.GetCanvas()->SetStretchMode(Mode);
      Dst.GetCanvas()->CopyRect(C.Dest, *Src.GetCanvas(), C.Source);
      EXPECT_EQ(Row(Dst, 0), C.Top);
      EXPECT_EQ(Row(Dst, 1), C.Bottom);
    }
  // Mirrored and doubled through StretchDraw, clipped on the left.
  TBitmap Dst(5, 2);
  Dst.GetCanvas()->StretchDraw(Rect(5, 0, -1, 2), Src);
  EXPECT_EQ(Row(Dst, 0), (Pixels{3, 2, 2, 1, 1}));
}

TEST(NearestStretch, DoublesAndHalvesExactly) {
  TBitmap Src = Make(2, 2, {0xA, 0xB, 0xC, 0xD});
  TBitmap Up(4, 4);
  Up.GetCanvas()->CopyRect(Rect(0, 0, 4, 4), *Src.GetCanvas(), Rect(0, 0, 2, 2));
  EXPECT_EQ(Row(Up, 0), (Pixels{0xA, 0xA, 0xB, 0xB}));
  EXPECT_EQ(Row(Up, 1), (Pixels{0xA, 0xA, 0xB, 0xB}));
  EXPECT_EQ(Row(Up, 2), (Pixels{0xC, 0xC, 0xD, 0xD}));
  EXPECT_EQ(Row(Up, 3), (Pixels{0xC, 0xC, 0xD, 0xD}));

  // Halving picks the pixel whose centre is nearest: of 0..3 the centres 0.5+2I land on 1, 3.
  TBitmap Big = Make(4, 4, {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33});
  TBitmap Down(2, 2);
  Down.GetCanvas()->StretchDraw(Rect(0, 0, 2, 2), Big);
  EXPECT_EQ(Row(Down, 0), (Pixels{11, 13}));
  EXPECT_EQ(Row(Down, 1), (Pixels{31, 33}));

  // 3 -> 2, and 2 -> 3 where the middle centre falls halfway and takes the later pixel.
  TBitmap Three = Make(3, 1, {1, 2, 3});
  TBitmap Two(2, 1);
  Two.GetCanvas()->StretchDraw(Rect(0, 0, 2, 1), Three);
  EXPECT_EQ(Row(Two, 0), (Pixels{1, 3}));
  Three.GetCanvas()->StretchDraw(Rect(0, 0, 3, 1), Two);
  EXPECT_EQ(Row(Three, 0), (Pixels{1, 3, 3}));
}

TEST(StretchDraw, TransparentKeyAndEmptyBitmap) {
  TBitmap Sprite = Make(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x00FF00});
  Sprite.SetTransparent(true);  // key: bottom-left blue
  for (TStretchMode Mode : {smColorOnColor, smHalftone}) {
    TBitmap Dst = Filled(4, 4, 0x777777);
    Dst.GetCanvas()->SetStretchMode(Mode);
    Dst.GetCanvas()->StretchDraw(Rect(0, 0, 4, 4), Sprite);
    EXPECT_EQ(Row(Dst, 0), (Pixels{0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00}));
    EXPECT_EQ(Row(Dst, 3), (Pixels{0x777777, 0x777777, 0x00FF00, 0x00FF00}));
  }
  TBitmap Dst = Filled(2, 2, 0x777777);
  TBitmap Empty;
  EXPECT_THROW(Dst.GetCanvas()->StretchDraw(Rect(0, 0, 2, 2), Empty), EInvalidGraphic);
  try {
    Dst.GetCanvas()->StretchDraw(Rect(0, 0, 2, 2), Empty);
  } catch (const EInvalidGraphic& E) {
    EXPECT_NE(std::string(E.what()).find("empty"), std::string::npos) << E.what();
  }
  EXPECT_EQ(Row(Dst, 0), (Pixels{0x777777, 0x777777}));
}

// --- halftone -------------------------------------------------------------------------------

// The exact halftone value of one destination pixel, straight from the definition: per axis,
// integer weights (coverage in 1/N source pixel when shrinking, linear weights in 1/(2N)
// when enlarging, clamped at the edges), summed in two dimensions and rounded half to even.
std::vector<std::pair<int, long long>> ReferenceWeights(int I, int N, int S) {
  std::vector<std::pair<int, long long>> W;
  if (N < S) {
    for (int P = int(1LL * I * S / N); P < S && 1LL * P * N < 1LL * (I + 1) * S; ++P) {
      const long long Lo = std::max<long long>(1LL * I * S, 1LL * P * N);
      const long long Hi = std::min<long long>(1LL * (I + 1) * S, 1LL * (P + 1) * N);
      if (Hi > Lo) W.push_back({P, Hi - Lo});
    }
  } else {
    const long long Num = (2LL * I + 1) * S - N, Den = 2LL * N;
    const long long L = Num < 0 ? -1 : Num / Den, F = Num - L * Den;
    W.push_back({int(std::clamp<long long>(L, 0, S - 1)), Den - F});
    W.push_back({int(std::clamp<long long>(L + 1, 0, S - 1)), F});
  }
  return W;
}

std::uint32_t ReferenceHalftone(const TBitmap& Src, int DW, int DH, int X, int Y) {
  const auto WX = ReferenceWeights(X, DW, Src.GetWidth());
  const auto WY = ReferenceWeights(Y, DH, Src.GetHeight());
  std::uint32_t Out = 0;
  for (int K = 0; K < 3; ++K) {
    long long Sum = 0, Total = 0;
    for (auto [SY, WYV] : WY)
      for (auto [SX, WXV] : WX) {
        Sum += WXV * WYV * Channel(At(Src, SX, SY), K);
        Total += WXV * WYV;
      }
    long long Q = Sum / Total;
    const long long R2 = 2 * (Sum % Total);
    if (R2 > Total || (R2 == Total && Q % 2 == 1)) ++Q;
    Out |= std::uint32_t(Q) << (8 * K);
  }
  return Out;
}

TBitmap Halftone(const TBitmap& Src, int W, int H) {
  TBitmap Dst(W, H);
  TBitmap From = Src;
  Dst.GetCanvas()->SetStretchMode(smHalftone);
  Dst.GetCanvas()->CopyRect(Rect(0, 0, W, H), *From.GetCanvas(),
                            Rect(0, 0, Src.GetWidth(), Src.GetHeight()));
  return Dst;
}

TEST(Halftone, CheckerboardHalvedIsMidGreyAndHalvesRoundToEven) {
  TBitmap Board(8, 6);
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 8; ++X) Board.ScanLine(Y)[X] = (X + Y) % 2 ? 0xFFFFFF : 0;
  const TBitmap Grey2 = Halftone(Board, 4, 3);
  for (int Y = 0; Y < 3; ++Y) EXPECT_EQ(Row(Grey2, Y), Pixels(4, 0x808080));  // 127.5 -> 128
  // 1.5 -> 2 and 2.5 -> 2.
  const TBitmap Ties = Halftone(Make(4, 1, {0x010203, 0x020304, 0x000000, 0x000000}), 2, 1);
  EXPECT_EQ(Row(Ties, 0), (Pixels{0x020204, 0}));
}

TEST(Halftone, ShrinkKeepsTheMeanColour) {
  // Host images and the design grid (factors 6.5 and 7.2).
  const struct {
    int SW, SH, DW, DH;
  } Sizes[] = {{97, 61, 20, 13}, {312, 432, 48, 60}, {200, 150, 64, 48}};
  for (const auto& S : Sizes) {
    SCOPED_TRACE(testing::Message() << S.SW << "x" << S.SH << " -> " << S.DW << "x" << S.DH);
    const TBitmap Src = Random(S.SW, S.SH, unsigned(S.SW));
    const TBitmap Dst = Halftone(Src, S.DW, S.DH);
    for (int K = 0; K < 3; ++K)
      EXPECT_NEAR(MeanChannel(Dst, K), MeanChannel(Src, K), 1.0) << "channel " << K;
    for (int Y = 0; Y < S.DH; ++Y)
      for (int X = 0; X < S.DW; ++X) EXPECT_EQ(At(Dst, X, Y) >> 24, 0u);
  }
}

TEST(Halftone, NonIntegerFactorGivesCoverageWeightedValues) {
  // 3 -> 2: each destination pixel covers 1.5 source pixels, weights 2/3 and 1/3.
  const TBitmap Line = Halftone(Make(3, 1, {0x0A0000, 0x140000, 0x1F0000}), 2, 1);
  EXPECT_EQ(Row(Line, 0), (Pixels{0x0D0000, 0x1B0000}));  // 40/3 = 13.3, 82/3 = 27.3
  // In both axes the weights multiply: 4/9, 2/9, 2/9, 1/9.
  const TBitmap Square = Halftone(Make(3, 3, {10, 20, 30, 40, 50, 60, 70, 80, 91}), 2, 2);
  EXPECT_EQ(Row(Square, 0), (Pixels{23, 37}));  // 210/9, 330/9
  EXPECT_EQ(Row(Square, 1), (Pixels{63, 77}));  // 570/9, 694/9
}

TEST(Halftone, EnlargeInterpolatesAndMixedFactorsWorkPerAxis) {
  const TBitmap Four = Halftone(Make(2, 1, {0x000000, 0xFF00FF}), 4, 1);
  EXPECT_EQ(Row(Four, 0), (Pixels{0x000000, 0x400040, 0xBF00BF, 0xFF00FF}));  // 63.75, 191.25
  const TBitmap Three = Halftone(Make(2, 1, {0x000000, 0xFF0000}), 3, 1);
  EXPECT_EQ(Row(Three, 0), (Pixels{0x000000, 0x800000, 0xFF0000}));  // 127.5 -> 128
  // Shrink across, enlarge down.
  const TBitmap Mixed = Halftone(Make(4, 1, {10, 20, 30, 41}), 2, 2);
  EXPECT_EQ(Row(Mixed, 0), (Pixels{15, 36}));
  EXPECT_EQ(Row(Mixed, 1), (Pixels{15, 36}));
  // A flat image stays flat at any size.
  const TBitmap Flat = Halftone(Filled(3, 2, 0x406080), 7, 5);
  for (int Y = 0; Y < 5; ++Y) EXPECT_EQ(Row(Flat, Y), Pixels(7, 0x406080));
}

TEST(Halftone, MatchesTheDefinitionAtOddSizes) {
  const struct {
    int SW, SH, DW, DH;
  } Sizes[] = {{37, 29, 11, 10}, {5, 7, 17, 12}, {13, 4, 6, 9}, {9, 31, 23, 5}, {6, 6, 6, 6}};
  for (const auto& S : Sizes) {
    SCOPED_TRACE(testing::Message() << S.SW << "x" << S.SH << " -> " << S.DW << "x" << S.DH);
    const TBitmap Src = Random(S.SW, S.SH, unsigned(S.SW * 100 + S.SH));
    const TBitmap Dst = Halftone(Src, S.DW, S.DH);
    int Wrong = 0;
    for (int Y = 0; Y < S.DH; ++Y)
      for (int X = 0; X < S.DW; ++X)
        Wrong += At(Dst, X, Y) != ReferenceHalftone(Src, S.DW, S.DH, X, Y);
    EXPECT_EQ(Wrong, 0);
  }
}

TEST(Halftone, LargeCopiesGoInBandsAndMirrorWhole) {
  // Wide destinations are scaled a band of rows at a time.
  const struct { int SW, SH, DW, DH; } Sizes[] = {{1500, 300, 700, 130}, {61, 23, 700, 200}};
  for (const auto& S : Sizes) {
    SCOPED_TRACE(testing::Message() << S.SW << "x" << S.SH << " -> " << S.DW << "x" << S.DH);
    TBitmap Src = Random(S.SW, S.SH, 99);
    const TBitmap Dst = Halftone(Src, S.DW, S.DH);
    int Wrong = 0;
    for (int Y = 0; Y < S.DH; ++Y)
      for (int X = 0; X < S.DW; ++X)
        Wrong += At(Dst, X, Y) != ReferenceHalftone(Src, S.DW, S.DH, X, Y);
    EXPECT_EQ(Wrong, 0);
    TBitmap Flipped(S.DW, S.DH);
    Flipped.GetCanvas()->SetStretchMode(smHalftone);
    Flipped.GetCanvas()->CopyRect(Rect(S.DW, S.DH, 0, 0), *Src.GetCanvas(), Rect(0, 0, S.SW, S.SH));
    for (int Y = 0; Y < S.DH; ++Y) {
      Pixels Back = Row(Flipped, S.DH - 1 - Y);
      std::reverse(Back.begin(), Back.end());
      EXPECT_EQ(Back, Row(Dst, Y)) << "row " << Y;
    }
  }
}

TEST(Halftone, SourceOutsideItsBitmapTakesNoPart) {
  // Area -1 .. 5 onto two pixels: the first covers -1, 0, 1 of which only 0 and 1 exist.
  TBitmap Src = Make(5, 1, {10, 23, 30, 40, 51});
  TBitmap Dst = Filled(2, 1, 0x777777);
  Dst.GetCanvas()->SetStretchMode(smHalftone);
  Dst.GetCanvas()->CopyRect(Rect(0, 0, 2, 1), *Src.GetCanvas(), Rect(-1, 0, 5, 1));
  EXPECT_EQ(Row(Dst, 0), (Pixels{16, 40}));  // 33/2 = 16.5 to even, 121/3 = 40.3
  // Pixels whose centre maps outside stay as they were.
  Dst = Filled(2, 1, 0x777777);
  Dst.GetCanvas()->SetStretchMode(smHalftone);
  Dst.GetCanvas()->CopyRect(Rect(0, 0, 2, 1), *Src.GetCanvas(), Rect(-3, 0, 3, 1));
  EXPECT_EQ(Row(Dst, 0), (Pixels{0x777777, 21}));  // (10 + 23 + 30) / 3
}

// --- InvertRect -----------------------------------------------------------------------------

TEST(InvertRect, InvertsTheClippedRectangleAndTwiceRestores) {
  TBitmap B = Random(6, 5, 11);
  const TBitmap Before = B;
  TCanvas& C = *B.GetCanvas();
  C.SetOrigin(Point(1, 0));
  C.SetClipRect(Rect(-1, 1, 3, 9));  // bitmap x 0..3, y 1..4
  C.InvertRect(Rect(2, 3, -3, 0));   // reversed corners: bitmap (0, 0) .. (3, 3)
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 6; ++X) {
      const bool In = X < 3 && Y >= 1 && Y < 3;
      EXPECT_EQ(At(B, X, Y), In ? (~At(Before, X, Y) & 0xFFFFFF) : At(Before, X, Y))
          << X << "," << Y;
    }
  C.InvertRect(Rect(-3, 0, 2, 3));
  for (int Y = 0; Y < 5; ++Y) EXPECT_EQ(Row(B, Y), Row(Before, Y));
}

// --- the same rules through the canvas's colour interface -----------------------------------

// A bitmap filled through the canvas with colour C.
TBitmap FilledWith(int W, int H, TColor C) {
  TBitmap B(W, H);
  B.GetCanvas()->GetBrush().SetColor(C);
  B.GetCanvas()->FillRect(Rect(0, 0, W, H));
  return B;
}

// Copies a one-pixel source S onto a one-pixel destination D with the given mode.
TColor CopyOne(TCopyMode M, TColor S, TColor D, TColor Brush = clBlack) {
  TBitmap Src = FilledWith(1, 1, S), Dst = FilledWith(1, 1, D);
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
  TBitmap Mask = FilledWith(3, 1, clWhite), Image = FilledWith(3, 1, clBlack);
  Mask.GetCanvas()->SetPixel(1, 0, clBlack);
  Image.GetCanvas()->SetPixel(1, 0, clRed);
  TBitmap Scene = FilledWith(3, 1, clLime);
  TCanvas& C = *Scene.GetCanvas();
  C.SetCopyMode(cmSrcAnd);
  C.Draw(0, 0, Mask);
  C.SetCopyMode(cmSrcPaint);
  C.Draw(0, 0, Image);
  EXPECT_EQ(C.GetPixel(0, 0), clLime);
  EXPECT_EQ(C.GetPixel(1, 0), clRed);
  EXPECT_EQ(C.GetPixel(2, 0), clLime);
  // AND onto white keeps the glyph; white in the glyph lets the scene through.
  TBitmap Glyph = FilledWith(2, 1, clWhite);
  Glyph.GetCanvas()->SetPixel(0, 0, clNavy);
  TBitmap Grid = FilledWith(2, 1, clWhite);
  Grid.GetCanvas()->SetCopyMode(cmSrcAnd);
  Grid.GetCanvas()->Draw(0, 0, Glyph);
  EXPECT_EQ(Grid.GetCanvas()->GetPixel(0, 0), clNavy);
  EXPECT_EQ(Grid.GetCanvas()->GetPixel(1, 0), clWhite);
}

TEST(Draw, TransparentBitmapsLeaveTheirKeyColourOut) {
  TBitmap Sprite = FilledWith(2, 2, clFuchsia);
  Sprite.GetCanvas()->SetPixel(1, 0, clBlue);
  Sprite.SetTransparent(true);  // key: the bottom-left pixel, fuchsia
  TBitmap Scene = FilledWith(3, 3, clYellow);
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
  TBitmap Dst = FilledWith(5, 5, clBlack);
  TCanvas& C = *Dst.GetCanvas();
  C.Draw(-2, -1, Src);
  EXPECT_EQ(C.GetPixel(0, 0), RGBColor(20, 10, 7));
  EXPECT_EQ(C.GetPixel(1, 2), RGBColor(30, 30, 7));
  EXPECT_EQ(C.GetPixel(2, 0), clBlack);
  C.Draw(3, 3, Src);
  EXPECT_EQ(C.GetPixel(4, 4), RGBColor(10, 10, 7));
  TBitmap Clipped = FilledWith(6, 6, clBlack);
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
  TBitmap Src = FilledWith(2, 2, clRed);
  TBitmap Dst = FilledWith(4, 4, clBlack);
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
    for (int X = 0; X < 8; ++X)
      Checker.GetCanvas()->SetPixel(X, Y, (X + Y) % 2 ? clWhite : clBlack);
  TBitmap Half(4, 4);
  Half.GetCanvas()->SetStretchMode(smHalftone);
  Half.GetCanvas()->StretchDraw(Rect(0, 0, 4, 4), Checker);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X)
      EXPECT_EQ(Half.GetCanvas()->GetPixel(X, Y), RGBColor(128, 128, 128));
  // 3 -> 2: each output takes one whole and one half source pixel.
  TBitmap Three(3, 1);
  Three.GetCanvas()->SetPixel(0, 0, RGBColor(0, 0, 0));
  Three.GetCanvas()->SetPixel(1, 0, RGBColor(90, 30, 60));
  Three.GetCanvas()->SetPixel(2, 0, RGBColor(180, 240, 0));
  TBitmap Two(2, 1);
  Two.GetCanvas()->SetStretchMode(smHalftone);
  Two.GetCanvas()->StretchDraw(Rect(0, 0, 2, 1), Three);
  EXPECT_EQ(Two.GetCanvas()->GetPixel(0, 0), RGBColor(30, 10, 20));    // (2a + b) / 3
  EXPECT_EQ(Two.GetCanvas()->GetPixel(1, 0), RGBColor(150, 170, 20));  // (b + 2c) / 3
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

// dest = min(255, dest * m / 255 + src): black mask shows the source, white adds it (saturated)
// to what lies beneath, grey blends; outside the target nothing is touched.
TEST(MaskedDrawTest, BlendsThroughTheMaskAndClips) {
  const TBitmap Src = Make(4, 1, {0x102030, 0x000000, 0x80FF10, 0x202020});
  const TBitmap Mask = Make(4, 1, {0x000000, 0xFFFFFF, 0xFFFFFF, 0x808080});
  TBitmap Dst = Filled(6, 2, 0x9090F0);
  Dst.GetCanvas()->MaskedDraw(1, 1, Src, Mask);
  EXPECT_EQ(At(Dst, 1, 1), 0x102030u);
  EXPECT_EQ(At(Dst, 2, 1), 0x9090F0u);
  EXPECT_EQ(At(Dst, 3, 1), 0xFFFFFFu);  // 0x90 + 0x80, 0x90 + 0xFF, 0xF0 + 0x10: saturated
  EXPECT_EQ(At(Dst, 4, 1), 0x686898u);  // 0x90 * 128 / 255 + 0x20, 0xF0 * 128 / 255 + 0x20
  EXPECT_EQ(At(Dst, 0, 1), 0x9090F0u);
  EXPECT_EQ(At(Dst, 1, 0), 0x9090F0u);
  Dst.GetCanvas()->MaskedDraw(4, -1, Src, Mask);  // partly outside: clipped, no fault
  Dst.GetCanvas()->MaskedDraw(-3, 1, Src, Mask);
  EXPECT_EQ(At(Dst, 0, 1), 0x686898u);
  EXPECT_EQ(At(Dst, 5, 0), 0x9090F0u);
  // Long runs of pure black and pure white mask (four pixels at a time), then a ragged end.
  const TBitmap Wide = Distinct(11, 1);
  const TBitmap Runs = Make(11, 1, {0, 0, 0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0, 0xFFFFFF, 0});
  TBitmap Under = Filled(11, 1, 0x101010);
  TBitmap BlackSrc = Filled(11, 1, 0);
  Under.GetCanvas()->MaskedDraw(0, 0, BlackSrc, Runs);
  for (int X = 0; X < 11; ++X)
    EXPECT_EQ(At(Under, X, 0), (X < 4 || X == 8 || X == 10) ? 0u : 0x101010u) << X;
  Under.GetCanvas()->MaskedDraw(0, 0, Wide, Runs);
  for (int X = 0; X < 11; ++X)
    EXPECT_EQ(At(Under, X, 0), At(Wide, X, 0) + ((X >= 4 && X < 8) || X == 9 ? 0x101010u : 0))
        << X;
}

}  // namespace
}  // namespace kvl
