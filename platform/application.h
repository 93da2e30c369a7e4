// The application: the one message loop. It takes input from the host and delivers it (mouse
// to the control under the pointer or holding the capture, keys to the focused control),
// fires due timers, paints invalid areas and shows what was drawn.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/classes.h"
#include "kvl/platform/host.h"
#include "kvl/platform/timers.h"

namespace kvl {

class TControl;
class TWinControl;
class TCustomForm;
class TPopupWindow;
class THintWindow;

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
public:
  TApplication();
  ~TApplication() override;

  // The host, chosen on first use: $KVL_HOST ("headless" or "x11") when set, else x11 when a
  // display can be opened, else headless.
  THost& GetHost();
  // Replaces the host (tests, the gallery's PNG mode). Forms showing in the old host's windows
  // are hidden first.
  void SetHost(std::unique_ptr<THost> Host);

  // Runs the loop until Terminate is called or no form is visible any more.
  void Run();
  // Handles everything pending (input, timers, painting) without waiting.
  void ProcessMessages();
  // Waits for something to happen and handles it. False when nothing can ever happen again.
  bool HandleMessage();
  void Terminate() { FTerminated = true; }
  bool GetTerminated() const { return FTerminated; }
  void SetTerminated(bool Value) { FTerminated = Value; }

  TCustomForm* GetMainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* Form) { FMainForm = Form; }
  const std::string& GetTitle() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }

  // Call inside a catch block: passes the exception being handled to OnException, or prints
  // its message to standard error. Never throws.
  void HandleException(TObject* Sender);
  TExceptionEvent OnException;

  TTimerService& GetTimers() { return FTimers; }

  // Called inside ShowModal once the modal form shows, before its loop waits for input: what
  // it does (the test driver's dialog scripts) acts on the open dialog.
  std::function<void(TCustomForm& Form)> OnModalShown;
  // Called inside a popup's nested loop (a menu's Popup) once it shows, the same way.
  std::function<void(TPopupWindow& Popup)> OnPopupShown;

  // Open popups (menus, drop-down lists, hints) in the order they opened: the topmost last.
  const std::vector<TPopupWindow*>& GetPopups() const { return FPopups; }
  void PopupOpened(TPopupWindow* P);
  void PopupClosed(TPopupWindow* P);
  // Closes every open menu and drop-down list.
  void ClosePopups();

  // Hints: shown after HintPause ms of resting over a control with a hint, after
  // HintShortPause when moving on from a shown one, hidden after HintHidePause.
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  int GetHintPause() const { return FHintPause; }
  void SetHintPause(int Value) { FHintPause = Value; }
  int GetHintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int Value) { FHintShortPause = Value; }
  int GetHintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { FHintHidePause = Value; }
  TColor GetHintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  // Hides the hint shown now; it shows again after the pointer moved to another control.
  void CancelHint();
  // The window of the hint shown now, or nullptr.
  THintWindow* GetHintWindow() const;
  // C's Hint changed: a hint of it showing follows.
  void HintChanged(TControl* C);

  // Delivers one host event (the loop does this; so does the test driver).
  void Dispatch(const THostEvent& E);
  // The control that holds the mouse capture (a button is held), or nullptr.
  TControl* GetCapture() const { return FCapture; }
  // Ends the capture: a modal form or a popup opens, or the control holding it (or a parent)
  // is hidden, disabled or removed (Within). The control is told by MouseCaptureLost.
  void CancelCapture();
  void CancelCaptureWithin(TControl* C);
  // The control under the pointer, or nullptr.
  TControl* GetHoverControl() const { return FHover; }
  // Shows the cursor C asks for (or the screen's) over its form.
  void ShowCursorOf(TControl* C);

  // Bookkeeping calls of forms and controls.
  void FormCreated(TCustomForm* F);
  void FormDestroyed(TCustomForm* F);
  void FormShown(TCustomForm* F);
  void FormHidden(TCustomForm* F);
  void ReleaseForm(TCustomForm* F);
  void ActivateForm(TCustomForm* F);
  void ControlDestroyed(TControl* C);
  void ControlRemoved(TControl* C);
  void BeginModal(TCustomForm* F);
  void EndModal(TCustomForm* F);
  const std::vector<TCustomForm*>& GetForms() const { return FForms; }
  TCustomForm* GetActiveForm() const { return FActiveForm; }

private:
  TCustomForm* FormOfWindow(THostWindow W) const;
  bool AcceptsInput(const TCustomForm* F) const;
  void DispatchMouse(TCustomForm& F, const THostEvent& E);
  void DispatchNonClientMouse(TCustomForm& F, TWinControl& Target, const THostEvent& E);
  void DispatchKey(TCustomForm& F, const THostEvent& E);
  void SetHover(TControl* C);
  void PaintForms();
  void FreeReleasedForms();
  // Popups (popups.cpp): input while a menu or list is open; owners gone, hidden or disabled.
  bool DispatchToPopups(const THostEvent& E);
  void ClosePopupsOfLostOwners();
  // Hints (hints.cpp).
  void HintPointer(TControl* Hover, THostWindow Window, TPoint P);
  void HintTimer();
  void HideHintWindow();

  std::unique_ptr<THost> FHost;
  TTimerService FTimers;
  std::vector<TCustomForm*> FForms;
  std::vector<TCustomForm*> FModalForms;
  std::vector<TCustomForm*> FReleased;
  TCustomForm* FMainForm = nullptr;
  TCustomForm* FActiveForm = nullptr;
  std::string FTitle;
  bool FTerminated = false;

  // Mouse state.
  TControl* FCapture = nullptr;
  // FCapture when its press landed in the non-client area (stale otherwise: compare).
  TControl* FNonClientCapture = nullptr;
  TControl* FHover = nullptr;
  TShiftState FButtonsDown = 0;
  struct TLastPress {
    TControl* Control = nullptr;
    TMouseButton Button = mbLeft;
    std::int64_t Time = 0;
    TPoint Pos;
  } FLastPress;

  std::vector<TPopupWindow*> FPopups;

  bool FShowHint = true;
  int FHintPause = 500;
  int FHintShortPause = 50;
  int FHintHidePause = 2500;
  TColor FHintColor = clInfoBk;
  TControl* FHintControl = nullptr;  // the control the pointer rests on, with a hint
  THintWindow* FHintWindow = nullptr;
  TTimerService::TId FHintTimerId = 0;
  bool FHintDone = false;  // hidden by input or time: none again until the control changes
  THostWindow FHintAt = 0;  // where the pointer was last seen
  TPoint FHintPoint;
};

extern TApplication* const Application;

// How close in time (ms) and space (pixels) two presses make a double click.
inline constexpr int DoubleClickTime = 500;
inline constexpr int DoubleClickDistance = 4;

}  // namespace kvl
