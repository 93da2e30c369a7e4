#include "kvl/platform/combobox.h"

#include <algorithm>
#include <functional>

#include "kvl/core/stringl.h"
#include "kvl/platform/application.h"
#include "kvl/platform/listbox.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/scoped_value.h"
#include "kvl/platform/scrollbars.h"
#include "kvl/platform/text.h"

namespace kvl {

namespace {

constexpr int MaxItemHeight = 1000;
constexpr int FrameWidth = 2;
constexpr int TextIndent = 2;

char Folded(char C) { return C >= 'a' && C <= 'z' ? char(C - 32) : C; }

bool StartsFolded(const std::string& S, const std::string& Prefix) {
  if (S.size() < Prefix.size()) return false;
  for (std::size_t I = 0; I < Prefix.size(); ++I)
    if (Folded(S[I]) != Folded(Prefix[I])) return false;
  return true;
}

bool SameFolded(const std::string& A, const std::string& B) {
  return A.size() == B.size() && StartsFolded(A, B);
}

int FindFolded(const TStrings& Items, const std::string& S, bool Prefix) {
  for (int I = 0; I < Items.GetCount(); ++I) {
    const std::string Item = Items.GetStrings(I);
    if (Prefix ? StartsFolded(Item, S) : SameFolded(Item, S)) return I;
  }
  return -1;
}

}  // namespace

// The edit part: keys and characters go through the box first, which hands on what it does
// not use; focus, enter and exit count as the box's own.
class TComboEdit : public TCustomEdit {
public:
  TComboEdit(TCustomComboBox& Box) : TCustomEdit(&Box), FBox(Box), FBoxAlive(Box.FAlive) {
    SetParent(&Box);
    SetTabStop(false);
  }
  void EditKeyDown(std::uint16_t& Key, TShiftState Shift) { TCustomEdit::KeyDown(Key, Shift); }
  void EditKeyPress(char32_t& Key) { TCustomEdit::KeyPress(Key); }

  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override {
    return FBox.WantsKey(Key, Shift) || TCustomEdit::WantsKey(Key, Shift);
  }
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override { FBox.KeyDown(Key, Shift); }
  void KeyPress(char32_t& Key) override { FBox.KeyPress(Key); }
  void KeyUp(std::uint16_t& Key, TShiftState Shift) override { FBox.KeyUp(Key, Shift); }
  void DoEnter() override {
    TCustomEdit::DoEnter();
    if (*FBoxAlive) FBox.DoEnter();
  }
  void DoExit() override {
    TCustomEdit::DoExit();
    if (*FBoxAlive) FBox.DoExit();
  }
  void FocusIn() override {
    TCustomEdit::FocusIn();
    if (*FBoxAlive) FBox.FocusIn();
  }
  void FocusOut() override {
    TCustomEdit::FocusOut();
    if (*FBoxAlive) FBox.FocusOut();
  }

protected:
  void Change() override {
    if (!*FBoxAlive || FBox.FSyncing) return;
    if (FBox.FTyping) {
      FBox.FEditDirty = true;
      return;
    }
    FBox.EditChangedByUser();
  }
  bool IsTabStopNow() const override { return FBox.GetTabStop(); }

private:
  TCustomComboBox& FBox;
  // The box frees its parts after its own members are gone: only this tells it is going.
  std::shared_ptr<bool> FBoxAlive;
};

// --- TCustomComboBox: items and selection ---------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TFollowedStrings>(static_cast<TStringsFollower&>(*this))),
      FAlive(std::make_shared<bool>(true)) {
  FItems->SetDuplicates(dupAccept);
  SetTabStop(true);
  SetDefaultColor(clWindow);
  BuildParts();
  SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() {
  *FAlive = false;
  if (FList) {
    RemoveFreeNotification(FList);
    // The list outlives this body a little: it must not call back into a box half gone.
    FList->OnClosePopup = nullptr;
    FList->OnChoose = nullptr;
    FList->OnDrawItem = nullptr;
    FList->CloseUp();
    FList->SetItemsSource(nullptr);
    if (FInListEvent)
      Application->ReleaseForm(FList);
    else
      delete FList;
  }
}

void TCustomComboBox::ItemInserted(int Index) {
  if (FItemIndex >= Index) ++FItemIndex;
}

void TCustomComboBox::ItemDeleted(int Index) {
  if (FItemIndex == Index)
    FItemIndex = -1;
  else if (FItemIndex > Index)
    --FItemIndex;
  FTypeAhead.Reset();
}

void TCustomComboBox::ItemsMoved(int From, int To) {
  if (FItemIndex < 0) return;
  if (FItemIndex == From)
    FItemIndex = To;
  else if (From < To && FItemIndex > From && FItemIndex <= To)
    --FItemIndex;
  else if (From > To && FItemIndex >= To && FItemIndex < From)
    ++FItemIndex;
}

void TCustomComboBox::ItemsReset() {
  FItemIndex = -1;
  FTypeAhead.Reset();
}

void TCustomComboBox::ItemsChanged() {
  if (FSimpleList) {
    FSimpleList->GetItems()->Assign(FItems.get());
    FSimpleList->SetItemIndex(FItemIndex);
  }
  if (FList) FList->ItemsChanged();
  Invalidate();
}

void TCustomComboBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= FItems->GetCount()) Value = -1;
  // A batch of sorted adds finds its places before an index means a line.
  if (FItems->GetCount() > 0) (void)(*FItems)[0];
  FItemIndex = Value;
  if (HasEdit()) SetEditText(Value >= 0 ? (*FItems)[Value] : std::string());
  if (FSimpleList) FSimpleList->SetItemIndex(Value);
  if (FList && FList->IsOpen()) FList->SetItemIndex(Value);
  Invalidate();
}

const std::string& TCustomComboBox::GetText() const {
  if (FEdit) return FEdit->GetText();
  FShownText = FItemIndex >= 0 ? (*FItems)[FItemIndex] : std::string();
  return FShownText;
}

void TCustomComboBox::SetText(const std::string& Value) {
  if (HasEdit()) {
    SetEditText(Value);
    IndexFromText();
    return;
  }
  SetItemIndex(FindFolded(*FItems, Value, false));
}

void TCustomComboBox::SetEditText(const std::string& S) {
  if (!FEdit) return;
  const TScopedValue<bool> Mark(FSyncing, true);
  FEdit->SetText(S);
}

void TCustomComboBox::IndexFromText() {
  FItemIndex = FindFolded(*FItems, FEdit->GetText(), false);
  if (FSimpleList) FSimpleList->SetItemIndex(FItemIndex);
}

int TCustomComboBox::GetSelStart() const { return FEdit ? FEdit->GetSelStart() : 0; }
void TCustomComboBox::SetSelStart(int Value) {
  if (FEdit) FEdit->SetSelStart(Value);
}
int TCustomComboBox::GetSelLength() const { return FEdit ? FEdit->GetSelLength() : 0; }
void TCustomComboBox::SetSelLength(int Value) {
  if (FEdit) FEdit->SetSelLength(Value);
}
std::string TCustomComboBox::GetSelText() const { return FEdit ? FEdit->GetSelText() : ""; }
void TCustomComboBox::SetSelText(const std::string& Value) {
  if (!FEdit) return;
  {
    const TScopedValue<bool> Mark(FSyncing, true);
    FEdit->SetSelText(Value);
  }
  IndexFromText();
}

void TCustomComboBox::SetMaxLength(int Value) {
  FMaxLength = std::max(Value, 0);
  if (FEdit) FEdit->SetMaxLength(FMaxLength);
}

void TCustomComboBox::SetCharCase(TEditCharCase Value) {
  FCharCase = Value;
  if (FEdit) {
    const TScopedValue<bool> Mark(FSyncing, true);
    FEdit->SetCharCase(Value);
  }
}

void TCustomComboBox::SetDropDownCount(int Value) {
  FDropDownCount = std::clamp(Value, 1, 100);
  if (FList) FList->SetDropDownRows(FDropDownCount);
}

int TCustomComboBox::GetItemHeight() const {
  if (FItemHeight > 0) return FItemHeight;
  return std::clamp(GetFontMetrics(GetFont()).Height + 2, 1, MaxItemHeight);
}

void TCustomComboBox::SetItemHeight(int Value) {
  FItemHeight = std::clamp(Value, 1, MaxItemHeight);
  SetBounds(FLeft, FTop, FWidth, FAskedHeight);
  Invalidate();
}

TCustomEdit* TCustomComboBox::GetEditPart() const { return FEdit; }

void TCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FList) FList = nullptr;
}

TDropDownList* TCustomComboBox::GetDropDownList() const {
  return FList && FList->IsOpen() ? FList : nullptr;
}

TCanvas* TCustomComboBox::GetCanvas() { return FDrawCanvas ? FDrawCanvas : TControl::GetCanvas(); }

// --- Parts and geometry ---------------------------------------------------------------------

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (Value == FStyle) return;
  CloseList();
  const std::string Text = GetText();
  FStyle = Value;
  BuildParts();
  SetBounds(FLeft, FTop, FWidth, FAskedHeight);
  if (HasEdit()) SetEditText(FItemIndex >= 0 ? (*FItems)[FItemIndex] : Text);
  Invalidate();
}

void TCustomComboBox::BuildParts() {
  const bool WasFocused = HasFocus();
  if (FEdit && !HasEdit()) {
    delete FEdit;
    FEdit = nullptr;
  }
  if (FSimpleList && FStyle != csSimple) {
    delete FSimpleList;
    FSimpleList = nullptr;
  }
  if (HasEdit() && !FEdit) {
    FEdit = new TComboEdit(*this);
    FEdit->SetMaxLength(FMaxLength);
    FEdit->SetCharCase(FCharCase);
  }
  if (FStyle == csSimple && !FSimpleList) {
    FSimpleList = new TListBox(this);
    FSimpleList->SetParent(this);
    FSimpleList->SetTabStop(false);
    FSimpleList->GetItems()->Assign(FItems.get());
    FSimpleList->SetItemIndex(FItemIndex);
    FSimpleList->OnClick = [this](TObject*) {
      const std::shared_ptr<bool> Alive = FAlive;
      if (FEdit && FEdit->CanFocus()) FEdit->SetFocus();
      if (*Alive && FSimpleList) UserSelect(FSimpleList->GetItemIndex());
    };
  }
  if (FEdit) FEdit->SetBorderStyle(FStyle == csSimple ? bsSingle : bsNone);
  SyncPartsLook();
  LayoutParts();
  if (WasFocused) SetFocus();
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // The height asked for is kept for csSimple, which takes any.
  FAskedHeight = AHeight;
  if (FStyle != csSimple) AHeight = GetItemHeight() + 2 * FrameWidth + 2;
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomComboBox::SizeChanged(int OldWidth, int OldHeight) {
  TWinControl::SizeChanged(OldWidth, OldHeight);
  LayoutParts();
}

TRect TCustomComboBox::ButtonRect() const {
  if (FStyle == csSimple) return {};
  const int W = GetWidth(), H = GetHeight();
  return Rect(std::max(W - FrameWidth - TScrollBarPart::Thickness, FrameWidth), FrameWidth,
              W - FrameWidth, H - FrameWidth);
}

TRect TCustomComboBox::FaceRect() const {
  if (FStyle == csSimple) return {};
  const TRect B = ButtonRect();
  return Rect(FrameWidth + 1, FrameWidth + 1, std::max(B.Left - 1, FrameWidth + 1),
              GetHeight() - FrameWidth - 1);
}

void TCustomComboBox::LayoutParts() {
  const int W = GetWidth(), H = GetHeight();
  if (FStyle == csSimple) {
    const int EditHeight = GetItemHeight() + 2 * FrameWidth + 2;
    if (FEdit) FEdit->SetBounds(0, 0, W, std::min(EditHeight, H));
    if (FSimpleList) FSimpleList->SetBounds(0, EditHeight, W, std::max(H - EditHeight, 0));
    return;
  }
  if (FEdit) FEdit->SetBoundsRect(FaceRect());
}

void TCustomComboBox::SyncPartsLook() {
  // The parts show the box's colours as the box would show them, disabled ones included.
  for (TWinControl* Part :
       {static_cast<TWinControl*>(FEdit), static_cast<TWinControl*>(FSimpleList)}) {
    if (!Part) continue;
    Part->GetFont().Assign(GetFont());
    Part->GetFont().SetColor(GetShownFontColor());
    Part->SetColor(GetShownColor());
  }
}

void TCustomComboBox::FontChanged() {
  TWinControl::FontChanged();
  SyncPartsLook();
  SetBounds(FLeft, FTop, FWidth, FAskedHeight);
  LayoutParts();
}

void TCustomComboBox::ColorChanged() {
  TWinControl::ColorChanged();
  SyncPartsLook();
}

void TCustomComboBox::EnabledChanged() {
  TWinControl::EnabledChanged();
  SyncPartsLook();
}

bool TCustomComboBox::IsTabStopNow() const { return !HasEdit() && GetTabStop(); }

bool TCustomComboBox::HasFocus() const { return Focused() || (FEdit && FEdit->Focused()); }

void TCustomComboBox::SetFocus() {
  if (FEdit)
    FEdit->SetFocus();
  else
    TWinControl::SetFocus();
}

// --- Painting -------------------------------------------------------------------------------

void TCustomComboBox::Paint() {
  if (FStyle == csSimple) return;
  TCanvas& C = *TControl::GetCanvas();
  const int W = GetWidth(), H = GetHeight();
  const bool Enabled = IsEnabledInTree();
  C.GetBrush().SetColor(GetShownColor());
  C.FillRect(Rect(FrameWidth, FrameWidth, W - FrameWidth, H - FrameWidth));
  DrawSunkenFrame(C, Rect(0, 0, W, H));
  DrawDropDownButton(C, ButtonRect(), FButtonDown, Enabled);
  if (HasEdit()) return;
  const TRect R = FaceRect();
  const bool Focus = HasFocus() && Enabled;
  TOwnerDrawState State = odComboBoxEdit;
  if (Focus) State |= odSelected | odFocused;
  if (!Enabled) State |= odDisabled;
  C.GetPen().SetColor(clBlack);
  C.GetPen().SetWidth(1);
  C.GetPen().SetStyle(psSolid);
  C.GetBrush().SetColor(Focus ? clHighlight : GetShownColor());
  C.FillRect(R);
  C.SetFont(GetFont());
  C.GetFont().SetColor(Focus ? clHighlightText : GetShownFontColor());
  if (FItemIndex >= 0) {
    const std::shared_ptr<bool> Alive = FAlive;
    DrawItem(FItemIndex, R, State);
    if (!*Alive) return;
  }
  if (Focus) TControl::GetCanvas()->DrawFocusRect(R);
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (FStyle == csOwnerDrawFixed && OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  TCanvas& C = *GetCanvas();
  const int Top = Rect.Top + (Rect.Height() - C.TextHeight("Wg")) / 2;
  C.TextRect(Rect, Rect.Left + TextIndent, Top, (*FItems)[Index]);
}

// --- The list -------------------------------------------------------------------------------

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (Value)
    OpenList(false);
  else
    CloseList();
}

void TCustomComboBox::OpenList(bool FromPress) {
  if (FStyle == csSimple || GetDroppedDown()) return;
  const std::shared_ptr<bool> Alive = FAlive;
  FPressHeld = FromPress;
  DropDown();
  // The handler may have run a dialog, freed, hidden or disabled the box.
  if (!*Alive || !IsShowing() || !IsEnabledInTree() || FStyle == csSimple || GetDroppedDown())
    return;
  const bool PressOver = FromPress && !FPressHeld;
  if (!FList) {
    FList = new TDropDownList(nullptr);
    FreeNotification(FList);  // the application frees every form it still has at its end
    FList->SetShowEmptyRow(true);
    // Handlers run from here may free the box while the list is still at work.
    const auto FromList = [this](const std::function<void()>& Act) {
      const std::shared_ptr<bool> Alive = FAlive;
      FInListEvent = true;
      Act();
      if (*Alive) FInListEvent = false;
    };
    FList->OnChoose = [this, FromList](TObject*, int Index) {
      FromList([&] { UserSelect(Index); });
    };
    FList->OnClosePopup = [this, FromList](TObject*) {
      FromList([&] {
        Invalidate();
        CloseUp();
      });
    };
    FList->OnDrawItem = [this](TObject*, TCanvas& C, int Index, const TRect& R, bool Selected) {
      const TScopedValue<TCanvas*> Target(FDrawCanvas, &C);
      DrawItem(Index, R, Selected ? odSelected | odFocused : 0);
    };
  }
  FList->GetFont().Assign(GetFont());
  FList->SetColor(GetColor());
  FList->SetItemHeight(GetItemHeight());
  FList->SetDropDownRows(FDropDownCount);
  FList->SetItemsSource(FItems.get());
  FList->DropDownAt(*this, FItemIndex);
  if (PressOver) FList->ForgetPress();
  Invalidate();
}

void TCustomComboBox::CloseList() {
  if (GetDroppedDown()) FList->CloseUp();
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::UserSelect(int Index) {
  if (Index < 0 || Index >= FItems->GetCount()) return;
  const bool Changed = Index != FItemIndex || (FEdit && FEdit->GetText() != (*FItems)[Index]);
  if (!Changed) return;
  SetItemIndex(Index);
  if (FEdit) FEdit->SelectAll();
  const std::shared_ptr<bool> Alive = FAlive;
  Click();
  if (!*Alive) return;
  Select();
  if (!*Alive) return;
  Change();
}

// --- Keys -----------------------------------------------------------------------------------

bool TCustomComboBox::WantsKey(std::uint16_t Key, TShiftState) const {
  if (Key >= vk::Left && Key <= vk::Down) return true;
  return GetDroppedDown() && (Key == vk::Return || Key == vk::Escape || Key == vk::Tab);
}

void TCustomComboBox::StepSelection(std::uint16_t Key) {
  const int N = FItems->GetCount();
  if (N == 0) return;
  const int Page = std::max(FDropDownCount - 1, 1), Cur = FItemIndex;
  int To = Cur;
  switch (Key) {
    case vk::Left:
    case vk::Up:
      To = Cur < 0 ? 0 : Cur - 1;
      break;
    case vk::Right:
    case vk::Down:
      To = Cur + 1;
      break;
    case vk::Home:
      To = 0;
      break;
    case vk::End:
      To = N - 1;
      break;
    case vk::Prior:
      To = Cur - Page;
      break;
    case vk::Next:
      To = Cur < 0 ? Page - 1 : Cur + Page;
      break;
    default:
      return;
  }
  UserSelect(std::clamp(To, 0, N - 1));
}

void TCustomComboBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  const std::shared_ptr<bool> Alive = FAlive;
  TWinControl::KeyDown(Key, Shift);
  if (!*Alive || Key == 0) return;
  const bool Alt = (Shift & ssAlt) != 0;
  const bool Toggle = Key == vk::F4 || (Alt && (Key == vk::Down || Key == vk::Up));
  if (FStyle != csSimple && Toggle) {
    if (GetDroppedDown())
      CloseList();
    else if (Key != vk::Up)
      OpenList(false);
    Key = 0;
    return;
  }
  if (GetDroppedDown()) {
    switch (Key) {
      case vk::Tab:
        CloseList();
        Key = 0;
        return;
      case vk::Home:
      case vk::End:
        if (IsListStyle()) {
          FList->SetItemIndex(Key == vk::Home ? 0 : FItems->GetCount() - 1);
          Key = 0;
          return;
        }
        break;
      default:
        break;
    }
  } else if (!Alt) {
    // The list styles step through the items with every moving key; the edit styles with the
    // vertical ones, leaving Left, Right, Home and End to the edit.
    const bool Steps =
        IsListStyle() ? (Key >= vk::Prior && Key <= vk::Down)
                      : (Key == vk::Up || Key == vk::Down || Key == vk::Prior || Key == vk::Next);
    if (Steps) {
      FTypeAhead.Reset();
      StepSelection(Key);
      Key = 0;
      return;
    }
  }
  if (IsListStyle()) return;
  if (FEdit) FEdit->EditKeyDown(Key, Shift);
}

void TCustomComboBox::KeyPress(char32_t& Key) {
  const std::shared_ptr<bool> Alive = FAlive;
  TWinControl::KeyPress(Key);
  if (!*Alive || Key == 0) return;
  if (FEdit) {
    TypedIntoEdit(Key);
    return;
  }
  if (Key < 32 || Key == 127) return;
  const bool Open = GetDroppedDown();
  const int Cur = Open ? FList->GetItemIndex() : FItemIndex;
  const int I = FTypeAhead.KeyTyped(Key, Application->GetHost().Now(), Cur, FItems->GetCount(),
                                    [this](int J) { return (*FItems)[J]; });
  if (I < 0) return;
  if (Open)
    FList->SetItemIndex(I);
  else
    UserSelect(I);
}

void TCustomComboBox::TypedIntoEdit(char32_t& Key) {
  {
    const TScopedValue<bool> Typing(FTyping, true);
    FEditDirty = false;
    FEdit->EditKeyPress(Key);
  }
  if (!FEditDirty) return;
  FEditDirty = false;
  const std::string& Now = FEdit->GetText();
  const int Caret = FEdit->GetSelStart();
  const bool AtEnd = FEdit->GetSelLength() == 0 && Caret == Utf8Length(Now);
  if (FAutoComplete && Key >= 32 && Key != 127 && AtEnd) {
    if (const int I = FindFolded(*FItems, Now, true); I >= 0) {
      SetEditText((*FItems)[I]);
      FEdit->SetSelStart(Caret);
      FEdit->SetSelLength(Utf8Length((*FItems)[I]) - Caret);
    }
  }
  IndexFromText();
  if (GetDroppedDown()) FList->SetItemIndex(FItemIndex);
  Change();
}

void TCustomComboBox::EditChangedByUser() {
  IndexFromText();
  if (GetDroppedDown()) FList->SetItemIndex(FItemIndex);
  Change();
}

// --- Mouse and focus ------------------------------------------------------------------------

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const std::shared_ptr<bool> Alive = FAlive;
  TWinControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft || FStyle == csSimple) return;
  if (!IsListStyle() && !ButtonRect().Contains({X, Y})) return;
  if (CanFocus() && !HasFocus()) SetFocus();
  if (!*Alive) return;
  FButtonDown = true;
  Invalidate();
  OpenList(true);
}

void TCustomComboBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FButtonDown) {
    FButtonDown = false;
    Invalidate();
  }
  TWinControl::MouseUp(Button, Shift, X, Y);
}

void TCustomComboBox::MouseCaptureLost() {
  FPressHeld = false;
  if (FButtonDown) {
    FButtonDown = false;
    Invalidate();
  }
  TWinControl::MouseCaptureLost();
}

void TCustomComboBox::FocusOut() {
  CloseList();
  Invalidate();
}

bool TCustomComboBox::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (TWinControl::DoMouseWheelDown(Shift, MousePos)) return true;
  if (IsListStyle() && HasFocus()) StepSelection(vk::Down);
  return IsListStyle();
}

bool TCustomComboBox::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (TWinControl::DoMouseWheelUp(Shift, MousePos)) return true;
  if (IsListStyle() && HasFocus()) StepSelection(vk::Up);
  return IsListStyle();
}

}  // namespace kvl
