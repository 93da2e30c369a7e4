#include "kvl/platform/controls.h"

#include <algorithm>

#include "kvl/platform/application.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/menus.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

namespace {

// Where a canvas with nowhere to draw points: 0 x 0 pixels clip every drawing away.
TBitmap& NowhereBitmap() {
  static TBitmap Nowhere;
  return Nowhere;
}

}  // namespace

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  FFont.AddChangeListener([this](const TFont&) { OnFontChange(); });
}

TControl::~TControl() {
  Destroying();
  if (FParent) FParent->RemoveControl(this);
  Application->ControlDestroyed(this);
}

TCustomForm* TControl::GetParentForm() const {
  const TControl* C = this;
  while (C->FParent) C = C->FParent;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(C));
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (AParent && IsWindowed() && static_cast<TWinControl*>(this)->ContainsControl(AParent))
    throw EInvalidOperation("A control cannot be placed inside itself");
  if (AParent)
    AParent->InsertControl(this);
  else
    FParent->RemoveControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const int OldWidth = FWidth, OldHeight = FHeight;
  Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
  if (OldWidth != AWidth || OldHeight != AHeight) SizeChanged(OldWidth, OldHeight);
  if (FParent && FAlign != alNone) FParent->AlignControls(-1, -1);
}

void TControl::SizeChanged(int, int) {
  if (!IsLoading()) Resize();
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

TPoint TControl::GetClientOrigin() const {
  const int Inset = IsWindowed() ? static_cast<const TWinControl*>(this)->GetBorderInset() : 0;
  if (!FParent) return {Inset, Inset};
  const TPoint P = FParent->GetClientOrigin();
  return {P.X + FLeft + Inset, P.Y + FTop + Inset};
}

TPoint TControl::ClientToForm(TPoint P) const {
  const TPoint O = GetClientOrigin();
  return {P.X + O.X, P.Y + O.Y};
}

TPoint TControl::FormToClient(TPoint P) const {
  const TPoint O = GetClientOrigin();
  return {P.X - O.X, P.Y - O.Y};
}

TPoint TControl::ClientToScreen(TPoint P) const {
  const TPoint F = ClientToForm(P);
  const TCustomForm* Form = GetParentForm();
  if (!Form) return F;
  const TPoint O = Form->GetWindow() != 0 ? Application->GetHost().ClientOrigin(Form->GetWindow())
                                          : TPoint{Form->GetLeft(), Form->GetTop()};
  return {F.X + O.X, F.Y + O.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const {
  const TPoint Zero = ClientToScreen({0, 0});
  return {P.X - Zero.X, P.Y - Zero.Y};
}

void TControl::SetVisible(bool Value) {
  if (Value == FVisible) return;
  Invalidate();
  FVisible = Value;
  if (!Value) Application->CancelCaptureWithin(this);
  VisibleChanged();
}

void TControl::VisibleChanged() {
  Invalidate();
  if (FParent && FAlign != alNone) FParent->AlignControls(-1, -1);
}

bool TControl::IsShowing() const {
  for (const TControl* C = this; C; C = C->FParent)
    if (!C->FVisible && !(C->FParent == nullptr && C->IsWindowed())) return false;
  return true;
}

void TControl::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  if (!Value) Application->CancelCaptureWithin(this);
  EnabledChanged();
}

bool TControl::IsEnabledInTree() const {
  for (const TControl* C = this; C; C = C->FParent)
    if (!C->FEnabled) return false;
  return true;
}

void TControl::SetColor(TColor Value) {
  FParentColor = false;
  FColorChosen = true;
  if (Value == FColor) return;
  FColor = Value;
  ColorChanged();
}

TColor TControl::GetShownColor() const {
  return FColorChosen || IsEnabledInTree() ? FColor : clBtnFace;
}

TColor TControl::GetShownFontColor() const {
  return FFontColorChosen || IsEnabledInTree() ? FFont.GetColor() : clGrayText;
}

void TControl::SetDefaultColor(TColor Value) {
  SetColor(Value);
  FColorChosen = false;
}

void TControl::SetParentColor(bool Value) {
  FParentColor = Value;
  if (Value) FColorChosen = false;
  if (Value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!FParentColor || !FParent || FParent->FColor == FColor) return;
  FColor = FParent->FColor;
  ColorChanged();
}

void TControl::SetParentFont(bool Value) {
  FParentFont = Value;
  if (Value) FFontColorChosen = false;
  if (Value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FSettingParentFont = true;
  FFont.Assign(FParent->FFont);
  FSettingParentFont = false;
}

void TControl::OnFontChange() {
  if (!FSettingParentFont) {
    FParentFont = false;
    if (FFont.GetColor() != FFontColorSeen) FFontColorChosen = true;
  }
  FFontColorSeen = FFont.GetColor();
  FontChanged();
}

void TControl::SetText(const std::string& Value) {
  if (Value == FText) return;
  FText = Value;
  TextChanged();
}

void TControl::SetAlign(TAlign Value) {
  if (Value == FAlign) return;
  FAlign = Value;
  if (FParent) FParent->AlignControls(-1, -1);
}

void TControl::SetHint(const std::string& Value) {
  if (Value == FHint) return;
  FHint = Value;
  Application->HintChanged(this);
}

bool TControl::GetShowHint() const {
  return FParentShowHint && FParent ? FParent->GetShowHint() : FShowHint;
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::ContextPopup(TPoint ClientPos, TPoint ScreenPos) {
  bool Handled = false;
  DoContextPopup(ClientPos, Handled);
  if (Handled) return;
  for (TControl* C = this; C; C = C->FParent)
    if (TPopupMenu* M = C->FPopupMenu) {
      if (!M->GetAutoPopup()) return;
      M->SetPopupComponent(this);
      M->Popup(ScreenPos.X, ScreenPos.Y);
      return;
    }
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (Value == FPopupMenu) return;
  if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
  FPopupMenu = Value;
  if (Value) FreeNotification(Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

bool TControl::IsPaintable() const {
  if (IsDestroying()) return false;
  for (const TControl* C = this; C; C = C->FParent) {
    if (C->IsDestroying()) return false;
    const bool Root = C->FParent == nullptr;
    if (!Root && !C->FVisible && !C->IsDesigning()) return false;
  }
  return GetParentForm() != nullptr;
}

TRect TControl::VisibleFormRect() const {
  if (!IsPaintable()) return {};
  const TPoint O = GetClientOrigin();
  const int Inset = IsWindowed() ? static_cast<const TWinControl*>(this)->GetBorderInset() : 0;
  TRect R = Rect(-Inset, -Inset, FWidth - Inset, FHeight - Inset).Offset(O);
  for (const TWinControl* P = FParent; P; P = P->FParent)
    R = R.Intersect(P->GetClientRect().Offset(P->GetClientOrigin()));
  if (const TCustomForm* F = GetParentForm()) R = R.Intersect(F->GetClientRect());
  return R.IsEmpty() ? TRect{} : R;
}

TCanvas* TControl::GetCanvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(&NowhereBitmap());
  TCustomForm* F = GetParentForm();
  TRect Clip = VisibleFormRect().Intersect(GetClientRect().Offset(GetClientOrigin()));
  if (FPaintRegion) Clip = Clip.Intersect(*FPaintRegion);
  const TPoint O = GetClientOrigin();
  FCanvas->SetOrigin(O);
  if (F && !Clip.IsEmpty()) {
    FCanvas->SetBitmap(&F->GetBackBuffer());
    FCanvas->SetClipRect(Clip.Offset(-O.X, -O.Y));
    F->NoteDrawn(Clip);
  } else {
    FCanvas->SetBitmap(&NowhereBitmap());
    FCanvas->SetClipRect(TRect{});
  }
  return FCanvas.get();
}

void TControl::PaintClipped(const TRect& FormRegion) {
  const TScopedValue<const TRect*> Region(FPaintRegion, &FormRegion);
  Paint();
}

void TControl::Invalidate() {
  if (TCustomForm* F = GetParentForm()) F->InvalidateFormRect(VisibleFormRect());
}

void TControl::Update() {
  if (TCustomForm* F = GetParentForm()) F->PaintInvalid();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (FParent) FParent->MoveInZOrder(this, true);
}

void TControl::SendToBack() {
  if (FParent) FParent->MoveInZOrder(this, false);
}

void TControl::DispatchMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FPressed = true;
  MouseDown(Button, Shift, X, Y);
}

void TControl::DispatchMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FPressed) {
    FPressed = false;
    if (GetClientRect().Contains({X, Y})) Click();
  }
  MouseUp(Button, Shift, X, Y);
  // The context menu follows the control's own release, over the control only. The release
  // handler may have freed the control: the application then no longer knows it.
  if (Button == mbRight && Application->GetHoverControl() == this &&
      Rect(0, 0, FWidth, FHeight).Contains({X, Y}))
    ContextPopup({X, Y}, ClientToScreen({X, Y}));
}

void TControl::DispatchDblClick(TShiftState Shift, int X, int Y) {
  // The second press of a double click clicks no more: the release after it only ends it.
  FPressed = false;
  DblClick();
  MouseDown(mbLeft, Shift | ssDouble, X, Y);
}

bool TControl::DispatchMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  for (TControl* C = this; C; C = C->FParent)
    if (C->IsEnabledInTree() && C->DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  return false;
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool Handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
  if (Handled) return true;
  // Turning back drops what the other direction had gathered.
  if ((FWheelAccumulator < 0) != (WheelDelta < 0)) FWheelAccumulator = 0;
  FWheelAccumulator = static_cast<int>(
      std::clamp<long long>(static_cast<long long>(FWheelAccumulator) + WheelDelta, -1200000, 1200000));
  constexpr int Notch = 120;
  while (FWheelAccumulator <= -Notch || FWheelAccumulator >= Notch) {
    const bool Down = FWheelAccumulator < 0;
    FWheelAccumulator += Down ? Notch : -Notch;
    if (Down ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos)) Handled = true;
  }
  return Handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool Handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, Handled);
  return Handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool Handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, Handled);
  return Handled;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::MouseCaptureLost() { FPressed = false; }

TControl* TControl::ControlAtPos(TPoint P, bool AllowDisabled) {
  if (!Rect(0, 0, FWidth, FHeight).Contains(P)) return nullptr;
  return (AllowDisabled || FEnabled) ? this : nullptr;
}

}  // namespace kvl
