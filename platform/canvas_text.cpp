// Text on a canvas: the cell fill, the glyphs from the text engine, and the lines of
// underlined and struck-out fonts; rotated fonts turn the whole cell about its top-left.
#include <cmath>
#include <numbers>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"
#include "kvl/platform/raster.h"
#include "kvl/platform/text.h"

namespace kvl {

namespace {

struct TDirection2 {
  double Cos, Sin;
};

TDirection2 TextDirection(const TFont& F) {
  if (F.GetOrientation() % 3600 == 0) return {1, 0};
  const double A = F.GetOrientation() / 10.0 * std::numbers::pi / 180.0;
  return {std::cos(A), std::sin(A)};
}

}  // namespace

// Fills the parallelogram (X, Y) + s * along + t * down, s in [0, Along), t in [Down0, Down1),
// with the pixel, as a polygon of the brush colour without outline.
static void FillTurnedBox(TCanvas& C, int X, int Y, TDirection2 D, double Along, double Down0,
                          double Down1, TColor Color) {
  const TPen SavedPen = C.GetPen();
  const TBrush SavedBrush = C.GetBrush();
  C.GetPen().SetStyle(psClear);
  C.GetBrush().SetColor(Color);
  const auto P = [&](double S, double T) {
    return TPoint{int(std::lround(X + S * D.Cos + T * D.Sin)), int(std::lround(Y - S * D.Sin + T * D.Cos))};
  };
  const TPoint Corners[] = {P(0, Down0), P(Along, Down0), P(Along, Down1), P(0, Down1)};
  C.Polygon(Corners);
  C.SetPen(SavedPen);
  C.SetBrush(SavedBrush);
}

void TCanvas::TextOut(int X, int Y, std::string_view Text) {
  const TFontMetrics M = GetFontMetrics(FFont);
  const int W = TextAdvance(FFont, Text);
  const TDirection2 D = TextDirection(FFont);
  const bool Upright = D.Sin == 0 && D.Cos == 1;
  if (FBrush.GetStyle() != bsClear && W > 0) {
    if (Upright) {
      const TRect Cell = Rect(X, Y, X + W, Y + M.Height).Offset(FOrigin.X, FOrigin.Y).Intersect(DeviceClip());
      const std::uint32_t B = BrushPixel();
      for (int Row = Cell.Top; Row < Cell.Bottom; ++Row)
        raster::FillSpan(FBitmap->ScanLine(Row) + Cell.Left, std::max(Cell.Width(), 0), B);
    } else {
      FillTurnedBox(*this, X, Y, D, W, 0, M.Height, FBrush.GetColor());
    }
  }
  RenderText(*FBitmap, DeviceClip(), X + FOrigin.X, Y + FOrigin.Y, FFont, Text);
  // Underline and strike-out run along the baseline for the advance width.
  const auto Line = [&](int BelowBaseline, int Thick) {
    FillTurnedBox(*this, X, Y, D, W, M.Ascent + BelowBaseline, M.Ascent + BelowBaseline + Thick, FFont.GetColor());
  };
  if (W > 0 && (FFont.GetStyle() & fsUnderline)) Line(M.UnderlinePos - M.UnderlineThickness / 2, M.UnderlineThickness);
  if (W > 0 && (FFont.GetStyle() & fsStrikeOut)) Line(-M.StrikeOutPos, M.UnderlineThickness);
  FPenPos = {int(std::lround(X + W * D.Cos)), int(std::lround(Y - W * D.Sin))};
}

void TCanvas::TextRect(const TRect& R, int X, int Y, std::string_view Text) {
  const TRect Box = R.Normalized();
  if (FBrush.GetStyle() != bsClear) FillRect(Box);
  const TRect Clip = Box.Offset(FOrigin.X, FOrigin.Y).Intersect(DeviceClip());
  if (Clip.IsEmpty() || Text.empty()) return;
  // Within the rectangle the glyphs go on transparently: the fill made the background.
  const bool WasClipped = FClipped;
  const TRect OldClip = FClipRect;
  const TBrush OldBrush = FBrush;
  FClipped = true;
  FClipRect = Clip.Offset(-FOrigin.X, -FOrigin.Y);
  FBrush.SetStyle(bsClear);
  TextOut(X, Y, Text);
  FBrush = OldBrush;
  FClipped = WasClipped;
  FClipRect = OldClip;
}

int TCanvas::TextWidth(std::string_view Text) { return TextAdvance(FFont, Text); }

int TCanvas::TextHeight(std::string_view) { return GetFontMetrics(FFont).Height; }

TSize TCanvas::TextExtent(std::string_view Text) { return {TextWidth(Text), TextHeight(Text)}; }

}  // namespace kvl
