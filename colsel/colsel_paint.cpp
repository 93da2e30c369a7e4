// One row of the colour list (or the closed face): the colour bar, the edit mark of an
// editable slot, and the name.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "kvl/colsel/colsel.h"

namespace kvl {

namespace {

constexpr TColor DisabledFill = 0xC0C0C0;
constexpr TColor DisabledInk = 0x808080;

// Dark ink on light bars, light ink on dark ones.
TColor EditMarkPen(TColor Bar) {
  const TColor C = ColorToRGB(Bar);
  const double R = GetRValue(C), G = GetGValue(C), B = GetBValue(C);
  return std::sqrt(R * R + B * B + 2 * G * G) / 2 > 180 ? clBlack : clWhite;
}

}  // namespace

void TColSel::DrawItem(int Index, const TRect& Rect, TOwnerDrawState) {
  const int Slot = Index + 1;
  if (Slot < 1 || Slot > MaxColors) return;
  TCanvas& C = *GetCanvas();
  const TColor OldBrush = C.GetBrush().GetColor();
  const TColor OldFont = C.GetFont().GetColor();
  const bool Enabled = IsEnabledInTree();
  const int L = Rect.Left, T = Rect.Top, B = Rect.Bottom;
  // Any bar width is allowed: positions past the row's right edge stop there.
  const auto X = [&Rect](std::int64_t Value) {
    return int(std::min<std::int64_t>(Value, Rect.Right));
  };
  const int BarRight = X(std::int64_t(L) + 3 + FColorBarWidth);

  if (FColorBarWidth > 0) {
    if (Enabled) {
      C.GetPen().SetColor(clBlack);
      C.GetBrush().SetColor(FColors[Slot]);
    } else {
      C.GetPen().SetColor(DisabledFill);
      C.GetBrush().SetColor(DisabledFill);
      C.Rectangle(L - 1, T - 1, BarRight, B + 1);
      C.GetPen().SetColor(DisabledInk);
    }
    C.Rectangle(L + 3, T + 2, BarRight, B - 2);
  }

  if (FIsUserEditable[Slot] && FColorBarWidth > 11 && Enabled) {
    C.GetPen().SetColor(EditMarkPen(FColors[Slot]));
    const TPoint Mark[] = {{L + 5, T + 4},  {L + 5, B - 5}, {L + 8, B - 5}, {L + 11, B - 8},
                           {L + 11, T + 7}, {L + 8, T + 4}, {L + 5, T + 4}};
    C.Polyline(Mark);
    C.GetPen().SetColor(clBlack);
  }

  const std::string& Name = FColorNames[Slot];
  if (Enabled) {
    C.GetFont().SetColor(clBlack);
    C.GetBrush().SetColor(GetColor());
  } else {
    C.GetFont().SetColor(DisabledInk);
    C.GetBrush().SetColor(DisabledFill);
  }
  const int TextLeft = X(std::int64_t(L) + FColorBarWidth + 3);
  const int TextTop = T + (Rect.Height() - C.TextHeight(Name)) / 2;
  C.TextRect(TRect{TextLeft, T, Rect.Right, B}, X(std::int64_t(TextLeft) + 3), TextTop, Name);

  C.GetBrush().SetColor(OldBrush);
  C.GetFont().SetColor(OldFont);
}

}  // namespace kvl
