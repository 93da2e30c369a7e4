// The host: what the framework needs of the machine it runs on. Forms live in host windows,
// input and time come from it, and it holds the clipboard and the bell. Two hosts exist:
// headless (tests, PNG output) and x11 (real windows); components never know which one runs.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "kvl/platform/graphics.h"
#include "kvl/platform/input.h"

namespace kvl {

class TBitmap;

// Days since 1899-12-30, the time of day as the fraction (platform/dates.h, which host code
// cannot include beside Xlib: its Time() would hide Xlib's Time type).
using TDateTime = double;

// A window as the host hands it out; 0 is no window.
using THostWindow = std::uint32_t;

// A form's window, or a popup: a borderless window above its owner that never takes the
// keyboard focus from it.
enum class TWindowKind : std::uint8_t { Normal, Menu, DropDown, Hint };

struct TWindowRequest {
  std::string Caption;
  TRect Bounds;  // client area in screen coordinates
  bool Resizable = true;
  TWindowKind Kind = TWindowKind::Normal;
  THostWindow Owner = 0;  // the window a popup or a dialog belongs to
  // A modal form's window: a dialog of Owner's window, modal to it.
  bool Dialog = false;
};

enum class THostEventKind : std::uint8_t {
  MouseDown,     // Button, X, Y, Shift
  MouseUp,       // Button, X, Y, Shift
  MouseMove,     // X, Y, Shift
  MouseWheel,    // WheelDelta, X, Y, Shift
  MouseExit,     // the pointer left the window (no button held)
  KeyDown,       // Key, Shift, Text: the characters the key types (may be empty)
  KeyUp,         // Key, Shift
  Resized,       // Width, Height: the new client size
  Exposed,       // X, Y, Width, Height: a part of the window to show again
  CloseRequest,  // the user asked to close the window
  FocusIn,       // the window got the keyboard focus
  FocusOut,      // the window lost it
  Moved,         // X, Y: the client area's new place on the screen (a user or a window manager)
};

struct THostEvent {
  THostEventKind Kind = THostEventKind::MouseMove;
  THostWindow Window = 0;
  int X = 0;  // client coordinates of the window
  int Y = 0;
  int Width = 0;
  int Height = 0;
  TMouseButton Button = mbLeft;
  TShiftState Shift = 0;  // modifiers and buttons held before this event
  int WheelDelta = 0;     // 120 per notch, positive away from the user
  std::uint16_t Key = 0;  // virtual-key code
  std::string Text;       // UTF-8
  std::int64_t Time = 0;  // host clock, milliseconds
};

class THost {
public:
  virtual ~THost() = default;
  THost() = default;
  THost(const THost&) = delete;
  THost& operator=(const THost&) = delete;

  virtual std::string_view Name() const = 0;

  // Windows. Present copies a part of a window's back buffer (its client area, the size of the
  // window) to the screen.
  virtual THostWindow OpenWindow(const TWindowRequest& Request) = 0;
  virtual void CloseWindow(THostWindow W) = 0;
  virtual void SetCaption(THostWindow W, const std::string& Caption) = 0;
  virtual void MoveWindow(THostWindow W, const TRect& Bounds) = 0;
  virtual void Present(THostWindow W, const TBitmap& BackBuffer, const TRect& Dirty) = 0;
  virtual void SetCursor(THostWindow W, TCursor C) = 0;
  // Where the window's client area begins on the screen, as the screen has it now.
  virtual TPoint ClientOrigin(THostWindow W) = 0;
  // A pointer grab for an open popup: presses anywhere on the screen then come to W, those
  // outside the application's windows with coordinates outside W. One grab at a time.
  virtual void GrabPointer(THostWindow W) = 0;
  virtual void ReleasePointer(THostWindow W) = 0;

  // Input. NextEvent takes the next pending event without waiting. WaitForEvent sleeps until an
  // event may be pending or TimeoutMs passed (a negative timeout waits without end); it returns
  // false when no event can ever come (a headless host with nothing queued and no timeout).
  virtual bool NextEvent(THostEvent& E) = 0;
  virtual bool WaitForEvent(std::int64_t TimeoutMs) = 0;

  // Monotonic milliseconds; timers run on this clock.
  virtual std::int64_t Now() const = 0;
  // The wall clock: local date and time. By default the machine's clock and time zone.
  virtual TDateTime LocalNow() const;
  // False when the host refuses another timer.
  virtual bool TimerAvailable() const { return true; }

  // Clipboard text (UTF-8). ClipboardText is empty when the clipboard holds no text.
  virtual bool HasClipboardText() = 0;
  virtual std::optional<std::string> ClipboardText() = 0;
  virtual void SetClipboardText(const std::string& Text) = 0;

  virtual void Beep() = 0;
  virtual TSize ScreenSize() const = 0;
};

// The x11 host on the display named by $DISPLAY, or nullptr when none can be opened (the
// reason goes to Reason).
std::unique_ptr<THost> OpenX11Host(std::string* Reason = nullptr);

}  // namespace kvl
