#include "kvl/platform/host_headless.h"

#include <algorithm>

#include "kvl/platform/application.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/dates.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/popups.h"

namespace kvl {

THostWindow THeadlessHost::OpenWindow(const TWindowRequest& Request) {
  const THostWindow W = FNextWindow++;
  FWindows[W].Request = Request;
  return W;
}

void THeadlessHost::SetCaption(THostWindow W, const std::string& Caption) {
  if (auto It = FWindows.find(W); It != FWindows.end()) It->second.Request.Caption = Caption;
}

void THeadlessHost::MoveWindow(THostWindow W, const TRect& Bounds) {
  if (auto It = FWindows.find(W); It != FWindows.end()) It->second.Request.Bounds = Bounds;
}

void THeadlessHost::Present(THostWindow W, const TBitmap&, const TRect&) {
  if (auto It = FWindows.find(W); It != FWindows.end()) ++It->second.Presents;
}

void THeadlessHost::SetCursor(THostWindow W, TCursor C) {
  if (auto It = FWindows.find(W); It != FWindows.end()) It->second.Cursor = C;
}

TDateTime THeadlessHost::LocalNow() const {
  return IncMilliSecond(FWallClock, FNow - FWallClockSetAt);
}

void THeadlessHost::SetWallClock(TDateTime Value) {
  FWallClock = IncMilliSecond(Value, 0);  // checks the value
  FWallClockSetAt = FNow;
}

TPoint THeadlessHost::ClientOrigin(THostWindow W) {
  const TWindowState* S = Window(W);
  return S ? TPoint{S->Request.Bounds.Left, S->Request.Bounds.Top} : TPoint{};
}

void THeadlessHost::GrabPointer(THostWindow W) {
  for (auto& [Id, S] : FWindows) S.Grab = Id == W;
}

void THeadlessHost::ReleasePointer(THostWindow W) {
  if (auto It = FWindows.find(W); It != FWindows.end()) It->second.Grab = false;
}

bool THeadlessHost::NextEvent(THostEvent& E) {
  if (FQueue.empty()) return false;
  E = std::move(FQueue.front());
  FQueue.pop_front();
  return true;
}

bool THeadlessHost::WaitForEvent(std::int64_t TimeoutMs) {
  if (!FQueue.empty()) return true;
  if (TimeoutMs < 0) return false;
  if (FIdle >= IdleLimitMs) {
    FIdle = 0;
    return false;
  }
  FNow += TimeoutMs;
  FIdle += TimeoutMs;
  return true;
}

void THeadlessHost::Post(THostEvent E) {
  E.Time = FNow;
  FIdle = 0;
  if (auto It = FWindows.find(E.Window); E.Kind == THostEventKind::Moved && It != FWindows.end()) {
    TRect& B = It->second.Request.Bounds;
    B = B.Offset(E.X - B.Left, E.Y - B.Top);
  }
  FQueue.push_back(std::move(E));
}

const THeadlessHost::TWindowState* THeadlessHost::Window(THostWindow W) const {
  const auto It = FWindows.find(W);
  return It == FWindows.end() ? nullptr : &It->second;
}

void AdvanceHeadlessTime(THeadlessHost& Host, int Ms) {
  const std::int64_t End = Host.Now() + std::max(Ms, 0);
  Application->ProcessMessages();
  for (;;) {
    const auto Due = Application->GetTimers().NextDue();
    if (!Due || *Due > End) break;
    Host.SetNow(std::max(*Due, Host.Now()));
    Application->ProcessMessages();
  }
  Host.SetNow(End);
  Application->ProcessMessages();
}

}  // namespace kvl

namespace kvl {

TBitmap ComposeHeadlessScreen(THeadlessHost& Host) {
  Application->ProcessMessages();
  const TSize S = Host.ScreenSize();
  TBitmap Screen;
  Screen.SetSize(S.cx, S.cy);
  Screen.GetCanvas()->GetBrush().SetColor(clBlack);
  Screen.GetCanvas()->FillRect(Rect(0, 0, S.cx, S.cy));
  const auto Put = [&](const TCustomForm& F) {
    const THeadlessHost::TWindowState* W = Host.Window(F.GetWindow());
    if (!W) return;
    Screen.GetCanvas()->Draw(W->Request.Bounds.Left, W->Request.Bounds.Top, F.GetBackBuffer());
  };
  for (const TCustomForm* F : Application->GetForms())
    if (F->GetWindowKind() == TWindowKind::Normal) Put(*F);
  for (const TPopupWindow* P : Application->GetPopups()) Put(*P);
  return Screen;
}

}  // namespace kvl
