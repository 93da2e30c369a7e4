// TNTabEd: construction, the bound table and its notifications, dimensions, structure,
// sorting, headings, precisions, widths and copying.
#include <algorithm>
#include <new>

#include "kvl/core/stringl.h"
#include "kvl/ntabed/ntabed.h"
#include "kvl/platform/memo.h"
#include "kvl/platform/scoped_value.h"
#include "kvl/platform/stdctrls.h"

namespace kvl {

namespace {

constexpr int DefaultPrecision = 3;

int ClampCount(int N) { return std::clamp(N, 1, MaxMatrixDim); }

}  // namespace

TNTabEd::TNTabEd(TComponent* AOwner) : TCustomGrid(AOwner) {
  FInternSuppPaint = true;
  // The column count comes before the fixed columns, which the grid keeps below the count.
  SetColCount(5);
  SetRowCount(5);
  SetFixedCols(2);
  SetFixedRows(1);
  SetDefaultRowHeight(24);
  SetDropDownRows(8);
  if (!IsDesigning()) {
    CreateSideEditors();
  }
  TCustomGrid::SetColWidths(0, 80);
  TCustomGrid::SetColWidths(1, FClassColWidth);
  try {
    FDataCopy = std::make_unique<TDataTable>(nullptr, 0, 0);
    FOwnedData = std::make_unique<TDataTable>(nullptr, 3, 4);
    FData = FOwnedData.get();
    FData->GetMatrix().Fill(0.0);
    FDecP.assign(3, DefaultPrecision);
  } catch (const std::bad_alloc&) {
    FOwnedData.reset();
    FData = nullptr;
    RaiseComponentError<EKVLNTabedError>(GetName(), rsInitTableEditor);
  }
  Attach(FData);
  BuildMenus();
  SetColorBackground(clWindow);
  SetColorFixed(clBtnFace);
  // The current cell starts on the first data cell, not on a heading.
  SetSelection({2, 1, 2, 1});
  FInternSuppPaint = false;
}

TNTabEd::~TNTabEd() {
  // An external table outlives the editor: none of the editor's listeners may stay on it.
  Detach();
}

void TNTabEd::Attach(TDataTable* T) {
  FData = T;
  FListenerIds[0] = T->ContentsChanged.Attach([this](TObject* S) { DataHasChanged(S); });
  FListenerIds[1] = T->SetupChanged.Attach([this](TObject* S) { SetupHasChanged(S); });
  FListenerIds[2] = T->PercentDone.Attach([this](TObject* S, int P) { NTPercDone(S, P); });
  FListenerIds[3] = T->Resized.Attach(
      [this](TObject* S, int OC, int OR, int NC, int NR) { DataHasBeenResized(S, OC, OR, NC, NR); });
  FListenerIds[4] =
      T->SortExchange.Attach([this](TObject* S, bool C, int I, int J) { ExchangeDuringSort(S, C, I, J); });
  if (FExtMatAssigned) T->FreeNotification(this);
}

void TNTabEd::Detach() {
  if (!FData) return;
  FData->ContentsChanged.Detach(FListenerIds[0]);
  FData->SetupChanged.Detach(FListenerIds[1]);
  FData->PercentDone.Detach(FListenerIds[2]);
  FData->Resized.Detach(FListenerIds[3]);
  FData->SortExchange.Detach(FListenerIds[4]);
  if (FExtMatAssigned) FData->RemoveFreeNotification(this);
  FData = nullptr;
}

void TNTabEd::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGrid::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FData || !FExtMatAssigned) return;
  // The host destroyed the bound table: its listener lists are going with it.
  FData = nullptr;
  FExtMatAssigned = false;
  if (IsDestroying()) return;
  const int NC = std::max(1, int(FDecP.size())), NR = std::max(1, GetRowCount() - FRowOffset - 1);
  HideEditorDiscarding();
  FOwnedData = std::make_unique<TDataTable>(nullptr, NC, NR);
  Attach(FOwnedData.get());
  FollowTableSize(0, NC, NR);
  Repaint();
  ChangedSetup();
}

void TNTabEd::AssignAnotherDataMatrix(TDataTable* NewDTab) {
  if (!NewDTab || NewDTab == FData) return;
  CloseEditorBeforeMove();
  const int OC = GetNrOfColumns(), OR = GetNrOfRows();
  Detach();
  FOwnedData.reset();
  FExtMatAssigned = true;
  Attach(NewDTab);
  FDecP.clear();
  FollowTableSize(0, NewDTab->GetNrOfColumns(), NewDTab->GetNrOfRows());
  Repaint();
  ChangedData();
  if (OC != GetNrOfColumns() || OR != GetNrOfRows()) ChangedSetup();
}

// --- notifications from the table -----------------------------------------------------------

void TNTabEd::DataHasChanged(TObject*) {
  if (FMuteData) return;
  ChangedData();
  Repaint();
}

void TNTabEd::SetupHasChanged(TObject*) {
  ChangedSetup();
  Repaint();
}

void TNTabEd::NTPercDone(TObject*, int Percent) {
  if (OnPercentDone) OnPercentDone(this, Percent);
}

void TNTabEd::DataHasBeenResized(TObject*, int OldCols, int, int NewCols, int NewRows) {
  FollowTableSize(OldCols, NewCols, NewRows);
  Repaint();
}

void TNTabEd::ExchangeDuringSort(TObject*, bool Columns, int Ix1, int Ix2) {
  // Host code sorting the table moves the edited cell's data away: the text is dropped.
  if (!FOwnSort) HideEditorDiscarding();
  if (Columns && FSortIncludeHd && Ix1 >= 1 && Ix2 >= 1 && Ix1 <= int(FDecP.size()) &&
      Ix2 <= int(FDecP.size()))
    std::swap(FDecP[std::size_t(Ix1 - 1)], FDecP[std::size_t(Ix2 - 1)]);
}

void TNTabEd::FollowTableSize(int OldCols, int NewCols, int NewRows) {
  // The precision of the old last column goes to every new column; read before resizing.
  const std::int8_t Inherit =
      OldCols >= 1 && OldCols <= int(FDecP.size()) ? FDecP[std::size_t(OldCols - 1)] : DefaultPrecision;
  try {
    const std::size_t Keep = std::size_t(std::max(0, std::min(OldCols, NewCols)));
    FDecP.resize(std::size_t(std::max(NewCols, 0)), Inherit);
    std::fill(FDecP.begin() + std::ptrdiff_t(std::min(Keep, FDecP.size())), FDecP.end(), Inherit);
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLNTabedError>(GetName(), rsHeapFull);
  }
  const int LastWidth = TCustomGrid::GetColWidths(GetColCount() - 1);
  const int OldGridCols = GetColCount();
  SetColCount(NewCols + FColOffset + 1);
  for (int G = OldGridCols; G < GetColCount(); ++G) TCustomGrid::SetColWidths(G, LastWidth);
  SetRowCount(NewRows + FRowOffset + 1);
  // A host resize to 0 leaves the grid with its fixed part only.
  SetFixedCols(1 + FColOffset);
  SetFixedRows(1 + FRowOffset);
}

// --- suppression and repainting -------------------------------------------------------------

void TNTabEd::Repaint() { Invalidate(); }

void TNTabEd::Invalidate() {
  if (Suppressed()) {
    FRepaintPending = true;
    return;
  }
  FRepaintPending = false;
  TCustomGrid::Invalidate();
}

void TNTabEd::SetSuppressPaint(bool Value) {
  FSuppressPaint = Value;
  if (!Value) Invalidate();
}

void TNTabEd::CloseEditorBeforeMove() {
  if (GetEditorMode()) HideEditor();
}

void TNTabEd::HideEditorDiscarding() {
  if (!GetEditorMode()) return;
  const TScopedValue<bool> Discard(FDiscardEdit, true);
  HideEditor();
}

void TNTabEd::ChangedAttrib() {
  if (!Suppressed() && OnAttributeChanged) OnAttributeChanged(this);
}
void TNTabEd::ChangedCellStates() {
  if (!Suppressed() && OnCellStateChanged) OnCellStateChanged(this);
}
void TNTabEd::ChangedData() {
  if (!Suppressed() && OnChange) OnChange(this);
}
void TNTabEd::ChangedHeading() {
  if (!Suppressed() && OnHeadingChanged) OnHeadingChanged(this);
}
void TNTabEd::ChangedLayout() {
  if (!Suppressed() && OnLayoutChanged) OnLayoutChanged(this);
}
void TNTabEd::ChangedSetup() {
  if (!Suppressed() && OnChangeSetup) OnChangeSetup(this);
}
void TNTabEd::ChangedSelection() {
  if (!Suppressed() && OnSelectionChanged) OnSelectionChanged(this);
}

// --- dimensions -----------------------------------------------------------------------------

void TNTabEd::ResizeTable(int NrCols, int NrRows) {
  // The edited cell closes only when it leaves the table; growing moves nothing.
  const TGridCoord E{GetCol(), GetRow()};
  if (GetEditorMode() && (DataCol(E.X) > NrCols || DataRow(E.Y) > NrRows)) HideEditorDiscarding();
  try {
    FData->Resize(NrCols, NrRows);
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLNTabedError>(GetName(), rsHeapFull);
  }
}

void TNTabEd::SetNrOfColumns(int N) {
  {
    const TScopedValue<bool> Supp(FInternSuppPaint, true);
    ResizeTable(ClampCount(N), GetNrOfRows());
  }
  Repaint();
  ChangedSetup();
}

void TNTabEd::SetNrOfRows(int N) {
  {
    const TScopedValue<bool> Supp(FInternSuppPaint, true);
    ResizeTable(GetNrOfColumns(), ClampCount(N));
  }
  Repaint();
  ChangedSetup();
}

void TNTabEd::Redimension(int NrCols, int NrRows) {
  {
    const TScopedValue<bool> Supp(FInternSuppPaint, true);
    ResizeTable(ClampCount(NrCols), ClampCount(NrRows));
  }
  Repaint();
  ChangedSetup();
}

template <class F>
void TNTabEd::Bulk(bool CountsChange, F Operation) {
  CloseEditorBeforeMove();
  {
    const TScopedValue<bool> Supp(FInternSuppPaint, true);
    const TScopedValue<bool> Own(FOwnSort, true);
    try {
      Operation();
    } catch (const std::bad_alloc&) {
      RaiseComponentError<EKVLNTabedError>(GetName(), rsHeapFull);
    }
  }
  Repaint();
  ChangedData();
  if (CountsChange) ChangedSetup();
}

void TNTabEd::InsertRow(int ix) {
  if (ix < 1 || ix > GetNrOfRows() + 1) return;
  Bulk(true, [&] { FData->InsertRow(ix); });
}

void TNTabEd::InsertColumn(int ix) {
  if (ix < 1 || ix > GetNrOfColumns() + 1) return;
  Bulk(true, [&] { FData->InsertColumn(ix); });
}

void TNTabEd::RemoveRow(int ix) {
  if (ix < 1 || ix > GetNrOfRows() || GetNrOfRows() < 2) return;
  Bulk(true, [&] { FData->RemoveRow(ix); });
}

void TNTabEd::RemoveColumn(int ix) {
  if (ix < 1 || ix > GetNrOfColumns() || GetNrOfColumns() < 2) return;
  Bulk(true, [&] { FData->RemoveColumn(ix); });
}

void TNTabEd::MirrorRows() {
  Bulk(false, [&] { FData->MirrorRows(); });
}

void TNTabEd::MirrorColumns() {
  // Precisions stay with positions, as with insert and remove.
  Bulk(false, [&] { FData->MirrorColumns(); });
}

void TNTabEd::NameAfresh() {
  for (int C = 1; C <= GetNrOfColumns(); ++C) FData->SetColName(C, "C-" + std::to_string(C));
  for (int R = 1; R <= GetNrOfRows(); ++R) FData->SetRowName(R, "R-" + std::to_string(R));
}

void TNTabEd::Clear() {
  Bulk(false, [&] {
    FData->Clear();
    NameAfresh();
    std::fill(FDecP.begin(), FDecP.end(), std::int8_t(DefaultPrecision));
  });
}

void TNTabEd::Fill(double Value) { FData->GetMatrix().Fill(Value); }

int TNTabEd::FillMarkedCells(double Value, std::uint8_t StateMask) {
  int N = 0;
  Bulk(false, [&] { N = FData->FillMarkedCells(Value, StateMask); });
  return N;
}

// --- sorting --------------------------------------------------------------------------------

void TNTabEd::SortCols(int SortRowIx, bool Ascending, int LowCol, int LowRow, int HighCol,
                       int HighRow, bool IncludeHeaders) {
  const TScopedValue<bool> Hd(FSortIncludeHd, IncludeHeaders);
  Bulk(false, [&] { FData->SortCols(SortRowIx, Ascending, LowCol, LowRow, HighCol, HighRow, IncludeHeaders); });
}

void TNTabEd::SortRows(int SortColIx, bool Ascending, int LowCol, int LowRow, int HighCol,
                       int HighRow, bool IncludeHeaders) {
  Bulk(false, [&] { FData->SortRows(SortColIx, Ascending, LowCol, LowRow, HighCol, HighRow, IncludeHeaders); });
}

void TNTabEd::SortColAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow) {
  const TScopedValue<bool> Hd(FSortIncludeHd, true);
  Bulk(false, [&] { FData->SortColAttributes(Ascending, LowCol, LowRow, HighCol, HighRow); });
}

void TNTabEd::SortRowAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow) {
  Bulk(false, [&] { FData->SortRowAttributes(Ascending, LowCol, LowRow, HighCol, HighRow); });
}

void TNTabEd::SortColNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow) {
  SortColNames(Ascending, false, LowCol, LowRow, HighCol, HighRow);
}

void TNTabEd::SortColNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol,
                           int HighRow) {
  const TScopedValue<bool> Hd(FSortIncludeHd, true);
  Bulk(false, [&] { FData->SortColNames(Ascending, IgnoreCase, LowCol, LowRow, HighCol, HighRow); });
}

void TNTabEd::SortRowNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow) {
  SortRowNames(Ascending, false, LowCol, LowRow, HighCol, HighRow);
}

void TNTabEd::SortRowNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol,
                           int HighRow) {
  Bulk(false, [&] { FData->SortRowNames(Ascending, IgnoreCase, LowCol, LowRow, HighCol, HighRow); });
}

int TNTabEd::FindColIndex(const TDTNameStr& ColID) const {
  for (int C = 1; C <= GetNrOfColumns(); ++C)
    if (FData->GetColName(C) == ColID) return C;
  return -1;
}

int TNTabEd::FindRowIndex(const TDTNameStr& RowID) const {
  for (int R = 1; R <= GetNrOfRows(); ++R)
    if (FData->GetRowName(R) == RowID) return R;
  return -1;
}

// --- headings, precisions, widths -----------------------------------------------------------

void TNTabEd::SetColName(int ColNr, const TDTNameStr& Name) {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return;
  FData->SetColName(ColNr, Name);
  ChangedHeading();
  Repaint();
}

void TNTabEd::SetRowName(int RowNr, const TDTNameStr& Name) {
  if (RowNr < 1 || RowNr > GetNrOfRows()) return;
  FData->SetRowName(RowNr, Name);
  ChangedHeading();
  Repaint();
}

void TNTabEd::SetColAttrib(int ColNr, std::uint8_t Value) {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return;
  FData->SetColAttrib(ColNr, Value);
  Repaint();
  ChangedAttrib();
}

void TNTabEd::SetRowAttrib(int RowNr, std::uint8_t Value) {
  if (RowNr < 1 || RowNr > GetNrOfRows()) return;
  FData->SetRowAttrib(RowNr, Value);
  Repaint();
  ChangedAttrib();
}

int TNTabEd::GetPrecision(int ColNr) const {
  if (ColNr < 1 || ColNr > int(FDecP.size())) return 0;
  return FDecP[std::size_t(ColNr - 1)];
}

void TNTabEd::SetPrecision(int ColNr, int Value) {
  if (ColNr < 1 || ColNr > int(FDecP.size())) return;
  FDecP[std::size_t(ColNr - 1)] = std::int8_t(std::clamp(Value, -1, 10));
  Repaint();
  ChangedLayout();
}

int TNTabEd::GetColWidths(int Index) const {
  if (Index > GetNrOfColumns()) return 0;
  if (Index > 0) return TCustomGrid::GetColWidths(Index + FColOffset);
  if (Index == 0) return TCustomGrid::GetColWidths(0);
  return FColOffset ? TCustomGrid::GetColWidths(1) : 0;
}

void TNTabEd::SetColWidths(int Index, int Value) {
  if (Index > 0 && Index <= GetNrOfColumns()) {
    TCustomGrid::SetColWidths(Index + FColOffset, Value);
  } else if (Index == 0) {
    TCustomGrid::SetColWidths(0, Value);
  } else if (Index < 0 && FColOffset) {
    FClassColWidth = Value;
    TCustomGrid::SetColWidths(1, Value);
  }
  ChangedLayout();
}

void TNTabEd::SetComment(const std::string& Value) {
  FData->SetFComment(RemoveControlChars(Value));
  ChangedData();
}

void TNTabEd::SetNumWidth(int Value) {
  if (Value >= 1 && Value <= 20) {
    FNumWidth = Value;
    Repaint();
  }
  ChangedLayout();
}

void TNTabEd::SetDefaultColWidth(int Value) {
  TCustomGrid::SetDefaultColWidth(Value);
  TCustomGrid::SetColWidths(0, 80);
  if (FColOffset) TCustomGrid::SetColWidths(1, FClassColWidth);
  ChangedLayout();
}

void TNTabEd::SetLeftCol(int Value) {
  TCustomGrid::SetLeftCol(std::clamp(Value, 1, std::max(1, GetNrOfColumns())) + FColOffset);
}

void TNTabEd::SetTopRow(int Value) {
  TCustomGrid::SetTopRow(std::clamp(Value, 1, std::max(1, GetNrOfRows())) + FRowOffset);
  Invalidate();
}

void TNTabEd::ShiftSelection(int DX, int DY) {
  // The selection stays on the same data cells when the headings grow or shrink.
  const TGridRect S = GetSelection();
  const int MaxX = GetColCount() - 1, MaxY = GetRowCount() - 1;
  const auto X = [&](int V) { return std::clamp(V + DX, 1 + FColOffset, std::max(1 + FColOffset, MaxX)); };
  const auto Y = [&](int V) { return std::clamp(V + DY, 1 + FRowOffset, std::max(1 + FRowOffset, MaxY)); };
  SetSelection({X(S.Left), Y(S.Top), X(S.Right), Y(S.Bottom)});
}

void TNTabEd::SetAttribRowVisible(bool Value) {
  if (Value == (FColOffset == 1)) return;
  {
  const TScopedValue<bool> Supp(FInternSuppPaint, true);
  const int N = GetColCount();
  if (Value) {
    SetColCount(N + 1);
    for (int I = N; I >= 2; --I) TCustomGrid::SetColWidths(I, TCustomGrid::GetColWidths(I - 1));
    TCustomGrid::SetColWidths(1, FClassColWidth);
    FColOffset = 1;
    SetFixedCols(2);
    ShiftSelection(1, 0);
  } else {
    FClassColWidth = TCustomGrid::GetColWidths(1);
    FColOffset = 0;
    ShiftSelection(-1, 0);
    SetFixedCols(1);
    for (int I = 1; I <= N - 2; ++I) TCustomGrid::SetColWidths(I, TCustomGrid::GetColWidths(I + 1));
    SetColCount(N - 1);
  }
  }
  Repaint();
  ChangedLayout();
}

void TNTabEd::SetAttribColVisible(bool Value) {
  if (Value == (FRowOffset == 1)) return;
  {
  const TScopedValue<bool> Supp(FInternSuppPaint, true);
  const int N = GetRowCount();
  if (Value) {
    SetRowCount(N + 1);
    for (int I = N; I >= 2; --I) SetRowHeights(I, GetRowHeights(I - 1));
    SetRowHeights(1, GetRowHeights(0));
    FRowOffset = 1;
    SetFixedRows(2);
    ShiftSelection(0, 1);
  } else {
    FRowOffset = 0;
    ShiftSelection(0, -1);
    SetFixedRows(1);
    for (int I = 1; I <= N - 2; ++I) SetRowHeights(I, GetRowHeights(I + 1));
    SetRowCount(N - 1);
  }
  }
  Repaint();
  ChangedLayout();
}

// --- copying --------------------------------------------------------------------------------

void TNTabEd::CopyContentsFrom(const TNTabEd* ExtTab) {
  if (!ExtTab || ExtTab == this || ExtTab->FData == FData) return;
  const int OC = GetNrOfColumns(), OR = GetNrOfRows();
  Bulk(false, [&] {
    std::vector<std::int8_t> DecP = ExtTab->FDecP;
    FData->CopyFrom(*ExtTab->FData);
    FDecP.swap(DecP);
  });
  if (OC != GetNrOfColumns() || OR != GetNrOfRows()) ChangedSetup();
}

void TNTabEd::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TNTabEd*>(Source);
  if (!S) {
    TCustomGrid::Assign(Source);
    return;
  }
  if (S == this) return;
  CopyContentsFrom(S);
  {
  const TScopedValue<bool> Supp(FInternSuppPaint, true);
  SetAttribRowVisible(S->GetAttribRowVisible());
  SetAttribColVisible(S->GetAttribColVisible());
  FNumWidth = S->FNumWidth;
  FClassColWidth = S->FClassColWidth;
  FColorNormal = S->FColorNormal;
  FColorSelected = S->FColorSelected;
  FColorMarked1 = S->FColorMarked1;
  FColorMarked2 = S->FColorMarked2;
  FColorMarkedBoth = S->FColorMarkedBoth;
  FColorRngSelFG = S->FColorRngSelFG;
  FColorRngSelBG = S->FColorRngSelBG;
  SetColorBackground(S->FColorBkgnd);
  SetColorFixed(S->FColorFixed);
  FBoldMarks = S->FBoldMarks;
  FBoldSelHeads = S->FBoldSelHeads;
  FOptRowHeight = S->FOptRowHeight;
  SetDataReadOnly(S->FReadOnly);
  FAutoAdvance = S->FAutoAdvance;
  FAutoAdvDir = S->FAutoAdvDir;
  FBlockIntPopup = S->FBlockIntPopup;
  FCommEdAllowed = S->FCommEdAllowed;
  FClipUseFullPrec = S->FClipUseFullPrec;
  SetDropDownRows(S->GetDropDownRows());
  SetPopupDMask(S->FPopupDMask);
  SetPopupHMask(S->FPopupHMask);
  TCustomGrid::SetDefaultRowHeight(S->TCustomGrid::GetDefaultRowHeight());
  SetOptions(S->GetOptions());
  }
  Repaint();
}

void TNTabEd::AssignTo(TPersistent* Dest) const {
  if (auto* D = dynamic_cast<TNTabEd*>(Dest)) {
    D->Assign(this);
    return;
  }
  TCustomGrid::AssignTo(Dest);
}

}  // namespace kvl
