// The headless host: no screen. Time is a virtual clock that tests advance, input is what tests
// post, the clipboard lives in memory, beeps are counted and forms exist as their back buffers.
// The wall clock starts at a fixed date and time and moves with the virtual clock, so what a
// test or a picture shows does not depend on the day it runs.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>

#include "kvl/platform/host.h"

namespace kvl {

class THeadlessHost final : public THost {
public:
  struct TWindowState {
    TWindowRequest Request;
    TCursor Cursor = crDefault;
    int Presents = 0;
    bool Grab = false;  // a popup holding the pointer grab
  };

  std::string_view Name() const override { return "headless"; }

  THostWindow OpenWindow(const TWindowRequest& Request) override;
  void CloseWindow(THostWindow W) override { FWindows.erase(W); }
  void SetCaption(THostWindow W, const std::string& Caption) override;
  void MoveWindow(THostWindow W, const TRect& Bounds) override;
  void Present(THostWindow W, const TBitmap& BackBuffer, const TRect& Dirty) override;
  void SetCursor(THostWindow W, TCursor C) override;
  TPoint ClientOrigin(THostWindow W) override;
  void GrabPointer(THostWindow W) override;
  void ReleasePointer(THostWindow W) override;

  bool NextEvent(THostEvent& E) override;
  // Nothing waits here: with a timeout the virtual clock jumps ahead by it. Timers that keep
  // re-arming (a blinking caret) would keep a loop waiting for input for ever: after
  // IdleLimitMs of such waits without any input it returns false once, as when nothing can come.
  bool WaitForEvent(std::int64_t TimeoutMs) override;
  static constexpr std::int64_t IdleLimitMs = 10 * 60 * 1000;
  std::int64_t Now() const override { return FNow; }
  TDateTime LocalNow() const override;
  bool TimerAvailable() const override { return !FRefuseTimers; }

  bool HasClipboardText() override { return FClipboard.has_value(); }
  std::optional<std::string> ClipboardText() override { return FClipboard; }
  void SetClipboardText(const std::string& Text) override { FClipboard = Text; }

  void Beep() override { ++FBeeps; }
  TSize ScreenSize() const override { return FScreenSize; }

  // For tests and the PNG renderer. A posted Moved event moves the recorded window along, as a
  // window manager would have.
  void Post(THostEvent E);
  void SetNow(std::int64_t Ms) { FNow = Ms; }
  // The wall clock shows Value now (EConvertError for a value outside the years 1-9999).
  void SetWallClock(TDateTime Value);
  void SetRefuseTimers(bool Value) { FRefuseTimers = Value; }
  int GetBeepCount() const { return FBeeps; }
  void ClearClipboard() { FClipboard.reset(); }
  void SetScreenSize(TSize S) { FScreenSize = S; }
  // The state of an open window, or nullptr.
  const TWindowState* Window(THostWindow W) const;
  std::size_t GetWindowCount() const { return FWindows.size(); }

private:
  std::map<THostWindow, TWindowState> FWindows;
  THostWindow FNextWindow = 1;
  std::deque<THostEvent> FQueue;
  std::int64_t FNow = 0;
  TDateTime FWallClock = 45306.4375;  // 2024-01-15 10:30 ...
  std::int64_t FWallClockSetAt = 0;   // ... at this virtual time
  std::int64_t FIdle = 0;  // virtual time the loop has waited since the last input
  bool FRefuseTimers = false;
  std::optional<std::string> FClipboard;
  int FBeeps = 0;
  TSize FScreenSize{1280, 800};
};

// Lets Ms milliseconds of virtual time pass on Host (the application's host): the loop runs at
// every timer's due time, so each timer fires when it would in real time.
void AdvanceHeadlessTime(THeadlessHost& Host, int Ms);

// The screen as a person would see it: every shown window's pixels at its place, forms first
// (in the order they were made), then open popups in the order they opened, on black.
TBitmap ComposeHeadlessScreen(THeadlessHost& Host);

}  // namespace kvl
