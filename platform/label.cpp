// TCustomLabel: a caption drawn on the parent, with auto-size, alignment, layout and wrapping.
#include <algorithm>
#include <vector>

#include "kvl/platform/scoped_value.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/platform/wordwrap.h"

namespace kvl {

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
  AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Invalidate();
}

void TCustomLabel::Click() {
  if (FFocusControl) FFocusControl->SetFocus();
  TGraphicControl::Click();
}

void TCustomLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::DoDrawText(TRect& R, unsigned Flags) {
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  const bool Measure = (Flags & ldfCalcRect) != 0;
  // An empty caption still measures one line, so that an auto-sized label keeps its height.
  const std::string& Caption = GetCaption();
  const std::string Text = Measure && Caption.empty() ? std::string(" ") : Caption;
  const std::vector<std::string> Lines = WrapTextLines(C, Text, (Flags & ldfWordWrap) != 0, R.Width());
  const int H = C.TextHeight("Ag");
  if (Measure) {
    int W = 0;
    for (const std::string& L : Lines) W = std::max(W, C.TextWidth(L));
    R.Right = R.Left + W;
    R.Bottom = R.Top + H * int(Lines.size());
    return;
  }
  C.GetBrush().SetStyle(bsClear);
  int Y = R.Top;
  for (const std::string& L : Lines) {
    const int W = C.TextWidth(L);
    int X = R.Left;
    if (FAlignment == taRightJustify) X = R.Right - W;
    if (FAlignment == taCenter) X = R.Left + (R.Width() - W) / 2;
    if (IsEnabledInTree())
      C.TextOut(X, Y, L);
    else
      DrawEmbossedText(C, X, Y, L);
    Y += H;
  }
}

void TCustomLabel::Paint() {
  TCanvas& C = *GetCanvas();
  const TRect Client = GetClientRect();
  if (!FTransparent) {
    C.GetBrush().SetColor(GetColor());
    C.FillRect(Client);
  }
  TRect R = Client;
  const unsigned Wrap = FWordWrap ? ldfWordWrap : 0u;
  if (FLayout != tlTop) {
    TRect M = Client;
    DoDrawText(M, ldfCalcRect | Wrap);
    const int Free = Client.Height() - M.Height();
    R.Top += FLayout == tlCenter ? Free / 2 : Free;
  }
  DoDrawText(R, Wrap);
}

void TCustomLabel::SizeChanged(int OldWidth, int OldHeight) {
  TGraphicControl::SizeChanged(OldWidth, OldHeight);
  if (FWordWrap && GetWidth() != OldWidth) AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || IsLoading() || FAdjusting) return;
  const TScopedValue<bool> Guard(FAdjusting, true);
  // Starting from the present bounds, a measuring step that leaves R alone keeps the size.
  TRect R = Rect(0, 0, GetWidth(), GetHeight());
  DoDrawText(R, ldfCalcRect | (FWordWrap ? ldfWordWrap : 0u));
  const int W = FWordWrap ? GetWidth() : R.Width();
  // A right-aligned label keeps its right edge where it is.
  const int X = FAlignment == taRightJustify ? GetLeft() + GetWidth() - W : GetLeft();
  SetBounds(X, GetTop(), W, R.Height());
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (Value == FFocusControl) return;
  if (FFocusControl) RemoveFreeNotification(FFocusControl);
  FFocusControl = Value;
  // The control may go before the label: the label must then forget it.
  if (Value) FreeNotification(Value);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

}  // namespace kvl
