#include "kvl/platform/listbox.h"

#include <algorithm>

#include "kvl/platform/application.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/text.h"

namespace kvl {

namespace {

constexpr int WheelRows = 3;
constexpr int MaxItemHeight = 1000;
constexpr int TextIndent = 2;

}  // namespace

// --- TCustomListBox -------------------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TFollowedStrings>(static_cast<TStringsFollower&>(*this))),
      FBar(*this, sbVertical) {
  FItems->SetDuplicates(dupAccept);
  FBar.OnScroll = [this](TScrollCode Code, std::int64_t Pos) { OnBarScroll(Code, Pos); };
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetDefaultColor(clWindow);
  SetBorderInset(2);
}

TCustomListBox::~TCustomListBox() = default;

int TCustomListBox::GetItemHeight() const {
  if (FItemHeight > 0) return FItemHeight;
  return std::clamp(GetFontMetrics(GetFont()).Height + 2, 1, MaxItemHeight);
}

void TCustomListBox::SetItemHeight(int Value) {
  Value = std::clamp(Value, 1, MaxItemHeight);
  if (Value == FItemHeight) return;
  FItemHeight = Value;
  SetTopIndex(FTopIndex);
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::FontChanged() {
  TWinControl::FontChanged();
  if (FItemHeight == 0) {
    SetTopIndex(FTopIndex);
    UpdateScrollBar();
  }
}

void TCustomListBox::EnabledChanged() {
  TWinControl::EnabledChanged();
  FBar.SetEnabled(IsEnabledInTree());
}

TListRowsView TCustomListBox::View() const {
  TListRowsView V;
  V.Client = GetClientRect();
  V.Count = GetCount();
  V.TopIndex = FTopIndex;
  V.ItemHeight = GetItemHeight();
  return V;
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Invalidate();
}

void TCustomListBox::SetSorted(bool Value) { FItems->SetSorted(Value); }

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  SetBorderInset(Value == bsSingle ? 2 : 0);
  UpdateScrollBar();
}

// --- Selection ------------------------------------------------------------------------------

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= GetCount()) Value = -1;
  // A batch of sorted adds finds its places before an index means a line.
  if (GetCount() > 0) (void)(*FItems)[0];
  if (FMultiSelect) {
    FSelected.assign(std::size_t(GetCount()), false);
    FSelCount = 0;
    if (Value >= 0) SetSelectedFlag(Value, true);
    Invalidate();
  } else {
    InvalidateRow(FItemIndex);
    InvalidateRow(Value);
  }
  FItemIndex = Value;
  FAnchor = Value;
  if (Value >= 0) MakeVisible(Value);
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (Value == FMultiSelect) return;
  FMultiSelect = Value;
  FSelected.assign(Value ? std::size_t(GetCount()) : 0, false);
  FSelCount = 0;
  if (Value && FItemIndex >= 0) SetSelectedFlag(FItemIndex, true);
  Invalidate();
}

bool TCustomListBox::GetSelected(int Index) const {
  if (Index < 0 || Index >= GetCount()) TStrings::IndexError(Index);
  if (!FMultiSelect) return Index == FItemIndex;
  return FSelected[std::size_t(Index)];
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  if (Index < 0 || Index >= GetCount()) TStrings::IndexError(Index);
  if (GetCount() > 0) (void)(*FItems)[0];
  if (!FMultiSelect) {
    if (Value)
      SetItemIndex(Index);
    else if (Index == FItemIndex)
      SetItemIndex(-1);
    return;
  }
  SetSelectedFlag(Index, Value);
}

void TCustomListBox::SetSelectedFlag(int Index, bool Value) {
  auto Bit = FSelected[std::size_t(Index)];
  if (Bit == Value) return;
  Bit = Value;
  FSelCount += Value ? 1 : -1;
  InvalidateRow(Index);
}

int TCustomListBox::GetSelCount() const {
  if (!FMultiSelect) return FItemIndex >= 0 ? 1 : 0;
  return FSelCount;
}

void TCustomListBox::SelectAll() {
  if (!FMultiSelect) return;
  FSelected.assign(std::size_t(GetCount()), true);
  FSelCount = GetCount();
  Invalidate();
}

void TCustomListBox::ClearSelection() {
  if (!FMultiSelect) {
    SetItemIndex(-1);
    return;
  }
  FSelected.assign(std::size_t(GetCount()), false);
  FSelCount = 0;
  Invalidate();
}

void TCustomListBox::SelectRange(int From, int To) {
  if (From > To) std::swap(From, To);
  // Clearing first costs the whole list once per gesture step only where rows were selected.
  if (FSelCount > 0) {
    FSelected.assign(std::size_t(GetCount()), false);
    FSelCount = 0;
  }
  for (int I = std::max(From, 0); I <= To && I < GetCount(); ++I) FSelected[std::size_t(I)] = true;
  FSelCount = std::max(std::min(To, GetCount() - 1) - std::max(From, 0) + 1, 0);
  Invalidate();
}

// --- Told by the items ----------------------------------------------------------------------

void TCustomListBox::ItemInserted(int Index) {
  if (FMultiSelect) {
    FSelected.insert(FSelected.begin() + std::min<std::ptrdiff_t>(Index, std::ptrdiff_t(FSelected.size())),
                     false);
  }
  if (FItemIndex >= Index) ++FItemIndex;
  if (FAnchor >= Index) ++FAnchor;
}

void TCustomListBox::ItemDeleted(int Index) {
  if (FMultiSelect && Index < int(FSelected.size())) {
    if (FSelected[std::size_t(Index)]) --FSelCount;
    FSelected.erase(FSelected.begin() + Index);
  }
  if (FItemIndex == Index)
    FItemIndex = -1;
  else if (FItemIndex > Index)
    --FItemIndex;
  if (FAnchor == Index)
    FAnchor = -1;
  else if (FAnchor > Index)
    --FAnchor;
  FTypeAhead.Reset();
}

void TCustomListBox::ItemsMoved(int From, int To) {
  const auto Moved = [&](int I) {
    if (I == From) return To;
    if (From < To && I > From && I <= To) return I - 1;
    if (From > To && I >= To && I < From) return I + 1;
    return I;
  };
  if (FMultiSelect) {
    const bool Bit = FSelected[std::size_t(From)];
    FSelected.erase(FSelected.begin() + From);
    FSelected.insert(FSelected.begin() + To, Bit);
  }
  if (FItemIndex >= 0) FItemIndex = Moved(FItemIndex);
  if (FAnchor >= 0) FAnchor = Moved(FAnchor);
}

void TCustomListBox::ItemsReset() {
  FSelected.assign(FMultiSelect ? std::size_t(GetCount()) : 0, false);
  FSelCount = 0;
  FItemIndex = FAnchor = -1;
  FTypeAhead.Reset();
}

void TCustomListBox::ItemsChanged() {
  FTopIndex = std::clamp(FTopIndex, 0, View().MaxTopIndex());
  UpdateScrollBar();
  Invalidate();
}

// --- Geometry and scrolling -----------------------------------------------------------------

void TCustomListBox::SetTopIndex(int Value) {
  Value = std::clamp(Value, 0, View().MaxTopIndex());
  if (Value == FTopIndex) return;
  FTopIndex = Value;
  FBar.SetPosition(Value);
  Invalidate();
}

int TCustomListBox::ItemAtPos(TPoint P, bool Existing) const {
  const TListRowsView V = View();
  if (!V.Client.Contains(P)) return -1;
  const int I = V.RowAtY(P.Y);
  if (I < GetCount()) return I;
  return Existing ? -1 : GetCount();
}

TRect TCustomListBox::ItemRect(int Index) const { return View().RowRect(Index); }

void TCustomListBox::InvalidateRow(int) {
  // Rows share the control's one paint region; a row repaint is a control repaint that costs
  // the shown rows.
  Invalidate();
}

void TCustomListBox::MakeVisible(int Index) {
  const TListRowsView V = View();
  if (Index < FTopIndex)
    SetTopIndex(Index);
  else if (Index >= FTopIndex + V.PageRows())
    SetTopIndex(Index - V.PageRows() + 1);
}

void TCustomListBox::UpdateScrollBar() {
  const TListRowsView V = View();
  const int Inset = GetBorderInset();
  // The bar's presence does not change the client height, so one pass decides it.
  const bool Need = V.Client.Height() > 0 && GetCount() > V.PageRows();
  SetScrollBarInsets(Need ? TScrollBarPart::Thickness : 0, 0);
  FBar.SetBounds(Need ? Rect(GetWidth() - Inset - TScrollBarPart::Thickness, Inset,
                             GetWidth() - Inset, GetHeight() - Inset)
                      : TRect{});
  FBar.SetParams(0, V.MaxTopIndex(), V.PageRows());
  FBar.SetPosition(FTopIndex);
}

void TCustomListBox::SizeChanged(int OldWidth, int OldHeight) {
  TWinControl::SizeChanged(OldWidth, OldHeight);
  FTopIndex = std::clamp(FTopIndex, 0, View().MaxTopIndex());
  UpdateScrollBar();
}

void TCustomListBox::OnBarScroll(TScrollCode Code, std::int64_t Pos) {
  const int Page = View().PageRows();
  if (const auto To = ScrollTarget(Code, Pos, FTopIndex, 1, Page, GetCount())) SetTopIndex(*To);
}

bool TCustomListBox::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TWinControl::DoMouseWheelDown(Shift, MousePos)) SetTopIndex(FTopIndex + WheelRows);
  return true;
}

bool TCustomListBox::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TWinControl::DoMouseWheelUp(Shift, MousePos)) SetTopIndex(FTopIndex - WheelRows);
  return true;
}

void TCustomListBox::NonClientMouseDown(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button == mbLeft) FBar.MouseDown(X, Y);
}
void TCustomListBox::NonClientMouseMove(TShiftState, int X, int Y) { FBar.MouseMove(X, Y); }
void TCustomListBox::NonClientMouseUp(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button == mbLeft) FBar.MouseUp(X, Y);
}

// --- Painting -------------------------------------------------------------------------------

void TCustomListBox::PaintBorder(TCanvas& C) {
  if (FBorderStyle == bsSingle) DrawSunkenFrame(C, Rect(0, 0, GetWidth(), GetHeight()));
  if (!FBar.GetBounds().IsEmpty()) FBar.Paint(C);
}

void TCustomListBox::Paint() {
  TCanvas& C = *GetCanvas();
  TListRowsLook Look;
  Look.Font = &GetFont();
  Look.Color = GetShownColor();
  Look.FontColor = GetShownFontColor();
  Look.Enabled = IsEnabledInTree();
  Look.FocusIndex = Focused() ? std::max(FItemIndex, GetCount() > 0 ? 0 : -1) : -1;
  FPaintedRows = PaintListRows(
      C, View(), Look, [this](int I) { return GetSelected(I); },
      [this](int I, const TRect& R, TOwnerDrawState State) { DrawItem(I, R, State); });
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (FStyle != lbStandard && OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  TCanvas& C = *GetCanvas();
  C.TextRect(Rect, Rect.Left + TextIndent, Rect.Top, (*FItems)[Index]);
}

// --- User selection -------------------------------------------------------------------------

void TCustomListBox::UserChanged(bool FromMouse) {
  if (FromMouse) {
    FMouseChanged = true;
    return;
  }
  FClickDue = true;
  Click();
}

void TCustomListBox::Click() {
  if (!FClickDue) return;
  FClickDue = false;
  TWinControl::Click();
}

void TCustomListBox::UserMoveTo(int Index, TShiftState Shift, bool FromMouse) {
  const int N = GetCount();
  if (N == 0) return;
  Index = std::clamp(Index, 0, N - 1);
  const bool Ctrl = (Shift & ssCtrl) != 0, Shifted = (Shift & ssShift) != 0;
  bool Changed = false;
  if (!FMultiSelect) {
    Changed = Index != FItemIndex;
    FItemIndex = Index;
    FAnchor = Index;
  } else if (FExtendedSelect) {
    if (Shifted && FAnchor >= 0) {
      SelectRange(FAnchor, Index);
      Changed = true;
    } else if (Ctrl && FromMouse) {
      SetSelectedFlag(Index, !FSelected[std::size_t(Index)]);
      FAnchor = Index;
      Changed = true;
    } else if (!Ctrl) {
      Changed = FSelCount != 1 || !FSelected[std::size_t(Index)];
      if (Changed) SelectRange(Index, Index);
      FAnchor = Index;
    }
    // Ctrl with a key moves the focus only.
    FItemIndex = Index;
  } else {
    // Plain multi-select: a click toggles, keys move the focus.
    if (FromMouse) {
      SetSelectedFlag(Index, !FSelected[std::size_t(Index)]);
      Changed = true;
    }
    FItemIndex = Index;
    FAnchor = Index;
  }
  MakeVisible(Index);
  Invalidate();
  if (Changed) UserChanged(FromMouse);
}

bool TCustomListBox::WantsKey(std::uint16_t Key, TShiftState) const {
  return Key >= vk::Prior && Key <= vk::Down;
}

void TCustomListBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  const int N = GetCount();
  if (Key == 0 || N == 0) return;
  const int Page = View().PageRows();
  const int Cur = FItemIndex;
  int To = -2;
  switch (Key) {
    case vk::Up: To = Cur < 0 ? 0 : Cur - 1; break;
    case vk::Down: To = Cur < 0 ? 0 : Cur + 1; break;
    case vk::Home: To = 0; break;
    case vk::End: To = N - 1; break;
    case vk::Prior:
      // To the top shown row, or a page further when already there.
      To = Cur > FTopIndex ? FTopIndex : Cur - Page + 1;
      break;
    case vk::Next: {
      const int Bottom = FTopIndex + Page - 1;
      To = Cur >= 0 && Cur < Bottom ? Bottom : std::max(Cur, 0) + Page - 1;
      break;
    }
    case vk::Space:
      if (FMultiSelect && Cur >= 0 && (!FExtendedSelect || (Shift & ssCtrl))) {
        SetSelectedFlag(Cur, !FSelected[std::size_t(Cur)]);
        FAnchor = Cur;
        UserChanged(false);
        Key = 0;
      }
      return;
    default:
      return;
  }
  FTypeAhead.Reset();
  UserMoveTo(To, Shift, false);
}

void TCustomListBox::KeyPress(char32_t& Key) {
  TWinControl::KeyPress(Key);
  if (Key < 32 || Key == 127) return;
  if (FMultiSelect && Key == ' ') return;
  const int I = FTypeAhead.KeyTyped(Key, Application->GetHost().Now(), FItemIndex, GetCount(),
                                    [this](int J) { return (*FItems)[J]; });
  if (I >= 0) UserMoveTo(I, 0, false);
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    SetFocus();
    FTypeAhead.Reset();
    const int I = ItemAtPos({X, Y}, true);
    FDragging = true;
    FMouseChanged = false;
    if (I >= 0) UserMoveTo(I, Shift, true);
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
  if (FDragging && GetCount() > 0) {
    // Above or below the view the drag scrolls one row per move.
    const TListRowsView V = View();
    const int I = std::clamp(V.RowAtY(Y), std::max(FTopIndex - 1, 0),
                             std::min(FTopIndex + V.PageRows(), GetCount() - 1));
    if (I != FItemIndex) {
      if (FMultiSelect && !FExtendedSelect)
        ;  // plain multi-select toggles on presses only
      else
        UserMoveTo(I, FMultiSelect ? TShiftState(ssShift) : TShiftState(0), true);
    }
  }
  TWinControl::MouseMove(Shift, X, Y);
}

void TCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWinControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft && FDragging) {
    FDragging = false;
    // One OnClick for the whole gesture, wherever it ends.
    if (FMouseChanged) {
      FMouseChanged = false;
      FClickDue = true;
      Click();
    }
  }
}

void TCustomListBox::MouseCaptureLost() {
  FDragging = false;
  if (FMouseChanged) {
    FMouseChanged = false;
    FClickDue = true;
    Click();
  }
  TWinControl::MouseCaptureLost();
}

}  // namespace kvl
