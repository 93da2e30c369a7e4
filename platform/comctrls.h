// Common controls: the up-down.
#pragma once

#include <cstdint>
#include <functional>

#include "kvl/platform/controls.h"
#include "kvl/platform/timers.h"

namespace kvl {

enum TUDOrientation : std::uint8_t { udHorizontal, udVertical };
enum TUDAlignButton : std::uint8_t { udLeft, udRight };
enum TUDBtnType : std::uint8_t { btNext, btPrev };

using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;

// Two arrow buttons that step Position between Min and Max: up (vertical) or right
// (horizontal) is btNext, which moves toward Max, also when Min > Max. Holding an arrow
// repeats the step after 400 ms, then every 100 ms, while the pointer stays on it. The
// up-down never takes the focus.
//
// With an Associate (a windowed control, normally an edit) the up-down joins its parent and sits
// on its AlignButton side, as high as it, the associate giving up the up-down's width; Position
// is written into the associate's text, and that text is read back (an integer in range, else
// replaced by Position) before every step and when the associate loses the focus. With
// ArrowKeys, Up and Down pressed in the associate step after the associate's OnKeyDown.
//
// A user's step asks OnChanging when Position would change (a refusal ends the step) and then
// fires OnClick; program writes of Position fire neither.
class TCustomUpDown : public TCustomControl {
public:
  explicit TCustomUpDown(TComponent* AOwner);
  ~TCustomUpDown() override;

  int GetMin() const { return FMin; }
  void SetMin(int Value);
  int GetMax() const { return FMax; }
  void SetMax(int Value);
  // Kept between Min and Max.
  int GetPosition() const { return FPosition; }
  void SetPosition(int Value);
  // 0 counts as 1.
  int GetIncrement() const { return FIncrement; }
  void SetIncrement(int Value) { FIncrement = Value; }
  // Stepping beyond one end continues from the other.
  bool GetWrap() const { return FWrap; }
  void SetWrap(bool Value) { FWrap = Value; }
  bool GetArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(bool Value) { FArrowKeys = Value; }
  TUDOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  TUDAlignButton GetAlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton Value);
  // Not owned; freeing it clears this. Another up-down, or a control without a parent, is
  // refused (nullptr). Letting go leaves the associate's size as it is.
  TWinControl* GetAssociate() const { return FAssociate; }
  void SetAssociate(TWinControl* Value);

  TUDChangingEvent OnChanging;
  TUDClickEvent OnClick;

  bool CanFocus() const override { return false; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseCaptureLost() override;

protected:
  // A user's step: reads the associate, asks CanChange, moves, fires OnClick.
  using TCustomControl::Click;
  virtual void Click(TUDBtnType Button);
  virtual bool CanChange();
  void Paint() override;
  void HandleMessage(TControlMessage& M) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void RepeatTick();
  void EndHold();
  // The arrow under (X, Y).
  TUDBtnType ButtonAt(int X, int Y) const;
  TRect ButtonRect(TUDBtnType Button) const;
  void ReadAssociate();
  void WriteAssociate();
  void AttachToAssociate();
  // Lets go of the associate: no more free notification, no more of its keys.
  void ReleaseAssociate();

  int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
  bool FWrap = false;
  bool FArrowKeys = true;
  TUDOrientation FOrientation = udVertical;
  TUDAlignButton FAlignButton = udRight;
  TWinControl* FAssociate = nullptr;
  TPrivateTimer FRepeat;
  bool FHeld = false;  // the left button went down on an arrow
  TUDBtnType FHeldButton = btNext;
  bool FPointerOn = false;  // the pointer is on the held arrow (drawn pressed)
};

class TUpDown : public TCustomUpDown {
public:
  using TCustomUpDown::TCustomUpDown;
};

}  // namespace kvl
