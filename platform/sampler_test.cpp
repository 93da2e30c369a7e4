// The sampler sheet: every canvas primitive, the frame looks, the marker symbols and text in
// several sizes, styles and angles on one bitmap, compared with a picture reviewed by eye.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "kvl/core/drawing.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

void DrawShapes(TCanvas& C) {
  C.GetBrush().SetColor(clYellow);
  C.Rectangle(10, 10, 70, 50);
  C.GetBrush().SetColor(RGBColor(120, 200, 255));
  C.Ellipse(80, 10, 150, 50);
  C.GetBrush().SetColor(clLime);
  C.Pie(160, 5, 220, 65, 220, 35, 190, 5);
  C.GetBrush().SetColor(clFuchsia);
  C.Chord(230, 5, 290, 65, 290, 35, 230, 35);
  C.Arc(300, 5, 360, 65, 360, 35, 300, 35);
  C.GetBrush().SetColor(clAqua);
  C.RoundRect(370, 10, 440, 50, 16, 16);
  const TPoint Star[] = {{45, 75}, {70, 145}, {5, 100}, {85, 100}, {20, 145}};
  C.GetBrush().SetColor(clRed);
  C.Polygon(Star);
  C.GetPen().SetWidth(6);
  C.MoveTo(100, 80);
  C.LineTo(170, 140);
  C.GetPen().SetWidth(1);
  for (int A = 0; A < 360; A += 15) {
    const double R = A * std::numbers::pi / 180;
    C.MoveTo(230, 110);
    C.LineTo(230 + int(std::lround(35 * std::cos(R))), 110 - int(std::lround(35 * std::sin(R))));
  }
  for (TPenStyle S : {psDash, psDot, psDashDot, psDashDotDot}) {
    C.GetPen().SetStyle(S);
    C.MoveTo(280, 80 + 8 * S);
    C.LineTo(440, 80 + 8 * S);
  }
  C.GetPen().SetStyle(psSolid);
  C.GetBrush().SetColor(clNavy);
  C.FloodFill(45, 115, clBtnFace, fsSurface);  // the star's unfilled centre
}

void DrawFramesAndMarkers(TCanvas& C) {
  for (int S = fsNone; S <= fsEngraved; ++S)
    DrawFrame(C, static_cast<TFrameStyle>(S), 10 + S * 36, 160, 40 + S * 36, 185, clWhite, clSilver,
              clGray, clBlack, clBlack);
  C.GetPen().SetColor(clNavy);
  C.GetBrush().SetColor(clYellow);
  for (int M = 0; M < NumMarkers; ++M) DrawMarkOnCanvas(C, M, 240 + (M % 13) * 16, 160 + (M / 13) * 14);
  C.GetPen().SetColor(clBlack);
}

void DrawText(TCanvas& C) {
  int Y = 215;
  for (int Size : {8, 10, 14, 20}) {
    C.GetFont().SetSize(Size);
    C.GetBrush().SetColor(clWhite);
    C.TextOut(10, Y, "Sample (8g]}\xC3\x9C\xC3\x84\xC2\xA7 1013.25");
    Y += C.TextHeight("x") + 3;
  }
  C.GetFont().SetSize(12);
  const struct {
    TFontStyles Style;
    const char* Text;
  } Styles[] = {{fsBold, "Bold"}, {fsItalic, "Italic"}, {fsUnderline, "Underline"}, {fsStrikeOut, "Struck"}};
  int X = 10;
  for (const auto& S : Styles) {
    C.GetFont().SetStyle(S.Style);
    C.TextOut(X, Y + 4, S.Text);
    X += C.TextWidth(S.Text) + 12;
  }
  C.GetFont().SetStyle(0);
  C.GetFont().SetQuality(fqNonAntialiased);
  C.TextOut(X, Y + 4, "Plain pixels");
  C.GetFont().SetQuality(fqDefault);
  C.GetBrush().SetStyle(bsClear);
  C.GetFont().SetColor(clMaroon);
  for (int A = 0; A < 360; A += 45) {
    C.GetFont().SetOrientation(A * 10);
    C.TextOut(455, 270, "  angle");
  }
  C.GetFont().SetOrientation(0);
  C.GetFont().SetColor(clBlack);
  C.GetBrush().SetColor(RGBColor(230, 230, 230));
  C.TextRect(Rect(375, 350, 510, 370), 379, 352, "TextRect clips this long text");
}

TEST(Sampler, SheetOfEveryPrimitiveMatchesTheReviewedPicture) {
  TBitmap B(520, 380);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clBtnFace);
  C.FillRect(Rect(0, 0, 520, 380));
  DrawShapes(C);
  DrawFramesAndMarkers(C);
  DrawText(C);
  EXPECT_TRUE(MatchesGolden(B, "testdata/sampler.png"));
}

}  // namespace
}  // namespace kvl
