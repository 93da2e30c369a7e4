#include "kvl/repsbut/repsbut.h"

#include <algorithm>
#include <memory>


namespace kvl {

namespace {
constexpr int MinInterval = 10;
}

TRepSpeedButton::TRepSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TRepSpeedButton::~TRepSpeedButton() {
  *FAlive = false;
  FTimer.Kill();
}

void TRepSpeedButton::AssignTo(TPersistent* Dest) const {
  if (dynamic_cast<TRepSpeedButton*>(Dest)) {
    Dest->Assign(this);
    return;
  }
  TSpeedButton::AssignTo(Dest);
}

void TRepSpeedButton::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TRepSpeedButton*>(Source);
  if (!S) {
    TSpeedButton::Assign(Source);
    return;
  }
  SetRepeatClickInterval(S->FRepClickIv);
  SetStartClickInterval(S->FStartIv);
}

void TRepSpeedButton::SetRepeatClickInterval(int Value) {
  if (!StoreIfChanged(FRepClickIv, std::max(Value, MinInterval))) return;
  if (!IsDesigning()) UpdateTimer();
}

void TRepSpeedButton::SetStartClickInterval(int Value) {
  if (!StoreIfChanged(FStartIv, std::max(Value, MinInterval))) return;
  if (!IsDesigning()) InitTimer();
}

void TRepSpeedButton::SetOnRepeatClick(TNotifyEvent Value) {
  FOnRepeatClick = std::move(Value);
  if (!IsDesigning()) UpdateTimer();
}

void TRepSpeedButton::InitTimer() {
  FIsStart = true;
  FTimer.Restart<EKVLRepSpeedButton>(FStartIv, FRClickTimerEnabled);
}

void TRepSpeedButton::UpdateTimer() {
  FIsStart = false;
  FTimer.Restart<EKVLRepSpeedButton>(FRepClickIv, FRClickTimerEnabled);
}

void TRepSpeedButton::StopRepeating() {
  FRClickTimerEnabled = false;
  FIsStart = false;
  FTimer.Kill();
}

void TRepSpeedButton::DoTimer() {
  // A handler still running (a dialog's nested loop) must not be entered again; a button that
  // lost its press since the tick was queued repeats no more.
  if (FInTick || !FRClickTimerEnabled) return;
  if (FIsStart) UpdateTimer();
  // The handler may delete the button: only the token says whether it is still there.
  const std::shared_ptr<bool> Alive = FAlive;
  FInTick = true;
  try {
    RepeatClickEvent(this);
    if (*Alive && FOnRepeatClick && FRClickTimerEnabled) {
      const TNotifyEvent Handler = FOnRepeatClick;  // the handler may replace itself
      Handler(this);
    }
  } catch (...) {
    if (*Alive) FInTick = false;
    throw;
  }
  if (*Alive) FInTick = false;
}

void TRepSpeedButton::RepeatClickEvent(TObject*) {}

void TRepSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !IsEnabledInTree() || !IsHeld()) return;
  FRClickTimerEnabled = true;
  try {
    InitTimer();
  } catch (...) {
    // The press itself stands (the release still clicks); only the repetition is missing.
    FRClickTimerEnabled = false;
    throw;
  }
}

void TRepSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) StopRepeating();
}

// Leaving stops the repetition only: it neither clicks nor reports a release, and coming back
// does not start it again (a new press does).
void TRepSpeedButton::MouseLeave() {
  TSpeedButton::MouseLeave();
  StopRepeating();
}

void TRepSpeedButton::MouseCaptureLost() {
  TSpeedButton::MouseCaptureLost();
  StopRepeating();
}

void TRepSpeedButton::SetParent(TWinControl* AParent) {
  if (AParent != GetParent()) StopRepeating();
  TSpeedButton::SetParent(AParent);
}

void TRepSpeedButton::EnabledChanged() {
  if (!IsEnabledInTree()) StopRepeating();
  TSpeedButton::EnabledChanged();
}

void TRepSpeedButton::VisibleChanged() {
  if (!GetVisible()) StopRepeating();
  TSpeedButton::VisibleChanged();
}

}  // namespace kvl
