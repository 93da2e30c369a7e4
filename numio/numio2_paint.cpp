// TNumIO2: layout properties and painting (label texts, spin buttons, gauge, text box, number,
// caret, selection), drawn into an off-screen bitmap and copied to the control in one go.
#include <algorithm>
#include <cmath>

#include "kvl/core/kvlcolors.h"
#include "kvl/core/stringl.h"
#include "kvl/numio/numio2.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

namespace {

// The sample whose height is the full text height of a font.
constexpr std::string_view SampleText = "(8g]}\xC3\x9C\xC3\x84\xC2\xA7";

}  // namespace

void TNumIO2::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AHeight = std::max(AHeight, 18);
  if (AHeight < FButHeight) FButHeight = AHeight;
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  Paint();
}

#define KVL_NUMIO2_SETTER(Name, Type, Field) \
  void TNumIO2::Set##Name(Type V) {          \
    if (StoreIfChanged(Field, V)) Paint();   \
  }
KVL_NUMIO2_SETTER(AutoSize, bool, FAutoSize)
KVL_NUMIO2_SETTER(TextBoxWidth, int, FTextBoxWidth)
KVL_NUMIO2_SETTER(Alignment, TAlignment, FAlignment)
KVL_NUMIO2_SETTER(LeftText, const std::string&, FLeftText)
KVL_NUMIO2_SETTER(RightText, const std::string&, FRightText)
KVL_NUMIO2_SETTER(LeftTextAlignment, TAlignment, FLeftTextAlignment)
KVL_NUMIO2_SETTER(RightTextAlignment, TAlignment, FRightTextAlignment)
KVL_NUMIO2_SETTER(ColorBoxBG, TColor, FColorBoxBG)
KVL_NUMIO2_SETTER(ColorBoxText, TColor, FColorBoxText)
KVL_NUMIO2_SETTER(ColorOutBG, TColor, FColorOutBG)
KVL_NUMIO2_SETTER(ColorOutText, TColor, FColorOutText)
KVL_NUMIO2_SETTER(ButVisible, bool, FButVisible)
KVL_NUMIO2_SETTER(But3D, bool, FBut3D)
KVL_NUMIO2_SETTER(ButColor, TColor, FButColor)
KVL_NUMIO2_SETTER(GaugeVisible, bool, FGaugeVisible)
KVL_NUMIO2_SETTER(GaugeColor, TColor, FGaugeColor)
KVL_NUMIO2_SETTER(GaugeColorBg, TColor, FGaugeColorBg)
KVL_NUMIO2_SETTER(GaugeColorFrame, TColor, FGaugeColorFrame)
#undef KVL_NUMIO2_SETTER

void TNumIO2::SetFrameStyle(TFrameStyle V) {
  if (StoreIfChanged(FFrameStyle, FrameStyleFromByte(V))) Paint();
}

void TNumIO2::SetGaugeFrameStyle(TFrameStyle V) {
  if (StoreIfChanged(FGaugeFrameStyle, FrameStyleFromByte(V))) Paint();
}

void TNumIO2::SetColorScheme(TColorScheme V) {
  FColorScheme = V;
  const TSchemeColors S = ColorSchemeColors(V);
  FColShadow = S.Shadow;
  FColLight = S.Light;
  Paint();
}

// The warning colours repaint even when unchanged.
void TNumIO2::SetColorWarnBG(TColor C) {
  FColorWarnBG = C;
  Paint();
}

void TNumIO2::SetColorWarnText(TColor C) {
  FColorWarnText = C;
  Paint();
}

void TNumIO2::SetLeftSpace(int V) {
  if (V < 0) return;
  if (StoreIfChanged(FLeftSpace, std::min(V, GetWidth()))) Paint();
}

void TNumIO2::SetButWidth(int V) {
  if (StoreIfChanged(FButWidth, std::clamp(V, 8, 50))) Paint();
}

void TNumIO2::SetButHeight(int V) {
  if (StoreIfChanged(FButHeight, std::max(std::min(V, GetHeight()), 18))) Paint();
}

void TNumIO2::SetButSpace(int V) {
  if (StoreIfChanged(FButSpace, std::clamp(V, 0, 50))) Paint();
}

void TNumIO2::SetGaugeHeight(int V) {
  V = std::max(std::min(V, GetHeight() - FGaugeTopMargin - 18), 3);
  if (StoreIfChanged(FGaugeHeight, V)) Paint();
}

void TNumIO2::SetGaugeWidth(int V) {
  V = std::min(std::max(V, 10), GetWidth() - FGaugeLeftMargin);
  if (StoreIfChanged(FGaugeWidth, V)) Paint();
}

void TNumIO2::SetGaugeLeftMargin(int V) {
  V = std::max(std::min(V, GetWidth() - FGaugeWidth), 0);
  if (StoreIfChanged(FGaugeLeftMargin, V)) Paint();
}

void TNumIO2::SetGaugeTopMargin(int V) {
  V = std::max(std::min(V, GetHeight() - FGaugeHeight - 18), 0);
  if (StoreIfChanged(FGaugeTopMargin, V)) Paint();
}

int TNumIO2::GaugeBand() const { return FGaugeVisible ? FGaugeHeight + FGaugeTopMargin + 1 : 0; }

void TNumIO2::Paint() {
  if (FSuppressPaint || FPainting || (!GetVisible() && !IsDesigning())) return;
  const TScopedValue<bool> Painting(FPainting, true);
  if (FAutoSize) {
    TCanvas& Measure = *FOffscreen.GetCanvas();
    Measure.SetFont(GetFont());
    const int Target = std::max(Measure.TextHeight("E0") + 6, 18);
    if (Target != GetHeight()) SetHeight(Target);
  }
  const int W = GetWidth(), H = GetHeight();
  FOffscreen.SetSize(W, H);
  TCanvas& C = *FOffscreen.GetCanvas();
  C.SetFont(GetFont());
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetWidth(1);
  C.GetPen().SetColor(FColorOutBG);
  C.GetBrush().SetColor(FColorOutBG);
  C.Rectangle(0, 0, W, H);
  const int Y0 = (H - GaugeBand() - C.TextHeight(SampleText)) / 2;
  const bool Warn = OutOfRange();
  PaintLabels(C, Y0);
  if (FButVisible) PaintButtons(C);
  if (FGaugeVisible) PaintGauge(C);
  PaintBox(C, Warn);
  PaintNumber(C, Y0, Warn);
  GetCanvas()->Draw(0, 0, FOffscreen);
}

void TNumIO2::PaintLabels(TCanvas& C, int Y0) {
  const int W = GetWidth(), L = FLeftSpace, B = std::max(FTextBoxWidth, 0);
  const int E = FButVisible ? FButWidth + FButSpace : 0;
  const bool Enabled = IsEnabledInTree();
  const auto Label = [&](const std::string& Text, int X) {
    if (Text.empty()) return;
    if (Enabled) {
      C.GetBrush().SetColor(FColorOutBG);
      C.GetFont().SetColor(FColorOutText);
      C.TextOut(X, Y0, Text);
      return;
    }
    DrawEmbossedText(C, X, Y0, Text, clWhite, clGray);
  };
  const int Lw = C.TextWidth(FLeftText);
  Label(FLeftText, FLeftTextAlignment == taLeftJustify    ? 7
                   : FLeftTextAlignment == taRightJustify ? L - Lw - 5
                                                          : (L - Lw) / 2);
  const int Rw = C.TextWidth(FRightText);
  Label(FRightText, FRightTextAlignment == taLeftJustify ? L + E + B + 7
                    : FRightTextAlignment == taRightJustify
                        ? W - Rw - 6
                        : (W - (L + E + B + Rw)) / 2 + L + E + B + 1);
}

void TNumIO2::PaintButtons(TCanvas& C) {
  const int Bx = FLeftSpace + std::max(FTextBoxWidth, 0) + FButSpace, Bw = FButWidth;
  const int Hb = FButHeight / 2, Q = Hb / 2;
  const auto Line = [&C](int X1, int Y1, int X2, int Y2) {
    C.MoveTo(X1, Y1);
    C.LineTo(X2, Y2);
  };
  C.GetPen().SetColor(clGray);
  C.GetBrush().SetColor(FButColor);
  C.Rectangle(Bx, 0, Bx + Bw + 1, 2 * Hb - 1);
  Line(Bx, Hb - 1, Bx + Bw, Hb - 1);
  if (FBut3D) {
    C.GetPen().SetColor(clWhite);
    C.MoveTo(Bx + 1, 2 * Hb - 3);
    C.LineTo(Bx + 1, Hb);
    C.LineTo(Bx + Bw, Hb);
    C.MoveTo(Bx + 1, Hb - 2);
    C.LineTo(Bx + 1, 1);
    C.LineTo(Bx + Bw, 1);
    C.GetPen().SetColor(clBlack);
    C.MoveTo(Bx + 1, 2 * Hb - 1);
    C.LineTo(Bx + Bw + 1, 2 * Hb - 1);
    C.LineTo(Bx + Bw + 1, 1);
  }
  C.GetPen().SetColor(IsEnabledInTree() ? clBlack : clGray);
  const int Cx = Bx + Bw / 2;
  Line(Cx, Q - 1, Cx + 2, Q - 1);
  Line(Cx - 1, Q, Cx + 3, Q);
  Line(Cx - 2, Q + 1, Cx + 4, Q + 1);
  Line(Cx, Hb + Q, Cx + 2, Hb + Q);
  Line(Cx - 1, Hb + Q - 1, Cx + 3, Hb + Q - 1);
  Line(Cx - 2, Hb + Q - 2, Cx + 4, Hb + Q - 2);
}

void TNumIO2::PaintLine3D(TCanvas& C, TFrameStyle Style, TPoint A, TPoint B, TPoint C2, TPoint D,
                          TPoint E, TPoint F) {
  TColor Inner, Outer;
  switch (Style) {
    case fsLowered:
      Inner = FColDark, Outer = FColLight;
      break;
    case fsRaised:
      Inner = FColLight, Outer = FColDark;
      break;
    case fsEmbossed:
      Inner = Outer = FColShadow;
      break;
    case fsEngraved:
      Inner = Outer = FColLight;
      break;
    default:
      return;
  }
  C.GetPen().SetColor(Inner);
  C.MoveTo(A.X, A.Y);
  C.LineTo(B.X, B.Y);
  C.LineTo(C2.X, C2.Y);
  C.GetPen().SetColor(Outer);
  C.MoveTo(D.X, D.Y);
  C.LineTo(E.X, E.Y);
  C.LineTo(F.X, F.Y);
}

void TNumIO2::PaintGauge(TCanvas& C) {
  const int H = GetHeight(), Gl = FGaugeLeftMargin, Gw = FGaugeWidth, Gh = FGaugeHeight;
  if (Gw < 1) return;
  const int Y1 = H - Gh - 1, Y2 = H - 1;
  C.GetPen().SetColor(FGaugeFrameStyle == fsNone ? FGaugeColorBg : FGaugeColorFrame);
  C.GetBrush().SetColor(FGaugeColorBg);
  C.Rectangle(Gl, Y1, Gl + Gw, Y2);
  // Halved before subtracting: the widest ranges would overflow to infinity otherwise.
  double F = FRangeHigh == FRangeLow
                 ? 1.0
                 : (GetValue() / 2 - FRangeLow / 2) / (FRangeHigh / 2 - FRangeLow / 2);
  F = std::isnan(F) ? 0.0 : std::clamp(F, 0.0, 1.0);
  const int R = static_cast<int>(std::nearbyint(Gw * F));
  const TColor Fill = IsEnabledInTree() ? FGaugeColor : clGray;
  C.GetPen().SetColor(Fill);
  C.GetBrush().SetColor(Fill);
  if (R > 0) C.Rectangle(Gl, Y1, Gl + R, Y2);
  if (FGaugeFrameStyle == fsNone) return;
  C.GetPen().SetColor(FGaugeFrameStyle == fsSimple     ? FGaugeColorFrame
                      : FGaugeFrameStyle == fsEmbossed ? FColLight
                                                       : FColShadow);
  C.GetBrush().SetStyle(bsClear);
  C.Rectangle(Gl, Y1, Gl + Gw, Y2);
  PaintLine3D(C, FGaugeFrameStyle, {Gl + 1, H - 3}, {Gl + 1, H - Gh}, {Gl + Gw - 1, H - Gh},
              {Gl + 1, H - 1}, {Gl + Gw, H - 1}, {Gl + Gw, Y1});
}

void TNumIO2::PaintBox(TCanvas& C, bool Warn) {
  const int H = GetHeight(), G = GaugeBand(), L = FLeftSpace, B = std::max(FTextBoxWidth, 0);
  const bool Enabled = IsEnabledInTree();
  TColor Pen = FFrameStyle == fsEmbossed ? FColLight : FColShadow;
  if (FFrameStyle == fsNone) Pen = Enabled ? FColorBoxBG : clSilver;
  TColor Brush = Warn ? FColorWarnBG : FColorBoxBG;
  if (Warn && FFrameStyle == fsNone && Enabled) Pen = FColorWarnBG;
  if (!Enabled) Brush = clSilver;
  C.GetPen().SetColor(Pen);
  C.GetBrush().SetColor(Brush);
  if (FFrameStyle == fsNone || FFrameStyle == fsSimple) {
    C.Rectangle(L, 0, L + B + 2, H - G);
    return;
  }
  C.Rectangle(L, 0, L + B + 2, H - G - 1);
  PaintLine3D(C, FFrameStyle, {L + 1, H - G - 3}, {L + 1, 1}, {L + B + 1, 1}, {L + 1, H - G - 1},
              {L + B + 2, H - G - 1}, {L + B + 2, 0});
}

void TNumIO2::PaintNumber(TCanvas& C, int Y0, bool Warn) {
  const int H = GetHeight(), G = GaugeBand(), L = FLeftSpace, B = std::max(FTextBoxWidth, 0);
  const bool Enabled = IsEnabledInTree();
  C.GetFont().SetColor(!Enabled ? clGray : Warn ? FColorWarnText : FColorBoxText);
  C.GetBrush().SetColor(!Enabled ? clSilver : Warn ? FColorWarnBG : FColorBoxBG);
  const int Wt = C.TextWidth(FInBuffer);
  const int Wc = C.TextWidth(Utf8Left(FInBuffer, FCaretPos));
  int X, K;
  switch (FAlignment) {
    case taLeftJustify:
      X = L + 4, K = Wc + 3;
      break;
    case taRightJustify:
      X = L + B - Wt - 2, K = B + Wc - Wt - 3;
      break;
    default:
      X = L + (B - Wt) / 2 + 2, K = Wc + (B - Wt) / 2 + 1;
      break;
  }
  const TRect Clip = Rect(L + 3, 2, L + B - 1, H - G - 3);
  if (!Clip.IsEmpty()) C.TextRect(Clip, X, Y0, FInBuffer);
  if (FCaretVisib && K > 0 && K < B) {
    C.GetPen().SetColor(clBlack);
    C.MoveTo(L + K, 3);
    C.LineTo(L + K, H - G - 3);
  }
  if (FSelBegin < FSelEnd && (Focused() || !FHideSelection)) {
    const int X1 = std::clamp(CharPosToXCoords(FSelBegin), L, L + B);
    const int X2 = std::clamp(CharPosToXCoords(FSelEnd), L, L + B);
    C.InvertRect(Rect(X1, 3, X2, H - G - 3));
  }
}

}  // namespace kvl
