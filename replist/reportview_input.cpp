// The report list view's reactions: sorting by program and by header click, row selection,
// check marks, per-cell editing, keys, the wheel and the header double click.
#include <algorithm>

#include "kvl/core/stringl.h"
#include "kvl/platform/forms.h"
#include "kvl/replist/replist.h"

namespace kvl {

// --- sorting -----------------------------------------------------------------------------------

void TReportListView::SortStore(int Col, int ColSec, bool Ascending) {
  // The store forwards the exchange only while the view has a handler for it.
  struct TRestore {
    TRLData& Store;
    ~TRestore() { Store.OnBeforeSortExchange = nullptr; }
  } Restore{*FRLData};
  if (OnBeforeSortExchange)
    FRLData->OnBeforeSortExchange = [this](TObject*, const std::string& Key,
                                           std::string& ExchKey) {
      OnBeforeSortExchange(this, Key, ExchKey);
    };
  FRLData->Sort(Col, ColSec, Ascending);
}

void TReportListView::Sort(int Col, int ColSec, bool Ascending) {
  if (Col < 0 || Col > GetNrOfColumns()) return;
  EndEditing();
  SortStore(Col, ColSec, Ascending);
  if (FFiltered) PartitionMatches();
  Invalidate();
}

void TReportListView::UnSort() {
  EndEditing();
  EndFilter();
  FRLData->UnSort();
  Invalidate();
}

void TReportListView::HeaderClickSort(int DataCol) {
  if (DataCol < 1) return;
  EndEditing();
  const TCursorScope Busy(crHourGlass);
  TStringArray& Strings = FRLData->GetStrings();
  const TGridRect Sel = GetSelection();
  const int SelRow = DataRowOfGrid(Sel.Top);
  // Only a selection on a data row is carried along; a header or off-table one stays put.
  const int Position = IsDataRow(SelRow) ? Strings.GetSortOrder(SelRow) : 0;
  const bool Toggle = !FRLData->GetSortToggle();
  FRLData->SetSortToggle(Toggle);
  Sort(DataCol, GetSecondarySortColumn(), Toggle);
  if (Position == 0) return;
  for (int R = 1; R <= GetNrOfShownRows(); ++R) {
    if (Strings.GetSortOrder(R) != Position) continue;
    TGridRect NewSel = Sel;
    NewSel.Top = NewSel.Bottom = R + CountHeadRows() - 1;
    SetSelection(NewSel);
    break;
  }
}

// --- selection ---------------------------------------------------------------------------------

void TReportListView::SetAllRowBits(std::uint8_t Bit, bool Value) {
  {
    const TPaintPause Pause(*this);
    TStringArray& S = FRLData->GetStrings();
    for (int R = 1; R <= GetNrOfRows(); ++R) {
      const std::uint8_t A = S.GetRowAttrib(R);
      S.SetRowAttrib(R, Value ? std::uint8_t(A | Bit) : std::uint8_t(A & ~Bit));
    }
  }
  ChangedSelection();
}

void TReportListView::SetAllColumnBits(bool Value) {
  {
    const TPaintPause Pause(*this);
    TStringArray& S = FRLData->GetStrings();
    for (int C = 1; C <= GetNrOfColumns(); ++C) {
      const std::uint8_t A = S.GetColAttrib(C);
      S.SetColAttrib(C, Value ? std::uint8_t(A | caSelected) : std::uint8_t(A & ~caSelected));
    }
  }
  ChangedSelection();
}

void TReportListView::SelectAllRows() { SetAllRowBits(raSelected, true); }
void TReportListView::DeselectAllRows() { SetAllRowBits(raSelected, false); }
void TReportListView::EnableAllRows() { SetAllRowBits(raDisabled, false); }
void TReportListView::DisableAllRows() { SetAllRowBits(raDisabled, true); }
void TReportListView::SelectAllColumns() { SetAllColumnBits(true); }
void TReportListView::DeselectAllColumns() { SetAllColumnBits(false); }

void TReportListView::SelectOnly(int R) {
  TStringArray& S = FRLData->GetStrings();
  for (int I = 1; I <= GetNrOfRows(); ++I) {
    const std::uint8_t A = S.GetRowAttrib(I);
    const std::uint8_t Want = I == R ? std::uint8_t(A | raSelected) : std::uint8_t(A & ~raSelected);
    if (Want != A) S.SetRowAttrib(I, Want);
  }
}

int TReportListView::FirstSelectedRow() const {
  const TStringArray& S = FRLData->GetStrings();
  for (int R = 1; R <= GetNrOfRows(); ++R) {
    const std::uint8_t A = S.GetRowAttrib(R);
    if (A & raSelected) return (A & raDisabled) ? 0 : R;
  }
  return 0;
}

int TReportListView::FirstSelectedColumn() const {
  for (int C = 1; C <= GetNrOfColumns(); ++C)
    if (GetColumnSelected(C)) return C;
  return 0;
}

int TReportListView::NumSelectedRows() const {
  const TStringArray& S = FRLData->GetStrings();
  int N = 0;
  for (int R = 1; R <= GetNrOfRows(); ++R) N += (S.GetRowAttrib(R) & raSelected) != 0;
  return N;
}

int TReportListView::NumSelectedColumns() const {
  int N = 0;
  for (int C = 1; C <= GetNrOfColumns(); ++C) N += GetColumnSelected(C);
  return N;
}

int TReportListView::NumEnabledRows() const {
  const TStringArray& S = FRLData->GetStrings();
  int N = 0;
  for (int R = 1; R <= GetNrOfRows(); ++R) N += (S.GetRowAttrib(R) & raDisabled) == 0;
  return N;
}

void TReportListView::SetRowSelectMode(int V) {
  FRowSelectMode = V;
  if (V == 2) return;
  {
    const TPaintPause Pause(*this);
    SelectOnly(0);
    if (V == 0) {
      const int C = GetNrOfColumns() + 1, R = GetNrOfRows() + 1;
      SetSelection({C, R, C, R});
    }
  }
  ChangedSelection();
}

void TReportListView::CenterScrollAndSelect(int Row) {
  if (!IsDataRow(Row)) return;
  {
    const TPaintPause Pause(*this);
    SelectOnly(Row);
    const int V = GetVisibleRowCount(), N = GetNrOfShownRows();
    const int Top = Row > N - V / 2 ? N - V + 1 : Row - V / 2;
    SetTopRow(std::max(Top, 1));
    const int G = Row + CountHeadRows() - 1;
    SetSelection({GetFixedCols(), G, GetColCount() - 1, G});
  }
  ChangedSelection();
}

// --- mouse ---------------------------------------------------------------------------------------

bool TReportListView::ClickCheckMark(int DataCol, int Row, int X, const TRect& Cell) {
  const TCheckMode Mode = GetColumnCheckMode(DataCol);
  if (Mode == cmNone || X >= Cell.Left + 18 || FROCheckMarks || !GetRowEnabled(Row)) return false;
  const std::string_view Stored = FRLData->GetStrings().GetStringView(DataCol, Row);
  if (!(Utf8Length(Stored) > 1 || FShowEmptyCBx)) return false;
  bool State = !FRLData->GetElemChecked(DataCol, Row);
  if (OnBeforeCheckedChange) OnBeforeCheckedChange(this, State, DataCol, Row);
  if (Mode == cmRadio)
    FRLData->SetElemChecked(DataCol, Row, true);
  else
    FRLData->SetElemChecked(DataCol, Row, State);
  bool After = !State;
  if (OnCheckedChange) OnCheckedChange(this, After, DataCol, Row);
  return true;
}

void TReportListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // A press may come without a move before it (a host that posts none): the double click
  // that follows must still see where it happened.
  FLastMousePosX = X;
  FLastMousePosY = Y;
  TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || X <= 0 || Y <= 0 || X >= GetGridWidth() || Y >= GetGridHeight())
    return;
  const TGridCoord Cell = MouseCoord(X, Y);
  if (Cell.X < 0 || Cell.Y < 0) return;
  const int H = CountHeadRows();
  if (Cell.Y < H) {
    if (!FColHdVis || Cell.Y != H - 1 || !FSortEnabled) return;
    const TRect R = CellRect(Cell.X, Cell.Y);
    // Clicks near a border are left to column sizing.
    if (X > R.Left + 4 && X < R.Right - 4) HeaderClickSort(DataColOfGrid(Cell.X));
    return;
  }
  const int Row = DataRowOfGrid(Cell.Y), Col = DataColOfGrid(Cell.X);
  if (!IsDataRow(Row) || Col < 1) return;
  {
    const TPaintPause Pause(*this);
    const bool Editable = GetColumnEditable(Col) && GetRowEnabled(Row);
    SetOptions(Editable ? GetOptions() | goEditing : GetOptions() & ~TGridOptions(goEditing));
    ClickCheckMark(Col, Row, X, CellRect(Cell.X, Cell.Y));
    const int Clicked = DataRowOfGrid(GetSelection().Top);
    if (IsDataRow(Clicked) && FRowSelectMode != 0) {
      TStringArray& S = FRLData->GetStrings();
      if (FRowSelectMode == 2 && (Shift & ssShift) && FSelectAnchor >= 1 &&
          FSelectAnchor <= GetNrOfRows()) {
        const std::uint8_t A = S.GetRowAttrib(FSelectAnchor);
        for (int R = std::min(FSelectAnchor, Clicked); R <= std::max(FSelectAnchor, Clicked); ++R)
          S.SetRowAttrib(R, A);
      } else if (FRowSelectMode == 2) {
        FSelectAnchor = Clicked;
        if ((Shift & ssCtrl) || !FCtrlForMultiSel)
          S.SetRowAttrib(Clicked, S.GetRowAttrib(Clicked) ^ raSelected);
        else
          SelectOnly(Clicked);
      } else {
        SelectOnly(Clicked);
      }
      ChangedSelection();
    }
  }
}

void TReportListView::MouseMove(TShiftState Shift, int X, int Y) {
  FLastMousePosX = X;
  FLastMousePosY = Y;
  TCustomDrawGrid::MouseMove(Shift, X, Y);
}

void TReportListView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomDrawGrid::MouseUp(Button, Shift, X, Y);
  if (FRowSelectMode != 2) return;
  if (X > GetGridWidth() || (Y > GetGridHeight() && Button == mbLeft)) {
    {
      const TPaintPause Pause(*this);
      SelectOnly(0);
    }
    ChangedSelection();
  }
}

void TReportListView::SizeColumnAtBorder(int X, int Y) {
  const TGridCoord Cell = MouseCoord(X, Y);
  if (Cell.X < 0) return;
  const TRect R = CellRect(Cell.X, Cell.Y);
  // Grid positions count from 1 here: the border right of position p closes column p.
  int Pos = X >= (R.Left + R.Right) / 2 ? Cell.X + 1 : Cell.X;
  while (Pos > 1 && TCustomGrid::GetColWidths(Pos - 1) < 1) --Pos;
  if (Pos < 1) return;
  AutoColWidth(DataColOfGrid(Pos - 1), true, 0);
}

void TReportListView::DblClick() {
  const int X = FLastMousePosX, Y = FLastMousePosY;
  const TGridCoord Cell = MouseCoord(X, Y);
  if (Y < GetGridHeight() && FColHdVis && Cell.Y == CountHeadRows() - 1 && Cell.X >= 0) {
    const TRect R = CellRect(Cell.X, Cell.Y);
    if (X - R.Left < 5 || R.Right - X <= 4) SizeColumnAtBorder(X, Y);
    return;
  }
  TCustomDrawGrid::DblClick();
}

bool TReportListView::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  // Without rows the turn is left to the parent.
  return GetNrOfShownRows() > 0 && TCustomDrawGrid::DoMouseWheelDown(Shift, MousePos);
}

bool TReportListView::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  return GetNrOfShownRows() > 0 && TCustomDrawGrid::DoMouseWheelUp(Shift, MousePos);
}

// --- keys and cells --------------------------------------------------------------------------------

bool TReportListView::SelectCell(int ACol, int ARow) {
  const int Col = DataColOfGrid(ACol), Row = DataRowOfGrid(ARow);
  const bool Editable = ARow != 0 && IsDataRow(Row) && GetColumnEditable(Col) && GetRowEnabled(Row);
  SetOptions(Editable ? GetOptions() | goEditing : GetOptions() & ~TGridOptions(goEditing));
  return TCustomDrawGrid::SelectCell(ACol, ARow);
}

void TReportListView::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  const std::uint16_t Pressed = Key;
  TCustomDrawGrid::KeyDown(Key, Shift);
  if (Pressed < vk::Prior || Pressed > vk::Down) return;
  const int Row = DataRowOfGrid(GetSelection().Top);
  if (!IsDataRow(Row)) return;
  {
    const TPaintPause Pause(*this);
    SelectOnly(Row);
  }
  ChangedSelection();
}

void TReportListView::KeyPress(char32_t& Key) {
  const char32_t Pressed = Key;
  TCustomDrawGrid::KeyPress(Key);
  if (FAutoAdvance && (Pressed == U'\r' || Pressed == 0)) {
    std::uint16_t Down = vk::Down;
    KeyDown(Down, 0);
  }
}

}  // namespace kvl
