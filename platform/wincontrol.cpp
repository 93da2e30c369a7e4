#include <algorithm>

#include "kvl/platform/application.h"
#include "kvl/platform/controls.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  DestroyControls();
  // Leave the parent while still a windowed control, so that it can drop its focus.
  if (FParent) FParent->RemoveControl(this);
}

void TWinControl::DestroyControls() {
  // A parent takes its children with it, whoever owns them; each leaves its owner's list.
  while (!FControls.empty()) delete FControls.back();
}

TControl* TWinControl::GetControls(int Index) const {
  return (Index >= 0 && Index < GetControlCount()) ? FControls[std::size_t(Index)] : nullptr;
}

bool TWinControl::ContainsControl(const TControl* C) const {
  for (; C; C = C->FParent)
    if (C == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* C) {
  if (!C || C->FParent == this) return;
  if (C->IsWindowed() && static_cast<TWinControl*>(C)->ContainsControl(this))
    throw EInvalidOperation("A control cannot be placed inside itself");
  if (C->FParent) C->FParent->RemoveControl(C);
  FControls.push_back(C);
  C->FParent = this;
  if (C->IsWindowed()) FTabList.push_back(static_cast<TWinControl*>(C));
  C->ParentFontChanged();
  C->ParentColorChanged();
  if (C->IsWindowed()) static_cast<TWinControl*>(C)->UpdateHandle();
  if (C->GetAlign() != alNone) AlignControls(-1, -1);
  C->Invalidate();
}

void TWinControl::RemoveControl(TControl* C) {
  const auto It = std::find(FControls.begin(), FControls.end(), C);
  if (It == FControls.end()) return;
  if (!IsDestroying()) {
    // The parent shows again where the control was. The control cannot invalidate itself for
    // this: one being deleted has nowhere to draw any more.
    TCustomForm* F = GetParentForm();
    if (F && (C->GetVisible() || C->IsDesigning()))
      F->InvalidateFormRect(
          C->GetBoundsRect().Offset(GetClientOrigin()).Intersect(VisibleFormRect()));
    if (F) F->ControlRemoved(C);
  }
  FControls.erase(It);
  std::erase(FTabList, C);
  C->FParent = nullptr;
  if (C->IsWindowed()) static_cast<TWinControl*>(C)->UpdateHandle();
  if (!IsDestroying() && C->GetAlign() != alNone) AlignControls(-1, -1);
}

void TWinControl::MoveInZOrder(TControl* C, bool ToFront) {
  const auto It = std::find(FControls.begin(), FControls.end(), C);
  if (It == FControls.end()) return;
  FControls.erase(It);
  if (ToFront)
    FControls.push_back(C);
  else
    FControls.insert(FControls.begin(), C);
  C->Invalidate();
}

void TWinControl::UpdateHandle() {
  const bool Wanted =
      FParent ? FParent->FHandleAllocated : dynamic_cast<TCustomForm*>(this) != nullptr;
  if (Wanted == FHandleAllocated || IsDestroying()) return;
  if (Wanted) {
    FHandleAllocated = true;
    CreateWnd();
    for (TWinControl* C : FTabList) C->UpdateHandle();
  } else {
    FHandleAllocated = false;
    for (TWinControl* C : FTabList) C->UpdateHandle();
    DestroyWnd();
  }
}

void TWinControl::Broadcast(TControlMessage& M) {
  // A receiver may change the list (a button group reorders nothing, but be safe).
  const std::vector<TControl*> Receivers = FControls;
  for (TControl* C : Receivers) {
    C->Perform(M);
    if (M.Handled) return;
  }
}

TRect TWinControl::GetClientRect() const {
  const TRect I = GetNonClientInsets();
  return Rect(0, 0, std::max(FWidth - I.Left - I.Right, 0), std::max(FHeight - I.Top - I.Bottom, 0));
}

bool TWinControl::InNonClientArea(TPoint P) const {
  const TRect I = GetNonClientInsets();
  const TRect Bounds = Rect(-I.Left, -I.Top, FWidth - I.Left, FHeight - I.Top);
  const TRect Client = Rect(0, 0, FWidth - I.Left - I.Right, FHeight - I.Top - I.Bottom);
  return Bounds.Contains(P) && !Client.Contains(P);
}

void TWinControl::SetBorderInset(int Inset) {
  Inset = std::max(Inset, 0);
  if (Inset == FBorderInset) return;
  FBorderInset = Inset;
  AlignControls(-1, -1);
  Invalidate();
}

void TWinControl::SetScrollBarInsets(int Right, int Bottom) {
  Right = std::max(Right, 0);
  Bottom = std::max(Bottom, 0);
  if (Right == FBarRight && Bottom == FBarBottom) return;
  FBarRight = Right;
  FBarBottom = Bottom;
  AlignControls(-1, -1);
  Invalidate();
}

int TWinControl::GetTabOrder() const {
  if (!FParent) return -1;
  const auto& L = FParent->FTabList;
  return static_cast<int>(std::find(L.begin(), L.end(), this) - L.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!FParent) return;
  auto& L = FParent->FTabList;
  std::erase(L, this);
  Value = std::clamp(Value, 0, static_cast<int>(L.size()));
  L.insert(L.begin() + Value, this);
}

bool TWinControl::CanFocus() const {
  return GetParentForm() != nullptr && IsShowing() && IsEnabledInTree();
}

bool TWinControl::Focused() const {
  const TCustomForm* F = GetParentForm();
  return F && F->GetActive() && F->GetActiveControl() == this;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) return;
  GetParentForm()->SetActiveControl(this);
}

void TWinControl::SelectNextControl(bool GoForward) {
  if (TCustomForm* F = GetParentForm()) F->SelectNext(this, GoForward, true);
}

void TWinControl::CollectTabStops(std::vector<TWinControl*>& Out) {
  for (TWinControl* C : FTabList) {
    if (!C->GetVisible() || !C->GetEnabled()) continue;
    if (C->IsTabStopNow()) Out.push_back(C);
    C->CollectTabStops(Out);
  }
}

bool TWinControl::WantsKey(std::uint16_t, TShiftState) const { return false; }

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
  if (Key != 0 && FCompanion) {
    TCompanionKeyMessage M(this, Key, Shift);
    FCompanion->Perform(M);
  }
}

void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
  if (FCompanion) {
    TCompanionExitMessage M(this);
    FCompanion->Perform(M);
  }
}

TControl* TWinControl::ControlAtPos(TPoint P, bool AllowDisabled) {
  const int I = FBorderInset;
  if (!Rect(-I, -I, FWidth - I, FHeight - I).Contains(P)) return nullptr;
  if (!AllowDisabled && !GetEnabled()) return nullptr;
  if (!GetClientRect().Contains(P)) return this;
  // Windowed children lie above the graphic ones; within each kind the last is on top.
  for (const bool Windowed : {true, false}) {
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
      TControl* C = *It;
      if (C->IsWindowed() != Windowed || !(C->GetVisible() || C->IsDesigning())) continue;
      const int CI = Windowed ? static_cast<TWinControl*>(C)->FBorderInset : 0;
      if (TControl* Hit = C->ControlAtPos({P.X - C->FLeft - CI, P.Y - C->FTop - CI}, AllowDisabled))
        return Hit;
    }
  }
  return this;
}

void TWinControl::SizeChanged(int OldWidth, int OldHeight) {
  // The frame outside the client area keeps its size.
  AlignControls(GetClientWidth() - (FWidth - OldWidth), GetClientHeight() - (FHeight - OldHeight));
  TControl::SizeChanged(OldWidth, OldHeight);
}

void TWinControl::AlignControls(int OldClientWidth, int OldClientHeight) {
  if (FAligning || IsDestroying()) return;
  const TScopedValue<bool> Aligning(FAligning, true);

  TRect Free = GetClientRect();
  if (OldClientWidth >= 0 && OldClientHeight >= 0) {
    const int DX = Free.Width() - OldClientWidth, DY = Free.Height() - OldClientHeight;
    for (TControl* C : FControls) {
      if (C->GetAlign() != alNone) continue;
      const TAnchors A = C->GetAnchors();
      int L = C->FLeft, T = C->FTop, W = C->FWidth, H = C->FHeight;
      if (A & akRight) (A & akLeft) ? W += DX : L += DX;
      if (A & akBottom) (A & akTop) ? H += DY : T += DY;
      C->SetBounds(L, T, W, H);
    }
  }
  for (const TAlign Kind : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* C : FControls) {
      if (C->GetAlign() != Kind || !C->GetVisible()) continue;
      switch (Kind) {
        case alTop:
          C->SetBounds(Free.Left, Free.Top, Free.Width(), C->FHeight);
          Free.Top += C->FHeight;
          break;
        case alBottom:
          C->SetBounds(Free.Left, Free.Bottom - C->FHeight, Free.Width(), C->FHeight);
          Free.Bottom -= C->FHeight;
          break;
        case alLeft:
          C->SetBounds(Free.Left, Free.Top, C->FWidth, Free.Height());
          Free.Left += C->FWidth;
          break;
        case alRight:
          C->SetBounds(Free.Right - C->FWidth, Free.Top, C->FWidth, Free.Height());
          Free.Right -= C->FWidth;
          break;
        default:
          C->SetBounds(Free.Left, Free.Top, Free.Width(), Free.Height());
          break;
      }
    }
  }
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* C : FControls) C->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* C : FControls) C->ParentColorChanged();
}

void TWinControl::EnabledChanged() {
  TControl::EnabledChanged();
  for (TControl* C : FControls)
    if (C->GetEnabled()) C->EnabledChanged();
}

void TWinControl::VisibleChanged() {
  TControl::VisibleChanged();
  if (!GetVisible())
    if (TCustomForm* F = GetParentForm(); F && F != this) F->ControlHidden(this);
}

void TWinControl::PaintBackground(TCanvas& C) {
  C.GetBrush().SetColor(GetColor());
  C.FillRect(GetClientRect());
}

void TWinControl::PaintTree(const TRect& FormRegion) {
  const TRect Whole = VisibleFormRect().Intersect(FormRegion);
  if (Whole.IsEmpty()) return;
  TCustomForm* F = GetParentForm();
  const TPoint O = GetClientOrigin();
  // A border inset or a client area drawn further in (a frame with a caption) leaves a border.
  const int I = FBorderInset;
  if (GetClientRect() != Rect(-I, -I, FWidth - I, FHeight - I)) {
    TCanvas Border(&F->GetBackBuffer());
    Border.SetOrigin({O.X - FBorderInset, O.Y - FBorderInset});
    Border.SetClipRect(Whole.Offset(-Border.GetOrigin().X, -Border.GetOrigin().Y));
    PaintBorder(Border);
  }
  const TRect Inner = Whole.Intersect(GetClientRect().Offset(O));
  if (Inner.IsEmpty()) return;
  {
    // The background uses a canvas of its own so that the control's canvas keeps its state.
    TCanvas Background(&F->GetBackBuffer());
    Background.SetOrigin(O);
    Background.SetClipRect(Inner.Offset(-O.X, -O.Y));
    PaintBackground(Background);
  }
  PaintClipped(Inner);
  for (TControl* C : FControls) {
    if (C->IsWindowed()) continue;
    const TRect R = C->VisibleFormRect().Intersect(Inner);
    if (!R.IsEmpty()) C->PaintClipped(R);
  }
  for (TControl* C : FControls)
    if (C->IsWindowed()) static_cast<TWinControl*>(C)->PaintTree(Inner);
}

}  // namespace kvl
