#include "kvl/platform/comctrls.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

#include "kvl/core/kvlbase.h"
#include "kvl/core/pen_brush_keeper.h"
#include "kvl/platform/errors.h"
#include "kvl/platform/relief.h"

namespace kvl {

namespace {

constexpr int FirstRepeatMs = 400;
constexpr int RepeatMs = 100;

enum class TArrowDir { Up, Down, Left, Right };

// A filled arrow head centred in R, its size following the smaller side of R.
void DrawArrow(TCanvas& C, const TRect& R, TArrowDir Dir, TColor Color) {
  const int Size = std::clamp((std::min(R.Width(), R.Height()) - 2) / 3, 1, 4);
  const int CX = R.Left + (R.Width() - 1) / 2, CY = R.Top + (R.Height() - 1) / 2;
  C.GetBrush().SetColor(Color);
  // Row I (from the tip) is 2I + 1 pixels across.
  for (int I = 0; I < Size; ++I) {
    const int Off = I - Size / 2;
    switch (Dir) {
      case TArrowDir::Up:
        C.FillRect(Rect(CX - I, CY + Off, CX + I + 1, CY + Off + 1));
        break;
      case TArrowDir::Down:
        C.FillRect(Rect(CX - I, CY - Off, CX + I + 1, CY - Off + 1));
        break;
      case TArrowDir::Left:
        C.FillRect(Rect(CX + Off, CY - I, CX + Off + 1, CY + I + 1));
        break;
      case TArrowDir::Right:
        C.FillRect(Rect(CX - Off, CY - I, CX - Off + 1, CY + I + 1));
        break;
    }
  }
}

}  // namespace

TCustomUpDown::TCustomUpDown(TComponent* AOwner)
    : TCustomControl(AOwner), FRepeat(*this, [this] { RepeatTick(); }) {
  SetBounds(0, 0, 17, 23);
  // A quick second press is a step of its own.
  FDoubleClicks = false;
}

TCustomUpDown::~TCustomUpDown() { ReleaseAssociate(); }

void TCustomUpDown::ReleaseAssociate() {
  if (!FAssociate) return;
  RemoveFreeNotification(FAssociate);
  if (FAssociate->GetCompanion() == this) FAssociate->SetCompanion(nullptr);
}

void TCustomUpDown::SetMin(int Value) {
  FMin = Value;
  SetPosition(FPosition);
}

void TCustomUpDown::SetMax(int Value) {
  FMax = Value;
  SetPosition(FPosition);
}

void TCustomUpDown::SetPosition(int Value) {
  FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
  WriteAssociate();
}

void TCustomUpDown::SetOrientation(TUDOrientation Value) {
  if (StoreIfChanged(FOrientation, Value)) Invalidate();
}

void TCustomUpDown::SetAlignButton(TUDAlignButton Value) {
  if (Value == FAlignButton) return;
  FAlignButton = Value;
  AttachToAssociate();
}

void TCustomUpDown::SetAssociate(TWinControl* Value) {
  if (Value == this || dynamic_cast<TCustomUpDown*>(Value) || (Value && !Value->GetParent()))
    Value = nullptr;
  if (Value == FAssociate) return;
  ReleaseAssociate();
  FAssociate = Value;
  if (!FAssociate) return;
  FreeNotification(FAssociate);
  FAssociate->SetCompanion(this);
  SetParent(FAssociate->GetParent());
  // The associate gives up the up-down's width on the chosen side.
  const int W = FWidth;
  const TRect A = FAssociate->GetBoundsRect();
  if (FAlignButton == udLeft)
    FAssociate->SetBounds(A.Left + W, A.Top, std::max(A.Width() - W, 0), A.Height());
  else
    FAssociate->SetBounds(A.Left, A.Top, std::max(A.Width() - W, 0), A.Height());
  AttachToAssociate();
  WriteAssociate();
}

void TCustomUpDown::AttachToAssociate() {
  if (!FAssociate) return;
  const TRect A = FAssociate->GetBoundsRect();
  SetBounds(FAlignButton == udLeft ? A.Left - FWidth : A.Right, A.Top, FWidth, A.Height());
}

void TCustomUpDown::WriteAssociate() {
  if (FAssociate) FAssociate->SetText(std::to_string(FPosition));
}

void TCustomUpDown::ReadAssociate() {
  if (!FAssociate) return;
  const std::string& S = FAssociate->GetText();
  int Value = 0;
  const auto [End, Err] = std::from_chars(S.data(), S.data() + S.size(), Value);
  const bool InRange = Value >= std::min(FMin, FMax) && Value <= std::max(FMin, FMax);
  if (!S.empty() && Err == std::errc() && End == S.data() + S.size() && InRange) {
    FPosition = Value;
    if (S == std::to_string(Value)) return;  // "+5" or "007" are written back as shown
  }
  WriteAssociate();
}

bool TCustomUpDown::CanChange() {
  bool Allow = true;
  if (OnChanging) OnChanging(this, Allow);
  return Allow;
}

void TCustomUpDown::Click(TUDBtnType Button) {
  ReadAssociate();
  const std::int64_t Lo = std::min(FMin, FMax), Hi = std::max(FMin, FMax);
  const std::int64_t Inc = FIncrement == 0 ? 1 : FIncrement;
  // btNext moves toward Max, whichever side of Min that lies.
  const int Dir = (Button == btNext) == (FMax >= FMin) ? 1 : -1;
  std::int64_t Next = FPosition + Dir * Inc;
  if (Next > Hi) Next = FWrap && FPosition == Hi ? Lo : Hi;
  if (Next < Lo) Next = FWrap && FPosition == Lo ? Hi : Lo;
  if (Next != FPosition) {
    if (!CanChange()) return;
    SetPosition(static_cast<int>(Next));
  }
  if (OnClick) OnClick(this, Button);
}

TRect TCustomUpDown::ButtonRect(TUDBtnType Button) const {
  if (FOrientation == udVertical) {
    const int Mid = FHeight / 2;
    return Button == btNext ? Rect(0, 0, FWidth, Mid) : Rect(0, Mid, FWidth, FHeight);
  }
  const int Mid = FWidth / 2;
  return Button == btPrev ? Rect(0, 0, Mid, FHeight) : Rect(Mid, 0, FWidth, FHeight);
}

TUDBtnType TCustomUpDown::ButtonAt(int X, int Y) const {
  return ButtonRect(btNext).Contains({X, Y}) ? btNext : btPrev;
}

void TCustomUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || FHeld) return;
  FHeld = true;
  FPointerOn = true;
  FHeldButton = ButtonAt(X, Y);
  Invalidate();
  Click(FHeldButton);
  // The handler may have ended the press (a modal form took the capture).
  if (FHeld) FRepeat.Restart<EOutOfResources>(FirstRepeatMs);
}

void TCustomUpDown::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (!FHeld) return;
  const bool On = ButtonRect(FHeldButton).Contains({X, Y});
  if (On == FPointerOn) return;
  FPointerOn = On;
  Invalidate();
}

void TCustomUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) EndHold();
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomUpDown::MouseCaptureLost() {
  TCustomControl::MouseCaptureLost();
  EndHold();
}

void TCustomUpDown::EndHold() {
  FRepeat.Kill();
  if (!FHeld) return;
  FHeld = false;
  FPointerOn = false;
  Invalidate();
}

void TCustomUpDown::RepeatTick() {
  if (!FHeld) {
    FRepeat.Kill();
    return;
  }
  if (FRepeat.GetInterval() != RepeatMs) FRepeat.Restart<EOutOfResources>(RepeatMs);
  if (FPointerOn) Click(FHeldButton);
}

void TCustomUpDown::HandleMessage(TControlMessage& M) {
  if (!FAssociate) return;
  if (auto* K = dynamic_cast<TCompanionKeyMessage*>(&M)) {
    if (K->Source != FAssociate || !FArrowKeys || !IsEnabledInTree()) return;
    if (K->Key != vk::Up && K->Key != vk::Down) return;
    const TUDBtnType B = K->Key == vk::Up ? btNext : btPrev;
    K->Key = 0;
    K->Handled = true;
    Click(B);
  } else if (auto* E = dynamic_cast<TCompanionExitMessage*>(&M); E && E->Source == FAssociate) {
    ReadAssociate();
  }
}

void TCustomUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAssociate) FAssociate = nullptr;
}

void TCustomUpDown::Paint() {
  TCanvas& C = *GetCanvas();
  const TPenBrushKeeper Keep(C);
  const bool Vertical = FOrientation == udVertical;
  const TColor Ink = IsEnabledInTree() ? clBtnText : clBtnShadow;
  for (const TUDBtnType B : {btNext, btPrev}) {
    const TRect R = ButtonRect(B);
    const bool Down = FHeld && FPointerOn && B == FHeldButton;
    DrawButtonFace(C, R, Down);
    const TArrowDir Dir = Vertical ? (B == btNext ? TArrowDir::Up : TArrowDir::Down)
                                   : (B == btNext ? TArrowDir::Right : TArrowDir::Left);
    DrawArrow(C, Down ? R.Offset(1, 1) : R, Dir, Ink);
  }
}

}  // namespace kvl
