#include "kvl/platform/application.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "kvl/core/stringl.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"
#include "kvl/platform/hints.h"
#include "kvl/platform/popups.h"

namespace kvl {

namespace {

TApplication& TheApplication() {
  static TApplication A;
  return A;
}

std::unique_ptr<THost> ChooseHost() {
  const char* Env = std::getenv("KVL_HOST");
  const std::string_view Wanted = Env ? Env : "";
  if (Wanted == "headless") return std::make_unique<THeadlessHost>();
  std::string Reason;
  if (Wanted == "x11") {
    if (auto Host = OpenX11Host(&Reason)) return Host;
    throw EInvalidOperation("KVL_HOST=x11, but no X display can be opened: " + Reason);
  }
  if (!Wanted.empty())
    throw EInvalidOperation("KVL_HOST must be \"headless\" or \"x11\", not \"" +
                            std::string(Wanted) + "\"");
  const char* Display = std::getenv("DISPLAY");
  if (Display && *Display)
    if (auto Host = OpenX11Host(&Reason)) return Host;
  return std::make_unique<THeadlessHost>();
}

}  // namespace

TApplication* const Application = &TheApplication();

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
  Destroying();
  // Forms go while the host and the timers still exist.
  while (!FForms.empty()) delete FForms.back();
  while (GetComponentCount() > 0) delete GetComponents(GetComponentCount() - 1);
}

THost& TApplication::GetHost() {
  if (!FHost) FHost = ChooseHost();
  return *FHost;
}

void TApplication::SetHost(std::unique_ptr<THost> Host) {
  CancelHint();
  FHintControl = nullptr;
  ClosePopups();
  for (TCustomForm* F : FForms) F->Hide();
  FHost = std::move(Host);
  FCapture = FHover = nullptr;
  FButtonsDown = 0;
  FLastPress = {};
  FTerminated = false;
}

void TApplication::Run() {
  if (FMainForm && !FMainForm->GetVisible()) FMainForm->Show();
  while (!FTerminated) {
    const bool AnyVisible =
        std::any_of(FForms.begin(), FForms.end(), [](TCustomForm* F) { return F->GetVisible(); });
    if (!AnyVisible || !HandleMessage()) break;
  }
  ProcessMessages();
}

void TApplication::ProcessMessages() {
  THost& Host = GetHost();
  THostEvent E;
  // Bounded: a handler may keep producing events, but the loop must get to timers and paints.
  for (int I = 0; I < 10000 && Host.NextEvent(E); ++I) {
    try {
      Dispatch(E);
    } catch (...) {
      HandleException(this);
    }
  }
  FTimers.FireDue(Host.Now());
  ClosePopupsOfLostOwners();
  PaintForms();
  FreeReleasedForms();
}

bool TApplication::HandleMessage() {
  // Nothing invalid stays unpainted while the loop sleeps.
  PaintForms();
  THost& Host = GetHost();
  std::int64_t Timeout = -1;
  if (const auto Due = FTimers.NextDue()) Timeout = std::max<std::int64_t>(*Due - Host.Now(), 0);
  const bool Alive = Host.WaitForEvent(Timeout);
  ProcessMessages();
  return Alive;
}

void TApplication::PaintForms() {
  for (TCustomForm* F : FForms) {
    try {
      F->PaintInvalid();
    } catch (...) {
      HandleException(F);
    }
    F->PresentDrawn();
  }
}

void TApplication::HandleException(TObject* Sender) {
  const std::exception_ptr P = std::current_exception();
  if (!P) return;
  try {
    std::rethrow_exception(P);
  } catch (const std::exception& E) {
    try {
      if (OnException) {
        OnException(Sender, E);
        return;
      }
    } catch (const std::exception& Inner) {
      std::fprintf(stderr, "kvl: exception in OnException: %s\n", Inner.what());
    } catch (...) {
      std::fprintf(stderr, "kvl: unknown exception in OnException\n");
    }
    std::fprintf(stderr, "kvl: %s\n", E.what());
  } catch (...) {
    std::fprintf(stderr, "kvl: unknown exception\n");
  }
}

TCustomForm* TApplication::FormOfWindow(THostWindow W) const {
  if (W == 0) return nullptr;
  for (TCustomForm* F : FForms)
    if (F->GetWindow() == W) return F;
  return nullptr;
}

bool TApplication::AcceptsInput(const TCustomForm* F) const {
  // Popups opened from the modal form (only its controls can open one) take input too.
  return FModalForms.empty() || FModalForms.back() == F ||
         F->GetWindowKind() != TWindowKind::Normal;
}

void TApplication::Dispatch(const THostEvent& E) {
  TCustomForm* F = FormOfWindow(E.Window);
  if (!F) return;
  switch (E.Kind) {
    case THostEventKind::MouseDown:
    case THostEventKind::MouseWheel:
    case THostEventKind::KeyDown:
    case THostEventKind::FocusOut:
      CancelHint();
      break;
    default:
      break;
  }
  if (!FPopups.empty() && DispatchToPopups(E)) return;
  switch (E.Kind) {
    case THostEventKind::MouseDown:
    case THostEventKind::MouseUp:
    case THostEventKind::MouseMove:
    case THostEventKind::MouseWheel:
    case THostEventKind::MouseExit:
      DispatchMouse(*F, E);
      break;
    case THostEventKind::KeyDown:
    case THostEventKind::KeyUp:
      if (AcceptsInput(F)) DispatchKey(*F, E);
      break;
    case THostEventKind::Resized:
      F->HostResized(E.Width, E.Height);
      break;
    case THostEventKind::Moved:
      F->HostMoved(E.X, E.Y);
      break;
    case THostEventKind::Exposed:
      F->HostExposed(Rect(E.X, E.Y, E.X + E.Width, E.Y + E.Height));
      break;
    case THostEventKind::CloseRequest:
      if (AcceptsInput(F)) F->Close();
      break;
    case THostEventKind::FocusIn:
      ActivateForm(F);
      break;
    case THostEventKind::FocusOut:
      F->HostActivated(false);
      if (FActiveForm == F) FActiveForm = nullptr;
      break;
  }
}

void TApplication::SetHover(TControl* C) {
  if (C == FHover) return;
  TControl* Old = FHover;
  FHover = C;
  ShowCursorOf(C);
  if (Old) Old->MouseLeave();
  // A leave handler may have destroyed the new control's form; ControlDestroyed clears FHover.
  if (FHover == C && C) C->MouseEnter();
}

void TApplication::ShowCursorOf(TControl* C) {
  TCustomForm* F = C ? C->GetParentForm() : nullptr;
  if (!F || F->GetWindow() == 0) return;
  // The screen's cursor (an hourglass) wins; otherwise the innermost control that names one.
  TCursor Shape = Screen->GetCursor();
  for (TControl* P = C; P && Shape == crDefault; P = P->GetParent()) Shape = P->GetCursor();
  GetHost().SetCursor(F->GetWindow(), Shape);
}

void TApplication::DispatchMouse(TCustomForm& F, const THostEvent& E) {
  if (!AcceptsInput(&F)) return;
  const TPoint P{E.X, E.Y};
  TControl* Hit = E.Kind == THostEventKind::MouseExit ? nullptr : F.ControlAtPos(P);
  SetHover(Hit);
  if (E.Kind == THostEventKind::MouseMove || E.Kind == THostEventKind::MouseExit)
    HintPointer(FCapture ? nullptr : Hit, E.Window, P);
  TControl* Target = FCapture ? FCapture : Hit;
  if (!Target) return;
  const TPoint L = Target->FormToClient(P);
  if (E.Kind != THostEventKind::MouseWheel && E.Kind != THostEventKind::MouseExit) {
    const bool NonClient = FCapture ? FCapture == FNonClientCapture
                                    : Target->IsWindowed() &&
                                          static_cast<TWinControl*>(Target)->InNonClientArea(L);
    if (NonClient) return DispatchNonClientMouse(F, static_cast<TWinControl&>(*Target), E);
  }
  switch (E.Kind) {
    case THostEventKind::MouseMove:
      Target->MouseMove(E.Shift | FButtonsDown, L.X, L.Y);
      break;
    case THostEventKind::MouseDown: {
      const TShiftState Bit = ButtonShift(E.Button);
      FButtonsDown |= Bit;
      if (!FCapture) {
        FCapture = Target;
        FNonClientCapture = nullptr;
      }
      const TShiftState Shift = E.Shift | FButtonsDown;
      const bool Double = Target->AcceptsDoubleClicks() && FLastPress.Control == Target &&
                          FLastPress.Button == E.Button &&
                          E.Time - FLastPress.Time <= DoubleClickTime &&
                          std::abs(P.X - FLastPress.Pos.X) <= DoubleClickDistance &&
                          std::abs(P.Y - FLastPress.Pos.Y) <= DoubleClickDistance;
      if (Double) {
        FLastPress = {};
        if (E.Button == mbLeft)
          Target->DispatchDblClick(Shift, L.X, L.Y);
        else
          Target->MouseDown(E.Button, Shift | ssDouble, L.X, L.Y);
      } else {
        FLastPress = {Target, E.Button, E.Time, P};
        Target->DispatchMouseDown(E.Button, Shift, L.X, L.Y);
      }
      break;
    }
    case THostEventKind::MouseUp: {
      FButtonsDown &= static_cast<TShiftState>(~ButtonShift(E.Button));
      const TShiftState Shift = (E.Shift & ~(ssLeft | ssRight | ssMiddle)) | FButtonsDown;
      if (FButtonsDown == 0) FCapture = nullptr;
      Target->DispatchMouseUp(E.Button, Shift, L.X, L.Y);
      // Released away from the control: the one under the pointer now gets its enter.
      if (!FCapture) SetHover(F.ControlAtPos(P));
      break;
    }
    case THostEventKind::MouseWheel:
      (Hit ? Hit : Target)->DispatchMouseWheel(E.Shift | FButtonsDown, E.WheelDelta, P);
      break;
    default:
      break;
  }
}

void TApplication::DispatchNonClientMouse(TCustomForm& F, TWinControl& Target,
                                          const THostEvent& E) {
  const TPoint P{E.X, E.Y};
  const TPoint L = Target.FormToClient(P);
  const int X = L.X + Target.GetBorderInset(), Y = L.Y + Target.GetBorderInset();
  switch (E.Kind) {
    case THostEventKind::MouseMove:
      Target.NonClientMouseMove(E.Shift | FButtonsDown, X, Y);
      break;
    case THostEventKind::MouseDown:
      FButtonsDown |= ButtonShift(E.Button);
      if (!FCapture) FCapture = FNonClientCapture = &Target;
      // A press here starts no double click with the next one in the client area.
      FLastPress = {};
      Target.NonClientMouseDown(E.Button, E.Shift | FButtonsDown, X, Y);
      break;
    case THostEventKind::MouseUp: {
      FButtonsDown &= static_cast<TShiftState>(~ButtonShift(E.Button));
      const TShiftState Shift = (E.Shift & ~(ssLeft | ssRight | ssMiddle)) | FButtonsDown;
      if (FButtonsDown == 0) FCapture = FNonClientCapture = nullptr;
      Target.NonClientMouseUp(E.Button, Shift, X, Y);
      if (!FCapture) SetHover(F.ControlAtPos(P));
      break;
    }
    default:
      break;
  }
}

void TApplication::DispatchKey(TCustomForm& F, const THostEvent& E) {
  TWinControl* Target = F.GetActiveControl();
  if (!Target || !Target->CanFocus()) Target = &F;
  std::uint16_t Key = E.Key;
  if (E.Kind == THostEventKind::KeyUp) {
    if (F.GetKeyPreview() && Target != &F) F.KeyUp(Key, E.Shift);
    if (Key != 0) Target->KeyUp(Key, E.Shift);
    return;
  }
  const bool DialogKind = Key == vk::Tab || (Key >= vk::Left && Key <= vk::Down) ||
                          Key == vk::Return || Key == vk::Escape;
  if (DialogKind && !Target->WantsKey(Key, E.Shift) && F.DialogKey(Key, E.Shift)) return;
  if (F.GetKeyPreview() && Target != &F) F.KeyDown(Key, E.Shift);
  if (Key != 0) Target->KeyDown(Key, E.Shift);
  // Shift+F10 and the Menu key ask for the focused control's context menu.
  const TShiftState Mods = E.Shift & (ssShift | ssCtrl | ssAlt);
  if (Key != 0 && ((Key == vk::F10 && Mods == ssShift) || (Key == vk::Apps && Mods == 0)) &&
      Target == F.GetActiveControl()) {
    Target->ContextPopup({4, 4}, Target->ClientToScreen({4, 4}));
    return;
  }
  // The typed characters follow, as a desktop delivers them, whatever the key handlers did.
  std::size_t Pos = 0;
  while (Pos < E.Text.size()) {
    int Len = 1;
    char32_t Ch = Utf8Decode(E.Text, Pos, &Len);
    Pos += static_cast<std::size_t>(std::max(Len, 1));
    // The focus may have moved during KeyDown; characters go where it is now.
    TWinControl* Now = F.GetActiveControl();
    if (!Now || !Now->CanFocus()) Now = &F;
    if (F.GetKeyPreview() && Now != &F) F.KeyPress(Ch);
    if (Ch != 0) Now->KeyPress(Ch);
  }
}

void TApplication::FormCreated(TCustomForm* F) { FForms.push_back(F); }

void TApplication::FormDestroyed(TCustomForm* F) {
  std::erase(FForms, F);
  std::erase(FModalForms, F);
  std::erase(FReleased, F);
  if (FMainForm == F) FMainForm = nullptr;
  if (FActiveForm == F) FActiveForm = nullptr;
  if (FHintWindow && static_cast<TCustomForm*>(FHintWindow) == F) FHintWindow = nullptr;
  std::erase_if(FPopups, [F](TPopupWindow* P) { return static_cast<TCustomForm*>(P) == F; });
}

void TApplication::FormShown(TCustomForm* F) {
  if (!FMainForm && !IsDestroying()) FMainForm = F;
  ActivateForm(F);
}

void TApplication::FormHidden(TCustomForm* F) {
  ControlRemoved(F);
  if (FActiveForm != F) return;
  F->HostActivated(false);
  FActiveForm = nullptr;
  // The topmost other visible form takes over, as a desktop gives it the focus.
  for (auto It = FForms.rbegin(); It != FForms.rend(); ++It)
    if (*It != F && (*It)->GetVisible()) {
      ActivateForm(*It);
      break;
    }
}

void TApplication::ActivateForm(TCustomForm* F) {
  if (FActiveForm == F) return;
  if (FActiveForm) FActiveForm->HostActivated(false);
  FActiveForm = F;
  F->HostActivated(true);
}

void TApplication::ReleaseForm(TCustomForm* F) {
  if (std::find(FReleased.begin(), FReleased.end(), F) == FReleased.end()) FReleased.push_back(F);
}

void TApplication::FreeReleasedForms() {
  while (!FReleased.empty()) {
    TCustomForm* F = FReleased.back();
    FReleased.pop_back();
    delete F;
  }
}

void TApplication::BeginModal(TCustomForm* F) {
  // The modal form takes the mouse, also from a button held on the form it blocks.
  CancelCapture();
  FModalForms.push_back(F);
}

void TApplication::EndModal(TCustomForm* F) { std::erase(FModalForms, F); }

namespace {

bool Inside(const TControl* X, const TControl* C) {
  for (; X; X = X->GetParent())
    if (X == C) return true;
  return false;
}

}  // namespace

void TApplication::CancelCapture() {
  TControl* C = FCapture;
  FCapture = nullptr;
  FButtonsDown = 0;
  if (C && !C->IsDestroying()) C->MouseCaptureLost();
}

void TApplication::CancelCaptureWithin(TControl* C) {
  if (Inside(FCapture, C)) CancelCapture();
}

void TApplication::ControlRemoved(TControl* C) {
  CancelCaptureWithin(C);
  if (Inside(FHintControl, C)) {
    CancelHint();
    FHintControl = nullptr;
  }
  if (Inside(FHover, C)) FHover = nullptr;
  if (Inside(FLastPress.Control, C)) FLastPress = {};
}

void TApplication::ControlDestroyed(TControl* C) {
  if (FCapture == C) {
    FCapture = nullptr;
    FButtonsDown = 0;
  }
  if (FHover == C) FHover = nullptr;
  if (FLastPress.Control == C) FLastPress = {};
  if (FHintControl == C) {
    CancelHint();
    FHintControl = nullptr;
  }
}

}  // namespace kvl
