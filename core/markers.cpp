#include <cmath>
#include <numbers>
#include <vector>

#include "kvl/core/drawing.h"
#include "kvl/core/pen_brush_keeper.h"

namespace kvl {

namespace {

enum class TShape { Circle, Square, Diamond, TriUp, TriDown, TriLeft, TriRight, Star, Pentagon,
                    Hexagon, ThickCross };
constexpr int NumShapes = 11;
constexpr int FirstShapeMark = 8;

enum class TFill { Hollow, PenSolid, BrushFilled, SmallSolid };

// Corners of a regular polygon of N corners on a circle of radius R, the first at angle Start
// (degrees, counter-clockwise on screen); Star alternates with an inner radius.
std::vector<TPoint> RegularPolygon(int X, int Y, int N, double R, double Start, double Inner = 0) {
  std::vector<TPoint> P;
  const int Count = Inner > 0 ? 2 * N : N;
  for (int I = 0; I < Count; ++I) {
    const double Radius = (Inner > 0 && I % 2 == 1) ? Inner : R;
    const double A = (Start + 360.0 * I / Count) * std::numbers::pi / 180.0;
    P.push_back({X + int(std::lround(Radius * std::cos(A))), Y - int(std::lround(Radius * std::sin(A)))});
  }
  return P;
}

void DrawShape(TCanvas& C, TShape Shape, int X, int Y, int R) {
  switch (Shape) {
    case TShape::Circle: C.Ellipse(X - R, Y - R, X + R + 1, Y + R + 1); return;
    case TShape::Square: C.Rectangle(X - R, Y - R, X + R + 1, Y + R + 1); return;
    case TShape::Diamond: {
      const TPoint P[] = {{X, Y - R}, {X + R, Y}, {X, Y + R}, {X - R, Y}};
      C.Polygon(P);
      return;
    }
    case TShape::TriUp: {
      const TPoint P[] = {{X, Y - R}, {X + R, Y + R}, {X - R, Y + R}};
      C.Polygon(P);
      return;
    }
    case TShape::TriDown: {
      const TPoint P[] = {{X - R, Y - R}, {X + R, Y - R}, {X, Y + R}};
      C.Polygon(P);
      return;
    }
    case TShape::TriLeft: {
      const TPoint P[] = {{X - R, Y}, {X + R, Y - R}, {X + R, Y + R}};
      C.Polygon(P);
      return;
    }
    case TShape::TriRight: {
      const TPoint P[] = {{X + R, Y}, {X - R, Y + R}, {X - R, Y - R}};
      C.Polygon(P);
      return;
    }
    case TShape::Star: C.Polygon(RegularPolygon(X, Y, 5, R, 90, R * 0.45)); return;
    case TShape::Pentagon: C.Polygon(RegularPolygon(X, Y, 5, R + 0.3, 90)); return;
    case TShape::Hexagon: C.Polygon(RegularPolygon(X, Y, 6, R, 0)); return;
    case TShape::ThickCross: {
      const TPoint P[] = {{X - 1, Y - R}, {X + 1, Y - R}, {X + 1, Y - 1}, {X + R, Y - 1},
                          {X + R, Y + 1}, {X + 1, Y + 1}, {X + 1, Y + R}, {X - 1, Y + R},
                          {X - 1, Y + 1}, {X - R, Y + 1}, {X - R, Y - 1}, {X - 1, Y - 1}};
      C.Polygon(P);
      return;
    }
  }
}

void Segment(TCanvas& C, int X1, int Y1, int X2, int Y2) {
  C.MoveTo(X1, Y1);
  C.LineTo(X2, Y2);
}

// Marks 0 .. 7: a dot, crosses and bars drawn with the pen alone. The end points are drawn too
// (each line runs one pixel past them), so the symbols are symmetric.
void DrawLineMark(TCanvas& C, int Mark, int X, int Y) {
  switch (Mark) {
    case 0: C.SetPixel(X, Y, C.GetPen().GetColor()); return;
    case 1: Segment(C, X - 2, Y, X + 3, Y); Segment(C, X, Y - 2, X, Y + 3); return;
    case 2: Segment(C, X - 2, Y - 2, X + 3, Y + 3); Segment(C, X - 2, Y + 2, X + 3, Y - 3); return;
    case 3: Segment(C, X - 4, Y, X + 5, Y); Segment(C, X, Y - 4, X, Y + 5); return;
    case 4: Segment(C, X - 4, Y - 4, X + 5, Y + 5); Segment(C, X - 4, Y + 4, X + 5, Y - 5); return;
    case 5:
      Segment(C, X - 4, Y, X + 5, Y);
      Segment(C, X, Y - 4, X, Y + 5);
      Segment(C, X - 3, Y - 3, X + 4, Y + 4);
      Segment(C, X - 3, Y + 3, X + 4, Y - 4);
      return;
    case 6: Segment(C, X - 4, Y, X + 5, Y); return;
    case 7: Segment(C, X, Y - 4, X, Y + 5); return;
    default: return;
  }
}

}  // namespace

void DrawMarkOnCanvas(TCanvas& Canvas, int Mark, int X, int Y) {
  if (Mark < 0 || Mark >= NumMarkers) return;
  TPenBrushKeeper Keep(Canvas);
  if (Mark < FirstShapeMark) {
    DrawLineMark(Canvas, Mark, X, Y);
    return;
  }
  const int Index = Mark - FirstShapeMark;
  const auto Shape = static_cast<TShape>(Index % NumShapes);
  const auto Fill = static_cast<TFill>(Index / NumShapes);
  switch (Fill) {
    case TFill::Hollow: Canvas.GetBrush().SetStyle(bsClear); break;
    case TFill::PenSolid:
    case TFill::SmallSolid: Canvas.GetBrush().SetColor(Canvas.GetPen().GetColor()); break;
    case TFill::BrushFilled: break;
  }
  DrawShape(Canvas, Shape, X, Y, Fill == TFill::SmallSolid ? 3 : 4);
}

}  // namespace kvl
