#include "kvl/platform/stdctrls.h"

namespace kvl {

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetTabStop(true);
  FDoubleClicks = false;
}

void TButtonControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  if (Key == vk::Space && !FSpaceHeld) {
    FSpaceHeld = true;
    SetDown(true);
  }
}

void TButtonControl::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyUp(Key, Shift);
  if (Key == vk::Space && FSpaceHeld) {
    FSpaceHeld = false;
    SetDown(false);
    Click();
  }
}

void TButtonControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    SetFocus();
    FMouseHeld = true;
    SetDown(true);
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TButtonControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (FMouseHeld) SetDown(GetClientRect().Contains({X, Y}));
  TWinControl::MouseMove(Shift, X, Y);
}

void TButtonControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FMouseHeld = false;
    SetDown(false);
  }
  TWinControl::MouseUp(Button, Shift, X, Y);
}

void TButtonControl::MouseCaptureLost() {
  TWinControl::MouseCaptureLost();
  FMouseHeld = false;
  SetDown(FSpaceHeld);
}

void TButtonControl::FocusOut() {
  FSpaceHeld = false;
  SetDown(FMouseHeld);
  Invalidate();
}

void TButtonControl::SetDown(bool Value) {
  if (Value == FDown) return;
  FDown = Value;
  Invalidate();
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 75, 25); }

void TButton::SetDefault(bool Value) {
  if (Value == FDefault) return;
  FDefault = Value;
  Invalidate();
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TCustomForm* F = GetParentForm()) F->SetModalResult(FModalResult);
  TWinControl::Click();
}

bool TButton::WantsKey(std::uint16_t Key, TShiftState) const { return Key == vk::Return; }

void TButton::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TButtonControl::KeyDown(Key, Shift);
  if (Key == vk::Return) Click();
}

void TButton::HandleMessage(TControlMessage& M) {
  auto* Key = dynamic_cast<TDialogKeyMessage*>(&M);
  if (!Key || !IsShowing() || !IsEnabledInTree()) return;
  if ((Key->Key == vk::Return && FDefault) || (Key->Key == vk::Escape && FCancel)) {
    Key->Handled = true;
    Click();
  }
}

void TButton::Paint() {
  TCanvas& C = *GetCanvas();
  TRect R = GetClientRect();
  // The default button (and a focused one) carries a black outer frame.
  if (FDefault || Focused()) {
    C.GetBrush().SetColor(clBlack);
    C.FrameRect(R);
    R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  }
  DrawButtonFace(C, R, GetDown());
  C.SetFont(GetFont());
  C.GetBrush().SetStyle(bsClear);
  const TSize S = C.TextExtent(GetCaption());
  const int Shift = GetDown() ? 1 : 0;
  const int X = R.Left + (R.Width() - S.cx) / 2 + Shift;
  const int Y = R.Top + (R.Height() - S.cy) / 2 + Shift;
  if (IsEnabledInTree())
    C.TextOut(X, Y, GetCaption());
  else
    DrawEmbossedText(C, X, Y, GetCaption());
  if (Focused()) C.DrawFocusRect(Rect(R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3));
}

}  // namespace kvl
