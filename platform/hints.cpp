#include "kvl/platform/hints.h"

#include <algorithm>

#include "kvl/platform/application.h"
#include "kvl/platform/wordwrap.h"

namespace kvl {

namespace {

constexpr int PadX = 3, PadY = 1;  // inside the 1-pixel border

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TPopupWindow(AOwner, pkHint) {}

TSize THintWindow::CalcHintSize(const std::string& Text) {
  TBitmap Measure;
  Measure.SetSize(1, 1);
  TCanvas& C = *Measure.GetCanvas();
  C.GetFont().Assign(GetFont());
  FLines = WrapTextLines(C, Text, true, MaxHintWidth);
  int W = 0;
  for (const std::string& L : FLines) W = std::max(W, C.TextWidth(L));
  const int LineH = C.TextHeight("Wg");
  const TSize Screen = Application->GetHost().ScreenSize();
  const std::int64_t H = std::int64_t(LineH) * std::int64_t(FLines.size()) + 2 * (PadY + 1);
  return {std::min(W + 2 * (PadX + 1), Screen.cx),
          int(std::min<std::int64_t>(H, std::max(Screen.cy, 1)))};
}

void THintWindow::ActivateHint(TPoint P, int PointerY, const std::string& Text) {
  SetCaption(Text);
  SetColor(Application->GetHintColor());
  const TSize S = CalcHintSize(Text);
  const TSize Screen = Application->GetHost().ScreenSize();
  int Top = P.Y;
  if (Top + S.cy > Screen.cy) Top = PointerY - S.cy;  // above the pointer
  TRect R = PlaceAtPoint({P.X, Top}, S, Screen);
  Popup(nullptr, R);
  Invalidate();
}

void THintWindow::Paint() {
  TCanvas& C = *GetCanvas();
  const TRect R = GetClientRect();
  C.GetBrush().SetColor(GetColor());
  C.FillRect(R);
  C.GetBrush().SetColor(clWindowFrame);
  C.FrameRect(R);
  C.GetBrush().SetStyle(bsClear);
  C.GetFont().Assign(GetFont());
  C.GetFont().SetColor(clInfoText);
  const int LineH = C.TextHeight("Wg");
  int Y = PadY + 1;
  for (const std::string& L : FLines) {
    if (Y >= R.Bottom) break;
    C.TextOut(PadX + 1, Y, L);
    Y += LineH;
  }
  C.GetBrush().SetStyle(bsSolid);
}

// --- The application's hint rules ------------------------------------------------------------

void TApplication::SetShowHint(bool Value) {
  FShowHint = Value;
  if (!Value) CancelHint();
}

THintWindow* TApplication::GetHintWindow() const {
  return FHintWindow && FHintWindow->IsOpen() ? FHintWindow : nullptr;
}

void TApplication::HideHintWindow() {
  if (FHintWindow) FHintWindow->ClosePopup();
}

void TApplication::CancelHint() {
  if (FHintTimerId) FTimers.Stop(FHintTimerId);
  FHintTimerId = 0;
  HideHintWindow();
  if (FHintControl) FHintDone = true;
}

void TApplication::HintPointer(TControl* Hover, THostWindow Window, TPoint P) {
  FHintAt = Window;
  FHintPoint = P;
  // The control whose hint counts: the one under the pointer or the nearest parent with one.
  TControl* Target = Hover;
  while (Target && Target->GetHint().empty()) Target = Target->GetParent();
  if (Target && (!FShowHint || !Target->GetShowHint())) Target = nullptr;
  if (Target == FHintControl) return;
  const bool WasShown = GetHintWindow() != nullptr;
  if (FHintTimerId) FTimers.Stop(FHintTimerId);
  FHintTimerId = 0;
  HideHintWindow();
  FHintControl = Target;
  FHintDone = false;
  if (Target)
    FHintTimerId = FTimers.Start(
        std::max(WasShown ? FHintShortPause : FHintPause, 1), [this] { HintTimer(); }, this);
}

void TApplication::HintTimer() {
  FTimers.Stop(FHintTimerId);
  FHintTimerId = 0;
  if (GetHintWindow()) {  // shown long enough
    CancelHint();
    return;
  }
  TControl* C = FHintControl;
  if (!C || FHintDone || C->GetHint().empty() || !C->IsShowing()) return;
  if (!FHintWindow) FHintWindow = new THintWindow(nullptr);
  const TPoint O = GetHost().ClientOrigin(FHintAt);
  const TPoint S{O.X + FHintPoint.X, O.Y + FHintPoint.Y};
  FHintWindow->ActivateHint({S.X, S.Y + THintWindow::OffsetBelowPointer}, S.Y, C->GetHint());
  FHintTimerId = FTimers.Start(
      std::max(FHintHidePause, 1), [this] { HintTimer(); }, this);
}

void TApplication::HintChanged(TControl* C) {
  if (C != FHintControl || !GetHintWindow()) return;
  if (C->GetHint().empty()) {
    CancelHint();
    return;
  }
  const TRect R = FHintWindow->GetBoundsRect();
  const TPoint O = GetHost().ClientOrigin(FHintAt);
  FHintWindow->ActivateHint({R.Left, R.Top}, O.Y + FHintPoint.Y, C->GetHint());
}

}  // namespace kvl
