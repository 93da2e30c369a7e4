// Standard controls: the push button.
#pragma once

#include "kvl/platform/forms.h"

namespace kvl {

// The 3-D face of a push button over R: raised, or sunken while pressed. Leaves the canvas's
// pen and brush as they were.
void DrawButtonFace(TCanvas& C, const TRect& R, bool Down);

// A push button. A click sets its form's ModalResult (when its own is not mrNone); Enter
// clicks the default button and Escape the cancel button of the form.
class TButton : public TWinControl {
public:
  explicit TButton(TComponent* AOwner);

  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }

  void Click() override;
  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void FocusIn() override { Invalidate(); }
  void FocusOut() override;

protected:
  void Paint() override;
  void HandleMessage(TControlMessage& M) override;

private:
  void SetDown(bool Value);

  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
  bool FDown = false;       // drawn pressed
  bool FMouseHeld = false;  // the left button went down on the button
  bool FSpaceHeld = false;
};

}  // namespace kvl
