// The report list view's column model: the per-column settings, the column order, widths and
// the text a cell or header line shows.
#include <algorithm>
#include <cmath>
#include <new>

#include "kvl/core/stringl.h"
#include "kvl/replist/replist.h"

namespace kvl {

namespace {

// Text widths never count line feeds (the text engine would look up a glyph for them).
int WidthWithoutLineFeeds(TCanvas& C, std::string_view S) {
  if (S.find('\n') == std::string_view::npos) return C.TextWidth(S);
  std::string T(S);
  std::erase(T, '\n');
  return C.TextWidth(T);
}

}  // namespace

TReportListView::TColumnArrays TReportListView::ResizedColumnArrays(int N) const {
  TColumnArrays A;
  try {
    A.Align = FColAlignment;
    A.Editable = FColumnEditable;
    A.Pwd = FColumnIsPwd;
    A.Align.resize(std::size_t(N), taLeftJustify);
    A.Editable.resize(std::size_t(N), 0);
    A.Pwd.resize(std::size_t(N), 0);
    A.Order.resize(std::size_t(N));
  } catch (const std::bad_alloc&) {
    RaiseComponentError<EKVLRepListError>(GetName(), rsHeapFull);
  }
  for (int I = 0; I < N; ++I) A.Order[std::size_t(I)] = I;
  return A;
}

void TReportListView::TakeColumnArrays(TColumnArrays&& A) noexcept {
  FColAlignment = std::move(A.Align);
  FColumnEditable = std::move(A.Editable);
  FColumnIsPwd = std::move(A.Pwd);
  FColOrder = std::move(A.Order);
}

void TReportListView::SetNrOfColumns(int N) {
  N = std::max(N, 1);
  EndEditing();
  const int OldCols = GetColCount();
  const int LastWidth = TCustomGrid::GetColWidths(OldCols - 1);
  // The arrays are built aside and committed last, so that any failure leaves the view as it was.
  TColumnArrays Arrays = ResizedColumnArrays(N);
  try {
    // The grid first: it is put back when the store refuses. The cells' change hook stays
    // quiet, since a failure inside it would leave the store half done.
    SetColCount(N);
    const TQuietChanges Quiet(FQuietChanges);
    FRLData->SetNrOfColumns(N);
  } catch (...) {
    SetColCount(OldCols);
    throw;
  }
  TakeColumnArrays(std::move(Arrays));
  SetFixedCols(FFixedColOne ? 1 : 0);
  for (int G = OldCols - 1; G < GetColCount(); ++G) TCustomGrid::SetColWidths(G, LastWidth);
  SetTopRow(0);
  Invalidate();
  ChangedSetup();
}

// --- column order -------------------------------------------------------------------------

int TReportListView::DataColOfGrid(int G) const {
  if (G < 0 || G >= int(FColOrder.size())) return 0;
  return FColOrder[std::size_t(G)] + 1;
}

int TReportListView::GridColOfData(int K) const {
  for (std::size_t G = 0; G < FColOrder.size(); ++G)
    if (FColOrder[G] == K - 1) return int(G);
  return -1;
}

int TReportListView::GetColumnOrder(int ColNr) const {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return 0;
  return FColOrder[std::size_t(ColNr - 1)] + 1;
}

bool TReportListView::SetColumnOrder(const std::vector<int>& ColList) {
  const int N = GetNrOfColumns();
  if (int(ColList.size()) != N) return false;
  EndEditing();
  bool Ok = true;
  for (int I = 0; I < N; ++I) {
    const int K = ColList[std::size_t(I)];
    if (K >= 1 && K <= N)
      FColOrder[std::size_t(I)] = K - 1;
    else
      Ok = false;
  }
  return Ok;
}

// --- per-column settings -----------------------------------------------------------------------

std::string TReportListView::GetHeader(int ColNr) const {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return {};
  return FRLData->GetHeader(ColNr);
}

void TReportListView::SetHeader(int ColNr, std::string_view Value) {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return;
  FRLData->SetHeader(ColNr, Value);
  Changed();
  Invalidate();
}

std::string TReportListView::GetColumnFormat(int ColNr) const {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return {};
  return FRLData->GetColumnFormat(ColNr);
}

void TReportListView::SetColumnFormat(int ColNr, std::string_view Value) {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return;
  FRLData->SetColumnFormat(ColNr, Value);
  Changed();
  Invalidate();
}

TCheckMode TReportListView::GetColumnCheckMode(int ColNr) const {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return cmNone;
  return FRLData->GetColumnCheckMode(ColNr);
}

void TReportListView::SetColumnCheckMode(int ColNr, TCheckMode Value) {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return;
  {
    // The conversion rewrites every cell of the column: one OnChange for it.
    const TQuietChanges Quiet(FQuietChanges);
    FRLData->SetColumnCheckMode(ColNr, Value);
  }
  Changed();
  Invalidate();
}

bool TReportListView::GetIsCheckedColumn(int ColNr) const {
  return GetColumnCheckMode(ColNr) == cmBox;
}

void TReportListView::SetIsCheckedColumn(int ColNr, bool Value) {
  SetColumnCheckMode(ColNr, Value ? cmBox : cmNone);
}

TAlignment TReportListView::GetColumnAlignment(int ColNr) const {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return taLeftJustify;
  return FColAlignment[std::size_t(ColNr - 1)];
}

void TReportListView::SetColumnAlignment(int ColNr, TAlignment Value) {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return;
  TAlignment& A = FColAlignment[std::size_t(ColNr - 1)];
  if (A == Value) return;
  A = Value;
  Changed();
  Invalidate();
}

bool TReportListView::GetColumnEditable(int ColNr) const {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return false;
  return FColumnEditable[std::size_t(ColNr - 1)] != 0;
}

void TReportListView::SetColumnEditable(int ColNr, bool Value) {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return;
  FColumnEditable[std::size_t(ColNr - 1)] = Value;
}

bool TReportListView::GetColumnIsPwd(int ColNr) const {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return false;
  return FColumnIsPwd[std::size_t(ColNr - 1)] != 0;
}

void TReportListView::SetColumnIsPwd(int ColNr, bool Value) {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return;
  std::uint8_t& P = FColumnIsPwd[std::size_t(ColNr - 1)];
  if ((P != 0) == Value) return;
  P = Value;
  Changed();
  Invalidate();
}

bool TReportListView::GetColumnSelected(int C) const {
  if (C < 1 || C > GetNrOfColumns()) return false;
  return (FRLData->GetStrings().GetColAttrib(C) & caSelected) != 0;
}

void TReportListView::SetColumnSelected(int C, bool Value) {
  if (C < 1 || C > GetNrOfColumns()) return;
  TStringArray& S = FRLData->GetStrings();
  const std::uint8_t A = S.GetColAttrib(C);
  S.SetColAttrib(C, Value ? std::uint8_t(A | caSelected) : std::uint8_t(A & ~caSelected));
  ChangedSelection();
  Invalidate();
}

// --- widths ----------------------------------------------------------------------------------------

int TReportListView::GetColWidths(int Index) const {
  if (Index < 1 || Index > GetNrOfColumns()) return 0;
  const int G = GridColOfData(Index);
  return G < 0 ? 0 : TCustomGrid::GetColWidths(G);
}

void TReportListView::SetColWidths(int Index, int Value) {
  if (Index >= 1 && Index <= GetNrOfColumns()) {
    const int G = GridColOfData(Index);
    if (G >= 0) TCustomGrid::SetColWidths(G, Value);
  }
  ChangedSetup();
}

int TReportListView::FontExtraWidth() const { return (GetFont().GetStyle() & fsItalic) ? 2 : 0; }

int TReportListView::DetermineMaxColWidth(int ColNr, bool IncludeHeader) {
  if (ColNr < 1 || ColNr > GetNrOfColumns()) return 9;
  TCanvas& C = *GetCanvas();
  // Measured with the font the host set, whatever the last painted cell left on the canvas.
  C.SetFont(GetFont());
  const bool Box = GetColumnCheckMode(ColNr) == cmBox;
  const int Extra = (Box ? 16 : 0) + FontExtraWidth();
  const TStringArray& S = FRLData->GetStrings();
  int Max = 0;
  for (int R = 1; R <= GetNrOfRows(); ++R) {
    std::string_view T = S.GetStringView(ColNr, R);
    if (Box && !T.empty()) T.remove_prefix(std::size_t(Utf8CharLen(T, 0)));
    Max = std::max(Max, WidthWithoutLineFeeds(C, T) + Extra);
  }
  if (IncludeHeader) {
    const int W = WidthWithoutLineFeeds(C, GetHeader(ColNr)) +
                  (ColNr == GetLastSortColumn() ? 13 : 0) + FontExtraWidth();
    Max = std::max(Max, W);
  }
  return Max + 9;
}

void TReportListView::AutoColWidth(int ColNr, bool IncludeHeader, int Addon) {
  SetColWidths(ColNr, std::max(4, DetermineMaxColWidth(ColNr, IncludeHeader) + Addon));
}

void TReportListView::AutoColWidth(int ColNr, bool IncludeHeader, int Addon, int MaxWidth) {
  SetColWidths(ColNr,
               std::min(MaxWidth, std::max(4, DetermineMaxColWidth(ColNr, IncludeHeader) + Addon)));
}

void TReportListView::ExpandColWidth(int ColIx, int RightMargin) {
  const int N = GetNrOfColumns();
  if (ColIx >= 1 && ColIx <= N) {
    std::int64_t Sum = 0;
    for (int K = 1; K <= N; ++K)
      if (K != ColIx) Sum += GetColWidths(K);
    const std::int64_t W = std::int64_t(GetClientWidth()) - RightMargin - Sum;
    const int G = GridColOfData(ColIx);
    if (G >= 0) TCustomGrid::SetColWidths(G, W <= 15 ? 16 : int(std::min<std::int64_t>(W, INT_MAX)));
  }
  ChangedSetup();
}

void TReportListView::FitAllColWidths(int ExpandColumn, bool IncludeHeader, int Addon,
                                      int MaxWidth, int RightMargin) {
  const TPaintPause Pause(*this);
  for (int K = 1; K <= GetNrOfColumns(); ++K)
    if (K != ExpandColumn) AutoColWidth(K, IncludeHeader, Addon, MaxWidth);
  ExpandColWidth(ExpandColumn, RightMargin);
}

// --- display texts ----------------------------------------------------------------------------------

std::string TReportListView::FittedCellText(int ColNr, std::string_view S, int W,
                                            TCanvas& C) const {
  const TCheckMode Mode = GetColumnCheckMode(ColNr);
  const int Box = Mode != cmNone ? 16 : 0;
  const std::size_t First = std::size_t(Utf8CharLen(S, 0));
  const int T = WidthWithoutLineFeeds(C, S.substr(First));
  const int Room = W - Box - 9;
  if (!(Room < T && T > 0)) return std::string(S);
  const double Ratio = double(Room) / T;
  const int N = std::max(1, int(std::nearbyint(Utf8Length(S) * Ratio - 4)));
  if (GetColumnAlignment(ColNr) == taRightJustify)
    return std::string(S.substr(0, First)) + "..." + Utf8Right(S, N);
  return Utf8Left(S, N) + "...";
}

std::string TReportListView::FittedHeaderLine(std::string_view Line, int W, int Reserve,
                                              TCanvas& C) const {
  const int Wl = WidthWithoutLineFeeds(C, Line);
  if (!(W - Reserve - 9 < Wl)) return std::string(Line);
  const double Ratio = double(W - Reserve - 9) / Wl;
  const int N = int(std::nearbyint(Utf8Length(Line) * Ratio - 3));
  return Utf8Left(Line, std::max(N, 1)) + "...";
}

// --- the in-place editor's text ------------------------------------------------------------------------

std::string TReportListView::GetEditText(int ACol, int ARow) {
  const int S = DataColOfGrid(ACol), R = DataRowOfGrid(ARow);
  if (S < 1 || !IsDataRow(R)) return {};
  std::string Value = FRLData->GetElem(S, R);
  if (OnGetEditText) OnGetEditText(this, S - 1, R, Value);
  return Value;
}

void TReportListView::SetEditText(int ACol, int ARow, const std::string& Value) {
  const int S = DataColOfGrid(ACol), R = DataRowOfGrid(ARow);
  if (S < 1 || !IsDataRow(R)) return;
  // The store keeps a checked cell's mark (an empty cell stays unchecked) and cuts at 255.
  FRLData->SetElem(S, R, Value);
  TCustomGrid::SetEditText(ACol, ARow, Value);
  if (OnSetEditText) OnSetEditText(this, S - 1, R, Value);
}

}  // namespace kvl
