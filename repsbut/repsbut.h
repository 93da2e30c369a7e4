// TRepSpeedButton: a speed button that repeats while it is held, for spin and scroll buttons.
// A left press starts a first delay; after it, OnRepeatClick fires at a steady interval until
// the button is released, the pointer leaves it or the press is otherwise lost (disabled,
// hidden, removed, a modal form takes the mouse). OnClick stays the speed button's own: a
// left release inside after a press.
#pragma once

#include <memory>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/buttons.h"
#include "kvl/platform/timers.h"

namespace kvl {

class EKVLRepSpeedButton : public EKVLError {
public:
  using EKVLError::EKVLError;
};

class TRepSpeedButton : public TSpeedButton {
public:
  explicit TRepSpeedButton(TComponent* AOwner);
  ~TRepSpeedButton() override;

  void Assign(const TPersistent* Source) override;

  int GetRepeatClickInterval() const { return FRepClickIv; }
  // At least 10 ms; while held the timer goes on at once in the repeat phase.
  void SetRepeatClickInterval(int Value);
  int GetStartClickInterval() const { return FStartIv; }
  // At least 10 ms; while held the first delay starts again.
  void SetStartClickInterval(int Value);
  const TNotifyEvent& GetOnRepeatClick() const { return FOnRepeatClick; }
  // Assigning it while held switches to the repeat phase, as a new repeat interval does.
  void SetOnRepeatClick(TNotifyEvent Value);

  // The button is held with the left button and repeating (first delay or repeat phase).
  bool IsRepeating() const { return FRClickTimerEnabled; }
  bool IsTimerActive() const { return FTimer.GetActive(); }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;
  void MouseCaptureLost() override;
  void SetParent(TWinControl* AParent) override;

protected:
  void AssignTo(TPersistent* Dest) const override;
  void EnabledChanged() override;
  void VisibleChanged() override;

  // One timer tick: leaves the first delay, then RepeatClickEvent, then OnRepeatClick.
  virtual void DoTimer();
  // Called on each tick before OnRepeatClick; for descendants.
  virtual void RepeatClickEvent(TObject* Sender);
  // First-delay phase; the timer runs only while held.
  void InitTimer();
  // Repeat phase; the timer runs only while held.
  void UpdateTimer();

private:
  void StopRepeating();

  bool FRClickTimerEnabled = false;
  TNotifyEvent FOnRepeatClick;
  int FRepClickIv = 200;
  int FStartIv = 500;
  bool FIsStart = true;
  bool FInTick = false;  // OnRepeatClick runs now; a nested loop's tick does nothing
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  TPrivateTimer FTimer{*this, [this] { DoTimer(); }};
};

}  // namespace kvl
