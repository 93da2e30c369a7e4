// The grid's state: construction, look, options, selection and the current cell; the draw grid.
#include "kvl/platform/grids.h"

#include <algorithm>

namespace kvl {

TCustomGrid::TCustomGrid(TComponent* AOwner)
    : TCustomControl(AOwner),
      FVertBar(*this, sbVertical),
      FHorzBar(*this, sbHorizontal),
      FAutoScroll(*this, [this] { AutoScrollTick(); }) {
  FCols.SetDefault(64);
  FRows.SetDefault(24);
  FCols.SetCount(5);
  FRows.SetCount(5);
  SetDefaultColor(clWindow);
  SetTabStop(true);
  FVertBar.OnScroll = [this](TScrollCode Code, std::int64_t Pos) {
    ScrollBarScrolled(false, Code, Pos);
  };
  FHorzBar.OnScroll = [this](TScrollCode Code, std::int64_t Pos) {
    ScrollBarScrolled(true, Code, Pos);
  };
  SetBounds(0, 0, 320, 120);
  UpdateBorder();
}

TCustomGrid::~TCustomGrid() {
  FAutoScroll.Kill();
  FEditing = false;
  // The editor goes with the children; it must not call back into a grid half gone.
  if (FInplaceEdit) FInplaceEdit->FGrid = nullptr;
}

void TCustomGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FInplaceEdit) {
    FInplaceEdit = nullptr;
    FEditing = false;
  }
}

void TCustomGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  LayoutChanged();
}

void TCustomGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int OldW = GetWidth(), OldH = GetHeight();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (GetWidth() != OldW || GetHeight() != OldH) LayoutChanged();
}

// --- look -----------------------------------------------------------------------------------

void TCustomGrid::SetFixedColor(TColor Value) {
  if (StoreIfChanged(FFixedColor, Value)) Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (StoreIfChanged(FBorderStyle, Value)) UpdateBorder();
}

void TCustomGrid::SetCtl3D(bool Value) {
  if (StoreIfChanged(FCtl3D, Value)) UpdateBorder();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
  if (StoreIfChanged(FScrollBars, Value)) LayoutChanged();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
  if (StoreIfChanged(FDefaultDrawing, Value)) Invalidate();
}

void TCustomGrid::FontChanged() {
  TCustomControl::FontChanged();
  if (FEditing) PlaceEditor();
}

void TCustomGrid::EnabledChanged() {
  TCustomControl::EnabledChanged();
  if (!IsEnabledInTree()) EndEdit(true);
  UpdateScrollBars();
}

void TCustomGrid::VisibleChanged() {
  if (!GetVisible()) EndEdit(true);
  TCustomControl::VisibleChanged();
}

// --- options, selection, current cell -------------------------------------------------------

void TCustomGrid::SetOptions(TGridOptions Value) {
  const TGridOptions Old = FOptions;
  if (Old == Value) return;
  FOptions = Value;
  if ((Old & goEditing) && !(Value & goEditing)) EndEdit(true);
  constexpr TGridOptions Lines = goFixedVertLine | goVertLine | goFixedHorzLine | goHorzLine;
  if ((Old & Lines) != (Value & Lines))
    LayoutChanged();
  else if ((Old ^ Value) & goRowSelect)
    Invalidate();
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  const TGridRect N{std::min(Value.Left, Value.Right), std::min(Value.Top, Value.Bottom),
                    std::max(Value.Left, Value.Right), std::max(Value.Top, Value.Bottom)};
  FSelection = N;
  FAnchor = {N.Left, N.Top};
  FCurrent = {N.Right, N.Bottom};
  if (FEditing && FEditCell != FCurrent) EndEdit(true);
  Invalidate();
}

void TCustomGrid::SetCol(int Value) {
  if (Value == FCurrent.X) return;
  MoveCurrent({Value, FCurrent.Y}, false, true);
}

void TCustomGrid::SetRow(int Value) {
  if (Value == FCurrent.Y) return;
  MoveCurrent({FCurrent.X, Value}, false, true);
}

TGridRect TCustomGrid::SelectionOf(TGridCoord A, TGridCoord C) const {
  TGridRect R{std::min(A.X, C.X), std::min(A.Y, C.Y), std::max(A.X, C.X), std::max(A.Y, C.Y)};
  if (FOptions & goRowSelect) {
    R.Left = GetFixedCols();
    R.Right = GetColCount() - 1;
  }
  return R;
}

bool TCustomGrid::MoveCurrent(TGridCoord C, bool Extend, bool Scroll) {
  if (!IsDataCell(C)) return false;
  if (C != FCurrent && !SelectCell(C.X, C.Y)) return false;
  if (FEditing && C != FEditCell) EndEdit(true);
  FCurrent = C;
  if (!Extend || !(FOptions & goRangeSelect)) FAnchor = C;
  // An anchor left off the table by a selection write starts anew at the cell.
  if (!IsDataCell(FAnchor)) FAnchor = C;
  FSelection = SelectionOf(FAnchor, FCurrent);
  if (Scroll) ScrollIntoView(C);
  Invalidate();
  return true;
}

bool TCustomGrid::SelectCell(int, int) { return true; }

bool TCustomGrid::Focused() const {
  return TCustomControl::Focused() || (FInplaceEdit && FInplaceEdit->Focused());
}

void TCustomGrid::FocusIn() {
  TCustomControl::FocusIn();
  InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::FocusOut() {
  TCustomControl::FocusOut();
  InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::DoExit() {
  TCustomControl::DoExit();
  // Leaving for the grid's own editor keeps editing; leaving for anything else ends it.
  const TCustomForm* F = GetParentForm();
  if (FEditing && !(F && FInplaceEdit && F->GetActiveControl() == FInplaceEdit)) EndEdit(true);
  InvalidateCell(FCurrent.X, FCurrent.Y);
}

// --- draw grid ------------------------------------------------------------------------------

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow) {
  bool CanSelect = TCustomGrid::SelectCell(ACol, ARow);
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, CanSelect);
  return CanSelect;
}

std::string TCustomDrawGrid::GetEditText(int ACol, int ARow) {
  std::string Value = TCustomGrid::GetEditText(ACol, ARow);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, Value);
  return Value;
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  TCustomGrid::SetEditText(ACol, ARow, Value);
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

}  // namespace kvl
