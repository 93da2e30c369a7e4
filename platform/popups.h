// Popup windows: menus, drop-down lists and hints. A popup is a borderless top-level window
// with its own back buffer and the form's paint cycle, shown at a screen rectangle for an
// owner control, and never activated: the owner's form keeps the focus and its caret.
//
// While a menu or a drop-down list is open, the keys of every window of the application go to
// the topmost one, which hands those it does not use back to its owner control; a press that
// lands on no open popup closes them all and goes nowhere else. A hint takes no input.
#pragma once

#include <cstdint>
#include <memory>

#include "kvl/platform/forms.h"

namespace kvl {

enum TPopupKind : std::uint8_t { pkMenu, pkDropDown, pkHint };

class TPopupWindow : public TCustomForm {
public:
  TPopupWindow(TComponent* AOwner, TPopupKind Kind);
  ~TPopupWindow() override;

  TPopupKind GetKind() const { return FKind; }
  // Hiding an open popup closes it.
  void SetVisible(bool Value) override;
  // Shows the window with its client area at ScreenRect for Owner (may be nullptr). Opening
  // a menu or a list ends the mouse capture. A popup that is open moves there.
  void Popup(TControl* Owner, const TRect& ScreenRect);
  // Hides the window, and first every popup opened after it. Freeing, hiding or disabling the
  // owner closes it too.
  void ClosePopup();
  bool IsOpen() const { return FOpen; }
  TControl* GetOwnerControl() const { return FOwnerControl; }

  // Runs the message loop until the popup closes (a menu's Popup). Paints and timers of every
  // form go on. A headless loop that has nothing more to do closes the popup.
  void RunLoop();

  // Keys while this is the topmost menu or list. True when used; the others (and every
  // KeyUp not used) go to the owner control. The base closes on Escape.
  virtual bool PopupKeyDown(std::uint16_t& Key, TShiftState Shift);
  virtual bool PopupKeyUp(std::uint16_t& Key, TShiftState Shift);
  virtual bool PopupKeyPress(char32_t& Key);

  // After the window closed, by any cause.
  TNotifyEvent OnClosePopup;

  // The routing of one key event to the topmost popup (the message loop calls it).
  void DeliverKey(const THostEvent& E);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  // Right after the window closed.
  virtual void PopupClosed() {}

private:
  TPopupKind FKind;
  bool FOpen = false;
  bool FHadOwner = false;
  TControl* FOwnerControl = nullptr;
  std::shared_ptr<bool> FAlive;
};

// A rectangle of Size with its top-left at P, moved left and up to stay on a screen of
// ScreenSize (and never off its left or top edge).
TRect PlaceAtPoint(TPoint P, TSize Size, TSize ScreenSize);
// A rectangle of Size below Owner (screen coordinates), or above it when the screen has no
// room below, kept on the screen sideways.
TRect PlaceBelow(const TRect& Owner, TSize Size, TSize ScreenSize);
// The screen rectangle of C's whole bounds.
TRect ScreenBoundsOf(const TControl& C);

}  // namespace kvl
