// The report list view: construction, the store's hooks, rows, header rows, settings,
// scrolling and copying.
#include <algorithm>
#include <new>

#include "kvl/platform/forms.h"
#include "kvl/replist/replist.h"

namespace kvl {

namespace {

constexpr TGridOptions DefaultOptions =
    goFixedVertLine | goFixedHorzLine | goColSizing | goRowSelect | goThumbTracking;

}  // namespace

TReportListView::TReportListView(TComponent* AOwner) : TCustomDrawGrid(AOwner) {
  SetColCount(5);
  SetRowCount(5);
  TCustomGrid::SetDefaultColWidth(64);
  TCustomGrid::SetDefaultRowHeight(24);
  SetDefaultDrawing(false);
  SetFixedCols(0);
  SetFixedRows(1);
  try {
    FRLData = std::make_unique<TRLData>(nullptr);
    FRLData->SetNrOfColumns(GetColCount());
    FRLData->SetNrOfRows(GetRowCount() - 1);
    FRLData->GetStrings().Clear();
    TakeColumnArrays(ResizedColumnArrays(FRLData->GetNrOfColumns()));
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLRepListError>(GetName(), rsInitTableEditor);
  } catch (const EKVLError&) {
    RaiseComponentError<EKVLRepListError>(GetName(), rsInitTableEditor);
  }
  InstallHooks();
  TCustomGrid::SetFixedColor(FColHdColor);
  SetOptions(DefaultOptions);
  TCustomGrid::SetLeftCol(0);
  UpdateGridRows();
  SetTopRow(1);
  SetDoubleBuffered(true);
}

TReportListView::~TReportListView() = default;

void TReportListView::InstallHooks() {
  TStringArray& S = FRLData->GetStrings();
  S.OnChange = [this] {
    if (FQuietChanges > 0) return;
    Changed();
    // A host filling cells with painting suppressed gets its repaint when it switches back.
    if (!FSuppressPaint) Invalidate();
  };
  S.OnPercentDone = [this](TObject*, int Percent) {
    if (OnPercentDone) OnPercentDone(this, Percent);
  };
  FRLData->OnPercentDone = S.OnPercentDone;
  FRLData->OnBeforeHTMLExport = [this](TObject*, std::string& Text, int Col, int Row) {
    if (OnBeforeHTMLExport) OnBeforeHTMLExport(this, Text, Col, Row);
  };
}

void TReportListView::CreateWnd() {
  TCustomDrawGrid::CreateWnd();
  FNoWindowYet = false;
  Invalidate();
}

// --- notifications and small setters -------------------------------------------------------

void TReportListView::Changed() {
  if (OnChange) OnChange(this);
}

void TReportListView::ChangedSetup() {
  if (OnChangeSetup) OnChangeSetup(this);
}

void TReportListView::ChangedSelection() {
  if (OnSelectedChange) OnSelectedChange(this);
}

void TReportListView::SetSetupColor(TColor& Field, TColor V) {
  Field = V;
  Invalidate();
  ChangedSetup();
}

void TReportListView::SetSetupInt(int& Field, int V) {
  Field = V;
  Invalidate();
  ChangedSetup();
}

void TReportListView::SetColorColumnHd(TColor V) {
  FColHdColor = V;
  TCustomGrid::SetFixedColor(V);
  Invalidate();
  ChangedSetup();
}

void TReportListView::SetColorEmptyMsg(TColor V) {
  if (V == FColorEmptyMsg) return;
  SetSetupColor(FColorEmptyMsg, V);
}

void TReportListView::SetEmptyMessage(std::string_view V) {
  if (V == FEmptyMsg) return;
  FEmptyMsg = V;
  Invalidate();
  ChangedSetup();
}

void TReportListView::SetHighLightBold(bool V) {
  FHiLgtBold = V;
  Invalidate();
  ChangedSetup();
}

void TReportListView::SetInterRowIndicatorPos(int V) {
  if (V == FInterRowIndi) return;
  FInterRowIndi = V;
  Invalidate();
}

void TReportListView::SetFixedFirstColumn(bool V) {
  FFixedColOne = V;
  SetFixedCols(V ? 1 : 0);
  TCustomGrid::SetLeftCol(GetFixedCols());
  Changed();
  Invalidate();
}

void TReportListView::SetShowEmptyCheckBoxes(bool V) {
  if (V == FShowEmptyCBx) return;
  FShowEmptyCBx = V;
  Invalidate();
}

void TReportListView::SetCheckMarksReadOnly(bool V) {
  if (V == FROCheckMarks) return;
  FROCheckMarks = V;
  Invalidate();
}

void TReportListView::SetSuppressPaint(bool V) {
  if (V == FSuppressPaint) return;
  FSuppressPaint = V;
  if (!V) Invalidate();
}

void TReportListView::SetEnabled(bool Value) {
  FEnabled = Value;
  TCustomDrawGrid::SetEnabled(Value);
  Invalidate();
}

void TReportListView::SetCommonHeader(std::string_view Value) {
  if (Value == FRLData->GetCommonHeader()) return;
  FRLData->SetCommonHeader(Value);
  Changed();
  Invalidate();
}

std::string TReportListView::GetCommonHeader() const { return FRLData->GetCommonHeader(); }

void TReportListView::SetCommonHeaderAlignment(TAlignment Value) {
  if (Value == FHeaderAlignment) return;
  FHeaderAlignment = Value;
  Changed();
  Invalidate();
}

std::string TReportListView::GetComment() const { return FRLData->GetComment(); }
void TReportListView::SetComment(std::string_view V) { FRLData->SetComment(V); }
std::string TReportListView::GetDataID() const { return FRLData->GetDataID(); }
void TReportListView::SetDataID(std::string_view V) { FRLData->SetDataID(V); }
int TReportListView::GetLastSortColumn() const { return FRLData->GetLastSortColumn(); }
bool TReportListView::GetLastSortOrder() const { return FRLData->GetLastSortOrder(); }
int TReportListView::GetSecondarySortColumn() const {
  return FRLData->GetSecondarySortColumn();
}

void TReportListView::SetSecondarySortColumn(int V) {
  if (V < -1 || V > GetNrOfColumns()) return;
  FRLData->SetSecondarySortColumn(V);
  ChangedSetup();
}

// --- header rows ------------------------------------------------------------------------------

void TReportListView::SetHeaderHeights() {
  const int Def = GetDefaultRowHeight();
  int Row0 = Def, Row1 = Def;
  if (FComHdVis && FColHdVis) {
    Row0 = FComHdHgt;
    Row1 = FColHdHgt;
  } else if (FComHdVis) {
    Row0 = FComHdHgt;
  } else if (FColHdVis) {
    Row0 = FColHdHgt;
  }
  SetRowHeights(0, Row0);
  // Row 1 is the column header row whenever both headers show, however few data rows there are.
  if (GetRowCount() >= 2) SetRowHeights(1, Row1);
}

void TReportListView::UpdateGridRows() {
  const int H = CountHeadRows();
  SetRowCount(std::max(H + GetNrOfShownRows(), H + 1));
  SetFixedRows(H);
  SetHeaderHeights();
}

void TReportListView::SetCommonHeaderVisible(bool Value) {
  if (Value == FComHdVis) return;
  EndEditing();
  FComHdVis = Value;
  UpdateGridRows();
  Changed();
  Invalidate();
}

void TReportListView::SetColumnHeadersVisible(bool Value) {
  if (Value == FColHdVis) return;
  EndEditing();
  FColHdVis = Value;
  UpdateGridRows();
  Changed();
  Invalidate();
}

void TReportListView::SetCommonHeaderHeight(int Value) {
  FComHdHgt = std::clamp(Value, 8, 127);
  SetHeaderHeights();
  Changed();
  Invalidate();
}

void TReportListView::SetColumnHeadersHeight(int Value) {
  FColHdHgt = std::clamp(Value, 8, 127);
  SetHeaderHeights();
  Changed();
  Invalidate();
}

void TReportListView::SetDefaultRowHeight(int Value) {
  TCustomGrid::SetDefaultRowHeight(Value);
  SetHeaderHeights();
  Invalidate();
  ChangedSetup();
}

void TReportListView::SetDefaultColWidth(int Value) {
  TCustomGrid::SetDefaultColWidth(Value);
  Invalidate();
  ChangedSetup();
}

// --- rows ---------------------------------------------------------------------------------------

int TReportListView::GetNrOfColumns() const { return FRLData->GetNrOfColumns(); }
int TReportListView::GetNrOfRows() const { return FRLData->GetNrOfRows(); }
int TReportListView::GetNrOfShownRows() const {
  return FFiltered ? FShownRows : FRLData->GetNrOfRows();
}

void TReportListView::EndEditing() {
  if (GetEditorMode()) HideEditor();
}

void TReportListView::ForgetStaleAnchor() {
  if (FSelectAnchor > GetNrOfRows()) FSelectAnchor = 0;
}

void TReportListView::SetNrOfRows(int N) {
  EndEditing();
  {
    const TQuietChanges Quiet(FQuietChanges);
    FRLData->SetNrOfRows(N);  // a refusal raises before anything changed
  }
  EndFilter();
  SetSelection({0, 0, 0, 0});
  UpdateGridRows();
  ForgetStaleAnchor();
  Invalidate();
  ChangedSetup();
}

int TReportListView::AddRow() {
  EndEditing();
  SetNrOfRows(GetNrOfRows() + 1);
  return GetNrOfRows();
}

int TReportListView::InsertRow(int R) {
  EndEditing();
  const TPaintPause Pause(*this);
  int Result = R;
  if (R >= 1 && R <= GetNrOfRows()) {
    FRLData->InsertShownRow(R);
    EndFilter();
    SetSelection({0, 0, 0, 0});
    UpdateGridRows();
    ChangedSetup();
  } else if (R > GetNrOfRows()) {
    Result = AddRow();
  }
  FRLData->ForgetSortColumns();
  return Result;
}

void TReportListView::RemoveRow(int R) {
  if (R < 1 || R > GetNrOfRows()) return;
  EndEditing();
  if (GetNrOfRows() > 1) {
    {
      const TPaintPause Pause(*this);
      FRLData->RemoveShownRow(R);
      EndFilter();
      UpdateGridRows();
      ForgetStaleAnchor();
    }
    ChangedSetup();
  } else {
    // The only row: its cells and attributes are emptied, the storage keeps it.
    FRLData->RemoveShownRow(R);
    SetNrOfRows(0);
  }
}

void TReportListView::RemoveEmptyRows() {
  EndEditing();
  {
    const TPaintPause Pause(*this);
    const TQuietChanges Quiet(FQuietChanges);
    const int Before = GetNrOfRows();
    FRLData->RemoveEmptyShownRows();
    if (GetNrOfRows() != Before) {
      EndFilter();
      if (GetNrOfRows() == 0) SetSelection({0, 0, 0, 0});
      UpdateGridRows();
      ForgetStaleAnchor();
    }
  }
  Changed();
  ChangedSetup();
}

void TReportListView::Fill(std::string_view S) {
  EndEditing();
  {
    const TPaintPause Pause(*this);
    const TQuietChanges Quiet(FQuietChanges);
    FRLData->Fill(S);
  }
  Changed();
  Invalidate();
}

void TReportListView::Clear() {
  EndEditing();
  {
    const TQuietChanges Quiet(FQuietChanges);
    FRLData->Clear();
  }
  EndFilter();
  const int N = GetNrOfColumns();
  for (int I = 0; I < N; ++I) {
    FColAlignment[std::size_t(I)] = taLeftJustify;
    FColumnIsPwd[std::size_t(I)] = false;
    FColumnEditable[std::size_t(I)] = false;
    FColOrder[std::size_t(I)] = I;
  }
  FSelectAnchor = 0;
  Changed();
  Invalidate();
}

// --- cells --------------------------------------------------------------------------------------

std::string TReportListView::GetElem(int ACol, int ARow) const {
  return FRLData->GetElem(ACol, ARow);
}
void TReportListView::SetElem(int ACol, int ARow, std::string_view Value) {
  FRLData->SetElem(ACol, ARow, Value);
}
bool TReportListView::GetElemChecked(int ACol, int ARow) const {
  return FRLData->GetElemChecked(ACol, ARow);
}
void TReportListView::SetElemChecked(int ACol, int ARow, bool Value) {
  FRLData->SetElemChecked(ACol, ARow, Value);
}
std::string TReportListView::GetDefaultValue(int ACol, int ARow) const {
  return FRLData->GetDefaultValue(ACol, ARow);
}
double TReportListView::GetAsNumber(int ACol, int ARow) const {
  return FRLData->GetAsNumber(ACol, ARow);
}
int TReportListView::ColumnIndex(std::string_view Head, bool PartialMatch) const {
  return FRLData->ColumnIndex(Head, PartialMatch);
}
int TReportListView::FirstCheckedElemInCol(int ColNr) const {
  return FRLData->FirstCheckedElemInCol(ColNr);
}
int TReportListView::FirstCheckedElemInRow(int RowNr) const {
  return FRLData->FirstCheckedElemInRow(RowNr);
}
int TReportListView::CountCheckedElemsInRow(int Row) const {
  return FRLData->CountCheckedElemsInRow(Row);
}

int TReportListView::CountCheckedElemsInCol(int Column) const {
  if (GetColumnCheckMode(Column) == cmNone) return 0;
  const TStringArray& S = FRLData->GetStrings();
  int Count = 0;
  for (int R = 1; R <= GetNrOfRows(); ++R)
    if (!(S.GetRowAttrib(R) & raDisabled) && FRLData->GetElemChecked(Column, R)) ++Count;
  return Count;
}

void TReportListView::SetAllCheckmarksOfCol(int Column, bool Checked) {
  if (GetColumnCheckMode(Column) != cmBox) return;
  {
    const TPaintPause Pause(*this);
    const TQuietChanges Quiet(FQuietChanges);
    FRLData->SetAllCheckmarksOfCol(Column, Checked);
  }
  Changed();
  Invalidate();
}

void TReportListView::InvertAllCheckmarksOfCol(int Column) {
  if (GetColumnCheckMode(Column) != cmBox) return;
  {
    const TPaintPause Pause(*this);
    const TQuietChanges Quiet(FQuietChanges);
    FRLData->InvertAllCheckmarksOfCol(Column);
  }
  Changed();
  Invalidate();
}

void TReportListView::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow,
                                      bool AddHeader, bool UseTabs) {
  FRLData->CopyToClipBoard(LeftCol, TopRow, RightCol, BottomRow, AddHeader, UseTabs);
}

void TReportListView::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow,
                                      bool AddHeader, std::string_view Separator) {
  FRLData->CopyToClipBoard(LeftCol, TopRow, RightCol, BottomRow, AddHeader, Separator);
}

// --- row attributes -------------------------------------------------------------------------------

bool TReportListView::GetRowSelected(int R) const {
  if (R < 1 || R > GetNrOfRows()) return false;
  return (FRLData->GetStrings().GetRowAttrib(R) & raSelected) != 0;
}

void TReportListView::SetRowSelected(int R, bool Value) {
  if (R < 1 || R > GetNrOfRows()) return;
  TStringArray& S = FRLData->GetStrings();
  const std::uint8_t A = S.GetRowAttrib(R);
  S.SetRowAttrib(R, Value ? std::uint8_t(A | raSelected) : std::uint8_t(A & ~raSelected));
  ChangedSelection();
  Invalidate();
}

bool TReportListView::GetRowEnabled(int R) const {
  if (R < 1 || R > GetNrOfRows()) return false;
  return (FRLData->GetStrings().GetRowAttrib(R) & raDisabled) == 0;
}

void TReportListView::SetRowEnabled(int R, bool Value) {
  if (R < 1 || R > GetNrOfRows()) return;
  TStringArray& S = FRLData->GetStrings();
  const std::uint8_t A = S.GetRowAttrib(R);
  S.SetRowAttrib(R, Value ? std::uint8_t(A & ~raDisabled) : std::uint8_t(A | raDisabled));
  ChangedSelection();
  Invalidate();
}

// --- scrolling --------------------------------------------------------------------------------------

int TReportListView::GetTopRow() const { return TCustomGrid::GetTopRow() - CountHeadRows() + 1; }

void TReportListView::SetTopRow(int V) {
  const std::int64_t H = CountHeadRows();
  const std::int64_t Last = std::max(H, H + GetNrOfShownRows() - 1);
  TCustomGrid::SetTopRow(int(std::clamp(std::int64_t(V) + H - 1, H, Last)));
}

int TReportListView::GetLeftCol() const { return TCustomGrid::GetLeftCol() + 1; }

void TReportListView::SetLeftCol(int V) {
  V = std::max(std::min(V, GetNrOfColumns()), GetFixedCols() + 1);
  TCustomGrid::SetLeftCol(V - 1);
}

void TReportListView::TopLeftChanged() {
  InvalidateGrid();
  TCustomDrawGrid::TopLeftChanged();
}

void TReportListView::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomDrawGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
  Invalidate();
}

TGridCoord TReportListView::MouseCell(int X, int Y) const {
  const TGridCoord C = MouseCoord(X, Y);
  TGridCoord Result;
  if (C.X >= 0 && C.X < GetColCount()) Result.X = DataColOfGrid(C.X);
  if (C.Y < 0 || C.Y >= GetRowCount()) return Result;
  const int H = CountHeadRows();
  if (C.Y >= H) {
    const int R = DataRowOfGrid(C.Y);
    Result.Y = IsDataRow(R) ? R : 0;
  } else if (FColHdVis && C.Y == H - 1) {
    Result.Y = -1;
  } else {
    Result.Y = -2;
  }
  return Result;
}

// --- copying ----------------------------------------------------------------------------------------

void TReportListView::Assign(const TPersistent* Source) {
  const auto* V = dynamic_cast<const TReportListView*>(Source);
  if (!V) {
    TCustomDrawGrid::Assign(Source);
    return;
  }
  if (V == this) return;
  EndEditing();
  // Everything that may fail comes first, so a failure leaves this view as it was.
  TColumnArrays Arrays;
  std::vector<std::uint8_t> Match;
  try {
    Arrays.Align = V->FColAlignment;
    Arrays.Editable = V->FColumnEditable;
    Arrays.Pwd = V->FColumnIsPwd;
    Arrays.Order = V->FColOrder;
    Match = V->FMatch;
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLRepListError>(GetName(), rsHeapFull);
  }
  try {
    const TQuietChanges Quiet(FQuietChanges);
    FRLData->Assign(V->FRLData.get());
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLRepListError>(GetName(), rsHeapFull);
  }
  InstallHooks();
  FAutoAdvance = V->FAutoAdvance;
  FLastMousePosX = V->FLastMousePosX;
  FLastMousePosY = V->FLastMousePosY;
  OnChange = V->OnChange;
  OnChangeSetup = V->OnChangeSetup;
  OnSelectedChange = V->OnSelectedChange;
  FSelectAnchor = V->FSelectAnchor;
  FRowSelectMode = V->FRowSelectMode;
  FSortEnabled = V->FSortEnabled;
  FEnabled = V->FEnabled;
  OnCheckedChange = V->OnCheckedChange;
  OnBeforeCheckedChange = V->OnBeforeCheckedChange;
  OnGetEditText = V->OnGetEditText;
  OnSetEditText = V->OnSetEditText;
  FSelRowColor = V->FSelRowColor;
  FSelRowTextColor = V->FSelRowTextColor;
  FSelColColor = V->FSelColColor;
  FSelColTextColor = V->FSelColTextColor;
  FSelBothColor = V->FSelBothColor;
  FSelBothTextColor = V->FSelBothTextColor;
  FHiLgtColor = V->FHiLgtColor;
  FHiLgtTextColor = V->FHiLgtTextColor;
  FHiLgtBold = V->FHiLgtBold;
  FHiLgtRow = V->FHiLgtRow;
  FHiLgtColumn = V->FHiLgtColumn;
  FColorNormal = V->FColorNormal;
  FRColorNormal = V->FRColorNormal;
  FRColorShaded = V->FRColorShaded;
  FDisabledTextColor = V->FDisabledTextColor;
  FDisabledBkgdColor = V->FDisabledBkgdColor;
  FColorEmptyMsg = V->FColorEmptyMsg;
  FSuppressPaint = V->FSuppressPaint;
  FRowColPattern = V->FRowColPattern;
  FHeaderAlignment = V->FHeaderAlignment;
  FComHdVis = V->FComHdVis;
  FColHdVis = V->FColHdVis;
  FComHdColor = V->FComHdColor;
  FComHdTxtColor = V->FComHdTxtColor;
  FColHdTxtColor = V->FColHdTxtColor;
  FColHdColor = V->FColHdColor;
  TCustomGrid::SetFixedColor(FColHdColor);
  OnRequestEditFormat = V->OnRequestEditFormat;
  FShowEmptyCBx = V->FShowEmptyCBx;
  OnPercentDone = V->OnPercentDone;
  OnBeforeRenderCell = V->OnBeforeRenderCell;
  OnBeforeSortExchange = V->OnBeforeSortExchange;
  OnBeforeHTMLExport = V->OnBeforeHTMLExport;
  OnBeforeFilter = V->OnBeforeFilter;
  FInterRowIndi = V->FInterRowIndi;
  FInterRowColor = V->FInterRowColor;
  FInterRowWidth = V->FInterRowWidth;
  FFixedColOne = V->FFixedColOne;
  FFiltered = V->FFiltered;
  FShownRows = V->FShownRows;
  FMatch = std::move(Match);
  SetFixedCols(FFixedColOne ? 1 : 0);
  SetColCount(GetNrOfColumns());
  UpdateGridRows();
  SetSelection({0, 0, 0, 0});
  TakeColumnArrays(std::move(Arrays));
  ForgetStaleAnchor();
  TCustomDrawGrid::SetEnabled(FEnabled);
  Invalidate();
}

void TReportListView::AssignTo(TPersistent* Dest) const {
  if (auto* D = dynamic_cast<TRLData*>(Dest)) {
    D->Assign(FRLData.get());
    return;
  }
  TCustomDrawGrid::AssignTo(Dest);
}

}  // namespace kvl
