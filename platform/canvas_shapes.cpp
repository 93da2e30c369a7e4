// Lines, outlines and filled shapes. Everything is computed in bitmap coordinates, span by
// span, and clipped before any pixel is touched, so coordinates far outside the bitmap cost
// nothing. Within one shape no pixel is touched twice, so xor drawing undoes itself.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"
#include "kvl/platform/raster.h"

namespace kvl {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

// On/off run lengths of the dashed pen styles, in pixels.
std::span<const int> DashPattern(TPenStyle S) {
  static constexpr int Dash[] = {18, 6};
  static constexpr int Dot[] = {3, 3};
  static constexpr int DashDot[] = {9, 6, 3, 6};
  static constexpr int DashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (S) {
    case psDash: return Dash;
    case psDot: return Dot;
    case psDashDot: return DashDot;
    case psDashDotDot: return DashDotDot;
    default: return {};
  }
}

bool DashOn(std::span<const int> Pattern, long long Phase) {
  int Total = 0;
  for (int L : Pattern) Total += L;
  long long P = Phase % Total;
  for (std::size_t I = 0; I < Pattern.size(); ++I) {
    if (P < Pattern[I]) return I % 2 == 0;
    P -= Pattern[I];
  }
  return false;
}

// Screen angle (counter-clockwise, y axis down) of a direction.
double ScreenAngle(double DX, double DY) { return std::atan2(-DY, DX); }

// Counter-clockwise sweep from angle A to angle B, in [0, 2 pi).
double Sweep(double A, double B) {
  double S = std::fmod(B - A, TwoPi);
  if (S < 0) S += TwoPi;
  return S;
}

// x range [Lo, Hi] where A * x + B lies in [Min, Max]; false when empty.
bool LinearRange(double A, double B, double Min, double Max, double& Lo, double& Hi) {
  if (A == 0) {
    if (B < Min || B > Max) return false;
    Lo = -1e300;
    Hi = 1e300;
    return true;
  }
  double L = (Min - B) / A, H = (Max - B) / A;
  if (L > H) std::swap(L, H);
  Lo = L;
  Hi = H;
  return true;
}

// The directions on the counter-clockwise sweep from S to E, both rays included, as offsets
// from the centre with y up; the centre itself counts as pointing right. Exact in integers.
class TSector {
public:
  TSector(long long SU, long long SV, long long EU, long long EV, bool Full)
      : FSU(SU),
        FSV(SV),
        FEU(EU),
        FEV(EV),
        FFull(Full),
        FTurn(Cross(SU, SV, EU, EV)),
        FSlopeS(SV != 0 ? double(SU) / double(SV) : 0),
        FSlopeE(EV != 0 ? double(EU) / double(EV) : 0) {}

  bool Contains(long long U, long long V) const {
    if (FFull) return true;
    if (U == 0 && V == 0) U = 1;
    const __int128 FromS = Cross(FSU, FSV, U, V), ToE = Cross(U, V, FEU, FEV);
    if (FTurn > 0) return FromS >= 0 && ToE >= 0;  // less than a half turn
    if (FTurn < 0) return FromS >= 0 || ToE >= 0;  // more than a half turn
    return FromS >= 0;                             // a half turn: E lies opposite S
  }

  // Where the two rays cross the row V (as pixel x, the centre's doubled x being CX2), and
  // the centre on its own row: the only places where Contains can change along the row.
  // Returns how many there are.
  int Cuts(long long V, long long CX2, std::array<double, 3>& X) const {
    int N = 0;
    if (FFull) return N;
    if (V == 0) {
      X[N++] = double(CX2) / 2;
      return N;
    }
    if ((FSV > 0) == (V > 0) && FSV != 0) X[N++] = (double(V) * FSlopeS + double(CX2)) / 2;
    if ((FEV > 0) == (V > 0) && FEV != 0) X[N++] = (double(V) * FSlopeE + double(CX2)) / 2;
    return N;
  }

private:
  static __int128 Cross(long long AU, long long AV, long long BU, long long BV) {
    return (__int128)AU * BV - (__int128)AV * BU;
  }
  long long FSU, FSV, FEU, FEV;
  bool FFull;
  __int128 FTurn;
  double FSlopeS, FSlopeE;  // x per y of the rays' lines
};

// Cuts the pixels XL..XR of a row into runs over which Test cannot change its answer, given
// the places (fractional x, off by far less than a pixel) where it may; the two pixels around
// a cut are tested one by one, the others once per run. Emit(first, last) gets each maximal
// run where Test holds.
template <class TTest, class TEmit>
void RowRuns(int XL, int XR, std::span<const double> Cuts, TTest Test, TEmit Emit) {
  if (XL > XR) return;
  std::array<int, 3> Near;  // the first of two pixels to test one by one
  std::size_t NearCount = 0;
  for (double Cut : Cuts)
    if (Cut > XL - 3.0 && Cut < XR + 3.0 && NearCount < Near.size())
      Near[NearCount++] = int(std::floor(Cut));
  for (std::size_t I = 1; I < NearCount; ++I)
    for (std::size_t J = I; J > 0 && Near[J - 1] > Near[J]; --J) std::swap(Near[J - 1], Near[J]);
  int RunStart = 0;
  bool InRun = false;
  // The pixels from A on (up to the next call) hold or not.
  const auto Put = [&](int A, bool Holds) {
    if (Holds && !InRun) RunStart = A;
    if (!Holds && InRun) Emit(RunStart, A - 1);
    InRun = Holds;
  };
  int X = XL;
  std::size_t K = 0;
  while (X <= XR) {
    while (K < NearCount && Near[K] + 1 < X) ++K;
    if (K < NearCount && Near[K] <= X) {
      Put(X, Test(X));
      ++X;
      continue;
    }
    const int End = K < NearCount ? std::min(XR, Near[K] - 1) : XR;
    Put(X, Test(X));
    X = End + 1;
  }
  if (InRun) Emit(RunStart, XR);
}

}  // namespace

// The pixels of row I of a shape whose four neighbours all lie in the shape (Left > Right
// when there are none); the rest of the row is the shape's boundary.
std::pair<int, int> TCanvas::InsidePart(const std::vector<TRowSpan>& Rows, int I) {
  const int N = static_cast<int>(Rows.size());
  int L = Rows[I].Left + 1, R = Rows[I].Right - 1;
  for (int J : {I - 1, I + 1}) {
    if (J < 0 || J >= N || Rows[J].Right < Rows[J].Left) return {1, 0};
    L = std::max(L, Rows[J].Left);
    R = std::min(R, Rows[J].Right);
  }
  return {L, R};
}

void TCanvas::DevicePixel(int X, int Y, std::uint32_t Pixel, TPenMode Mode) {
  if (!DeviceClip().Contains({X, Y})) return;
  std::uint32_t& D = FBitmap->ScanLine(Y)[X];
  D = raster::Combine(Mode, Pixel, D);
}

void TCanvas::DeviceSpan(int Y, int X1, int X2, std::uint32_t Pixel, TPenMode Mode) {
  const TRect C = DeviceClip();
  if (Y < C.Top || Y >= C.Bottom) return;
  X1 = std::max(X1, C.Left);
  X2 = std::min(X2, C.Right - 1);
  if (X1 > X2) return;
  raster::ModeSpan(FBitmap->ScanLine(Y) + X1, X2 - X1 + 1, Pixel, Mode);
}

// A one-pixel line from (X1, Y1) to (X2, Y2) without its end point. Pixel i along the major
// axis sits at the minor offset i * minor / major rounded, halves away from the start.
void TCanvas::DeviceLine(int X1, int Y1, int X2, int Y2) {
  const long long DX = (long long)X2 - X1, DY = (long long)Y2 - Y1;
  const long long ADX = std::llabs(DX), ADY = std::llabs(DY);
  const long long Steps = std::max(ADX, ADY);
  if (Steps == 0 || !PenVisible()) return;
  const std::span<const int> Pattern = DashPattern(FPen.GetStyle());
  const long long Phase = FDashPhase;
  FDashPhase = int((Phase + Steps) % 100000);
  const TRect C = DeviceClip();
  if (C.IsEmpty()) return;
  const std::uint32_t P = PenPixel();
  const TPenMode M = FPen.GetMode();
  const bool XMajor = ADX >= ADY;
  const int SMaj = (XMajor ? DX : DY) < 0 ? -1 : 1, SMin = (XMajor ? DY : DX) < 0 ? -1 : 1;
  const long long Major0 = XMajor ? X1 : Y1, Minor0 = XMajor ? Y1 : X1;
  const long long AMaj = XMajor ? ADX : ADY, AMin = XMajor ? ADY : ADX;
  const long long CLo = XMajor ? C.Left : C.Top, CHi = (XMajor ? C.Right : C.Bottom) - 1;
  const long long MinLo = XMajor ? C.Top : C.Left, MinHi = (XMajor ? C.Bottom : C.Right) - 1;
  // Only the steps whose major coordinate lies inside the clip are visited.
  long long ILo = SMaj > 0 ? CLo - Major0 : Major0 - CHi;
  long long IHi = SMaj > 0 ? CHi - Major0 : Major0 - CLo;
  ILo = std::max(ILo, 0LL);
  IHi = std::min(IHi, Steps - 1);
  if (AMin == 0 && Pattern.empty()) {
    if (Minor0 < MinLo || Minor0 > MinHi || ILo > IHi) return;
    const long long A = Major0 + SMaj * ILo, B = Major0 + SMaj * IHi;
    if (XMajor) {
      DeviceSpan(int(Minor0), int(std::min(A, B)), int(std::max(A, B)), P, M);
    } else {
      for (long long Y = std::min(A, B); Y <= std::max(A, B); ++Y) {
        std::uint32_t& D = FBitmap->ScanLine(int(Y))[Minor0];
        D = raster::Combine(M, P, D);
      }
    }
    return;
  }
  const bool Short = AMaj < (1LL << 30);
  for (long long I = ILo; I <= IHi; ++I) {
    if (!Pattern.empty() && !DashOn(Pattern, Phase + I)) continue;
    // 64-bit division where the terms fit (every line on a screen), 128-bit beyond.
    const long long Off = Short
                              ? (2 * I * AMin + AMaj) / (2 * AMaj)
                              : (long long)(((__int128)2 * I * AMin + AMaj) / ((__int128)2 * AMaj));
    const long long Minor = Minor0 + SMin * Off, Major = Major0 + SMaj * I;
    if (Minor < MinLo || Minor > MinHi) continue;
    const int X = int(XMajor ? Major : Minor), Y = int(XMajor ? Minor : Major);
    std::uint32_t& D = FBitmap->ScanLine(Y)[X];
    D = raster::Combine(M, P, D);
  }
}

// A pen wider than one pixel: every pixel within half the width of the segment, so the ends
// are round. Even widths sample pixel corners, which keeps them exactly Width pixels wide.
void TCanvas::WideSegment(double X1, double Y1, double X2, double Y2) {
  const int Width = FPen.GetWidth();
  const double R = Width / 2.0, Off = (Width % 2 == 0) ? 0.5 : 0.0;
  const TRect C = DeviceClip();
  const int Top = std::max(C.Top, int(std::floor(std::min(Y1, Y2) - R - 1)));
  const int Bottom = std::min(C.Bottom - 1, int(std::ceil(std::max(Y1, Y2) + R + 1)));
  const double DX = X2 - X1, DY = Y2 - Y1, Len2 = DX * DX + DY * DY, Len = std::sqrt(Len2);
  const std::uint32_t P = PenPixel();
  const TPenMode M = FPen.GetMode();
  for (int Y = Top; Y <= Bottom; ++Y) {
    const double Py = Y + Off;
    double Lo = 1e300, Hi = -1e300;
    for (const auto& [CX, CY] : {std::pair{X1, Y1}, std::pair{X2, Y2}}) {
      const double V = R * R - (Py - CY) * (Py - CY);
      if (V < 0) continue;
      const double H = std::sqrt(V);
      Lo = std::min(Lo, CX - H);
      Hi = std::max(Hi, CX + H);
    }
    if (Len2 > 0) {
      // Between the ends: 0 <= (P - A).d <= |d|^2 and |(P - A) x d| <= R |d|, both linear in x.
      double ALo, AHi, BLo, BHi;
      if (LinearRange(DX, DY * (Py - Y1) - DX * X1, 0, Len2, ALo, AHi) &&
          LinearRange(-DY, DX * (Py - Y1) + DY * X1, -R * Len, R * Len, BLo, BHi)) {
        const double L = std::max(ALo, BLo), H = std::min(AHi, BHi);
        if (L <= H) {
          Lo = std::min(Lo, L);
          Hi = std::max(Hi, H);
        }
      }
    }
    if (Lo > Hi) continue;
    const double XL = std::ceil(Lo - Off), XR = std::floor(Hi - Off);
    if (XL > XR || XR < C.Left || XL >= C.Right) continue;
    DeviceSpan(Y, int(std::max(XL, double(C.Left))), int(std::min(XR, double(C.Right - 1))), P, M);
  }
}

void TCanvas::MoveTo(int X, int Y) {
  FPenPos = {X, Y};
  FDashPhase = 0;
}

void TCanvas::LineTo(int X, int Y) {
  const int X1 = FPenPos.X + FOrigin.X, Y1 = FPenPos.Y + FOrigin.Y;
  const int X2 = X + FOrigin.X, Y2 = Y + FOrigin.Y;
  if (FPen.GetWidth() > 1 && PenVisible())
    WideSegment(X1, Y1, X2, Y2);
  else
    DeviceLine(X1, Y1, X2, Y2);
  FPenPos = {X, Y};
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
  if (Points.size() < 2) return;
  const TPoint Saved = FPenPos;
  MoveTo(Points[0].X, Points[0].Y);
  for (std::size_t I = 1; I < Points.size(); ++I) LineTo(Points[I].X, Points[I].Y);
  FPenPos = Saved;
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  const TRect Box = Rect(X1, Y1, X2, Y2).Normalized().Offset(FOrigin.X, FOrigin.Y);
  if (Box.IsEmpty()) return;
  const int W = FPen.GetWidth();
  const bool Dashed = !DashPattern(FPen.GetStyle()).empty() && W == 1;
  const int Thick = PenVisible() ? W : 0;
  const int Grow = (W > 1 && FPen.GetStyle() != psInsideFrame) ? (W - 1) / 2 : 0;
  const TRect Outer = {Box.Left - Grow, Box.Top - Grow, Box.Right + Grow, Box.Bottom + Grow};
  const TRect Inner = {Outer.Left + Thick, Outer.Top + Thick, Outer.Right - Thick, Outer.Bottom - Thick};
  const TPenMode M = FPen.GetMode();
  if (Thick > 0 && !Dashed) {
    const std::uint32_t P = PenPixel();
    for (int Y = Outer.Top; Y < Outer.Bottom; ++Y) {
      if (Y < Inner.Top || Y >= Inner.Bottom || Inner.IsEmpty()) {
        DeviceSpan(Y, Outer.Left, Outer.Right - 1, P, M);
      } else {
        DeviceSpan(Y, Outer.Left, Inner.Left - 1, P, M);
        DeviceSpan(Y, Inner.Right, Outer.Right - 1, P, M);
      }
    }
  } else if (Dashed) {
    const int L = Box.Left, T = Box.Top, R = Box.Right - 1, B = Box.Bottom - 1;
    FDashPhase = 0;
    DeviceLine(L, T, R, T);
    DeviceLine(R, T, R, B);
    DeviceLine(R, B, L, B);
    DeviceLine(L, B, L, T);
    if (L == R && T == B) DevicePixel(L, T, PenPixel(), M);
  }
  if (FBrush.GetStyle() != bsClear && !Inner.IsEmpty()) {
    const std::uint32_t B = BrushPixel();
    for (int Y = Inner.Top; Y < Inner.Bottom; ++Y) DeviceSpan(Y, Inner.Left, Inner.Right - 1, B, M);
  }
}

void TCanvas::DrawFocusRect(const TRect& R) {
  const TPen KeptPen = FPen;
  const TBrush KeptBrush = FBrush;
  FPen = TPen();
  FPen.SetStyle(psDot);
  FBrush.SetStyle(bsClear);
  Rectangle(R);
  FPen = KeptPen;
  FBrush = KeptBrush;
}

void TCanvas::FillRect(const TRect& R) {
  if (FBrush.GetStyle() == bsClear) return;
  const TRect Box = R.Normalized().Offset(FOrigin.X, FOrigin.Y).Intersect(DeviceClip());
  if (Box.IsEmpty()) return;
  const std::uint32_t B = BrushPixel();
  // Whole rows lie one after the other: one span covers them all.
  if (Box.Width() == FBitmap->GetWidth()) {
    raster::FillSpan(FBitmap->ScanLine(Box.Top), Box.Width() * Box.Height(), B);
    return;
  }
  for (int Y = Box.Top; Y < Box.Bottom; ++Y)
    raster::FillSpan(FBitmap->ScanLine(Y) + Box.Left, Box.Width(), B);
}

void TCanvas::FrameRect(const TRect& R) {
  if (FBrush.GetStyle() == bsClear) return;
  const TRect Box = R.Normalized().Offset(FOrigin.X, FOrigin.Y);
  if (Box.IsEmpty()) return;
  const std::uint32_t B = BrushPixel();
  for (int Y = Box.Top; Y < Box.Bottom; ++Y) {
    if (Y == Box.Top || Y == Box.Bottom - 1) {
      DeviceSpan(Y, Box.Left, Box.Right - 1, B, pmCopy);
    } else {
      DeviceSpan(Y, Box.Left, Box.Left, B, pmCopy);
      if (Box.Right - 1 > Box.Left) DeviceSpan(Y, Box.Right - 1, Box.Right - 1, B, pmCopy);
    }
  }
}

// Rows of the ellipse through pixel centres (CX, CY) with radii RX, RY (in pixels from the
// centre to the outermost pixel). A quarter pixel of slack gives small ellipses their classic
// plus-like shape and keeps large ones smooth; everything stays inside the box.
void TCanvas::EllipseRows(double CX, double CY, double RX, double RY, int Top, int Bottom,
                          std::vector<TRowSpan>& Rows) const {
  Rows.clear();
  const double EX = RX + 0.25, EY = RY + 0.25;
  const int BoxLeft = int(std::lround(CX - RX)), BoxRight = int(std::lround(CX + RX));
  for (int Y = Top; Y < Bottom; ++Y) {
    const double T = (Y - CY) / EY, V = 1 - T * T;
    if (V < 0) {
      Rows.push_back({1, 0});
      continue;
    }
    const double H = EX * std::sqrt(V);
    Rows.push_back({std::max(BoxLeft, int(std::ceil(CX - H))), std::min(BoxRight, int(std::floor(CX + H)))});
  }
}

void TCanvas::OutlineAndFill(int Top, const std::vector<TRowSpan>& Rows, bool Outline, bool Fill) {
  const std::uint32_t P = PenPixel(), B = BrushPixel();
  const TPenMode M = FPen.GetMode();
  const TRect C = DeviceClip();
  const int N = static_cast<int>(Rows.size());
  for (int I = 0; I < N; ++I) {
    const int Y = Top + I;
    if (Y < C.Top || Y >= C.Bottom) continue;
    const TRowSpan S = Rows[I];
    if (S.Right < S.Left) continue;
    if (!Outline) {
      if (Fill) DeviceSpan(Y, S.Left, S.Right, B, M);
      continue;
    }
    const auto [InL, InR] = InsidePart(Rows, I);
    if (InL > InR) {
      DeviceSpan(Y, S.Left, S.Right, P, M);
      continue;
    }
    DeviceSpan(Y, S.Left, InL - 1, P, M);
    DeviceSpan(Y, InR + 1, S.Right, P, M);
    if (Fill) DeviceSpan(Y, InL, InR, B, M);
  }
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  const TRect Box = Rect(X1, Y1, X2, Y2).Normalized().Offset(FOrigin.X, FOrigin.Y);
  if (Box.IsEmpty()) return;
  const bool Fill = FBrush.GetStyle() != bsClear;
  const int W = FPen.GetWidth();
  std::vector<TRowSpan> Rows;
  if (W <= 1 || !PenVisible()) {
    EllipseRows((Box.Left + Box.Right - 1) / 2.0, (Box.Top + Box.Bottom - 1) / 2.0,
                (Box.Width() - 1) / 2.0, (Box.Height() - 1) / 2.0, Box.Top, Box.Bottom, Rows);
    OutlineAndFill(Box.Top, Rows, PenVisible(), Fill);
    return;
  }
  // A wide pen: the ring between the ellipse grown by half the width and the one inside it.
  const int Grow = FPen.GetStyle() == psInsideFrame ? 0 : (W - 1) / 2;
  const TRect O = {Box.Left - Grow, Box.Top - Grow, Box.Right + Grow, Box.Bottom + Grow};
  const TRect In = {O.Left + W, O.Top + W, O.Right - W, O.Bottom - W};
  std::vector<TRowSpan> Inner;
  EllipseRows((O.Left + O.Right - 1) / 2.0, (O.Top + O.Bottom - 1) / 2.0, (O.Width() - 1) / 2.0,
              (O.Height() - 1) / 2.0, O.Top, O.Bottom, Rows);
  if (!In.IsEmpty())
    EllipseRows((In.Left + In.Right - 1) / 2.0, (In.Top + In.Bottom - 1) / 2.0,
                (In.Width() - 1) / 2.0, (In.Height() - 1) / 2.0, O.Top, O.Bottom, Inner);
  const std::uint32_t P = PenPixel(), B = BrushPixel();
  const TPenMode M = FPen.GetMode();
  for (std::size_t I = 0; I < Rows.size(); ++I) {
    const int Y = O.Top + int(I);
    const TRowSpan S = Rows[I];
    if (S.Right < S.Left) continue;
    const TRowSpan H = Inner.empty() ? TRowSpan{1, 0} : Inner[I];
    if (H.Right < H.Left) {
      DeviceSpan(Y, S.Left, S.Right, P, M);
      continue;
    }
    DeviceSpan(Y, S.Left, H.Left - 1, P, M);
    DeviceSpan(Y, H.Right + 1, S.Right, P, M);
    if (Fill) DeviceSpan(Y, H.Left, H.Right, B, M);
  }
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int RX, int RY) {
  const TRect Box = Rect(X1, Y1, X2, Y2).Normalized().Offset(FOrigin.X, FOrigin.Y);
  if (Box.IsEmpty()) return;
  RX = std::min(std::abs(RX), Box.Width());
  RY = std::min(std::abs(RY), Box.Height());
  if (RX < 2 || RY < 2) {
    Rectangle(X1, Y1, X2, Y2);
    return;
  }
  const double ERX = (RX - 1) / 2.0, ERY = (RY - 1) / 2.0;
  const double CXL = Box.Left + ERX, CXR = Box.Right - 1 - ERX;
  const double CYT = Box.Top + ERY, CYB = Box.Bottom - 1 - ERY;
  std::vector<TRowSpan> Rows;
  for (int Y = Box.Top; Y < Box.Bottom; ++Y) {
    const double DY = Y < CYT ? Y - CYT : Y > CYB ? Y - CYB : 0;
    const double T = DY / (ERY + 0.25), V = 1 - T * T;
    if (V < 0) {
      Rows.push_back({1, 0});
      continue;
    }
    const double H = (ERX + 0.25) * std::sqrt(V);
    Rows.push_back({std::max(Box.Left, int(std::ceil(CXL - H))),
                    std::min(Box.Right - 1, int(std::floor(CXR + H)))});
  }
  OutlineAndFill(Box.Top, Rows, PenVisible(), FBrush.GetStyle() != bsClear);
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  ArcShape(X1, Y1, X2, Y2, X3, Y3, X4, Y4, 0);
}
void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  ArcShape(X1, Y1, X2, Y2, X3, Y3, X4, Y4, 1);
}
void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  ArcShape(X1, Y1, X2, Y2, X3, Y3, X4, Y4, 2);
}

// Kind 0: the arc alone; 1: a pie (arc, two radii, filled sector); 2: a chord (arc closed by a
// straight line, filled segment). The arc runs counter-clockwise on screen from the ray through
// (X3, Y3) to the ray through (X4, Y4), both from the ellipse's centre; two rays of exactly the
// same direction give the whole ellipse. Each row is cut into spans where the rays and the chord
// line cross it, so the cost is that of the ellipse, not a test per pixel.
void TCanvas::ArcShape(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4, int Kind) {
  const TRect Box = Rect(X1, Y1, X2, Y2).Normalized().Offset(FOrigin.X, FOrigin.Y);
  if (Box.IsEmpty()) return;
  const double CX = (Box.Left + Box.Right - 1) / 2.0, CY = (Box.Top + Box.Bottom - 1) / 2.0;
  const double RX = (Box.Width() - 1) / 2.0, RY = (Box.Height() - 1) / 2.0;
  const double SX = X3 + FOrigin.X - CX, SY = Y3 + FOrigin.Y - CY;
  const double EX = X4 + FOrigin.X - CX, EY = Y4 + FOrigin.Y - CY;
  const bool Full = SX * EY - SY * EX == 0 && SX * EX + SY * EY >= 0;
  const double A0 = ScreenAngle(SX, SY), Span = Full ? TwoPi : Sweep(A0, ScreenAngle(EX, EY));
  // Where a ray from the centre meets the ellipse, as a pixel.
  const auto OnEllipse = [&](double A) {
    const double DX = std::cos(A), DY = -std::sin(A), PX = RX + 0.25, PY = RY + 0.25;
    const double T = 1 / std::sqrt((DX / PX) * (DX / PX) + (DY / PY) * (DY / PY));
    return TPoint{int(std::lround(CX + T * DX)), int(std::lround(CY + T * DY))};
  };
  const TPoint PS = OnEllipse(A0), PE = OnEllipse(A0 + Span);
  // The chord keeps the side of the line PS-PE on which the arc's middle lies.
  const TPoint PM = OnEllipse(A0 + Span / 2);
  const auto Side = [&](double X, double Y) {
    return (PE.X - PS.X) * (Y - PS.Y) - (PE.Y - PS.Y) * (X - PS.X);
  };
  const double MidSide = Side(PM.X, PM.Y);

  // Twice the offsets from the centre are whole numbers, so the sector test is exact.
  const long long CX2 = (long long)Box.Left + Box.Right - 1,
                  CY2 = (long long)Box.Top + Box.Bottom - 1;
  const TSector Sector(2LL * (X3 + FOrigin.X) - CX2, CY2 - 2LL * (Y3 + FOrigin.Y),
                       2LL * (X4 + FOrigin.X) - CX2, CY2 - 2LL * (Y4 + FOrigin.Y), Full);

  std::vector<TRowSpan> Rows;
  EllipseRows(CX, CY, RX, RY, Box.Top, Box.Bottom, Rows);
  const std::uint32_t P = PenPixel(), B = BrushPixel();
  const TPenMode M = FPen.GetMode();
  const bool Fill = Kind != 0 && FBrush.GetStyle() != bsClear;
  const TRect C = DeviceClip();
  const int N = static_cast<int>(Rows.size());
  for (int I = 0; I < N; ++I) {
    const int Y = Box.Top + I;
    const TRowSpan S = Rows[I];
    if (S.Right < S.Left || Y < C.Top || Y >= C.Bottom) continue;
    // Plain names: lambdas below use them (clang 14 cannot capture structured bindings).
    const std::pair<int, int> Inside = InsidePart(Rows, I);
    const int InL = Inside.first, InR = Inside.second;
    const int XL = std::max(S.Left, C.Left), XR = std::min(S.Right, C.Right - 1);
    const long long V = CY2 - 2LL * Y;
    std::uint32_t* Row = FBitmap->ScanLine(Y);
    // Within XL..XR, which lie inside the clip.
    const auto Put = [&](int A, int Z, std::uint32_t Pixel) {
      if (A <= Z) raster::ModeSpan(Row + A, Z - A + 1, Pixel, M);
    };
    // Pixels left of InL or right of InR are the boundary (all of the row when InL > InR).
    if (PenVisible() || (Fill && Kind == 1)) {
      std::array<double, 3> Cuts;
      const int NCuts = Sector.Cuts(V, CX2, Cuts);
      RowRuns(
          XL, XR, std::span(Cuts.data(), std::size_t(NCuts)),
          [&](int X) { return Sector.Contains(2LL * X - CX2, V); },
          [&](int A, int Z) {
            if (PenVisible()) {
              if (InL > InR) {
                Put(A, Z, P);
              } else {
                Put(A, std::min(Z, InL - 1), P);
                Put(std::max(A, InR + 1), Z, P);
              }
            }
            if (Fill && Kind == 1) Put(std::max(A, InL), std::min(Z, InR), B);
          });
    }
    if (Fill && Kind == 2 && InL <= InR) {
      // Side is linear along the row and changes sign where the chord line crosses it.
      const int DY = PE.Y - PS.Y;
      const double Cut = DY == 0 ? -1e300 : PS.X + double(PE.X - PS.X) * (Y - PS.Y) / DY;
      RowRuns(
          std::max(XL, InL), std::min(XR, InR), std::span(&Cut, 1),
          [&](int X) { return Full || Side(X, Y) * MidSide >= 0; },
          [&](int A, int Z) { Put(A, Z, B); });
    }
  }
  if (!PenVisible() || Kind == 0 || Full) return;
  FDashPhase = 0;
  if (Kind == 1) {
    const int CXi = int(std::lround(CX)), CYi = int(std::lround(CY));
    DeviceLine(PE.X, PE.Y, CXi, CYi);
    DeviceLine(CXi, CYi, PS.X, PS.Y);
  } else {
    DeviceLine(PE.X, PE.Y, PS.X, PS.Y);
  }
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
  if (Points.empty()) return;
  std::vector<TPoint> D(Points.begin(), Points.end());
  for (auto& P : D) P = {P.X + FOrigin.X, P.Y + FOrigin.Y};
  const TRect C = DeviceClip();
  if (FBrush.GetStyle() != bsClear && D.size() >= 3 && !C.IsEmpty()) {
    // Even-odd rule at pixel centres; each edge covers the rows [min y, max y).
    int Top = D[0].Y, Bottom = D[0].Y;
    for (const auto& P : D) {
      Top = std::min(Top, P.Y);
      Bottom = std::max(Bottom, P.Y);
    }
    Top = std::max(Top, C.Top);
    Bottom = std::min(Bottom, C.Bottom);
    const std::uint32_t B = BrushPixel();
    const TPenMode M = FPen.GetMode();
    std::vector<double> Xs;
    for (int Y = Top; Y < Bottom; ++Y) {
      Xs.clear();
      for (std::size_t I = 0; I < D.size(); ++I) {
        const TPoint A = D[I], E = D[(I + 1) % D.size()];
        if ((A.Y <= Y && Y < E.Y) || (E.Y <= Y && Y < A.Y))
          Xs.push_back(A.X + double(Y - A.Y) * (E.X - A.X) / double(E.Y - A.Y));
      }
      std::sort(Xs.begin(), Xs.end());
      for (std::size_t I = 0; I + 1 < Xs.size(); I += 2) {
        const double L = std::ceil(Xs[I]), R = std::ceil(Xs[I + 1]) - 1;
        if (L > R || R < C.Left || L >= C.Right) continue;
        DeviceSpan(Y, int(std::max(L, double(C.Left))), int(std::min(R, double(C.Right - 1))), B, M);
      }
    }
  }
  if (!PenVisible() || D.size() < 2) return;
  FDashPhase = 0;
  for (std::size_t I = 0; I < D.size(); ++I) {
    const TPoint A = D[I], E = D[(I + 1) % D.size()];
    if (FPen.GetWidth() > 1)
      WideSegment(A.X, A.Y, E.X, E.Y);
    else
      DeviceLine(A.X, A.Y, E.X, E.Y);
  }
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle Style) {
  const TRect C = DeviceClip();
  X += FOrigin.X;
  Y += FOrigin.Y;
  if (!C.Contains({X, Y}) || FBrush.GetStyle() == bsClear) return;
  const std::uint32_t Target = ColorToPixel(ColorToRGB(Color)), Fill = BrushPixel();
  const bool Surface = Style == fsSurface;
  if (Surface && Target == Fill) return;  // nothing would change
  // Border fills can meet pixels already in the fill colour; a visited map stops them there.
  std::vector<bool> Seen(Surface ? 0 : std::size_t(C.Width()) * std::size_t(C.Height()));
  const auto Index = [&](int PX, int PY) { return std::size_t(PY - C.Top) * C.Width() + (PX - C.Left); };
  const auto Match = [&](int PX, int PY) {
    const std::uint32_t V = FBitmap->ScanLine(PY)[PX];
    return Surface ? V == Target : (V != Target && !Seen[Index(PX, PY)]);
  };
  if (!Match(X, Y)) return;
  std::vector<TPoint> Stack{{X, Y}};
  while (!Stack.empty()) {
    const TPoint S = Stack.back();
    Stack.pop_back();
    if (!Match(S.X, S.Y)) continue;
    int L = S.X, R = S.X;
    while (L > C.Left && Match(L - 1, S.Y)) --L;
    while (R < C.Right - 1 && Match(R + 1, S.Y)) ++R;
    raster::FillSpan(FBitmap->ScanLine(S.Y) + L, R - L + 1, Fill);
    if (!Surface)
      for (int PX = L; PX <= R; ++PX) Seen[Index(PX, S.Y)] = true;
    for (int NY : {S.Y - 1, S.Y + 1}) {
      if (NY < C.Top || NY >= C.Bottom) continue;
      bool InRun = false;
      for (int PX = L; PX <= R; ++PX) {
        const bool M = Match(PX, NY);
        if (M && !InRun) Stack.push_back({PX, NY});
        InRun = M;
      }
    }
  }
}

}  // namespace kvl
