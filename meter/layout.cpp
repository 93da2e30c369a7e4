// TMeter layout geometry: scale angle, radius and pivot for each layout.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "kvl/meter/coords.h"
#include "kvl/meter/meter.h"

namespace kvl {

using namespace meter_detail;

void TMeter::CalcMeterLayoutParams() {
  // 64-bit sums: rims may hold any int.
  const std::int64_t W = GetWidth(), H = GetHeight();
  const std::int64_t Rt = FTRim, Rb = FBRim, Rs = FSRim;
  const double Height = double(H - Rb - Rt - 16);
  const double HalfWidth = double(W / 2 - Rs - 8);
  int Angle = 90;
  double R = Height;
  double Cy = double(H - Rb - 8);
  switch (FMeterLayout) {
    case mlCirc120: {
      Angle = 120;
      const double Rw = (W / 2.0 - double(Rs) - 8) * 1.1547;
      if (Rw < Height) R = Rw;
      break;
    }
    case mlCirc180:
      Angle = 180;
      R = std::min(HalfWidth, Height);
      break;
    case mlCirc270:
    case mlCirc360:
      Angle = FMeterLayout == mlCirc270 ? 270 : 360;
      R = std::min(HalfWidth, Height / 2);
      Cy = std::nearbyint(double(Rt) + 8 + R);
      break;
    case mlCirc300:
      Angle = 300;
      R = std::min(HalfWidth, Height / 1.866);
      Cy = std::nearbyint(double(Rt) + 8 + R);
      break;
    default:
      break;
  }
  FMeterAngle = Angle;
  FMeterRadius = std::clamp(R, -CoordLimit, CoordLimit);
  FMeterCenterX = int(W / 2);
  FMeterCenterY = ScreenRound(Cy);
}

void TMeter::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int OldW = GetWidth(), OldH = GetHeight();
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  CalcMeterLayoutParams();
  if (GetWidth() != OldW || GetHeight() != OldH) {
    FScaleDirty = true;
    FFrameValid = false;
  }
}

TMeter::TGeometry TMeter::Geometry() const {
  TGeometry G;
  G.W = GetWidth();
  G.H = GetHeight();
  G.Rt = ClampCoord(FTRim);
  G.Rb = ClampCoord(FBRim);
  G.Rs = ClampCoord(FSRim);
  G.S = ClampCoord(FSizeAnchor);
  G.Cx = FMeterCenterX;
  G.Cy = FMeterCenterY;
  G.R = FMeterRadius;
  return G;
}

}  // namespace kvl
