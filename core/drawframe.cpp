#include "kvl/core/drawing.h"

#include <algorithm>

#include "kvl/core/pen_brush_keeper.h"

namespace kvl {

namespace {

void Line(TCanvas& C, TColor Color, std::initializer_list<TPoint> Points) {
  C.GetPen().SetColor(Color);
  auto It = Points.begin();
  C.MoveTo(It->X, It->Y);
  for (++It; It != Points.end(); ++It) C.LineTo(It->X, It->Y);
}

}  // namespace

void DrawFrame(TCanvas& Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               TColor Light, TColor /*Face*/, TColor Shadow, TColor Dark, TColor LineColor) {
  if (Style == fsNone || Style > fsEngraved) return;
  TPenBrushKeeper Keep(Canvas);
  Canvas.GetPen().SetStyle(psSolid);
  Canvas.GetPen().SetWidth(1);
  Canvas.GetPen().SetMode(pmCopy);
  const int L = std::min(Left, Right), R = std::max(Left, Right);
  const int T = std::min(Top, Bottom), B = std::max(Top, Bottom);

  if (Style == fsSimple) {
    Line(Canvas, LineColor, {{L, T}, {R, T}, {R, B}, {L, B}, {L, T}});
    return;
  }

  TColor Outline = Shadow, Inner = Dark, Outer = Light;
  switch (Style) {
    case fsRaised: Inner = Light; Outer = Dark; break;
    case fsEmbossed: Outline = Light; Inner = Shadow; Outer = Shadow; break;
    case fsEngraved: Inner = Light; Outer = Light; break;
    default: break;  // fsLowered
  }
  // Outline one pixel in from the right and bottom, the inner half line along the top and left
  // inside it, the outer half line along the bottom and right outside it.
  Line(Canvas, Outline, {{L, B - 1}, {L, T}, {R - 1, T}, {R - 1, B - 1}, {L, B - 1}});
  Line(Canvas, Inner, {{L + 1, B - 2}, {L + 1, T + 1}, {R - 1, T + 1}});
  Line(Canvas, Outer, {{L + 1, B}, {R, B}, {R, T}});
}

void DrawRectangle(TCanvas& Canvas, int Left, int Top, int Right, int Bottom) {
  Canvas.MoveTo(Left, Top);
  Canvas.LineTo(Right, Top);
  Canvas.LineTo(Right, Bottom);
  Canvas.LineTo(Left, Bottom);
  Canvas.LineTo(Left, Top);
}

}  // namespace kvl
