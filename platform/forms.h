// Forms: the top-level windows. A form owns the back buffer that it and every control on it
// paint into, keeps the active control, moves the focus with the keyboard, and runs modal.
#pragma once

#include <cstdint>
#include <functional>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"
#include "kvl/platform/host.h"

namespace kvl {

enum TBorderStyle : std::uint8_t {
  bsNone,
  bsSingle,
  bsSizeable,
  bsDialog,
  bsToolWindow,
  bsSizeToolWin
};

// Where a form appears when shown: where its bounds say, or centred on the screen, the main
// form or the active form (a dialog's owner), kept on the screen.
enum TPosition : std::uint8_t { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                              mrIgnore = 5, mrYes = 6, mrNo = 7, mrClose = 8, mrAll = 9,
                              mrNoToAll = 10, mrYesToAll = 11;

enum TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// Sent through a form's whole tree when Enter or Escape is not wanted by the focused control;
// a default or cancel button takes it.
struct TDialogKeyMessage : TControlMessage {
  std::uint16_t Key = 0;
};

// Sent to every parent of a control that became the form's active control (a scroll box then
// scrolls it into view).
struct TFocusEnteredMessage : TControlMessage {
  explicit TFocusEnteredMessage(TWinControl* AControl) : Control(AControl) {}
  TWinControl* Control;
};

class TCustomForm : public TWinControl {
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  void SetVisible(bool Value) override;
  // Moves the window too, unless the move came from the window.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Asks OnCloseQuery and OnClose, then hides (or frees) the form; closing the main form ends
  // the application. In a modal form it sets ModalResult to mrCancel.
  void Close();
  // Shows the form and runs the message loop until ModalResult is set (or the form closes);
  // other forms get no input meanwhile. Returns the ModalResult.
  TModalResult ShowModal();
  bool IsModal() const { return FModal; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }

  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value) { FBorderStyle = Value; }
  TPosition GetPosition() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  bool GetKeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }

  // The control with the keyboard focus while the form is active.
  TWinControl* GetActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  // True while the form's window has the keyboard focus.
  bool GetActive() const { return FActive; }
  // Moves the focus from Current to the next (or previous) control that takes it, in tab
  // order across the whole form, wrapping around.
  void SelectNext(TWinControl* Current, bool GoForward, bool CheckTabStop);

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // The pixels of the client area, as painted so far.
  TBitmap& GetBackBuffer() { return FBackBuffer; }
  const TBitmap& GetBackBuffer() const { return FBackBuffer; }
  THostWindow GetWindow() const { return FWindow; }
  // Normal for forms; popups (menus, drop-down lists, hints) are windows of another kind.
  TWindowKind GetWindowKind() const { return FWindowKind; }

  // The paint cycle: invalid areas are painted when the loop is idle; whatever was drawn
  // (painted or drawn directly) is then shown in the window.
  void InvalidateFormRect(const TRect& R);
  bool HasInvalid() const { return !FInvalid.IsEmpty(); }
  void PaintInvalid();
  void NoteDrawn(const TRect& R) { FDrawn = FDrawn.Union(R); }
  void PresentDrawn();

  // Handles a key the focused control does not want: Tab and arrows move the focus, Enter and
  // Escape go to the default and cancel buttons. True when the key was used.
  virtual bool DialogKey(std::uint16_t Key, TShiftState Shift);

  // Calls from the message loop.
  void HostResized(int ClientWidth, int ClientHeight);
  void HostMoved(int ScreenLeft, int ScreenTop);
  void HostExposed(const TRect& R);
  void HostActivated(bool Active);
  void ControlRemoved(TControl* C);
  void ControlHidden(TWinControl* C);

protected:
  void Paint() override;
  void SizeChanged(int OldWidth, int OldHeight) override;
  void TextChanged() override;
  virtual bool CloseQuery();
  // Makes the window a popup of Owner's window: shown, it takes neither the activation nor
  // the focus. Set before the window opens.
  void SetWindowKind(TWindowKind Kind, THostWindow Owner) {
    FWindowKind = Kind;
    FOwnerWindow = Owner;
  }

private:
  void OpenHostWindow();
  void CloseHostWindow();
  // Moves the form where its Position asks, before it shows.
  void PlaceOnShow();
  // Runs OnCloseQuery and OnClose; the close action, caNone when refused.
  TCloseAction QueryClose(TCloseAction Default);

  TBitmap FBackBuffer;
  TRect FInvalid;
  TRect FDrawn;
  THostWindow FWindow = 0;
  TWinControl* FActiveControl = nullptr;
  bool FActive = false;
  bool FModal = false;
  TModalResult FModalResult = mrNone;
  TBorderStyle FBorderStyle = bsSizeable;
  TPosition FPosition = poDesigned;
  bool FKeyPreview = false;
  bool FHostMoving = false;
  TWindowKind FWindowKind = TWindowKind::Normal;
  THostWindow FOwnerWindow = 0;
};

class TForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
};

// The screen: its size, the forms on it and the mouse cursor shown over them.
class TScreen {
public:
  TCursor GetCursor() const { return FCursor; }
  // A cursor other than crDefault shows over every form (an hourglass during a long task).
  void SetCursor(TCursor Value);
  int GetWidth() const;
  int GetHeight() const;
  int GetFormCount() const;
  TCustomForm* GetForms(int Index) const;
  TCustomForm* GetActiveForm() const;

private:
  TCursor FCursor = crDefault;
};

extern TScreen* const Screen;

// Shows a cursor on the screen for the length of a scope (the hourglass of a long operation)
// and puts the one before back, also by an exception.
class TCursorScope {
public:
  explicit TCursorScope(TCursor C) : FOld(Screen->GetCursor()) { Screen->SetCursor(C); }
  ~TCursorScope() { Screen->SetCursor(FOld); }
  TCursorScope(const TCursorScope&) = delete;
  TCursorScope& operator=(const TCursorScope&) = delete;

private:
  TCursor FOld;
};

}  // namespace kvl
