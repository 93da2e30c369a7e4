// TProgBar painting: margin, inner area, background picture, bar, grid, frames and value text,
// drawn into an off-screen bitmap and copied to the control in one go.
//
// The fraction is never clamped, so a raw count far beyond Max makes a bar of billions of
// lines: only the lines that fall inside the bitmap are visited, each with the colour its place
// on the whole bar gives, and the ends are kept in double until they are clipped.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "kvl/progbar/progbar.h"

namespace kvl {

namespace {

// A coordinate brought into int range without changing what shows in 0..Extent: beyond the
// bitmap by a few pixels is as good as beyond it by billions, and a frame's lines at x1 + 1 or
// x2 - 1 stay outside too.
int Near(double V, int Extent) { return int(std::clamp(V, -4.0, double(Extent) + 4.0)); }
int Near(std::int64_t V, int Extent) {
  return int(std::clamp<std::int64_t>(V, -4, std::int64_t(Extent) + 4));
}

// The colour table index, clamped to 0..1023.
int ClampIndex(double K) {
  if (!(K > 0)) return 0;
  return K >= 1023 ? 1023 : int(K);
}

// Larger inner areas are stretched straight into the bitmap on every paint instead of kept.
constexpr std::int64_t MaxKeptStretch = std::int64_t(1) << 24;

}  // namespace

void TProgBar::Paint() {
  if (!IsPaintable()) return;
  const int W = GetWidth(), H = GetHeight();
  FOffscreen.SetSize(W, H);
  if (FOffscreen.Empty()) return;
  TCanvas& C = *FOffscreen.GetCanvas();
  // The inner area in 64 bits: margins may be any int.
  const std::int64_t L = FMarginLeft, T = FMarginTop;
  const std::int64_t R = std::int64_t(W) - FMarginRight, B = std::int64_t(H) - FMarginBottom;
  C.GetPen().SetColor(FColorMargin);
  C.GetBrush().SetColor(FColorMargin);
  C.Rectangle(0, 0, W, H);
  C.GetPen().SetColor(FColorBakG);
  C.GetBrush().SetColor(FColorBakG);
  C.Rectangle(Near(L, W), Near(T, H), Near(R, W), Near(B, H));
  const std::int64_t IW = R - L, IH = B - T;
  if (!FBakGndFile.empty() && !AuxBmp.Empty() && IW > 0 && IH > 0 && IW <= INT_MAX / 2 &&
      IH <= INT_MAX / 2 && std::abs(L) <= INT_MAX / 2 && std::abs(T) <= INT_MAX / 2) {
    if (IW * IH <= MaxKeptStretch) {
      // Stretched once for the inner area's size and kept: a value change only copies it.
      if (!FStretchedValid || FStretched.GetWidth() != IW || FStretched.GetHeight() != IH) {
        FStretched.SetSize(int(IW), int(IH));
        FStretched.GetCanvas()->StretchDraw(Rect(0, 0, int(IW), int(IH)), AuxBmp);
        FStretchedValid = true;
      }
      C.Draw(int(L), int(T), FStretched);
    } else {
      C.StretchDraw(Rect(int(L), int(T), int(R), int(B)), AuxBmp);
    }
  }
  PaintBar(C);
  PaintFrame(C, FInnerFrameSt, Near(L, W), Near(T, H), Near(R, W), Near(B, H));
  PaintFrame(C, FOuterFrameSt, 0, 0, W, H);
  if (FShowValue) PaintText(C);
  GetCanvas()->Draw(0, 0, FOffscreen);
}

void TProgBar::PaintBar(TCanvas& C) {
  const int W = GetWidth(), H = GetHeight();
  const std::int64_t ML = FMarginLeft, MT = FMarginTop;
  const std::int64_t R = std::int64_t(W) - FMarginRight, B = std::int64_t(H) - FMarginBottom;
  const double F = (FProgValue - FProgMin) / (FProgMax - FProgMin);
  if (!std::isfinite(F)) return;
  const bool Vertical = FDirection == dirUp || FDirection == dirDown;
  const bool Mirrored = FDirection == dirDown || FDirection == dirLeft;
  // Lines are numbered from the bar's base: upward from the inner bottom (dirUp) or rightward
  // from the inner left edge (dirRight).
  const double IL = Vertical ? double(B - MT) : double(R - ML);
  const double Len = std::nearbyint(IL * F);
  const int Extent = Vertical ? H : W;
  // The unmirrored coordinate of the bar's h-th line, and where a mirrored one lands.
  const auto LineAt = [&](std::int64_t Hh) -> std::int64_t {
    return Vertical ? B - Hh - 1 : ML + Hh;
  };
  const auto Place = [&](std::int64_t P) -> std::int64_t {
    if (!Mirrored) return P;
    return Vertical ? MT + (B - 1) - P : ML + (R - 1) - P;
  };
  const auto Line = [&](std::int64_t P) {
    const int Q = Near(Place(P), Extent);
    if (Vertical) {
      C.MoveTo(Near(ML, W), Q);
      C.LineTo(Near(R, W), Q);
    } else {
      C.MoveTo(Q, Near(MT, H));
      C.LineTo(Q, Near(B, H));
    }
  };
  // The range of unmirrored coordinates that lands inside the bitmap.
  const std::int64_t VisLo = std::min(Place(0), Place(Extent - 1));
  const std::int64_t VisHi = VisLo + Extent - 1;

  if (!FColorGrad) {
    C.GetPen().SetColor(FBarColorArray[0]);
    C.GetBrush().SetColor(FBarColorArray[0]);
    // The box from the bar's base to its end; below Min the corners come reversed, which
    // draws the same box on the other side of the base.
    const double Base = Vertical ? double(B) : double(ML);
    const double End = Vertical ? Base - Len : Base + Len;
    double A = std::min(Base, End), Z = std::max(Base, End);
    if (Mirrored) {
      const double Sum = Vertical ? double(MT + B - 1) : double(ML + R - 1);
      const double MirroredA = Sum - Z + 1;
      Z = Sum - A + 1;
      A = MirroredA;
    }
    const int P1 = Near(A, Extent), P2 = Near(Z, Extent);
    if (Vertical)
      C.Rectangle(Near(ML, W), P1, Near(R, W), P2);
    else
      C.Rectangle(P1, Near(MT, H), P2, Near(B, H));
  } else if (Len > 0) {
    // Lines h = 0 .. Len - 1 of the bar; only those inside the bitmap are drawn.
    std::int64_t HLo = 0, HHi = std::int64_t(std::min(Len, 9.0e15)) - 1;
    if (Vertical) {
      HLo = std::max<std::int64_t>(HLo, B - 1 - VisHi);
      HHi = std::min<std::int64_t>(HHi, B - 1 - VisLo);
    } else {
      HLo = std::max<std::int64_t>(HLo, VisLo - ML);
      HHi = std::min<std::int64_t>(HHi, VisHi - ML);
    }
    const double MoveShift = std::nearbyint((Len - 1) * 1023 / IL);
    for (std::int64_t Hh = HLo; Hh <= HHi; ++Hh) {
      double K;
      switch (FColorMapMode) {
        case cgmCover:
          K = std::nearbyint(double(Hh) * 1023 / IL);
          break;
        case cgmMove:
          K = std::nearbyint(double(Hh) * 1023 / IL) - MoveShift + 1023;
          break;
        default:
          K = std::nearbyint(double(Hh) * 1023 / Len);
          break;
      }
      C.GetPen().SetColor(FBarColorArray[std::size_t(ClampIndex(K))]);
      Line(LineAt(Hh));
    }
  }

  if (FGridDist <= 1) return;
  C.GetPen().SetColor(FColorGrid);
  const std::int64_t G = FGridDist;
  if (Vertical) {
    // y = H - MB - 1 stepping up while y >= T, clipped to the visible rows.
    const double Top = double(B) - Len;
    std::int64_t Y = B - 1;
    if (Y > VisHi) Y -= (Y - VisHi + G - 1) / G * G;
    const double Lo = std::max(Top, double(VisLo));
    for (; double(Y) >= Lo; Y -= G) Line(Y);
  } else {
    // x = ML stepping right while x <= E, clipped to the visible columns.
    const double E = Len + double(ML);
    std::int64_t X = ML;
    if (X < VisLo) X += (VisLo - X + G - 1) / G * G;
    const double Hi = std::min(E, double(VisHi));
    for (; double(X) <= Hi; X += G) Line(X);
  }
}

void TProgBar::PaintFrame(TCanvas& C, TFrameStyle Style, int X1, int Y1, int X2, int Y2) {
  if (Style == fsNone) return;
  C.GetBrush().SetStyle(bsClear);
  const TColor K = FColBlackLine, D = FColGrayLine, L = FColWhiteLine;
  const auto Pen = [&](TColor Col) { C.GetPen().SetColor(Col); };
  const auto Corners = [&] {
    C.SetPixel(X1, Y2 - 1, FColorMargin);
    C.SetPixel(X2 - 1, Y1, FColorMargin);
  };
  switch (Style) {
    case fsSimple:
      Pen(D);
      C.Rectangle(X1, Y1, X2, Y2);
      break;
    case fsLowered:
    case fsRaised: {
      const bool Lowered = Style == fsLowered;
      Pen(Lowered ? K : L);
      C.MoveTo(X1 + 1, Y2 - 3);
      C.LineTo(X1 + 1, Y1 + 1);
      C.LineTo(X2 - 1, Y1 + 1);
      Pen(Lowered ? L : K);
      C.MoveTo(X1 + 1, Y2 - 1);
      C.LineTo(X2 - 1, Y2 - 1);
      C.LineTo(X2 - 1, Y1);
      Pen(D);
      C.Rectangle(X1, Y1, X2 - 1, Y2 - 1);
      Corners();
      break;
    }
    case fsEmbossed:
    case fsEngraved: {
      const bool Embossed = Style == fsEmbossed;
      Pen(Embossed ? D : L);
      C.Rectangle(X1 + 1, Y1 + 1, X2, Y2);
      Pen(Embossed ? L : D);
      C.Rectangle(X1, Y1, X2 - 1, Y2 - 1);
      Corners();
      break;
    }
    default:
      break;
  }
  C.GetBrush().SetStyle(bsSolid);
}

void TProgBar::PaintText(TCanvas& C) {
  std::string Text = ProgBarValueText(FProgValue, FTextDecPlaces);
  if (OnShowValue) OnShowValue(this, Text);
  C.SetFont(GetFont());
  const int TW = C.TextWidth(Text) / 2, TH = C.TextHeight(Text) / 2;
  C.GetFont().SetOrientation(FTextAngle * 10);
  C.GetBrush().SetStyle(bsClear);
  const double A = FTextAngle * M_PI / 180, S = std::sin(A), Co = std::cos(A);
  double Dx, Dy;
  switch (FAlignment) {
    case taLeftJustify:
      Dx = -TH * S;
      Dy = -TH * Co;
      break;
    case taRightJustify:
      Dx = -2.0 * TW * Co - TH * S;
      Dy = 2.0 * TW * S - TH * Co;
      break;
    default:
      Dx = -TW * Co - TH * S;
      Dy = TW * S - TH * Co;
      break;
  }
  C.TextOut(FTextPosX + int(std::nearbyint(Dx)), FTextPosY + int(std::nearbyint(Dy)), Text);
  C.GetBrush().SetStyle(bsSolid);
}

}  // namespace kvl
