#include "kvl/platform/forms.h"

#include <algorithm>

#include "kvl/platform/application.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  TControl::SetVisible(false);
  SetBounds(0, 0, 320, 240);
  Application->FormCreated(this);
  // A form is a window of its own from the start: its controls can paint at once.
  UpdateHandle();
}

TCustomForm::~TCustomForm() {
  Destroying();
  CloseHostWindow();
  DestroyControls();
  Application->FormDestroyed(this);
}

void TCustomForm::SetVisible(bool Value) {
  if (Value == GetVisible()) return;
  TControl::SetVisible(Value);
  if (Value) {
    PlaceOnShow();
    OpenHostWindow();
    if (OnShow) OnShow(this);
    if (FWindowKind != TWindowKind::Normal) return;
    // The focus goes where a desktop user expects it: the active control, else the first stop.
    if (!FActiveControl || !FActiveControl->CanFocus()) SelectNext(nullptr, true, true);
    Application->FormShown(this);
  } else {
    if (OnHide) OnHide(this);
    CloseHostWindow();
    Application->FormHidden(this);
  }
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FWindow != 0 && !FHostMoving) Application->GetHost().MoveWindow(FWindow, GetBoundsRect());
}

void TCustomForm::PlaceOnShow() {
  if (FPosition == poDesigned) return;
  const TSize S = Application->GetHost().ScreenSize();
  TRect Around = Rect(0, 0, S.cx, S.cy);
  // The active form is still the one this form is about to cover: the dialog's owner.
  const TCustomForm* Centre = FPosition == poMainFormCenter    ? Application->GetMainForm()
                              : FPosition == poOwnerFormCenter ? Application->GetActiveForm()
                                                               : nullptr;
  if (Centre && Centre != this && Centre->GetVisible()) Around = Centre->GetBoundsRect();
  const int W = GetWidth(), H = GetHeight();
  int L = Around.Left + (Around.Width() - W) / 2;
  int T = Around.Top + (Around.Height() - H) / 2;
  // On the screen; a form larger than the screen keeps its top-left corner visible.
  L = std::max(std::min(L, S.cx - W), 0);
  T = std::max(std::min(T, S.cy - H), 0);
  SetBounds(L, T, W, H);
}

void TCustomForm::OpenHostWindow() {
  if (FWindow != 0) return;
  TWindowRequest Request;
  Request.Caption = GetCaption();
  Request.Bounds = GetBoundsRect();
  Request.Resizable = FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin;
  Request.Kind = FWindowKind;
  Request.Owner = FOwnerWindow;
  if (FModal && FWindowKind == TWindowKind::Normal) {
    // A modal form is a dialog of the form that was active, else of the main form.
    Request.Dialog = true;
    TCustomForm* Owner = Application->GetActiveForm();
    if (!Owner || Owner == this) Owner = Application->GetMainForm();
    if (Owner && Owner != this) Request.Owner = Owner->GetWindow();
  }
  FWindow = Application->GetHost().OpenWindow(Request);
  InvalidateFormRect(GetClientRect());
}

void TCustomForm::CloseHostWindow() {
  if (FWindow == 0) return;
  const THostWindow W = FWindow;
  FWindow = 0;
  Application->GetHost().CloseWindow(W);
}

TCloseAction TCustomForm::QueryClose(TCloseAction Default) {
  if (!CloseQuery()) return caNone;
  TCloseAction Action = Default;
  if (OnClose) OnClose(this, Action);
  return Action;
}

bool TCustomForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  const TCloseAction Action = QueryClose(caHide);
  if (Action == caNone) return;
  if (Action == caFree) Application->ReleaseForm(this);
  Hide();
  if (Application->GetMainForm() == this) Application->Terminate();
}

TModalResult TCustomForm::ShowModal() {
  if (GetVisible() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
  FModalResult = mrNone;
  // Marked modal only once the application took it: a refusal there leaves the form as it was.
  Application->BeginModal(this);
  FModal = true;
  struct TEnd {
    TCustomForm& F;
    ~TEnd() {
      F.FModal = false;
      Application->EndModal(&F);
      F.Hide();
    }
  } End{*this};
  Show();
  if (Application->OnModalShown) Application->OnModalShown(*this);
  for (;;) {
    bool Alive = true;
    if (FModalResult == mrNone) {
      Alive = Application->HandleMessage();
      const bool Ended = !Alive || Application->GetTerminated() || !GetVisible();
      if (Ended && FModalResult == mrNone) FModalResult = mrCancel;
    }
    if (FModalResult == mrNone) continue;
    // Nothing can answer a refused close any more when the loop has ended: stop anyway.
    if (!Alive || Application->GetTerminated() || QueryClose(caHide) != caNone) break;
    FModalResult = mrNone;
  }
  return FModalResult;
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (Control == FActiveControl) return;
  if (Control && (!ContainsControl(Control) || !Control->CanFocus())) return;
  TWinControl* Old = FActiveControl;
  FActiveControl = Control;
  if (Old) {
    if (FActive) Old->FocusOut();
    Old->DoExit();
  }
  // An exit handler may have moved the focus elsewhere already.
  if (Control && FActiveControl == Control) {
    TFocusEnteredMessage M(Control);
    for (TWinControl* P = Control->GetParent(); P && FActiveControl == Control; P = P->GetParent())
      P->Perform(M);
    Control->DoEnter();
    if (FActive && FActiveControl == Control) Control->FocusIn();
  }
}

void TCustomForm::SelectNext(TWinControl* Current, bool GoForward, bool CheckTabStop) {
  std::vector<TWinControl*> Stops;
  if (CheckTabStop) {
    CollectTabStops(Stops);
  } else {
    // Every focusable control in tab order, tab stop or not.
    std::vector<TWinControl*> Pending{this};
    while (!Pending.empty()) {
      TWinControl* P = Pending.back();
      Pending.pop_back();
      for (auto It = P->FTabList.rbegin(); It != P->FTabList.rend(); ++It) {
        Pending.push_back(*It);
      }
      if (P != this) Stops.push_back(P);
    }
  }
  std::erase_if(Stops, [](TWinControl* C) { return !C->CanFocus(); });
  if (Stops.empty()) return;
  const auto It = std::find(Stops.begin(), Stops.end(), Current);
  const int N = static_cast<int>(Stops.size());
  int Next;
  if (It == Stops.end()) {
    Next = GoForward ? 0 : N - 1;
  } else {
    const int I = static_cast<int>(It - Stops.begin());
    Next = GoForward ? (I + 1) % N : (I + N - 1) % N;
  }
  SetActiveControl(Stops[std::size_t(Next)]);
}

bool TCustomForm::DialogKey(std::uint16_t Key, TShiftState Shift) {
  if (Shift & (ssCtrl | ssAlt)) return false;
  switch (Key) {
    case vk::Tab:
      SelectNext(FActiveControl, (Shift & ssShift) == 0, true);
      return true;
    case vk::Left:
    case vk::Up:
    case vk::Right:
    case vk::Down:
      if (!FActiveControl) return false;
      SelectNext(FActiveControl, Key == vk::Right || Key == vk::Down, true);
      return true;
    case vk::Return:
    case vk::Escape: {
      TDialogKeyMessage M;
      M.Key = Key;
      // Depth first through the whole form: buttons may sit inside panels.
      std::vector<TWinControl*> Pending{this};
      while (!Pending.empty() && !M.Handled) {
        TWinControl* P = Pending.back();
        Pending.pop_back();
        P->Broadcast(M);
        for (TWinControl* C : P->FTabList) Pending.push_back(C);
      }
      return M.Handled;
    }
    default:
      return false;
  }
}

void TCustomForm::InvalidateFormRect(const TRect& R) {
  FInvalid = FInvalid.Union(R.Intersect(GetClientRect()));
}

void TCustomForm::PaintInvalid() {
  if (FInvalid.IsEmpty()) return;
  const TRect R = FInvalid;
  FInvalid = {};
  PaintTree(R);
  NoteDrawn(R);
}

void TCustomForm::PresentDrawn() {
  const TRect R = FDrawn.Intersect(GetClientRect());
  FDrawn = {};
  if (FWindow == 0 || R.IsEmpty()) return;
  Application->GetHost().Present(FWindow, FBackBuffer, R);
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::SizeChanged(int OldWidth, int OldHeight) {
  FBackBuffer.SetSize(GetWidth(), GetHeight());
  FInvalid = GetClientRect();
  TWinControl::SizeChanged(OldWidth, OldHeight);
}

void TCustomForm::TextChanged() {
  if (FWindow != 0) Application->GetHost().SetCaption(FWindow, GetCaption());
}

void TCustomForm::HostResized(int ClientWidth, int ClientHeight) {
  const TScopedValue<bool> Moving(FHostMoving, true);
  SetBounds(GetLeft(), GetTop(), ClientWidth, ClientHeight);
}

void TCustomForm::HostMoved(int ScreenLeft, int ScreenTop) {
  const TScopedValue<bool> Moving(FHostMoving, true);
  SetBounds(ScreenLeft, ScreenTop, GetWidth(), GetHeight());
}

void TCustomForm::HostExposed(const TRect& R) { NoteDrawn(R); }

void TCustomForm::HostActivated(bool Active) {
  if (Active == FActive) return;
  FActive = Active;
  if (Active) {
    if (OnActivate) OnActivate(this);
    if (FActiveControl) FActiveControl->FocusIn();
  } else {
    if (FActiveControl) FActiveControl->FocusOut();
    if (OnDeactivate) OnDeactivate(this);
  }
}

void TCustomForm::ControlRemoved(TControl* C) {
  for (TControl* P = FActiveControl; P; P = P->GetParent())
    if (P == C) {
      FActiveControl = nullptr;
      break;
    }
  Application->ControlRemoved(C);
}

void TCustomForm::ControlHidden(TWinControl* C) {
  if (FActiveControl && C->ContainsControl(FActiveControl)) SetActiveControl(nullptr);
}

void TScreen::SetCursor(TCursor Value) {
  if (Value == FCursor) return;
  FCursor = Value;
  for (TCustomForm* F : Application->GetForms())
    if (F->GetWindow() != 0) Application->GetHost().SetCursor(F->GetWindow(), Value);
  // Back to normal: the control under the pointer shows its own cursor again.
  if (Value == crDefault && Application->GetHoverControl())
    Application->ShowCursorOf(Application->GetHoverControl());
}

int TScreen::GetWidth() const { return Application->GetHost().ScreenSize().cx; }
int TScreen::GetHeight() const { return Application->GetHost().ScreenSize().cy; }
int TScreen::GetFormCount() const { return static_cast<int>(Application->GetForms().size()); }

TCustomForm* TScreen::GetForms(int Index) const {
  const auto& Forms = Application->GetForms();
  return (Index >= 0 && Index < GetFormCount()) ? Forms[std::size_t(Index)] : nullptr;
}

TCustomForm* TScreen::GetActiveForm() const { return Application->GetActiveForm(); }

namespace {
TScreen TheScreen;
}
TScreen* const Screen = &TheScreen;

}  // namespace kvl
