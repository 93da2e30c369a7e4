// TMeter painting. The scale layer holds the background, the bands, the scale and the
// caption; the composed picture adds the needles, the cover, the anchor, the lamps and the
// frame. A needle move restores only the needles' rectangle from the scale layer and draws
// what lies there again, clipped to it.
#include <algorithm>
#include <cmath>
#include <exception>

#include "kvl/meter/coords.h"
#include "kvl/meter/meter.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

using namespace meter_detail;

void TMeter::ScaleChanged() {
  FScaleDirty = true;
  if (FQuiet) {
    FFrameValid = false;
    return;
  }
  Changed();
}

void TMeter::Changed() {
  FFrameValid = false;
  if (IsLoading()) return;
  if (FPainting || FMeterRadius <= 0) {
    // A picture of nothing must give way to the parent's background.
    Invalidate();
    return;
  }
  if (!IsPaintable()) return;
  Paint();
}

void TMeter::VisibleChanged() {
  FFrameValid = false;
  TGraphicControl::VisibleChanged();
}

void TMeter::RebuildScale() { ScaleChanged(); }

bool TMeter::MakeLayers() {
  const int W = GetWidth(), H = GetHeight();
  if (FScaleLayer.GetWidth() == W && FScaleLayer.GetHeight() == H && FFrame.GetWidth() == W &&
      FFrame.GetHeight() == H)
    return W > 0 && H > 0;
  FScaleDirty = true;
  FFrameValid = false;
  try {
    FScaleLayer.SetSize(W, H);
    FFrame.SetSize(W, H);
  } catch (const std::exception&) {
    // Beyond what a bitmap may hold: the meter draws nothing.
    FScaleLayer.SetSize(0, 0);
    FFrame.SetSize(0, 0);
    return false;
  }
  return !FScaleLayer.Empty();
}

void TMeter::Paint() {
  if (FPainting || FMeterRadius <= 0 || !MakeLayers()) return;
  const TScopedValue<bool> Painting(FPainting, true);
  if (FScaleDirty) BuildScaleLayer();
  ComposeFrame();
  GetCanvas()->Draw(0, 0, FFrame);
}

void TMeter::NeedleMoved() {
  const bool Quick = FFrameValid && !FScaleDirty && !FPainting && !OnBeforeDrawNeedle &&
                     !OnMeterRendered && FMeterRadius > 0 && IsPaintable() && MakeLayers();
  if (!Quick) {
    Changed();
    return;
  }
  const TScopedValue<bool> Painting(FPainting, true);
  const TGeometry G = Geometry();
  TRect Dirty = FNeedleRect.Union(NeedlesBounds());
  if (FLampHighLit != FOFL) Dirty = Dirty.Union(LampRect(G, true));
  if (FLampLowLit != FUFL) Dirty = Dirty.Union(LampRect(G, false));
  Dirty = Dirty.Intersect(Rect(0, 0, G.W, G.H));
  FNeedleRect = NeedlesBounds();
  if (Dirty.IsEmpty()) return;
  TCanvas& C = *FFrame.GetCanvas();
  C.CopyRect(Dirty, *FScaleLayer.GetCanvas(), Dirty);
  C.SetClipRect(Dirty);
  DrawNeedles(C, false);
  DrawTop(C, G, false);
  C.ResetClip();
  GetCanvas()->CopyRect(Dirty, C, Dirty);
}

void TMeter::BuildScaleLayer() {
  FScaleDirty = false;
  const TGeometry G = Geometry();
  TCanvas& C = *FScaleLayer.GetCanvas();
  // The state of a new canvas, as every rebuild starts afresh.
  C.SetPen(TPen());
  C.SetBrush(TBrush());
  C.SetPenPos({0, 0});
  C.ResetClip();
  C.SetFont(GetFont());
  DrawBackground(C, G);
  DrawBands(C, G);
  C.GetBrush().SetStyle(bsClear);
  if (FScaleVis) DrawScale(C, G);
  C.SetFont(FFontCaption);
  const std::string& Caption = GetCaption();
  if (!Caption.empty())
    C.TextOut(G.Cx - C.TextWidth(Caption) / 2,
              G.Cy - ScreenRound(G.R / 3) - C.TextHeight(Caption) / 2, Caption);
}

void TMeter::DrawBackground(TCanvas& C, const TGeometry& G) {
  const int W = G.W, H = G.H;
  const int Bw = FAuxBGBmp.GetWidth(), Bh = FAuxBGBmp.GetHeight();
  if (FBakGndFName.empty() || Bw <= 0 || Bh <= 0) {
    C.GetPen().SetColor(FColorBakG);
    C.GetBrush().SetColor(FColorBakG);
    C.Rectangle(0, 0, W, H);
    return;
  }
  switch (FBGFillMode) {
    case bfStretched:
      C.StretchDraw(Rect(0, 0, W, H), FAuxBGBmp);
      break;
    case bfTiled:
      for (int I = 1; I <= (W - 1) / Bw + 1; ++I)
        for (int J = 1; J <= (H - 1) / Bh + 1; ++J)
          C.StretchDraw(Rect(Bw * (I - 1), Bh * (J - 1), Bw * I, Bh * J), FAuxBGBmp);
      break;
    default:
      C.Rectangle(0, 0, W, H);
      C.Draw(0, 0, FAuxBGBmp);
      break;
  }
}

void TMeter::DrawBands(TCanvas& C, const TGeometry& G) {
  if (!FScaleBkVis) return;
  const double A = FMeterAngle, R = G.R;
  const double PhiMin = A / 2 + 90, PhiMax = 90 - A / 2;
  const double PhiLow = A / 2 + 90 - A * Fraction(FLowThreshold);
  const double PhiHigh = A / 2 + 90 - A * Fraction(FHighThreshold);
  const int Rb4 = ScreenRound(R + 4);
  const auto Dir = [&](double PhiDeg) {
    const double P = PhiDeg * DegToRad;
    return TPoint{G.Cx + ScreenRound(R * std::cos(P)), G.Cy - ScreenRound(R * std::sin(P))};
  };
  const auto Band = [&](TColor Color, double From, double To) {
    if (std::fabs(To - From) <= 1e-6) return;
    const TPoint P1 = Dir(From), P2 = Dir(To);
    // Equal direction points make the canvas draw the whole disc: right only for a band
    // that really goes all round.
    if (P1.X == P2.X && P1.Y == P2.Y && std::fabs(To - From) <= 180) return;
    C.GetPen().SetColor(Color);
    C.GetBrush().SetColor(Color);
    C.Pie(G.Cx - Rb4, G.Cy - Rb4, G.Cx + Rb4 + 1, G.Cy + Rb4, P1.X, P1.Y, P2.X, P2.Y);
  };
  Band(FColorBakGLow, PhiLow, PhiMin);
  Band(FColorBakGNorm, PhiHigh, PhiLow);
  Band(FColorBakGHigh, PhiMax, PhiHigh);
  C.GetPen().SetColor(FColorBakG);
  C.GetBrush().SetColor(FColorBakG);
  const int Ri = ScreenRound((100 - FScaleBakWidth) * R / 100);
  C.Ellipse(G.Cx - Ri, G.Cy - Ri, G.Cx + Ri + 1, G.Cy + Ri);
}

void TMeter::ComposeFrame() {
  const TGeometry G = Geometry();
  TCanvas& S = *FScaleLayer.GetCanvas();
  TCanvas& C = *FFrame.GetCanvas();
  C.ResetClip();
  C.SetCopyMode(cmSrcCopy);
  C.Draw(0, 0, FScaleLayer);
  // The drawing goes on with the canvas as the scale left it.
  C.SetPen(S.GetPen());
  C.SetBrush(S.GetBrush());
  C.SetFont(S.GetFont());
  C.SetPenPos(S.GetPenPos());
  DrawNeedles(C, true);
  DrawTop(C, G, true);
  FNeedleRect = NeedlesBounds();
  FFrameValid = true;
}

// Everything above the needles: cover, window bevel and anchor, lamps, the host's drawing and
// the outer frame.
void TMeter::DrawTop(TCanvas& C, const TGeometry& G, bool WithHook) {
  const int W = G.W, H = G.H, Rt = G.Rt, Rb = G.Rb, Rs = G.Rs;
  C.GetPen().SetColor(FColorCover);
  C.GetBrush().SetColor(FColorCover);
  C.Rectangle(0, 0, Rs - 1, H);
  C.Rectangle(0, 0, W, Rt);
  C.Rectangle(W - Rs, 0, W, H);
  C.Rectangle(0, H - Rb, W, H);
  DrawAnchor(C, G);
  DrawLamps(C, G);
  if (WithHook && OnMeterRendered) OnMeterRendered(this, &C);
  DrawOuterFrame(C, G);
}

void TMeter::DrawAnchor(TCanvas& C, const TGeometry& G) {
  const int W = G.W, H = G.H, Rt = G.Rt, Rb = G.Rb, Rs = G.Rs, S = G.S, Cx = G.Cx, Cy = G.Cy;
  const auto Bevel = [&] {
    C.GetPen().SetColor(clWhite);
    C.MoveTo(Rs - 1, H - Rb);
    C.LineTo(W - Rs, H - Rb);
    C.LineTo(W - Rs, Rt);
    C.GetPen().SetColor(clGray);
    C.LineTo(Rs - 1, Rt);
    C.LineTo(Rs - 1, H - Rb);
  };
  const int X1 = Cx - S, Y1 = Cy - S, X2 = Cx + S, Y2 = Cy + S;
  if (!FAnchorCovrd) {
    Bevel();
    return;
  }
  if (!FACoverFName.empty()) {
    Bevel();
    C.Draw(Cx - FAuxACBmp.GetWidth() / 2, Cy - FAuxACBmp.GetHeight() / 2, FAuxACBmp);
    return;
  }
  if (FMeterLayout == mlCirc270 || FMeterLayout == mlCirc300 || FMeterLayout == mlCirc360) {
    C.GetPen().SetColor(FColorCover);
    C.GetBrush().SetColor(FColorCover);
    C.Ellipse(X1, Y1, X2, Y2);
    Bevel();
    C.GetPen().SetColor(clWhite);
    C.Arc(X1, Y1, X2, Y2, Cx + S, Cy - S, Cx - S, Cy + S);
    C.GetPen().SetColor(clGray);
    C.Arc(X1, Y1, X2, Y2, Cx - S, Cy + S, Cx + S, Cy - S);
    return;
  }
  C.GetPen().SetColor(FColorCover);
  C.GetBrush().SetColor(FColorCover);
  C.Pie(X1, Y1, X2, Y2, W, Cy, 0, Cy);
  C.Rectangle(Cx - S, H - Rb, Cx + S, Cy);
  C.GetPen().SetColor(clGray);
  C.MoveTo(Cx + S - 1, Cy);
  C.LineTo(Cx + S - 1, H - Rb);
  C.GetPen().SetColor(clWhite);
  C.LineTo(W - Rs, H - Rb);
  C.LineTo(W - Rs, Rt);
  C.GetPen().SetColor(clGray);
  C.LineTo(Rs - 1, Rt);
  C.LineTo(Rs - 1, H - Rb);
  C.GetPen().SetColor(clWhite);
  C.LineTo(Cx - S, H - Rb);
  C.LineTo(Cx - S, Cy - 1);
  C.Arc(X1, Y1, X2, Y2, W, Cy, 0, Cy);
  C.GetPen().SetColor(clGray);
  C.Arc(X1, Y1, X2, Y2, Cx + S, Cy, Cx + S, Cy - S);
}

TRect TMeter::LampRect(const TGeometry& G, bool High) const {
  const int X = High ? G.W - G.Rs - 18 : G.Rs + 8;
  return Rect(X, G.Rt + 8, X + 10, G.Rt + 18);
}

void TMeter::DrawLamps(TCanvas& C, const TGeometry& G) {
  const int W = G.W, Rt = G.Rt, Rs = G.Rs;
  const auto Line = [&](TColor Color, int X0, int Y0, int X1, int Y1, int X2, int Y2) {
    C.GetPen().SetColor(Color);
    C.MoveTo(X0, Y0);
    C.LineTo(X1, Y1);
    C.LineTo(X2, Y2);
  };
  if (FLimWatHighOn) {
    C.GetPen().SetColor(clBlack);
    C.GetBrush().SetColor(FOFL ? FLimWatActCol : FLimWatPsvCol);
    C.Rectangle(W - Rs - 18, Rt + 18, W - Rs - 8, Rt + 8);
    Line(clWhite, W - Rs - 17, Rt + 17, W - Rs - 9, Rt + 17, W - Rs - 9, Rt + 8);
    Line(clSilver, W - Rs - 16, Rt + 16, W - Rs - 10, Rt + 16, W - Rs - 10, Rt + 9);
    Line(clGray, W - Rs - 17, Rt + 16, W - Rs - 17, Rt + 9, W - Rs - 9, Rt + 9);
  }
  if (FLimWatLowOn) {
    C.GetPen().SetColor(clBlack);
    C.GetBrush().SetColor(FUFL ? FLimWatActCol : FLimWatPsvCol);
    C.Rectangle(Rs + 8, Rt + 18, Rs + 18, Rt + 8);
    Line(clWhite, Rs + 9, Rt + 17, Rs + 17, Rt + 17, Rs + 17, Rt + 8);
    Line(clSilver, Rs + 10, Rt + 16, Rs + 16, Rt + 16, Rs + 16, Rt + 9);
    Line(clGray, Rs + 9, Rt + 16, Rs + 9, Rt + 9, Rs + 17, Rt + 9);
  }
  FLampHighLit = FOFL;
  FLampLowLit = FUFL;
}

void TMeter::DrawOuterFrame(TCanvas& C, const TGeometry& G) {
  const int W = G.W, H = G.H, W1 = W - 1, H1 = H - 1;
  const TColor L = FColWhiteLine, D = FColGrayLine;
  const auto Pen = [&](TColor Color) { C.GetPen().SetColor(Color); };
  const auto Bent = [&](TColor First, TColor Second) {
    Pen(First);
    C.MoveTo(0, H1);
    C.LineTo(0, 0);
    C.LineTo(W1, 0);
    Pen(Second);
    C.LineTo(W1, H1);
    C.LineTo(0, H1);
  };
  const auto Relief = [&](TColor Outline, TColor Inner) {
    Pen(Outline);
    C.MoveTo(0, 0);
    C.LineTo(W - 2, 0);
    C.LineTo(W - 2, H - 2);
    C.LineTo(0, H - 2);
    C.LineTo(0, 0);
    Pen(Inner);
    C.MoveTo(1, H - 3);
    C.LineTo(1, 1);
    C.LineTo(W - 2, 1);
    C.MoveTo(1, H1);
    C.LineTo(W1, H1);
    C.LineTo(W1, 0);
  };
  switch (FFrameStyle) {
    case fsSimple:
      Bent(FColorBakG, FColorBakG);
      break;
    case fsLowered:
      Bent(D, L);
      break;
    case fsRaised:
      Bent(L, D);
      break;
    case fsEmbossed:
      Relief(L, D);
      break;
    case fsEngraved:
      Relief(D, L);
      break;
    default:
      break;
  }
}

}  // namespace kvl
