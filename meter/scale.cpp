// TMeter scale: value fraction and angles, the major step, ticks and labels, and the
// conversions between values and pixels.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "kvl/core/math1.h"
#include "kvl/core/stringl.h"
#include "kvl/core/univconst.h"
#include "kvl/meter/coords.h"
#include "kvl/meter/meter.h"

namespace kvl {

using namespace meter_detail;

namespace {

// No scale loop runs longer than this, whatever the range: a step lost in the rounding of a
// huge value, a subnormal step or an endless decade run ends here and draws what it has.
constexpr int MaxPasses = 10000;

}  // namespace

TMeterStep MeterStep(double Min, double Max, int NrTicks) {
  const double S = Max < Min ? -1.0 : 1.0;
  double G = std::log10(std::fabs(Max - Min) / NrTicks);
  double H = G - std::trunc(G);
  if (std::fabs(H) < 1e-10 || std::fabs(H) > 0.9999999999) {
    G = std::nearbyint(G);
    H = 0;
  }
  if (G < 0 && H != 0) G -= 1;
  if (H < 0) H += 1;
  const double Log2 = std::log10(2.0) + 1e-10, Log5 = std::log10(5.0) + 1e-10;
  double Mantissa = 5;
  int Sub = 5;
  if (H < Log2) {
    Mantissa = 1;
  } else if (H < Log5) {
    Mantissa = 2;
    Sub = 4;
  }
  const double Step = S * Mantissa * std::pow(10.0, std::trunc(G));
  double B = (std::trunc(Min / Step) - 1) * Step;
  for (int Pass = 0; Pass < MaxPasses && S * (Min - B) > 0.001 * std::fabs(Step); ++Pass) {
    const double Next = B + Step;
    if (!(Next != B)) {
      // The step is lost in the rounding of B: start at the minimum itself.
      B = Min;
      break;
    }
    B = Next;
  }
  return {Step, Sub, B};
}

double TMeter::Fraction(double V) const {
  if (FLogarithmic && V > 0 && FMinValue > 0 && FMaxValue > 0)
    return (std::log(V) - std::log(FMinValue)) / (std::log(FMaxValue) - std::log(FMinValue));
  return (V - FMinValue) / (FMaxValue - FMinValue);
}

double TMeter::Phi(double V) const { return FMeterAngle / 2.0 + 90 - FMeterAngle * Fraction(V); }

double TMeter::CalcNeedleAngle(double Value) const {
  const double V = std::clamp(Value, FMinValue, FMaxValue);
  const double F = FLogarithmic ? (std::log(V) - std::log(FMinValue)) /
                                      (std::log(FMaxValue) - std::log(FMinValue))
                                : (V - FMinValue) / (FMaxValue - FMinValue);
  return 180 - FMeterAngle / 2.0 + FMeterAngle * F;
}

void TMeter::ConvertToPixelCoords(double Value, double PctRadius, int& X, int& Y) const {
  const double A = (-90 - CalcNeedleAngle(Value)) * DegToRad;
  const double R = PctRadius * 0.01 * FMeterRadius;
  X = ScreenRound(FMeterCenterX + R * std::cos(A));
  Y = ScreenRound(FMeterCenterY - R * std::sin(A));
}

bool TMeter::ConvertPixelToValue(int XPos, int YPos, double& MeterValue) const {
  const double Dx = double(XPos) - FMeterCenterX, Dy = double(YPos) - FMeterCenterY;
  constexpr double Pi = std::numbers::pi;
  double Alpha;
  if (Dx > 0)
    Alpha = std::atan(Dy / Dx);
  else if (Dx < 0)
    Alpha = std::atan(Dy / Dx) + Pi;
  else
    Alpha = Dy > 0 ? Pi / 2 : 3 * Pi / 2;
  if (Alpha < 0) Alpha += 2 * Pi;
  double Delta = Alpha * 180 / Pi - 90;
  if (Delta < 0) Delta += 360;
  const double A = FMeterAngle, B = 180 - A / 2;
  MeterValue = 0;
  if (Delta < B || Delta > 180 + A / 2) return false;
  if (FLogarithmic)
    MeterValue = std::exp((std::log(FMaxValue) - std::log(FMinValue)) * (Delta - B) / A +
                          std::log(FMinValue));
  else
    MeterValue = FMinValue + (Delta - B) / A * (FMaxValue - FMinValue);
  return true;
}

// One tick along the value's direction, from the radius in to Inner.
void TMeter::DrawTick(TCanvas& C, const TGeometry& G, double V, double Inner) {
  const double P = Phi(V) * DegToRad, Cos = std::cos(P), Sin = std::sin(P);
  if (!std::isfinite(Cos)) return;
  C.MoveTo(ScreenRound(G.Cx + G.R * Cos), ScreenRound(G.Cy - G.R * Sin));
  C.LineTo(ScreenRound(G.Cx + Inner * Cos), ScreenRound(G.Cy - Inner * Sin));
}

void TMeter::DrawLabel(TCanvas& C, const TGeometry& G, double V, double Lx, double Ly) {
  const double P = Phi(V) * DegToRad;
  if (!std::isfinite(P)) return;
  const int X = ScreenRound(G.Cx + std::cos(P) * (G.R - Lx));
  const int Y = ScreenRound(G.Cy - std::sin(P) * (G.R - Ly));
  std::string Text = strff(V, 0, CalcM(FDecPlaces, FMinValue, FMaxValue));
  if (FOnBeforeDrawScaleLabel)
    FOnBeforeDrawScaleLabel(this, &C, Text, X - C.TextWidth(Text) / 2, Y - C.TextHeight(Text) / 2);
  if (Text.empty()) return;
  C.TextOut(X - C.TextWidth(Text) / 2, Y - C.TextHeight(Text) / 2, Text);
}

void TMeter::DrawScale(TCanvas& C, const TGeometry& G) {
  C.GetPen().SetColor(FColorScale);
  C.GetBrush().SetStyle(bsClear);
  const double R = G.R;
  if (FScaleLine) {
    const int Rr = ScreenRound(R);
    const auto Dir = [&](double PhiDeg) {
      const double P = PhiDeg * DegToRad;
      return TPoint{G.Cx + ScreenRound(R * std::cos(P)), G.Cy - ScreenRound(R * std::sin(P))};
    };
    const TPoint PMax = Dir(90 - FMeterAngle / 2.0), PMin = Dir(FMeterAngle / 2.0 + 90);
    C.Arc(G.Cx - Rr, G.Cy - Rr, G.Cx + Rr + 1, G.Cy + Rr, PMax.X, PMax.Y, PMin.X, PMin.Y);
  }
  const TMeterStep St = MeterStep(FMinValue, FMaxValue, FNrTicks);
  const double Step = St.Step, B = St.First;
  if (FShortTicks) {
    const double E = Step / St.Subdivisions, G0 = B - Step;
    double Last = NAN;
    for (int U = 0; U < MaxPasses; ++U) {
      const double V = U * E + G0;
      if (V == Last || !std::isfinite(V)) break;
      Last = V;
      const double Q = (V - B) / Step;
      if (!(std::fabs(Q - std::trunc(Q)) <= 1e-5) && !(V < FMinValue)) DrawTick(C, G, V, R - 4);
      if (!((U + 1) * E + G0 - FMaxValue <= 0.001 * E)) break;
    }
  }
  C.SetFont(GetFont());
  const std::string MaxText = strff(FMaxValue, 0, CalcM(FDecPlaces, FMinValue, FMaxValue));
  const double Lx = C.TextWidth(MaxText) / 2.0 + 15, Ly = C.TextHeight(MaxText) / 2.0 + 15;
  const bool Decades = FLogarithmic && std::fabs(std::log10(FMaxValue / FMinValue)) >= 1;
  if (!Decades) {
    double Last = NAN;
    for (int U = 0; U < MaxPasses; ++U) {
      const double V = U * Step + B;
      if (V == Last || !std::isfinite(V)) break;
      Last = V;
      DrawTick(C, G, V, R - 8);
      DrawLabel(C, G, V, Lx, Ly);
      if (!((U + 1) * Step + B - FMaxValue <= 0.001 * Step)) break;
    }
    return;
  }
  const double J = std::pow(10.0, IntNeg(std::log10(0.999999999 * FMinValue)));
  double K = 1;
  for (int Pass = 0; Pass < MaxPasses; ++Pass) {
    for (int U = 1; U <= 9; ++U) {
      const double V = U * J * K;
      if (V / 0.999999999 > FMinValue && V * 0.999999999 < FMaxValue) {
        DrawTick(C, G, V, R - 8);
        if (U == 1 || U == 2 || U == 5) DrawLabel(C, G, V, Lx, Ly);
      }
    }
    const double Next = 10 * K;
    if (!(J * Next > J * K) || 0.999999999 * J * Next > FMaxValue) break;
    K = Next;
  }
}

}  // namespace kvl
