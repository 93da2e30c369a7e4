// TProgBar painting: margin, inner area, background picture, bar, grid, frames and value text,
// drawn into an off-screen bitmap and copied to the control in one go.
//
// The fraction is never clamped, so a raw count far beyond Max makes a bar of billions of
// lines: only the lines that fall inside the bitmap are visited, each with the colour its place
// on the whole bar gives, and the ends are kept in double until they are clipped.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "kvl/progbar/progbar.h"

namespace kvl {

namespace {

// A coordinate in double brought into int range without changing what shows in 0..Extent.
int ClipCoord(double V, int Extent) {
  return int(std::clamp(V, -2.0, double(Extent) + 2.0));
}

// The colour table index, clamped to 0..1023.
int ClampIndex(double K) {
  if (!(K > 0)) return 0;
  return K >= 1023 ? 1023 : int(K);
}

}  // namespace

void TProgBar::Paint() {
  if (!IsPaintable()) return;
  const int W = GetWidth(), H = GetHeight();
  FOffscreen.SetSize(W, H);
  if (FOffscreen.Empty()) return;
  TCanvas& C = *FOffscreen.GetCanvas();
  const int ML = FMarginLeft, MR = FMarginRight, MT = FMarginTop, MB = FMarginBottom;
  C.GetPen().SetColor(FColorMargin);
  C.GetBrush().SetColor(FColorMargin);
  C.Rectangle(0, 0, W, H);
  C.GetPen().SetColor(FColorBakG);
  C.GetBrush().SetColor(FColorBakG);
  C.Rectangle(ML, MT, W - MR, H - MB);
  if (!FBakGndFile.empty() && !AuxBmp.Empty()) {
    // Stretched once for the inner area's size and kept: a value change only copies it.
    const int IW = W - MR - ML, IH = H - MB - MT;
    if (IW > 0 && IH > 0) {
      if (!FStretchedValid || FStretched.GetWidth() != IW || FStretched.GetHeight() != IH) {
        FStretched.SetSize(IW, IH);
        FStretched.GetCanvas()->StretchDraw(Rect(0, 0, IW, IH), AuxBmp);
        FStretchedValid = true;
      }
      C.Draw(ML, MT, FStretched);
    }
  }
  PaintBar(C);
  PaintFrame(C, FInnerFrameSt, ML, MT, W - MR, H - MB);
  PaintFrame(C, FOuterFrameSt, 0, 0, W, H);
  if (FShowValue) PaintText(C);
  GetCanvas()->Draw(0, 0, FOffscreen);
}

void TProgBar::PaintBar(TCanvas& C) {
  const int W = GetWidth(), H = GetHeight();
  const int ML = FMarginLeft, MR = FMarginRight, MT = FMarginTop, MB = FMarginBottom;
  const double F = (FProgValue - FProgMin) / (FProgMax - FProgMin);
  if (!std::isfinite(F)) return;
  const bool Vertical = FDirection == dirUp || FDirection == dirDown;
  const bool Mirrored = FDirection == dirDown || FDirection == dirLeft;
  // The bar is laid out along a line from its base: Base is the first coordinate the bar
  // covers, growing forward (dirRight) or backward (dirUp); Across the two other edges.
  const double IL = Vertical ? double(H) - MT - MB : double(W) - ML - MR;
  const double Len = std::nearbyint(IL * F);
  const int Extent = Vertical ? H : W;
  // The unmirrored coordinate of the bar's h-th line, and where a mirrored one lands.
  const auto LineAt = [&](std::int64_t Hh) -> std::int64_t {
    return Vertical ? std::int64_t(H - MB) - Hh - 1 : std::int64_t(ML) + Hh;
  };
  const auto Place = [&](std::int64_t P) -> std::int64_t {
    if (!Mirrored) return P;
    return Vertical ? std::int64_t(MT) + (H - MB - 1) - P : std::int64_t(ML) + (W - MR - 1) - P;
  };
  const auto Line = [&](std::int64_t P) {
    const int Q = int(std::clamp<std::int64_t>(Place(P), -1, Extent));
    if (Vertical) {
      C.MoveTo(ML, Q);
      C.LineTo(W - MR, Q);
    } else {
      C.MoveTo(Q, MT);
      C.LineTo(Q, H - MB);
    }
  };
  // The range of unmirrored coordinates that lands inside the bitmap.
  const std::int64_t VisLo = Place(0) <= Place(Extent - 1) ? Place(0) : Place(Extent - 1);
  const std::int64_t VisHi = VisLo + Extent - 1;

  if (!FColorGrad) {
    C.GetPen().SetColor(FBarColorArray[0]);
    C.GetBrush().SetColor(FBarColorArray[0]);
    // The box from the bar's base to its end; below Min the corners come reversed, which
    // draws the same box on the other side of the base.
    const double Base = Vertical ? double(H - MB) : double(ML);
    const double End = Vertical ? Base - Len : Base + Len;
    double A = std::min(Base, End), B = std::max(Base, End);
    if (Mirrored) {
      const double Sum = Vertical ? double(MT) + (H - MB - 1) : double(ML) + (W - MR - 1);
      const double MirroredA = Sum - B + 1;
      B = Sum - A + 1;
      A = MirroredA;
    }
    const int P1 = ClipCoord(A, Extent), P2 = ClipCoord(B, Extent);
    if (Vertical)
      C.Rectangle(ML, P1, W - MR, P2);
    else
      C.Rectangle(P1, MT, P2, H - MB);
  } else if (Len > 0) {
    // Lines h = 0 .. Len - 1 of the bar; only those inside the bitmap are drawn.
    std::int64_t HLo = 0, HHi = std::int64_t(std::min(Len, 9.0e15)) - 1;
    if (Vertical) {
      HLo = std::max<std::int64_t>(HLo, std::int64_t(H - MB) - 1 - VisHi);
      HHi = std::min<std::int64_t>(HHi, std::int64_t(H - MB) - 1 - VisLo);
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
    const double T = double(H - MB) - Len;
    std::int64_t Y = std::int64_t(H - MB) - 1;
    if (Y > VisHi) Y -= (Y - VisHi + G - 1) / G * G;
    const double Lo = std::max(T, double(VisLo));
    for (; double(Y) >= Lo; Y -= G) Line(Y);
  } else {
    // x = ML stepping right while x <= E, clipped to the visible columns.
    const double E = Len + ML;
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
