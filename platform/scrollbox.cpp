#include "kvl/platform/scrollbox.h"

#include <algorithm>

#include "kvl/platform/relief.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

namespace {
constexpr int WheelIncrements = 3;
}  // namespace

// --- TControlScrollBar ----------------------------------------------------------------------

TControlScrollBar::TControlScrollBar(TScrollBox& Box, TScrollBarKind Kind)
    : FBox(Box), FKind(Kind), FPart(Box, Kind) {
  FPart.OnScroll = [this](TScrollCode Code, std::int64_t Pos) { OnScroll(Code, Pos); };
}

int TControlScrollBar::GetRange() const {
  if (FBox.GetAutoScroll()) FBox.UpdateScrollBars();
  return FRange;
}

void TControlScrollBar::SetRange(int Value) {
  FRange = std::max(Value, 0);
  FBox.UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int Value) { FBox.ScrollTo(*this, Value); }

void TControlScrollBar::SetIncrement(int Value) { FIncrement = std::max(Value, 1); }

void TControlScrollBar::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  FBox.UpdateScrollBars();
}

void TControlScrollBar::OnScroll(TScrollCode Code, std::int64_t Pos) {
  const TRect Client = FBox.GetClientRect();
  const int Page = FKind == sbHorizontal ? Client.Width() : Client.Height();
  if (const auto To = ScrollTarget(Code, Pos, FPosition, FIncrement, Page, FRange, FTracking))
    SetPosition(*To);
}

// --- TScrollBox -----------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* AOwner)
    : TWinControl(AOwner), FHorz(*this, sbHorizontal), FVert(*this, sbVertical) {
  SetBorderInset(2);
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetAutoScroll(bool Value) {
  if (Value == FAutoScroll) return;
  FAutoScroll = Value;
  UpdateScrollBars();
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  SetBorderInset(Value == bsSingle ? 2 : 0);
  UpdateScrollBars();
}

void TScrollBox::UpdateScrollBars() {
  if (FUpdating) return;
  const TScopedValue<bool> Guard(FUpdating, true);
  if (FAutoScroll) {
    // The children's extent in content coordinates (their place with nothing scrolled).
    int Right = 0, Bottom = 0;
    for (int I = 0; I < GetControlCount(); ++I) {
      const TControl* C = GetControls(I);
      if (!C->GetVisible()) continue;
      Right = std::max(Right, C->GetLeft() + C->GetWidth() + FHorz.FPosition);
      Bottom = std::max(Bottom, C->GetTop() + C->GetHeight() + FVert.FPosition);
    }
    FHorz.FRange = Right;
    FVert.FRange = Bottom;
  }
  // A bar narrows the room for the other one: decide twice.
  const int B = GetBorderInset(), T = TScrollBarPart::Thickness;
  const int W = std::max(GetWidth() - 2 * B, 0), H = std::max(GetHeight() - 2 * B, 0);
  bool ShowH = false, ShowV = false;
  for (int Pass = 0; Pass < 2; ++Pass) {
    ShowH = FHorz.FVisible && FHorz.FRange > W - (ShowV ? T : 0);
    ShowV = FVert.FVisible && FVert.FRange > H - (ShowH ? T : 0);
  }
  FHorz.FShown = ShowH;
  FVert.FShown = ShowV;
  SetScrollBarInsets(ShowV ? T : 0, ShowH ? T : 0);
  const TRect Client = GetClientRect();
  FHorz.FPart.SetBounds(ShowH ? Rect(B, GetHeight() - B - T, GetWidth() - B - (ShowV ? T : 0),
                                     GetHeight() - B)
                              : TRect{});
  FVert.FPart.SetBounds(ShowV ? Rect(GetWidth() - B - T, B, GetWidth() - B,
                                     GetHeight() - B - (ShowH ? T : 0))
                              : TRect{});
  for (TControlScrollBar* Bar : {&FHorz, &FVert}) {
    const int Page = std::max(Bar->FKind == sbHorizontal ? Client.Width() : Client.Height(), 1);
    Bar->FPart.SetParams(0, std::max(Bar->FRange - Page, 0), Page);
    // A position the content no longer needs scrolls back.
    const int Max = Bar->FShown ? std::max(Bar->FRange - Page, 0) : 0;
    if (Bar->FPosition > Max) ScrollTo(*Bar, Max);
    Bar->FPart.SetPosition(Bar->FPosition);
  }
}

void TScrollBox::ScrollTo(TControlScrollBar& Bar, int Value) {
  const TRect Client = GetClientRect();
  const int Page = Bar.FKind == sbHorizontal ? Client.Width() : Client.Height();
  Value = std::clamp(Value, 0, std::max(Bar.FRange - Page, 0));
  const int D = Value - Bar.FPosition;
  if (D == 0) return;
  Bar.FPosition = Value;
  for (int I = 0; I < GetControlCount(); ++I) {
    TControl* C = GetControls(I);
    if (Bar.FKind == sbHorizontal)
      C->SetLeft(C->GetLeft() - D);
    else
      C->SetTop(C->GetTop() - D);
  }
  Bar.FPart.SetPosition(Value);
  Invalidate();
}

void TScrollBox::ScrollInView(TControl* AControl) {
  if (!AControl || AControl == this || !ContainsControl(AControl)) return;
  UpdateScrollBars();
  // The control's rectangle in this box's client coordinates.
  const TPoint Origin = FormToClient(AControl->ClientToForm({0, 0}));
  const TRect Client = GetClientRect();
  const auto Fit = [](int Start, int Size, int Room) {
    // How far to scroll so that [Start, Start + Size) fits [0, Room), its start first.
    if (Start < 0) return Start;
    if (Start + Size > Room) return std::min(Start + Size - Room, Start);
    return 0;
  };
  const int DX = Fit(Origin.X, AControl->GetWidth(), Client.Width());
  const int DY = Fit(Origin.Y, AControl->GetHeight(), Client.Height());
  if (DX) ScrollTo(FHorz, FHorz.FPosition + DX);
  if (DY) ScrollTo(FVert, FVert.FPosition + DY);
}

void TScrollBox::HandleMessage(TControlMessage& M) {
  if (auto* F = dynamic_cast<TFocusEnteredMessage*>(&M)) ScrollInView(F->Control);
  TWinControl::HandleMessage(M);
}

void TScrollBox::SizeChanged(int OldWidth, int OldHeight) {
  TWinControl::SizeChanged(OldWidth, OldHeight);
  UpdateScrollBars();
}

void TScrollBox::Paint() { UpdateScrollBars(); }

void TScrollBox::PaintBorder(TCanvas& C) {
  if (FBorderStyle == bsSingle) DrawSunkenFrame(C, Rect(0, 0, GetWidth(), GetHeight()));
  if (FHorz.FShown) FHorz.FPart.Paint(C);
  if (FVert.FShown) FVert.FPart.Paint(C);
  if (FHorz.FShown && FVert.FShown) {
    C.GetBrush().SetColor(clBtnFace);
    C.FillRect(Rect(FVert.FPart.GetBounds().Left, FHorz.FPart.GetBounds().Top,
                    FVert.FPart.GetBounds().Right, FHorz.FPart.GetBounds().Bottom));
  }
}

void TScrollBox::Wheel(TShiftState Shift, int Notches) {
  TControlScrollBar& Bar = (Shift & ssShift) ? FHorz : FVert;
  Bar.SetPosition(Bar.FPosition + Notches * WheelIncrements * Bar.FIncrement);
}

bool TScrollBox::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TWinControl::DoMouseWheelDown(Shift, MousePos)) Wheel(Shift, 1);
  return true;
}

bool TScrollBox::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TWinControl::DoMouseWheelUp(Shift, MousePos)) Wheel(Shift, -1);
  return true;
}

void TScrollBox::NonClientMouseDown(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft) return;
  if (!(FVert.FShown && FVert.FPart.MouseDown(X, Y)) && FHorz.FShown) FHorz.FPart.MouseDown(X, Y);
}
void TScrollBox::NonClientMouseMove(TShiftState, int X, int Y) {
  FVert.FPart.MouseMove(X, Y);
  FHorz.FPart.MouseMove(X, Y);
}
void TScrollBox::NonClientMouseUp(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft) return;
  FVert.FPart.MouseUp(X, Y);
  FHorz.FPart.MouseUp(X, Y);
}

}  // namespace kvl
