#include "kvl/platform/stdctrls.h"

#include "kvl/core/pen_brush_keeper.h"

namespace kvl {

void DrawEdge(TCanvas& C, TColor TopLeft, TColor BottomRight, int L, int T, int R, int B) {
  C.GetPen().SetColor(TopLeft);
  C.MoveTo(L, B - 1);
  C.LineTo(L, T);
  C.LineTo(R, T);
  C.GetPen().SetColor(BottomRight);
  C.MoveTo(L, B);
  C.LineTo(R, B);
  C.LineTo(R, T - 1);
}

void DrawButtonFace(TCanvas& C, const TRect& R, bool Down) {
  const TPenBrushKeeper Keep(C);
  C.GetBrush().SetColor(clBtnFace);
  C.FillRect(R);
  if (R.Width() < 2 || R.Height() < 2) return;
  const int L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetWidth(1);
  if (Down) {
    DrawEdge(C, clBlack, clBtnHighlight, L, T, Rt, B);
    DrawEdge(C, clBtnShadow, clBtnFace, L + 1, T + 1, Rt - 1, B - 1);
  } else {
    DrawEdge(C, clBtnHighlight, clBlack, L, T, Rt, B);
    DrawEdge(C, clBtnFace, clBtnShadow, L + 1, T + 1, Rt - 1, B - 1);
  }
}

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  FDoubleClicks = false;
}

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
  TWinControl::KeyDown(Key, Shift);
  if (Key == vk::Space && !FSpaceHeld) {
    FSpaceHeld = true;
    SetDown(true);
  } else if (Key == vk::Return) {
    Click();
  }
}

void TButton::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyUp(Key, Shift);
  if (Key == vk::Space && FSpaceHeld) {
    FSpaceHeld = false;
    SetDown(false);
    Click();
  }
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    SetFocus();
    FMouseHeld = true;
    SetDown(true);
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseMove(TShiftState Shift, int X, int Y) {
  if (FMouseHeld) SetDown(GetClientRect().Contains({X, Y}));
  TWinControl::MouseMove(Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FMouseHeld = false;
    SetDown(false);
  }
  TWinControl::MouseUp(Button, Shift, X, Y);
}

void TButton::MouseCaptureLost() {
  TWinControl::MouseCaptureLost();
  FMouseHeld = false;
  SetDown(FSpaceHeld);
}

void TButton::FocusOut() {
  FSpaceHeld = false;
  SetDown(FMouseHeld);
  Invalidate();
}

void TButton::SetDown(bool Value) {
  if (Value == FDown) return;
  FDown = Value;
  Invalidate();
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
  DrawButtonFace(C, R, FDown);
  C.SetFont(GetFont());
  C.GetBrush().SetStyle(bsClear);
  const TSize S = C.TextExtent(GetCaption());
  const int Shift = FDown ? 1 : 0;
  const int X = R.Left + (R.Width() - S.cx) / 2 + Shift;
  const int Y = R.Top + (R.Height() - S.cy) / 2 + Shift;
  if (GetEnabled()) {
    C.GetFont().SetColor(GetFont().GetColor());
    C.TextOut(X, Y, GetCaption());
  } else {
    C.GetFont().SetColor(clBtnHighlight);
    C.TextOut(X + 1, Y + 1, GetCaption());
    C.GetFont().SetColor(clBtnShadow);
    C.TextOut(X, Y, GetCaption());
  }
  if (Focused()) {
    C.GetPen().SetColor(clBlack);
    C.GetPen().SetStyle(psDot);
    C.GetBrush().SetStyle(bsClear);
    C.Rectangle(R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3);
    C.GetPen().SetStyle(psSolid);
  }
}

}  // namespace kvl
