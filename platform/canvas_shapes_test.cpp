#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"

namespace kvl {
namespace {

// The bitmap as rows of characters: '.' white, '#' black, 'o' red, '?' anything else.
std::vector<std::string> Picture(TBitmap& B) {
  std::vector<std::string> Rows;
  for (int Y = 0; Y < B.GetHeight(); ++Y) {
    std::string Row;
    for (int X = 0; X < B.GetWidth(); ++X) {
      const TColor C = B.GetCanvas()->GetPixel(X, Y);
      Row += C == clWhite ? '.' : C == clBlack ? '#' : C == clRed ? 'o' : '?';
    }
    Rows.push_back(Row);
  }
  return Rows;
}

using Rows = std::vector<std::string>;

TEST(Rectangle, OnePixelPenOutlinesInsideTheBoxAndTheBrushFillsTheRest) {
  TBitmap B(6, 5);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clRed);
  C.Rectangle(1, 1, 5, 5);
  EXPECT_EQ(Picture(B), (Rows{"......", ".####.", ".#oo#.", ".#oo#.", ".####."}));
}

TEST(Rectangle, ReversedCornersSmallBoxesAndClearStyles) {
  TBitmap B(5, 4);
  TCanvas& C = *B.GetCanvas();
  C.Rectangle(4, 3, 1, 0);  // corners in either order
  EXPECT_EQ(Picture(B), (Rows{".###.", ".#.#.", ".###.", "....."}));
  TBitmap One(3, 3);
  One.GetCanvas()->Rectangle(1, 1, 2, 2);
  EXPECT_EQ(Picture(One), (Rows{"...", ".#.", "..."}));
  TBitmap Empty(3, 3);
  Empty.GetCanvas()->Rectangle(1, 1, 1, 3);
  EXPECT_EQ(Picture(Empty), (Rows{"...", "...", "..."}));
  TBitmap Clear(4, 4);
  TCanvas& K = *Clear.GetCanvas();
  K.GetPen().SetStyle(psClear);
  K.GetBrush().SetColor(clRed);
  K.Rectangle(0, 0, 3, 3);
  EXPECT_EQ(Picture(Clear), (Rows{"ooo.", "ooo.", "ooo.", "...."}));
  K.GetPen().SetStyle(psSolid);
  K.GetBrush().SetStyle(bsClear);
  K.Rectangle(0, 0, 4, 4);
  EXPECT_EQ(Picture(Clear), (Rows{"####", "#oo#", "#oo#", "####"}));
}

TEST(Rectangle, WidePenIsCentredOnTheOutlineUnlessInsideFrame) {
  TBitmap B(9, 9);
  TCanvas& C = *B.GetCanvas();
  C.GetPen().SetWidth(3);
  C.GetBrush().SetStyle(bsClear);
  C.Rectangle(2, 2, 7, 7);
  EXPECT_EQ(Picture(B),
            (Rows{".........", ".#######.", ".#######.", ".#######.", ".###.###.", ".#######.",
                  ".#######.", ".#######.", "........."}));
  TBitmap I(7, 7);
  I.GetCanvas()->GetPen().SetWidth(2);
  I.GetCanvas()->GetPen().SetStyle(psInsideFrame);
  I.GetCanvas()->Rectangle(1, 1, 6, 6);
  EXPECT_EQ(Picture(I), (Rows{".......", ".#####.", ".#####.", ".##.##.", ".#####.", ".#####.",
                              "......."}));
}

TEST(FillAndFrameRect, LongSpansAtAnyAlignmentStopAtTheirEnds) {
  for (int Left : {0, 1, 2, 3}) {
    for (int Right : {Left + 256, Left + 257, 600}) {
      TBitmap B(601, 3);
      TCanvas& C = *B.GetCanvas();
      C.GetBrush().SetColor(clRed);
      C.FillRect(Rect(Left, 1, Right, 2));
      for (int X = 0; X < 601; ++X) {
        const bool In = X >= Left && X < Right;
        ASSERT_EQ(C.GetPixel(X, 1), In ? clRed : clWhite) << Left << ".." << Right << " at " << X;
        ASSERT_EQ(C.GetPixel(X, 0), clWhite);
        ASSERT_EQ(C.GetPixel(X, 2), clWhite);
      }
    }
  }
  TBitmap Whole(300, 4);  // full-width rows are filled as one span
  Whole.GetCanvas()->GetBrush().SetColor(clBlue);
  Whole.GetCanvas()->FillRect(Rect(0, 1, 300, 3));
  EXPECT_EQ(Whole.GetCanvas()->GetPixel(299, 0), clWhite);
  EXPECT_EQ(Whole.GetCanvas()->GetPixel(0, 1), clBlue);
  EXPECT_EQ(Whole.GetCanvas()->GetPixel(299, 2), clBlue);
  EXPECT_EQ(Whole.GetCanvas()->GetPixel(0, 3), clWhite);
}

TEST(FillAndFrameRect, UseTheBrushOnly) {
  TBitmap B(5, 4);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clRed);
  C.FillRect(Rect(4, 3, 1, 1));
  EXPECT_EQ(Picture(B), (Rows{".....", ".ooo.", ".ooo.", "....."}));
  C.GetBrush().SetColor(clBlack);
  C.FrameRect(Rect(0, 0, 5, 4));
  EXPECT_EQ(Picture(B), (Rows{"#####", "#ooo#", "#ooo#", "#####"}));
  C.GetBrush().SetStyle(bsClear);
  C.FillRect(Rect(0, 0, 5, 4));  // a clear brush fills nothing
  EXPECT_EQ(Picture(B)[1], "#ooo#");
}

// Draws one line from the centre of a 9 x 9 bitmap and returns the picture.
Rows LineFromCentre(int DX, int DY) {
  TBitmap B(9, 9);
  TCanvas& C = *B.GetCanvas();
  C.MoveTo(4, 4);
  C.LineTo(4 + DX, 4 + DY);
  EXPECT_EQ(C.GetPenPos(), Point(4 + DX, 4 + DY));
  return Picture(B);
}

TEST(LineTo, LeavesTheEndPointOutInAllEightDirections) {
  const int Dirs[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
  for (const auto& D : Dirs) {
    const Rows P = LineFromCentre(3 * D[0], 3 * D[1]);
    for (int I = 0; I <= 3; ++I) {
      const char Expected = I < 3 ? '#' : '.';
      EXPECT_EQ(P[4 + I * D[1]][4 + I * D[0]], Expected) << D[0] << "," << D[1] << " step " << I;
    }
    int Ink = 0;
    for (const auto& Row : P) Ink += int(std::count(Row.begin(), Row.end(), '#'));
    EXPECT_EQ(Ink, 3);
  }
  EXPECT_EQ(LineFromCentre(0, 0), Rows(9, "........."));  // a zero-length line draws nothing
}

TEST(LineTo, ShallowDiagonalSteps) {
  TBitmap B(7, 3);
  TCanvas& C = *B.GetCanvas();
  C.MoveTo(0, 0);
  C.LineTo(6, 2);
  EXPECT_EQ(Picture(B), (Rows{"##.....", "..###..", ".....#."}));
}

TEST(LineTo, ClipsAtEverySideAndFarOutsideCostsNothing) {
  TBitmap B(5, 5);
  TCanvas& C = *B.GetCanvas();
  C.MoveTo(-100, 2);
  C.LineTo(100, 2);
  C.MoveTo(2, -2000000000);
  C.LineTo(2, 2000000000);
  EXPECT_EQ(Picture(B), (Rows{"..#..", "..#..", "#####", "..#..", "..#.."}));
  TBitmap D(4, 4);
  D.GetCanvas()->MoveTo(-1000000, -1000000);
  D.GetCanvas()->LineTo(1000000, 1000000);
  EXPECT_EQ(Picture(D), (Rows{"#...", ".#..", "..#.", "...#"}));
}

TEST(LineTo, OriginAndClipRectangle) {
  TBitmap B(6, 3);
  TCanvas& C = *B.GetCanvas();
  C.SetOrigin({2, 1});
  C.SetClipRect(Rect(0, 0, 2, 1));
  C.MoveTo(-2, 0);
  C.LineTo(4, 0);
  C.SetOrigin({0, 0});
  C.ResetClip();
  EXPECT_EQ(Picture(B), (Rows{"......", "..##..", "......"}));
}

TEST(Polyline, JointsAreDrawnOnceAndTheLastPointIsLeftOut) {
  TBitmap B(4, 4);
  TCanvas& C = *B.GetCanvas();
  C.GetPen().SetMode(pmXor);
  C.GetPen().SetColor(clWhite);
  const TPoint P[] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}, {0, 0}};
  C.Polyline(P);
  EXPECT_EQ(Picture(B), (Rows{"####", "#..#", "#..#", "####"}));
  EXPECT_EQ(C.GetPenPos(), Point(0, 0));
}

TEST(Pen, DashedAndWideLines) {
  TBitmap B(30, 1);
  TCanvas& C = *B.GetCanvas();
  C.GetPen().SetStyle(psDot);
  C.MoveTo(0, 0);
  C.LineTo(12, 0);
  EXPECT_EQ(Picture(B)[0].substr(0, 13), "###...###....");
  TBitmap W(9, 7);
  TCanvas& D = *W.GetCanvas();
  D.GetPen().SetWidth(3);
  D.MoveTo(2, 3);
  D.LineTo(6, 3);
  // Three rows thick, with round caps reaching 1.5 pixels beyond each end point.
  EXPECT_EQ(Picture(W), (Rows{".........", ".........", ".#######.", ".#######.", ".#######.",
                              ".........", "........."}));
  TBitmap E(6, 6);
  E.GetCanvas()->GetPen().SetWidth(2);
  E.GetCanvas()->MoveTo(1, 2);
  E.GetCanvas()->LineTo(4, 2);
  const Rows P = Picture(E);
  EXPECT_EQ(std::count(P[1].begin(), P[1].end(), '#') + std::count(P[2].begin(), P[2].end(), '#') > 0, true);
  int RowsWithInk = 0;
  for (const auto& R : P) RowsWithInk += R.find('#') != std::string::npos;
  EXPECT_EQ(RowsWithInk, 2);
}

TEST(Ellipse, SmallBoxesAreSymmetricAndInside) {
  TBitmap B(7, 7);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clRed);
  C.Ellipse(1, 1, 6, 6);
  EXPECT_EQ(Picture(B), (Rows{".......", "..###..", ".#ooo#.", ".#ooo#.", ".#ooo#.", "..###..",
                              "......."}));
  TBitmap T(3, 3);
  T.GetCanvas()->Ellipse(0, 0, 3, 3);
  EXPECT_EQ(Picture(T), (Rows{".#.", "#.#", ".#."}));
  TBitmap Z(3, 3);
  Z.GetCanvas()->Ellipse(0, 1, 3, 1);  // height 0 draws nothing
  EXPECT_EQ(Picture(Z), (Rows{"...", "...", "..."}));
}

TEST(Ellipse, AsymmetricBoxStaysInsideAndMirrors) {
  // 2R + 1 wide and 2R high, as a meter's disc.
  const int R = 6;
  TBitmap B(2 * R + 3, 2 * R + 2);
  TCanvas& C = *B.GetCanvas();
  C.Ellipse(1, 1, 2 * R + 2, 2 * R + 1);
  const Rows P = Picture(B);
  for (int Y = 0; Y < B.GetHeight(); ++Y)
    for (int X = 0; X < B.GetWidth(); ++X) {
      const bool Inside = X >= 1 && X < 2 * R + 2 && Y >= 1 && Y < 2 * R + 1;
      if (!Inside) {
        EXPECT_EQ(P[Y][X], '.') << X << "," << Y;
      }
      EXPECT_EQ(P[Y][X], P[Y][2 * R + 2 - X]) << "left/right " << X << "," << Y;
      EXPECT_EQ(P[Y][X], P[2 * R + 1 - Y][X]) << "top/bottom " << X << "," << Y;
    }
  EXPECT_EQ(P[1][R + 1], '#');
  EXPECT_EQ(P[R][1], '#');
  EXPECT_EQ(P[R][2 * R + 1], '#');
}

TEST(Arc, RunsCounterClockwiseOnScreen) {
  TBitmap B(11, 11);
  TCanvas& C = *B.GetCanvas();
  // From the right (3 o'clock) to the top (12 o'clock): the upper right quarter.
  C.Arc(0, 0, 11, 11, 10, 5, 5, 0);
  const Rows P = Picture(B);
  EXPECT_EQ(P[0][5], '#');
  EXPECT_EQ(P[5][10], '#');
  EXPECT_EQ(P[1][8], '#');
  EXPECT_EQ(P[5][0], '.');
  EXPECT_EQ(P[10][5], '.');
  for (int Y = 6; Y < 11; ++Y)
    for (int X = 0; X < 11; ++X) EXPECT_EQ(P[Y][X], '.');
  // The same two points the other way round give the other three quarters.
  TBitmap O(11, 11);
  O.GetCanvas()->Arc(0, 0, 11, 11, 5, 0, 10, 5);
  const Rows Q = Picture(O);
  EXPECT_EQ(Q[5][0], '#');
  EXPECT_EQ(Q[10][5], '#');
  EXPECT_EQ(Q[1][8], '.');
}

TEST(Arc, SameDirectionsGiveTheWholeEllipseAndFarPointsWork) {
  TBitmap A(11, 11), E(11, 11);
  A.GetCanvas()->Arc(0, 0, 11, 11, 1000, 5, 2000, 5);
  E.GetCanvas()->GetBrush().SetStyle(bsClear);
  E.GetCanvas()->Ellipse(0, 0, 11, 11);
  EXPECT_EQ(Picture(A), Picture(E));
}

TEST(Pie, FillsTheSectorAndDrawsTheRadii) {
  TBitmap B(21, 21);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clRed);
  C.Pie(0, 0, 21, 21, 20, 10, 10, 0);  // upper right quarter
  const Rows P = Picture(B);
  EXPECT_EQ(P[5][15], 'o');   // inside the quarter
  EXPECT_EQ(P[15][5], '.');   // opposite quarter untouched
  EXPECT_EQ(P[15][15], '.');
  EXPECT_EQ(P[10][15], '#');  // radius along 3 o'clock
  EXPECT_EQ(P[5][10], '#');   // radius along 12 o'clock
  // An upper half disc from (W, cy) to (0, cy).
  TBitmap H(21, 21);
  H.GetCanvas()->GetBrush().SetColor(clRed);
  H.GetCanvas()->Pie(0, 0, 21, 21, 21, 10, 0, 10);
  const Rows Q = Picture(H);
  EXPECT_EQ(Q[4][10], 'o');
  EXPECT_EQ(Q[16][10], '.');
}

TEST(Chord, FillsTheSegmentOnTheArcsSide) {
  TBitmap B(21, 21);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clRed);
  C.Chord(0, 0, 21, 21, 20, 10, 10, 0);
  const Rows P = Picture(B);
  EXPECT_EQ(P[3][16], 'o');  // between the arc and the chord
  EXPECT_EQ(P[8][12], '.');  // the centre side of the chord
}

// Arc, Pie and Chord as first written: the angle of every pixel from the centre by atan2,
// kept here as the reference that the span-based drawing must match pixel for pixel.
void ReferenceArcShape(TBitmap& Out, TRect Box, TPoint S, TPoint E, int Kind, const TRect& Clip) {
  constexpr double TwoPi = 2 * std::numbers::pi;
  const auto Angle = [](double DX, double DY) { return std::atan2(-DY, DX); };
  const auto Sweep = [&](double A, double B) {
    const double W = std::fmod(B - A, TwoPi);
    return W < 0 ? W + TwoPi : W;
  };
  Box = Box.Normalized();
  // The ellipse tells the boundary (pen) pixels from the inside (brush) ones.
  TBitmap Kinds(Out.GetWidth(), Out.GetHeight());
  Kinds.GetCanvas()->GetBrush().SetColor(clRed);
  Kinds.GetCanvas()->Ellipse(Box);
  if (Box.IsEmpty()) return;
  const double CX = (Box.Left + Box.Right - 1) / 2.0, CY = (Box.Top + Box.Bottom - 1) / 2.0;
  const double RX = (Box.Width() - 1) / 2.0, RY = (Box.Height() - 1) / 2.0;
  const double SX = S.X - CX, SY = S.Y - CY, EX = E.X - CX, EY = E.Y - CY;
  const bool Full = SX * EY - SY * EX == 0 && SX * EX + SY * EY >= 0;
  const double A0 = Angle(SX, SY), Span = Full ? TwoPi : Sweep(A0, Angle(EX, EY));
  const auto InArc = [&](int X, int Y) { return Full || Sweep(A0, Angle(X - CX, Y - CY)) <= Span; };
  const auto OnEllipse = [&](double A) {
    const double DX = std::cos(A), DY = -std::sin(A), PX = RX + 0.25, PY = RY + 0.25;
    const double T = 1 / std::sqrt((DX / PX) * (DX / PX) + (DY / PY) * (DY / PY));
    return TPoint{int(std::lround(CX + T * DX)), int(std::lround(CY + T * DY))};
  };
  const TPoint PS = OnEllipse(A0), PE = OnEllipse(A0 + Span), PM = OnEllipse(A0 + Span / 2);
  const auto Side = [&](double X, double Y) {
    return (PE.X - PS.X) * (Y - PS.Y) - (PE.Y - PS.Y) * (X - PS.X);
  };
  TCanvas& C = *Out.GetCanvas();
  const TColor Pen = C.GetPen().GetColor(), Brush = C.GetBrush().GetColor();
  const bool PenOn = C.GetPen().GetStyle() != psClear;
  for (int Y = Clip.Top; Y < Clip.Bottom; ++Y)
    for (int X = Clip.Left; X < Clip.Right; ++X) {
      const TColor K = Kinds.GetCanvas()->GetPixel(X, Y), Was = C.GetPixel(X, Y);
      if (K == clBlack && PenOn && InArc(X, Y)) C.SetPixel(X, Y, Was ^ Pen);
      const bool Inside = Kind == 1 ? InArc(X, Y) : Full || Side(X, Y) * Side(PM.X, PM.Y) >= 0;
      if (K == clRed && Kind != 0 && Inside) C.SetPixel(X, Y, Was ^ Brush);
    }
  if (Kind == 0 || Full || !PenOn) return;
  C.SetClipRect(Clip);
  C.MoveTo(PE.X, PE.Y);
  if (Kind == 1) C.LineTo(int(std::lround(CX)), int(std::lround(CY)));
  C.LineTo(PS.X, PS.Y);
}

TEST(ArcShapes, MatchTheAngleOfEveryPixel) {
  struct TCase {
    TRect Box;
    TPoint S, E;
  };
  std::vector<TCase> Cases = {
      {{0, 0, 41, 41}, {20, 20}, {40, 3}},      // a ray through the centre: the whole figure
      {{0, 0, 41, 41}, {40, 3}, {20, 20}},      //
      {{0, 0, 41, 31}, {30, 20}, {50, 30}},     // the same direction twice
      {{0, 0, 41, 31}, {40, 15}, {0, 15}},      // a half turn along the centre row
      {{0, 0, 41, 31}, {0, 15}, {40, 15}},      //
      {{0, 0, 40, 30}, {20, 0}, {20, 40}},      // a half turn along a column, even sizes
      {{0, 0, 41, 41}, {23, 24}, {17, 16}},     // a half turn through pixel centres
      {{0, 0, 41, 41}, {30, 30}, {30, 10}},     // diagonals through pixel centres
      {{5, 5, 5, 30}, {0, 0}, {9, 9}},          // empty boxes
      {{5, 5, 30, 5}, {0, 0}, {9, 9}},          //
      {{3, 3, 4, 20}, {9, 9}, {0, 0}},          // one pixel wide or high
      {{3, 3, 20, 4}, {0, 0}, {9, 9}},          //
      {{3, 3, 5, 5}, {0, 9}, {9, 0}},           // tiny
      {{60, 50, 2, 1}, {70, 20}, {-500, 900}},  // reversed corners, far points
  };
  std::mt19937 Random(12);
  const auto Any = [&](int Lo, int Hi) {
    return std::uniform_int_distribution<int>(Lo, Hi)(Random);
  };
  for (int I = 0; I < 300; ++I) {
    const TRect Box = {Any(0, 30), Any(0, 30), Any(0, 64), Any(0, 64)};
    Cases.push_back({Box, {Any(-20, 80), Any(-20, 80)}, {Any(-20, 80), Any(-20, 80)}});
  }
  const std::pair<TRect, TPenStyle> Looks[] = {
      {{0, 0, 64, 64}, psSolid}, {{7, 9, 33, 27}, psSolid}, {{0, 0, 64, 64}, psClear}};
  for (const TCase& T : Cases)
    for (int Kind : {0, 1, 2})
      for (const auto& [Clip, PenStyle] : Looks) {
        TBitmap Got(64, 64), Want(64, 64);
        for (TBitmap* B : {&Got, &Want}) {
          B->GetCanvas()->GetPen().SetStyle(PenStyle);
          B->GetCanvas()->GetPen().SetColor(clBlue);
          B->GetCanvas()->GetPen().SetMode(pmXor);  // a pixel touched twice would show
          B->GetCanvas()->GetBrush().SetColor(clRed);
        }
        TCanvas& C = *Got.GetCanvas();
        C.SetClipRect(Clip);
        const TRect& R = T.Box;
        if (Kind == 0) C.Arc(R.Left, R.Top, R.Right, R.Bottom, T.S.X, T.S.Y, T.E.X, T.E.Y);
        if (Kind == 1) C.Pie(R.Left, R.Top, R.Right, R.Bottom, T.S.X, T.S.Y, T.E.X, T.E.Y);
        if (Kind == 2) C.Chord(R.Left, R.Top, R.Right, R.Bottom, T.S.X, T.S.Y, T.E.X, T.E.Y);
        ReferenceArcShape(Want, T.Box, T.S, T.E, Kind, Clip);
        ASSERT_TRUE(std::equal(Got.Pixels(), Got.Pixels() + 64 * 64, Want.Pixels()))
            << "kind " << Kind << " box " << R.Left << "," << R.Top << "," << R.Right << ","
            << R.Bottom << " rays " << T.S.X << "," << T.S.Y << " " << T.E.X << "," << T.E.Y
            << " clip " << Clip.Left << " pen " << int(PenStyle);
      }
}

TEST(Polygon, EvenOddFillAndClosedOutline) {
  TBitmap B(5, 5);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clRed);
  const TPoint Square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  C.Polygon(Square);
  EXPECT_EQ(Picture(B), (Rows{"#####", "#ooo#", "#ooo#", "#ooo#", "#####"}));
  // A pentagram leaves its centre unfilled under the even-odd rule.
  TBitmap S(41, 41);
  TCanvas& D = *S.GetCanvas();
  D.GetBrush().SetColor(clRed);
  D.GetPen().SetStyle(psClear);
  const TPoint Star[] = {{20, 0}, {32, 38}, {1, 14}, {39, 14}, {8, 38}};
  D.Polygon(Star);
  EXPECT_EQ(D.GetPixel(20, 22), clWhite);
  EXPECT_EQ(D.GetPixel(20, 5), clRed);
  EXPECT_EQ(D.GetPixel(8, 15), clRed);
}

TEST(Polygon, DegenerateShapesStillDrawTheirOutline) {
  TBitmap B(6, 3);
  TCanvas& C = *B.GetCanvas();
  const TPoint Flat[] = {{0, 1}, {5, 1}, {5, 1}, {0, 1}};
  C.Polygon(Flat);
  EXPECT_EQ(Picture(B)[1], "######");
  const TPoint Far[] = {{-100000, -5}, {100000, -5}, {0, 100000}};
  TBitmap F(4, 4);
  F.GetCanvas()->GetBrush().SetColor(clRed);
  F.GetCanvas()->Polygon(Far);  // clipped, no hang
  EXPECT_EQ(F.GetCanvas()->GetPixel(2, 2), clRed);
}

TEST(FloodFill, SurfaceFillsTheConnectedRegionOnly) {
  TBitmap B(7, 5);
  TCanvas& C = *B.GetCanvas();
  C.MoveTo(3, 0);
  C.LineTo(3, 5);
  C.SetPixel(1, 1, clBlack);
  C.GetBrush().SetColor(clRed);
  C.FloodFill(0, 0, clWhite, fsSurface);
  EXPECT_EQ(Picture(B), (Rows{"ooo#...", "o#o#...", "ooo#...", "ooo#...", "ooo#..."}));
  C.FloodFill(3, 3, clWhite, fsSurface);  // the start is not white: nothing happens
  EXPECT_EQ(Picture(B)[0], "ooo#...");
  C.FloodFill(0, 0, clRed, fsSurface);  // brush equals the colour: returns at once
  EXPECT_EQ(Picture(B)[0], "ooo#...");
}

TEST(FloodFill, FourConnectedOnlyAndBorderMode) {
  TBitmap B(4, 4);
  TCanvas& C = *B.GetCanvas();
  // A diagonal wall: 4-connected fill must not leak through its corners.
  C.MoveTo(0, 3);
  C.LineTo(4, -1);
  C.GetBrush().SetColor(clRed);
  C.FloodFill(0, 0, clWhite, fsSurface);
  EXPECT_EQ(Picture(B), (Rows{"ooo#", "oo#.", "o#..", "#..."}));
  TBitmap R(6, 5);
  TCanvas& D = *R.GetCanvas();
  D.GetBrush().SetStyle(bsClear);
  D.Rectangle(0, 0, 6, 5);
  D.SetPixel(2, 2, clRed);  // already the fill colour: the border fill passes over it
  D.GetBrush().SetColor(clRed);
  D.FloodFill(1, 1, clBlack, fsBorder);
  EXPECT_EQ(Picture(R), (Rows{"######", "#oooo#", "#oooo#", "#oooo#", "######"}));
}

TEST(FloodFill, LargeRegionNeedsNoDeepRecursion) {
  TBitmap B(2000, 2000);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clRed);
  C.FloodFill(1000, 1000, clWhite, fsSurface);
  EXPECT_EQ(C.GetPixel(0, 0), clRed);
  EXPECT_EQ(C.GetPixel(1999, 1999), clRed);
}

TEST(PenModes, XorTwiceRestoresTheImage) {
  TBitmap B(40, 30);
  TCanvas& C = *B.GetCanvas();
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X) C.SetPixel(X, Y, RGBColor(X * 6, Y * 8, (X * Y) & 0xFF));
  const TBitmap Before = B;
  C.GetPen().SetMode(pmXor);
  C.GetPen().SetColor(0x00A5A5A5);
  C.GetBrush().SetColor(0x005A3C1E);
  const TPoint Poly[] = {{2, 2}, {30, 5}, {12, 25}, {35, 28}};
  for (int Pass = 0; Pass < 2; ++Pass) {
    C.MoveTo(0, 0);
    C.LineTo(39, 17);
    C.Polyline(Poly);
    C.Rectangle(3, 4, 20, 15);
    C.Ellipse(10, 10, 37, 29);
    C.Polygon(Poly);
    C.RoundRect(1, 1, 25, 20, 8, 6);
  }
  for (int I = 0; I < 40 * 30; ++I) ASSERT_EQ(B.Pixels()[I], Before.Pixels()[I]) << I;
}

TEST(PenModes, CombineTheRgbBitsOnly) {
  TBitmap B(3, 1);
  TCanvas& C = *B.GetCanvas();
  C.SetPixel(0, 0, RGBColor(0xF0, 0x0F, 0x55));
  C.GetPen().SetMode(pmNot);
  C.MoveTo(0, 0);
  C.LineTo(1, 0);
  EXPECT_EQ(C.GetPixel(0, 0), RGBColor(0x0F, 0xF0, 0xAA));
  EXPECT_EQ(B.Pixels()[0] >> 24, 0u);
  C.GetPen().SetMode(pmMask);
  C.GetPen().SetColor(RGBColor(0x0F, 0xFF, 0x00));
  C.MoveTo(0, 0);
  C.LineTo(1, 0);
  EXPECT_EQ(C.GetPixel(0, 0), RGBColor(0x0F, 0xF0, 0x00));
}

TEST(RoundRect, CornersAreCutAndTheBoxIsKept) {
  TBitmap B(12, 10);
  TCanvas& C = *B.GetCanvas();
  C.RoundRect(0, 0, 12, 10, 6, 6);
  const Rows P = Picture(B);
  EXPECT_EQ(P[0][0], '.');
  EXPECT_EQ(P[0][6], '#');
  EXPECT_EQ(P[5][0], '#');
  EXPECT_EQ(P[9][11], '.');
  EXPECT_EQ(P[9][6], '#');
  EXPECT_EQ(P[5][11], '#');
}

}  // namespace
}  // namespace kvl
