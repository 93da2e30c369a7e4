#include "kvl/platform/menus.h"

#include <algorithm>

#include "kvl/core/stringl.h"
#include "kvl/platform/application.h"
#include "kvl/platform/relief.h"

namespace kvl {

namespace {

char32_t AsciiLower(char32_t C) { return C >= 'A' && C <= 'Z' ? C + 32 : C; }

std::string AsciiLower(std::string S) {
  for (char& C : S)
    if (C >= 'A' && C <= 'Z') C = char(C + 32);
  return S;
}

bool HasVisibleItems(const TMenuItem& Item) {
  for (int I = 0; I < Item.GetCount(); ++I)
    if (Item.GetItems(I)->GetVisible()) return true;
  return false;
}

}  // namespace

TMenuCaption ParseMenuCaption(const std::string& Caption) {
  TMenuCaption R;
  R.Text.reserve(Caption.size());
  for (std::size_t I = 0; I < Caption.size(); ++I) {
    if (Caption[I] != '&') {
      R.Text += Caption[I];
      continue;
    }
    if (I + 1 >= Caption.size()) break;  // a lone "&" at the end shows nothing
    if (Caption[I + 1] == '&') {
      R.Text += '&';
      ++I;
      continue;
    }
    if (R.KeyPos == std::string::npos) {
      int Len = 1;
      Utf8Decode(Caption, I + 1, &Len);
      R.KeyPos = R.Text.size();
      R.KeyLen = std::size_t(std::max(Len, 1));
    }
  }
  return R;
}

// --- TMenuItem ------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  Destroying();
  if (TPopupMenu* M = GetMenu(); M && M->IsShowing()) M->CloseMenu();
  Clear();
  if (FParent) FParent->Remove(this);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
}

void TMenuItem::SetChecked(bool Value) {
  FChecked = Value;
  if (!Value || !FRadioItem || !FParent) return;
  for (TMenuItem* S : FParent->FItems)
    if (S != this && S->FRadioItem && S->FGroupIndex == FGroupIndex) S->FChecked = false;
}

void TMenuItem::SetBitmap(const TBitmap* Value) {
  if (!Value || Value->GetWidth() == 0 || Value->GetHeight() == 0) {
    FBitmap.reset();
    return;
  }
  FBitmap = std::make_unique<TBitmap>(*Value);
  FBitmap->SetPixelFormat(pf32bit);
  FBitmap->SetTransparent(true);
  // The key is the bottom-left pixel of the copy, whatever the original was told.
  FBitmap->SetTransparentColor(PixelToColor(FBitmap->ScanLine(FBitmap->GetHeight() - 1)[0]));
}

void TMenuItem::Click() {
  if (FAutoCheck) SetChecked(FRadioItem ? true : !FChecked);
  if (OnClick) OnClick(this);
}

void TMenuItem::Add(TMenuItem* Item) { Insert(GetCount(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item || Item == this) return;
  for (const TMenuItem* P = this; P; P = P->FParent)
    if (P == Item) throw EInvalidOperation("A menu item cannot hold itself");
  if (Item->FParent) Item->FParent->Remove(Item);
  Index = std::clamp(Index, 0, GetCount());
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

void TMenuItem::Delete(int Index) {
  if (Index < 0 || Index >= GetCount()) return;
  Remove(FItems[std::size_t(Index)]);
}

void TMenuItem::Remove(TMenuItem* Item) {
  const auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It == FItems.end()) return;
  if (TPopupMenu* M = GetMenu(); M && M->IsShowing()) M->CloseMenu();
  FItems.erase(It);
  Item->FParent = nullptr;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

TMenuItem* TMenuItem::GetItems(int Index) const {
  return Index >= 0 && Index < GetCount() ? FItems[std::size_t(Index)] : nullptr;
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  const auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

TMenuItem* TMenuItem::Find(const std::string& Caption) const {
  const std::string Wanted = AsciiLower(ParseMenuCaption(Caption).Text);
  for (TMenuItem* I : FItems)
    if (AsciiLower(ParseMenuCaption(I->FCaption).Text) == Wanted) return I;
  return nullptr;
}

TPopupMenu* TMenuItem::GetMenu() const {
  const TMenuItem* R = this;
  while (R->FParent) R = R->FParent;
  return R->FMenu;
}

// --- TPopupMenu -----------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner),
      FItems(std::make_unique<TMenuItem>(nullptr)),
      FAlive(std::make_shared<bool>(true)) {
  FItems->FMenu = this;
}

TPopupMenu::~TPopupMenu() {
  Destroying();
  *FAlive = false;
  FreeWindows();
  FLoop.reset();
  FItems.reset();
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (Value == FPopupComponent) return;
  if (FPopupComponent) RemoveFreeNotification(FPopupComponent);
  FPopupComponent = Value;
  if (Value) FreeNotification(Value);
}

TMenuWindow* TPopupMenu::NewWindow(TMenuItem* Item, TMenuWindow* ParentWindow) {
  auto* W = new TMenuWindow(this, Item, ParentWindow);
  FWindows.push_back(W);
  return W;
}

void TPopupMenu::FreeWindows() {
  if (!FWindows.empty()) FWindows.front()->ClosePopup();
  while (!FWindows.empty()) {
    TMenuWindow* W = FWindows.back();
    FWindows.pop_back();
    delete W;
  }
}

void TPopupMenu::CloseMenu() {
  if (!FWindows.empty()) FWindows.front()->ClosePopup();
}

std::vector<TMenuWindow*> TPopupMenu::GetOpenWindows() const {
  std::vector<TMenuWindow*> R;
  for (TMenuWindow* W : FWindows)
    if (W->IsOpen()) R.push_back(W);
  return R;
}

bool TPopupMenu::Holds(const TMenuItem* Item) const {
  std::vector<const TMenuItem*> Pending{FItems.get()};
  while (!Pending.empty()) {
    const TMenuItem* P = Pending.back();
    Pending.pop_back();
    if (P == Item) return true;
    for (const TMenuItem* C : P->FItems) Pending.push_back(C);
  }
  return false;
}

void TPopupMenu::Popup(int X, int Y) {
  if (FLoop) return;  // showing already
  const std::shared_ptr<bool> Alive = FAlive;
  if (OnPopup) OnPopup(this);
  if (!*Alive || FLoop || !HasVisibleItems(*FItems)) return;
  auto Loop = std::make_shared<TLoop>();
  Loop->OpenedAt = {X, Y};
  FLoop = Loop;
  TControl* Owner = dynamic_cast<TControl*>(FPopupComponent);
  if (!Owner) {
    if (TCustomForm* F = Application->GetActiveForm())
      Owner = F->GetActiveControl() ? static_cast<TControl*>(F->GetActiveControl()) : F;
  }
  TMenuWindow* W = NewWindow(FItems.get(), nullptr);
  const TSize S = W->Measure();
  const int Left = FAlignment == paRight ? X - S.cx : FAlignment == paCenter ? X - S.cx / 2 : X;
  W->Popup(Owner, PlaceAtPoint({Left, Y}, S, Application->GetHost().ScreenSize()));
  try {
    W->RunLoop();
  } catch (...) {
    if (*Alive) {
      FreeWindows();
      FLoop.reset();
    }
    throw;
  }
  // Freed meanwhile (a timer freed its form): nothing of it may be touched any more.
  if (!*Alive) return;
  TMenuItem* Chosen = Loop->Chosen;
  FreeWindows();
  FLoop.reset();
  if (Chosen && Holds(Chosen)) Chosen->Click();
}

// --- TMenuWindow ----------------------------------------------------------------------------

TMenuWindow::TMenuWindow(TPopupMenu* Menu, TMenuItem* Item, TMenuWindow* ParentWindow)
    : TPopupWindow(nullptr, pkMenu), FMenu(Menu), FItem(Item), FParentWindow(ParentWindow) {
  SetColor(clMenu);
}

TMenuWindow::~TMenuWindow() { StopSubMenuTimer(); }

TMenuItem* TMenuWindow::GetRowItem(int Row) const {
  return Row >= 0 && Row < GetRowCount() ? FRows[std::size_t(Row)].Item : nullptr;
}

TRect TMenuWindow::GetRowRect(int Row) const {
  if (Row < 0 || Row >= GetRowCount()) return {};
  const TRow& R = FRows[std::size_t(Row)];
  return Rect(Border, R.Top, GetWidth() - Border, R.Top + R.Height);
}

TSize TMenuWindow::Measure() {
  TBitmap Scratch;
  Scratch.SetSize(1, 1);
  TCanvas& C = *Scratch.GetCanvas();
  C.GetFont().Assign(GetFont());
  const int TextH = C.TextHeight("Wg");
  const int ItemH = std::max(TextH + 8, 20);
  FRows.clear();
  int Y = Border, TextW = 0;
  for (int I = 0; I < FItem->GetCount(); ++I) {
    TMenuItem* It = FItem->GetItems(I);
    if (!It->GetVisible()) continue;
    const int H = It->IsLine() ? SeparatorHeight : ItemH;
    FRows.push_back({It, Y, H});
    Y += H;
    if (It->IsLine()) continue;
    C.GetFont().SetStyle(It->GetDefault() ? fsBold : 0);
    TextW = std::max(TextW, C.TextWidth(ParseMenuCaption(It->GetCaption()).Text));
  }
  const TSize Screen = Application->GetHost().ScreenSize();
  const int W = Border + CheckColumn + 4 + TextW + 28 + Border;
  return {std::min(W, std::max(Screen.cx, 1)), std::min(Y + Border, std::max(Screen.cy, 1))};
}

int TMenuWindow::RowAt(int X, int Y) const {
  if (X < 0 || X >= GetWidth()) return -1;
  for (int I = 0; I < GetRowCount(); ++I)
    if (Y >= FRows[std::size_t(I)].Top &&
        Y < FRows[std::size_t(I)].Top + FRows[std::size_t(I)].Height)
      return I;
  return -1;
}

void TMenuWindow::Paint() {
  TCanvas& C = *GetCanvas();
  const int W = GetWidth(), H = GetHeight();
  C.GetBrush().SetColor(clMenu);
  C.FillRect(Rect(0, 0, W, H));
  // The raised 3-pixel frame.
  DrawEdge(C, clMenu, cl3DDkShadow, 0, 0, W - 1, H - 1);
  DrawEdge(C, clBtnHighlight, clBtnShadow, 1, 1, W - 2, H - 2);
  DrawEdge(C, clMenu, clMenu, 2, 2, W - 3, H - 3);
  const int TextX = Border + CheckColumn + 4;
  for (int I = 0; I < GetRowCount(); ++I) {
    const TRow& Row = FRows[std::size_t(I)];
    const TRect R = GetRowRect(I);
    TMenuItem* It = Row.Item;
    if (It->IsLine()) {
      const int Y = Row.Top + SeparatorHeight / 2;
      C.GetPen().SetColor(clBtnShadow);
      C.MoveTo(R.Left + 1, Y - 1);
      C.LineTo(R.Right - 1, Y - 1);
      C.GetPen().SetColor(clBtnHighlight);
      C.MoveTo(R.Left + 1, Y);
      C.LineTo(R.Right - 1, Y);
      continue;
    }
    const bool Lit = I == FHighlight;
    if (Lit) {
      C.GetBrush().SetColor(clHighlight);
      C.FillRect(R);
    }
    const TColor Ink = !It->GetEnabled() ? clGrayText : Lit ? clHighlightText : clMenuText;
    // The check column: the bitmap, else the check mark or the radio dot.
    const int Mid = Row.Top + Row.Height / 2;
    if (const TBitmap* B = It->GetBitmap()) {
      C.Draw(Border + (CheckColumn - B->GetWidth()) / 2, Mid - B->GetHeight() / 2, *B);
    } else if (It->GetChecked()) {
      if (It->GetRadioItem())
        DrawRadioDot(C, Border + CheckColumn / 2 - 2, Mid - 2, Ink);
      else
        DrawCheckMark(C, Border + (CheckColumn - 7) / 2, Mid - 3, Ink);
    }
    C.GetFont().Assign(GetFont());
    C.GetFont().SetStyle(It->GetDefault() ? fsBold : 0);
    C.GetFont().SetColor(Ink);
    C.GetBrush().SetStyle(bsClear);
    const TMenuCaption Cap = ParseMenuCaption(It->GetCaption());
    const int Y = Mid - C.TextHeight("Wg") / 2;
    C.TextOut(TextX, Y, Cap.Text);
    if (Cap.KeyPos != std::string::npos) {
      // The access key underlined: the same character drawn again with the underline.
      const int KeyX = TextX + C.TextWidth(std::string_view(Cap.Text).substr(0, Cap.KeyPos));
      C.GetFont().SetStyle(C.GetFont().GetStyle() | fsUnderline);
      C.TextOut(KeyX, Y, std::string_view(Cap.Text).substr(Cap.KeyPos, Cap.KeyLen));
    }
    C.GetBrush().SetStyle(bsSolid);
    if (HasVisibleItems(*It)) {
      // The sub-menu arrow: a triangle 4 wide and 7 high pointing right.
      C.GetPen().SetColor(Ink);
      const int X = R.Right - 12;
      for (int D = 0; D < 4; ++D) {
        C.MoveTo(X + D, Mid - 3 + D);
        C.LineTo(X + D, Mid + 4 - D);
      }
    }
  }
}

void TMenuWindow::SetHighlight(int Row) {
  if (Row == FHighlight) return;
  FHighlight = Row;
  Invalidate();
}

void TMenuWindow::MoveHighlight(int Step) {
  const int N = GetRowCount();
  int R = FHighlight;
  for (int I = 0; I < N; ++I) {
    R = R < 0 ? (Step > 0 ? 0 : N - 1) : (R + Step + N) % N;
    if (!FRows[std::size_t(R)].Item->IsLine()) {
      SetHighlight(R);
      return;
    }
  }
}

void TMenuWindow::StartSubMenuTimer() {
  StopSubMenuTimer();
  FTimer = Application->GetTimers().Start(
      SubMenuDelay,
      [this] {
        StopSubMenuTimer();
        OpenSubMenu(false);
      },
      this);
}

void TMenuWindow::StopSubMenuTimer() {
  if (FTimer) Application->GetTimers().Stop(FTimer);
  FTimer = 0;
}

void TMenuWindow::OpenSubMenu(bool SelectFirst) {
  TMenuItem* It = GetRowItem(FHighlight);
  const bool Wanted = It && It->GetEnabled() && HasVisibleItems(*It);
  if (FChild && (!Wanted || FChild->FItem != It)) FChild->ClosePopup();
  if (!Wanted) return;
  if (!FChild || !FChild->IsOpen()) {
    FChild = nullptr;
    for (TMenuWindow* W : FMenu->FWindows)
      if (W->FItem == It && W->FParentWindow == this) FChild = W;
    if (!FChild) FChild = FMenu->NewWindow(It, this);
    const TSize S = FChild->Measure();
    const TSize Screen = Application->GetHost().ScreenSize();
    const TRect Row = GetRowRect(FHighlight);
    int X = GetLeft() + GetWidth() - Border;
    if (X + S.cx > Screen.cx) X = GetLeft() - S.cx + Border;  // no room at the right
    const TRect R = PlaceAtPoint({X, GetTop() + Row.Top - Border}, S, Screen);
    FChild->FHighlight = -1;
    FChild->Popup(this, R);
  }
  if (SelectFirst && FChild->FHighlight < 0) FChild->MoveHighlight(1);
}

TMenuWindow* TMenuWindow::RootWindow() {
  TMenuWindow* W = this;
  while (W->FParentWindow) W = W->FParentWindow;
  return W;
}

void TMenuWindow::Choose(TMenuItem* Item) {
  if (!Item || !Item->GetEnabled() || Item->IsLine()) return;
  if (FMenu->FLoop) FMenu->FLoop->Chosen = Item;
  RootWindow()->ClosePopup();
}

void TMenuWindow::MouseMove(TShiftState, int X, int Y) {
  if (auto& L = FMenu->FLoop; L && !L->Armed && TPoint{GetLeft() + X, GetTop() + Y} != L->OpenedAt)
    L->Armed = true;
  const int Row = RowAt(X, Y);
  if (Row < 0) {
    // Outside: the item of an open sub-menu stays lit.
    if (!FChild || !FChild->IsOpen()) SetHighlight(-1);
    return;
  }
  if (FRows[std::size_t(Row)].Item->IsLine() || Row == FHighlight) return;
  SetHighlight(Row);
  StartSubMenuTimer();  // opens this item's sub-menu, or closes another's
}

void TMenuWindow::MouseDown(TMouseButton, TShiftState, int X, int Y) {
  if (FMenu->FLoop) FMenu->FLoop->Armed = true;
  const int Row = RowAt(X, Y);
  if (Row < 0 || FRows[std::size_t(Row)].Item->IsLine()) return;
  SetHighlight(Row);
  StopSubMenuTimer();
  OpenSubMenu(false);
}

void TMenuWindow::MouseUp(TMouseButton, TShiftState, int X, int Y) {
  const int Row = RowAt(X, Y);
  TMenuItem* It = GetRowItem(Row);
  if (!It || !FMenu->FLoop || !FMenu->FLoop->Armed || HasVisibleItems(*It)) return;
  Choose(It);
}

bool TMenuWindow::PopupKeyDown(std::uint16_t& Key, TShiftState) {
  TMenuItem* It = GetRowItem(FHighlight);
  switch (Key) {
    case vk::Up:
      MoveHighlight(-1);
      break;
    case vk::Down:
      MoveHighlight(1);
      break;
    case vk::Home:
      FHighlight = -1;
      MoveHighlight(1);
      break;
    case vk::End:
      FHighlight = -1;
      MoveHighlight(-1);
      break;
    case vk::Right:
      StopSubMenuTimer();
      OpenSubMenu(true);
      break;
    case vk::Left:
      if (FParentWindow) ClosePopup();
      break;
    case vk::Return:
      StopSubMenuTimer();
      if (It && HasVisibleItems(*It))
        OpenSubMenu(true);
      else
        Choose(It);
      break;
    case vk::Escape:
      ClosePopup();  // one level
      break;
    default:
      break;
  }
  Key = 0;
  return true;
}

bool TMenuWindow::PopupKeyUp(std::uint16_t& Key, TShiftState) {
  Key = 0;
  return true;
}

bool TMenuWindow::PopupKeyPress(char32_t& Key) {
  const char32_t Want = AsciiLower(Key);
  Key = 0;
  for (int I = 0; I < GetRowCount(); ++I) {
    TMenuItem* It = FRows[std::size_t(I)].Item;
    const TMenuCaption Cap = ParseMenuCaption(It->GetCaption());
    if (Cap.KeyPos == std::string::npos || It->IsLine()) continue;
    if (AsciiLower(Utf8Decode(Cap.Text, Cap.KeyPos, nullptr)) != Want) continue;
    SetHighlight(I);
    if (HasVisibleItems(*It))
      OpenSubMenu(true);
    else
      Choose(It);
    break;
  }
  return true;
}

void TMenuWindow::PopupClosed() {
  StopSubMenuTimer();
  if (FParentWindow && FParentWindow->FChild == this) FParentWindow->Invalidate();
}

}  // namespace kvl
