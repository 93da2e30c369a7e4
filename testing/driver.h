// Drives forms on the headless host as a person would: mouse, keyboard, the passing of time,
// and pictures of what is on the screen. Everything goes through the real message loop.
//
//   TDriver D;                     // a fresh headless host for this test
//   auto* Form = new TForm(Application);
//   ...
//   D.Click(*Button, 5, 5);        // client coordinates of the control
//   D.AdvanceTime(1000);           // timers fire at their virtual times
//   TBitmap Shot = D.Capture(*Form);
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/platform/application.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"
#include "kvl/platform/popups.h"

namespace kvl {

class TDriver {
public:
  // Installs a new headless host at virtual time 0 (forms shown so far are hidden).
  TDriver();
  // A script queued by WhenModal that never ran fails the test.
  ~TDriver();
  TDriver(const TDriver&) = delete;
  TDriver& operator=(const TDriver&) = delete;
  THeadlessHost& Host() { return *FHost; }

  // Script runs once the next modal form has shown, inside its nested loop, so the clicks and
  // keys it sends act on that dialog; scripts queue, one per modal form in the order they
  // open (a dialog opened from a script takes the next one). A modal form left open by its
  // script, or shown with no script queued, ends as cancelled when the loop idles.
  using TModalScript = std::function<void(TCustomForm& Form)>;
  void WhenModal(TModalScript Script);
  // The same for the next popup that runs a loop of its own (a menu's Popup): the script runs
  // once it shows, inside its loop. Modal and popup scripts share one queue; each loop takes
  // the first script of its kind. A menu left open by its script closes without a choice.
  using TPopupScript = std::function<void(TPopupWindow& Popup)>;
  void WhenPopup(TPopupScript Script);
  // The open popups, the topmost last. Click, move, type and capture in them as in forms.
  const std::vector<TPopupWindow*>& Popups() const { return Application->GetPopups(); }
  TPopupWindow* TopPopup() const;

  // Mouse input at client coordinates of C. The control's form is shown first when it is not.
  void MouseDown(TControl& C, int X, int Y, TMouseButton Button = mbLeft);
  void MouseMove(TControl& C, int X, int Y);
  void MouseUp(TControl& C, int X, int Y, TMouseButton Button = mbLeft);
  // Press and release at the same point. Two clicks within the double-click time make a double
  // click, as for a person; AdvanceTime between them when that is not meant.
  void Click(TControl& C, int X, int Y, TMouseButton Button = mbLeft);
  void DblClick(TControl& C, int X, int Y);
  void Wheel(TControl& C, int X, int Y, int Delta);
  // The pointer leaves the window.
  void MouseExit(TCustomForm& Form) { WindowEvent(Form, THostEventKind::MouseExit); }
  // An event of the whole window (FocusOut: another program took the focus; FocusIn: it came
  // back; MouseExit), then the loop runs until nothing is pending.
  void WindowEvent(TCustomForm& Form, THostEventKind Kind);

  // Keys go to the form's focused control. Shift, Ctrl and Alt held down (KeyDown of 16, 17,
  // 18) stay in the shift state until their KeyUp. Text is what the key types.
  void KeyDown(TCustomForm& Form, std::uint16_t Key, std::string_view Text = {});
  void KeyUp(TCustomForm& Form, std::uint16_t Key);
  void Press(TCustomForm& Form, std::uint16_t Key, std::string_view Text = {});
  // Types the text one character at a time on a US keyboard layout (KeyDown, characters, KeyUp).
  void Type(TCustomForm& Form, std::string_view Text);

  // Lets Ms milliseconds of virtual time pass; every timer fires at its own due time.
  void AdvanceTime(int Ms);
  // Runs the loop until nothing is pending (painting included).
  void Settle() { Application->ProcessMessages(); }

  // The pixels of a control (its whole bounds) as they are on the screen, after pending
  // painting.
  TBitmap Capture(TControl& C);
  // Writes the capture as PNG.
  void SavePng(TControl& C, const std::string& Path);
  // The whole screen: every shown window at its place, forms first, then popups in the order
  // they opened.
  TBitmap CaptureScreen() { return ComposeHeadlessScreen(*FHost); }

private:
  TCustomForm& Shown(TControl& C);
  void PostMouse(THostEventKind Kind, TControl& C, int X, int Y, TMouseButton Button, int Delta);
  void PostKey(THostEventKind Kind, TCustomForm& Form, std::uint16_t Key, std::string_view Text);

  THeadlessHost* FHost;
  struct TScript {
    TModalScript Modal;  // one of the two is set
    TPopupScript Popup;
  };
  // Takes the first queued script of the kind, or nothing.
  TScript TakeScript(bool ForPopup);
  std::deque<TScript> FScripts;
  TShiftState FModifiers = 0;
  TShiftState FButtons = 0;
};

}  // namespace kvl
