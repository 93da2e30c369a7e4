#include "kvl/platform/popups.h"

#include <algorithm>

#include "kvl/core/stringl.h"
#include "kvl/platform/application.h"

namespace kvl {

namespace {

TWindowKind WindowKindOf(TPopupKind K) {
  return K == pkMenu       ? TWindowKind::Menu
         : K == pkDropDown ? TWindowKind::DropDown
                           : TWindowKind::Hint;
}

bool IsChainMember(const TPopupWindow* P) { return P->GetKind() != pkHint; }

// Whether P is still an open popup: a handler may have closed or freed it.
bool StillOpen(const TPopupWindow* P) {
  const auto& L = Application->GetPopups();
  return std::find(L.begin(), L.end(), P) != L.end();
}

}  // namespace

TPopupWindow::TPopupWindow(TComponent* AOwner, TPopupKind Kind)
    : TCustomForm(AOwner), FKind(Kind), FAlive(std::make_shared<bool>(true)) {
  SetBorderStyle(bsNone);
  SetColor(Kind == pkHint ? clInfoBk : clMenu);
}

TPopupWindow::~TPopupWindow() {
  *FAlive = false;
  ClosePopup();
}

void TPopupWindow::SetVisible(bool Value) {
  if (!Value && FOpen) {
    ClosePopup();  // hides it
    return;
  }
  TCustomForm::SetVisible(Value);
}

void TPopupWindow::Popup(TControl* Owner, const TRect& ScreenRect) {
  if (FOwnerControl != Owner) {
    if (FOwnerControl) RemoveFreeNotification(FOwnerControl);
    FOwnerControl = Owner;
    if (Owner) FreeNotification(Owner);
  }
  FHadOwner = Owner != nullptr;
  const TCustomForm* OwnerForm = Owner ? Owner->GetParentForm() : nullptr;
  SetWindowKind(WindowKindOf(FKind), OwnerForm ? OwnerForm->GetWindow() : 0);
  SetBounds(ScreenRect.Left, ScreenRect.Top, ScreenRect.Width(), ScreenRect.Height());
  if (FOpen) return;
  // The popup takes the mouse: a held press elsewhere ends without its release.
  if (FKind != pkHint) Application->CancelCapture();
  FOpen = true;
  Application->PopupOpened(this);
  Show();
  const auto& L = Application->GetPopups();
  const bool FirstOfChain =
      FKind != pkHint && std::none_of(L.begin(), L.end(), [this](const TPopupWindow* P) {
        return P != this && IsChainMember(P);
      });
  if (FirstOfChain) Application->GetHost().GrabPointer(GetWindow());
}

void TPopupWindow::ClosePopup() {
  if (!FOpen) return;
  // What opened above this one (sub-menus) closes first.
  for (;;) {
    const auto& L = Application->GetPopups();
    const auto It = std::find(L.begin(), L.end(), this);
    if (It == L.end() || It + 1 == L.end()) break;
    L.back()->ClosePopup();
  }
  FOpen = false;
  Application->PopupClosed(this);
  if (GetWindow() != 0) Application->GetHost().ReleasePointer(GetWindow());
  Hide();
  if (!*FAlive) return;
  const std::shared_ptr<bool> Alive = FAlive;
  PopupClosed();
  if (*Alive && OnClosePopup) OnClosePopup(this);
}

void TPopupWindow::RunLoop() {
  const std::shared_ptr<bool> Alive = FAlive;
  if (Application->OnPopupShown) Application->OnPopupShown(*this);
  while (*Alive && FOpen) {
    const bool Live = Application->HandleMessage();
    if (!*Alive) return;
    if (!Live || Application->GetTerminated()) ClosePopup();
  }
}

void TPopupWindow::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FOwnerControl) {
    FOwnerControl = nullptr;
    ClosePopup();
  }
}

void TPopupWindow::Paint() {
  GetCanvas()->GetBrush().SetColor(GetColor());
  GetCanvas()->FillRect(GetClientRect());
  TCustomForm::Paint();
}

bool TPopupWindow::PopupKeyDown(std::uint16_t& Key, TShiftState) {
  if (Key != vk::Escape) return false;
  ClosePopup();
  return true;
}

bool TPopupWindow::PopupKeyUp(std::uint16_t&, TShiftState) { return false; }
bool TPopupWindow::PopupKeyPress(char32_t&) { return false; }

void TPopupWindow::DeliverKey(const THostEvent& E) {
  std::uint16_t Key = E.Key;
  auto* Owner = dynamic_cast<TWinControl*>(FOwnerControl);
  if (E.Kind == THostEventKind::KeyUp) {
    if (!PopupKeyUp(Key, E.Shift) && Key != 0 && Owner) Owner->KeyUp(Key, E.Shift);
    return;
  }
  const bool Used = PopupKeyDown(Key, E.Shift);
  // A handler may have closed or freed this popup; the owner is asked again each time.
  const bool Here = StillOpen(this);
  Owner = Here ? dynamic_cast<TWinControl*>(FOwnerControl) : nullptr;
  if (!Used && Key != 0 && Here && Owner) Owner->KeyDown(Key, E.Shift);
  std::size_t Pos = 0;
  while (Pos < E.Text.size()) {
    int Len = 1;
    char32_t Ch = Utf8Decode(E.Text, Pos, &Len);
    Pos += static_cast<std::size_t>(std::max(Len, 1));
    if (!StillOpen(this)) return;
    if (PopupKeyPress(Ch) || Ch == 0) continue;
    if (!StillOpen(this)) return;
    if (auto* O = dynamic_cast<TWinControl*>(FOwnerControl)) O->KeyPress(Ch);
  }
}

// --- The application's side -----------------------------------------------------------------

void TApplication::PopupOpened(TPopupWindow* P) {
  if (std::find(FPopups.begin(), FPopups.end(), P) == FPopups.end()) FPopups.push_back(P);
}

void TApplication::PopupClosed(TPopupWindow* P) { std::erase(FPopups, P); }

void TApplication::ClosePopups() {
  for (auto It = FPopups.begin(); It != FPopups.end(); ++It)
    if (IsChainMember(*It)) {
      (*It)->ClosePopup();  // closes everything above it as well
      return;
    }
}

void TApplication::ClosePopupsOfLostOwners() {
  for (std::size_t I = 0; I < FPopups.size(); ++I) {
    TPopupWindow* P = FPopups[I];
    const TControl* O = P->GetOwnerControl();
    if (O && (!O->IsShowing() || !O->IsEnabledInTree())) {
      P->ClosePopup();
      return;  // the list changed; the rest closed with it or is checked next time
    }
  }
}

bool TApplication::DispatchToPopups(const THostEvent& E) {
  TPopupWindow* Top = nullptr;
  for (TPopupWindow* P : FPopups)
    if (IsChainMember(P)) Top = P;
  if (!Top) return false;
  switch (E.Kind) {
    case THostEventKind::MouseDown:
    case THostEventKind::MouseUp:
    case THostEventKind::MouseMove:
    case THostEventKind::MouseWheel: {
      const TPoint O = GetHost().ClientOrigin(E.Window);
      const TPoint S{O.X + E.X, O.Y + E.Y};
      TPopupWindow* Hit = nullptr;
      for (auto It = FPopups.rbegin(); It != FPopups.rend() && !Hit; ++It)
        if (IsChainMember(*It) && (*It)->GetBoundsRect().Contains(S)) Hit = *It;
      if (!Hit && E.Kind == THostEventKind::MouseDown) {
        // A press outside every popup closes them and goes nowhere else.
        ClosePopups();
        FButtonsDown = 0;
        return true;
      }
      if (!Hit && E.Kind == THostEventKind::MouseWheel) {
        // Turned anywhere else: the topmost popup scrolls.
        Top->DispatchMouseWheel(E.Shift | FButtonsDown, E.WheelDelta, S);
        return true;
      }
      TPopupWindow* To = Hit ? Hit : Top;
      if (To->GetWindow() == 0) return true;
      THostEvent L = E;
      L.Window = To->GetWindow();
      L.X = S.X - To->GetLeft();
      L.Y = S.Y - To->GetTop();
      DispatchMouse(*To, L);
      return true;
    }
    case THostEventKind::MouseExit: {
      TCustomForm* F = FormOfWindow(E.Window);
      if (F && F->GetWindowKind() != TWindowKind::Normal) DispatchMouse(*F, E);
      return true;
    }
    case THostEventKind::KeyDown:
    case THostEventKind::KeyUp:
      Top->DeliverKey(E);
      return true;
    case THostEventKind::FocusOut:
    case THostEventKind::CloseRequest:
      // Another program took the focus, or the form is closing: menus and lists go.
      ClosePopups();
      return false;
    default:
      return false;
  }
}

// --- Placement ------------------------------------------------------------------------------

TRect PlaceAtPoint(TPoint P, TSize Size, TSize ScreenSize) {
  const std::int64_t L =
      std::max<std::int64_t>(std::min<std::int64_t>(P.X, std::int64_t(ScreenSize.cx) - Size.cx), 0);
  const std::int64_t T =
      std::max<std::int64_t>(std::min<std::int64_t>(P.Y, std::int64_t(ScreenSize.cy) - Size.cy), 0);
  return Rect(int(L), int(T), int(L) + Size.cx, int(T) + Size.cy);
}

TRect PlaceBelow(const TRect& Owner, TSize Size, TSize ScreenSize) {
  int T = Owner.Bottom;
  if (T + Size.cy > ScreenSize.cy && Owner.Top - Size.cy >= 0) T = Owner.Top - Size.cy;
  const TRect R = PlaceAtPoint({Owner.Left, T}, Size, ScreenSize);
  // Sideways only: the vertical place was chosen above.
  return Rect(R.Left, T, R.Right, T + Size.cy);
}

TRect ScreenBoundsOf(const TControl& C) {
  const int Inset = C.IsWindowed() ? static_cast<const TWinControl&>(C).GetBorderInset() : 0;
  const TPoint O = C.ClientToScreen({-Inset, -Inset});
  return Rect(O.X, O.Y, O.X + C.GetWidth(), O.Y + C.GetHeight());
}

}  // namespace kvl
