// The in-place editor: opening, placing, key routing, commit and cancel, the pick-list button.
#include <algorithm>

#include "kvl/core/pen_brush_keeper.h"
#include "kvl/platform/dropdown.h"
#include "kvl/platform/grids.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/scoped_value.h"

namespace kvl {

// --- TInplaceEdit ---------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetBorderStyle(bsNone);
  SetTabStop(false);
  SetVisible(false);
  SetParentColor(true);
}

bool TInplaceEdit::WantsKey(std::uint16_t Key, TShiftState Shift) const {
  switch (Key) {
    case vk::Up:
    case vk::Down:
    case vk::Return:
    case vk::Escape:
      return true;
    case vk::Tab:
      return FGrid && FGrid->WantsKey(Key, Shift);
    default:
      return TCustomEdit::WantsKey(Key, Shift);
  }
}

void TInplaceEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (!FGrid) {
    TCustomEdit::KeyDown(Key, Shift);
    return;
  }
  TCustomGrid* Grid = FGrid;
  switch (Key) {
    case vk::Escape:
      // Nothing is handed back; the grid (a descendant's own Esc rule) hears the key after.
      Grid->EndEdit(false);
      Grid->KeyDown(Key, Shift);
      Key = 0;
      return;
    case vk::Up:
    case vk::Down:
    case vk::Prior:
    case vk::Next:
      Grid->KeyDown(Key, Shift);
      return;
    case vk::Tab:
      if (Grid->WantsKey(Key, Shift)) {
        Grid->KeyDown(Key, Shift);
        return;
      }
      break;
    default:
      break;
  }
  TCustomEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(char32_t& Key) {
  if (FGrid) {
    FGrid->KeyPress(Key);
    if (Key == 0 || !FGrid) return;
  }
  // A line break has no place in a cell.
  if (Key == U'\r' || Key == U'\n') return;
  TCustomEdit::KeyPress(Key);
}

void TInplaceEdit::DoExit() {
  TCustomEdit::DoExit();
  if (FGrid) FGrid->EditorExited();
}

// --- TInplaceEditList -----------------------------------------------------------------------

TInplaceEditList::TInplaceEditList(TComponent* AOwner) : TInplaceEdit(AOwner) {}

void TInplaceEditList::SetDropDownRows(int Value) {
  FDropDownRows = std::clamp(Value, 1, 100);
  // An open list takes the new height at once.
  if (FList) FList->SetDropDownRows(FDropDownRows);
}

bool TInplaceEditList::GetListVisible() const { return FList && FList->IsOpen(); }

void TInplaceEditList::UpdateStyle(TEditStyle Style) {
  CloseUp(false);
  FEditStyle = Style;
  SetScrollBarInsets(Style == esSimple ? 0 : ButtonWidth, 0);
  if (FGrid) FDropDownRows = FGrid->GetDropDownRows();
}

TRect TInplaceEditList::ButtonRect() const {
  if (FEditStyle == esSimple) return {};
  return Rect(GetWidth() - ButtonWidth, 0, GetWidth(), GetHeight());
}

void TInplaceEditList::PaintBorder(TCanvas& C) {
  const TRect R = ButtonRect();
  if (R.IsEmpty()) return;
  const bool Down = FButtonPressed;
  if (FEditStyle == esPickList) {
    DrawDropDownButton(C, R, Down, IsEnabledInTree());
    return;
  }
  DrawButtonFace(C, R, Down);
  // Three dots in the middle of the ellipsis button.
  const TPenBrushKeeper Keep(C);
  const int Shift = Down ? 1 : 0;
  const int X = R.Left + (R.Width() - 8) / 2 + Shift, Y = R.Top + R.Height() / 2 + Shift;
  C.GetBrush().SetColor(IsEnabledInTree() ? clBtnText : clBtnShadow);
  for (int I = 0; I < 3; ++I) C.FillRect(Rect(X + 3 * I, Y, X + 3 * I + 2, Y + 2));
}

void TInplaceEditList::NonClientMouseDown(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft || !ButtonRect().Contains({X, Y})) return;
  if (CanFocus() && !Focused()) SetFocus();
  FButtonHeld = true;
  FButtonPressed = true;
  Invalidate();
  // A press here while the list is open lands outside it and only closes it.
  if (FEditStyle == esPickList) DropDown();
}

void TInplaceEditList::NonClientMouseMove(TShiftState, int X, int Y) {
  if (!FButtonHeld) return;
  if (StoreIfChanged(FButtonPressed, ButtonRect().Contains({X, Y}))) Invalidate();
}

void TInplaceEditList::NonClientMouseUp(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft || !FButtonHeld) return;
  FButtonHeld = false;
  FButtonPressed = false;
  Invalidate();
  if (FEditStyle == esEllipsis && ButtonRect().Contains({X, Y}) && FGrid) FGrid->EditButtonClick();
}

void TInplaceEditList::MouseCaptureLost() {
  TInplaceEdit::MouseCaptureLost();
  FButtonHeld = false;
  if (StoreIfChanged(FButtonPressed, false)) Invalidate();
}

void TInplaceEditList::DropDown() {
  if (!FGrid || FEditStyle != esPickList || GetListVisible()) return;
  // The items follow the data: asked anew each time.
  FPickList.Clear();
  FGrid->GetPickListItems(FGrid->GetCol(), FGrid->GetRow(), FPickList);
  if (FPickList.GetCount() == 0) return;
  if (!FList) {
    FList = new TDropDownList(this);
    FList->GetFont().Assign(GetFont());  // rows in the grid's font
    FList->OnChoose = [this](TObject*, int Index) { TakeItem(Index); };
  }
  FList->GetItems().Assign(&FPickList);
  FList->SetDropDownRows(FDropDownRows);
  FList->DropDown(*this, GetText());
}

void TInplaceEditList::CloseUp(bool Accept) {
  if (!GetListVisible()) return;
  const int Index = FList->GetItemIndex();
  FList->CloseUp();
  if (Accept && Index >= 0) TakeItem(Index);
}

void TInplaceEditList::TakeItem(int Index) {
  if (Index < 0 || Index >= FPickList.GetCount()) return;
  SetText(FPickList.GetStrings(Index));
  SelectAll();
}

void TInplaceEditList::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  // While the list is open it takes the moving keys, Enter and Esc first; these come here.
  const bool Alt = (Shift & ssAlt) != 0;
  constexpr std::uint16_t KeyF4 = vk::F1 + 3;
  if (FEditStyle == esPickList && (Key == KeyF4 || (Alt && (Key == vk::Down || Key == vk::Up)))) {
    if (GetListVisible()) {
      if (Key != vk::Down) CloseUp(true);
      Key = 0;
      return;
    }
    if (Key != vk::Up) {
      DropDown();
      Key = 0;
      return;
    }
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

void TInplaceEditList::DoExit() {
  CloseUp(false);
  TInplaceEdit::DoExit();
}

// --- the grid's side ------------------------------------------------------------------------

std::string TCustomGrid::GetEditText(int, int) { return {}; }

void TCustomGrid::SetEditText(int, int, const std::string&) {}

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEditList(this); }

TEditStyle TCustomGrid::GetEditStyle(int, int) { return esSimple; }

void TCustomGrid::GetPickListItems(int, int, TStrings&) {}

bool TCustomGrid::CanEditShow() { return (FOptions & goEditing) != 0 && IsDataCell(FCurrent); }

void TCustomGrid::EditButtonClick() {
  if (OnEditButtonClick) OnEditButtonClick(this);
}

void TCustomGrid::SetDropDownRows(int Value) {
  FDropDownRows = std::clamp(Value, 1, 100);
  if (auto* L = dynamic_cast<TInplaceEditList*>(FInplaceEdit)) L->SetDropDownRows(FDropDownRows);
}

bool TCustomGrid::CanOpenEditor() {
  return (FOptions & goEditing) && IsDataCell(FCurrent) && IsEnabledInTree() && IsShowing() &&
         CanEditShow();
}

void TCustomGrid::SetEditorMode(bool Value) {
  if (Value)
    ShowEditor();
  else
    HideEditor();
}

void TCustomGrid::ShowEditor() {
  if (FEditing || FEnding || !CanOpenEditor()) return;
  ScrollIntoView(FCurrent);
  if (CellRect(FCurrent.X, FCurrent.Y).IsEmpty()) return;
  if (!FInplaceEdit) {
    FInplaceEdit = CreateEditor();
    if (!FInplaceEdit) return;
    FInplaceEdit->FGrid = this;
    FInplaceEdit->SetParent(this);
  }
  FEditCell = FCurrent;
  FEditing = true;
  UpdateEditor();
}

void TCustomGrid::UpdateEditor() {
  TInplaceEdit& E = *FInplaceEdit;
  E.UpdateStyle(GetEditStyle(FEditCell.X, FEditCell.Y));
  FEditOriginal = GetEditText(FEditCell.X, FEditCell.Y);
  // The text handler may have ended editing (moved the cell, hidden the grid).
  if (!FEditing) return;
  E.SetText(FEditOriginal);
  E.SelectAll();
  PlaceEditor();
  if (!FEditing) return;
  E.Show();
  E.BringToFront();
  if (IsShowing() && IsEnabledInTree()) E.SetFocus();
  InvalidateCell(FEditCell.X, FEditCell.Y);
}

void TCustomGrid::PlaceEditor() {
  if (!FEditing || !FInplaceEdit) return;
  const TRect R = CellRect(FEditCell.X, FEditCell.Y);
  if (R.IsEmpty()) {
    EndEdit(true);
    return;
  }
  FInplaceEdit->SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TCustomGrid::HideEditor() { EndEdit(true); }

void TCustomGrid::EndEdit(bool Commit) {
  if (!FEditing || FEnding || !FInplaceEdit) return;
  const TScopedValue<bool> Ending(FEnding, true);
  TInplaceEdit* E = FInplaceEdit;
  E->CloseUp(false);
  const std::string Text = E->GetText();
  const TGridCoord Cell = FEditCell;
  FEditing = false;
  FEditCell = {-1, -1};
  if (E->Focused() && CanFocus()) SetFocus();
  E->Hide();
  InvalidateCell(Cell.X, Cell.Y);
  // Handing back an unchanged text would overwrite what the cell holds with its display form.
  if (Commit && Text != FEditOriginal && IsDataCell(Cell)) SetEditText(Cell.X, Cell.Y, Text);
}

void TCustomGrid::EditorExited() {
  if (!FEditing || FEnding) return;
  const TCustomForm* F = GetParentForm();
  if (F && F->GetActiveControl() == this) return;
  EndEdit(true);
}

}  // namespace kvl
