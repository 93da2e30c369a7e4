// Needles: TNeedleLayout and the needle polygon with its shadow.
#include <algorithm>
#include <cmath>

#include "kvl/meter/coords.h"
#include "kvl/meter/meter.h"

namespace kvl {

using namespace meter_detail;

void TNeedleLayout::Changed() {
  if (OnChange) OnChange(this);
}

void TNeedleLayout::CopyNeedleProperties(const TNeedleLayout& S) {
  FSize1 = S.FSize1;
  FAngle1 = S.FAngle1;
  FBackShift1 = S.FBackShift1;
  FThickness = S.FThickness;
  FColorFill = S.FColorFill;
  FColorLine = S.FColorLine;
  FPctNeedleLeng = S.FPctNeedleLeng;
  FShadowDx = S.FShadowDx;
  FShadowDy = S.FShadowDy;
  FShadowColor = S.FShadowColor;
  FVisible = S.FVisible;
}

void TNeedleLayout::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TNeedleLayout*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  CopyNeedleProperties(*S);
  Changed();
}

void TNeedleLayout::SetHeadSize(int V) { Store(FSize1, V); }
void TNeedleLayout::SetHeadAngle(int V) { Store(FAngle1, std::clamp(V, 0, 180)); }
void TNeedleLayout::SetHeadMidLeng(int V) { Store(FBackShift1, V); }
void TNeedleLayout::SetThickness(int V) { Store(FThickness, V); }
void TNeedleLayout::SetColorBody(TColor V) { Store(FColorFill, V); }
void TNeedleLayout::SetColorOutline(TColor V) { Store(FColorLine, V); }
void TNeedleLayout::SetPercentNeedleLength(int V) { Store(FPctNeedleLeng, std::clamp(V, 0, 100)); }
void TNeedleLayout::SetShadowDx(int V) { Store(FShadowDx, V); }
void TNeedleLayout::SetShadowDy(int V) { Store(FShadowDy, V); }
void TNeedleLayout::SetShadowColor(TColor V) { Store(FShadowColor, V); }
void TNeedleLayout::SetVisible(bool V) { Store(FVisible, V); }

TMeter::TNeedleShape TMeter::NeedleShape(const TNeedleLayout& L, double V) const {
  const TGeometry G = Geometry();
  const double Theta = Phi(std::clamp(V, FMinValue, FMaxValue)) * DegToRad;
  const double Len = L.GetPercentNeedleLength() * (G.R - 4) * 0.01;
  const double Cos = std::cos(Theta), Sin = std::sin(Theta);
  const int XT = ScreenRound(G.Cx + Len * Cos), YT = ScreenRound(G.Cy - Len * Sin);
  const double Beta = L.GetHeadAngle() * DegToRad;
  const double Head = L.GetHeadSize(), Mid = L.GetHeadMidLeng();
  const double C = Sin * L.GetThickness() / 2.0, D = Cos * L.GetThickness() / 2.0;
  TNeedleShape N;
  N.P[0] = {ScreenRound(XT - Head * std::cos(Theta + Beta / 2)),
            ScreenRound(YT + Head * std::sin(Theta + Beta / 2))};
  N.P[1] = {XT, YT};
  N.P[2] = {ScreenRound(XT - Head * std::cos(Theta - Beta / 2)),
            ScreenRound(YT + Head * std::sin(Theta - Beta / 2))};
  N.P[3] = {ScreenRound(XT - C - Mid * Cos), ScreenRound(YT - D + Mid * Sin)};
  N.P[4] = {ScreenRound(G.Cx - C), ScreenRound(G.Cy - D)};
  N.P[5] = {ScreenRound(G.Cx + C), ScreenRound(G.Cy + D)};
  N.P[6] = {ScreenRound(XT + C - Mid * Cos), ScreenRound(YT + D + Mid * Sin)};
  return N;
}

namespace {

TPoint Shifted(TPoint P, int Dx, int Dy) {
  return {ClampCoord(std::int64_t(P.X) - Dx), ClampCoord(std::int64_t(P.Y) - Dy)};
}

bool HasShadow(const TNeedleLayout& L) { return L.GetShadowDx() != 0 || L.GetShadowDy() != 0; }

}  // namespace

void TMeter::DrawNeedle(TCanvas& C, const TNeedleLayout& L, double V) {
  const TNeedleShape N = NeedleShape(L, V);
  if (HasShadow(L)) {
    TPoint S[7];
    for (int I = 0; I < 7; ++I) S[I] = Shifted(N.P[I], L.GetShadowDx(), L.GetShadowDy());
    C.GetPen().SetColor(L.GetShadowColor());
    C.GetBrush().SetColor(L.GetShadowColor());
    C.Polygon(S);
  }
  C.GetPen().SetColor(L.GetColorOutline());
  C.GetBrush().SetColor(L.GetColorBody());
  C.Polygon(N.P);
}

TRect TMeter::NeedleBounds(const TNeedleLayout& L, double V) const {
  const TNeedleShape N = NeedleShape(L, V);
  int X1 = N.P[0].X, Y1 = N.P[0].Y, X2 = X1, Y2 = Y1;
  const auto Take = [&](TPoint P) {
    X1 = std::min(X1, P.X);
    Y1 = std::min(Y1, P.Y);
    X2 = std::max(X2, P.X);
    Y2 = std::max(Y2, P.Y);
  };
  for (const TPoint P : N.P) {
    Take(P);
    if (HasShadow(L)) Take(Shifted(P, L.GetShadowDx(), L.GetShadowDy()));
  }
  // One pixel of margin on every side holds the outline wherever the edges round.
  return Rect(X1 - 1, Y1 - 1, X2 + 2, Y2 + 2);
}

TRect TMeter::NeedlesBounds() const {
  TRect R = NeedleBounds(FNeedleLayout, FValue);
  if (FNeedle2Layout.GetVisible()) R = R.Union(NeedleBounds(FNeedle2Layout, FValue2));
  return R;
}

void TMeter::DrawNeedles(TCanvas& C, bool WithHook) {
  if (FNeedle2Layout.GetVisible()) DrawNeedle(C, FNeedle2Layout, FValue2);
  bool NeedleDrawn = false;
  if (WithHook && OnBeforeDrawNeedle) OnBeforeDrawNeedle(this, &C, NeedleDrawn);
  C.GetBrush().SetStyle(bsSolid);
  if (!NeedleDrawn) DrawNeedle(C, FNeedleLayout, FValue);
}

}  // namespace kvl
