// Sizes, counts, where cells lie, scrolling and the scroll bars.
#include <algorithm>
#include <climits>

#include "kvl/platform/grids.h"

namespace kvl {

namespace {

constexpr int MaxColCount = 10'000'000;
constexpr int MaxRowCount = 100'000'000;

}  // namespace

// --- TGridAxis ------------------------------------------------------------------------------

void TGridAxis::SetCount(int Value) {
  if (Value < FCount) FSizes.erase(FSizes.lower_bound(Value), FSizes.end());
  FCount = Value;
}

void TGridAxis::SetDefault(int Value) {
  FDefault = Value;
  FSizes.clear();
}

int TGridAxis::GetSize(int Index) const {
  if (Index < 0 || Index >= FCount) return 0;
  const auto It = FSizes.find(Index);
  return It == FSizes.end() ? FDefault : It->second;
}

void TGridAxis::SetSize(int Index, int Value) {
  if (Index < 0 || Index >= FCount) return;
  if (Value == FDefault)
    FSizes.erase(Index);
  else
    FSizes[Index] = Value;
}

int TGridAxis::NextShown(int From, int Lo, int Hi) const {
  Hi = std::min(Hi, FCount - 1);
  int I = std::max(From, Lo);
  if (FDefault > 0) {
    // Only stored sizes can hide an index: step over a run of them.
    for (auto It = FSizes.lower_bound(I); I <= Hi; ++I, ++It)
      if (It == FSizes.end() || It->first != I || It->second > 0) return I;
    return -1;
  }
  for (auto It = FSizes.lower_bound(I); It != FSizes.end() && It->first <= Hi; ++It)
    if (It->second > 0) return It->first;
  return -1;
}

int TGridAxis::PrevShown(int From, int Lo, int Hi) const {
  Lo = std::max(Lo, 0);
  int I = std::min({From, Hi, FCount - 1});
  if (FDefault > 0) {
    for (; I >= Lo; --I) {
      const auto It = FSizes.find(I);
      if (It == FSizes.end() || It->second > 0) return I;
    }
    return -1;
  }
  for (auto It = FSizes.upper_bound(I); It != FSizes.begin();) {
    --It;
    if (It->first < Lo) break;
    if (It->second > 0) return It->first;
  }
  return -1;
}

// --- counts and sizes -----------------------------------------------------------------------

int TCustomGrid::GetFixedCols() const {
  return std::clamp(FFixedColsWanted, 0, GetColCount() - 1);
}

int TCustomGrid::GetFixedRows() const {
  return std::clamp(FFixedRowsWanted, 0, GetRowCount() - 1);
}

void TCustomGrid::SetColCount(int Value) {
  Value = std::clamp(Value, 1, MaxColCount);
  if (Value == GetColCount()) return;
  FCols.SetCount(Value);
  CountsChanged();
}

void TCustomGrid::SetRowCount(int Value) {
  Value = std::clamp(Value, 1, MaxRowCount);
  if (Value == GetRowCount()) return;
  FRows.SetCount(Value);
  CountsChanged();
}

void TCustomGrid::SetFixedCols(int Value) {
  Value = std::max(Value, 0);
  if (!StoreIfChanged(FFixedColsWanted, Value)) return;
  CountsChanged();
}

void TCustomGrid::SetFixedRows(int Value) {
  Value = std::max(Value, 0);
  if (!StoreIfChanged(FFixedRowsWanted, Value)) return;
  CountsChanged();
}

void TCustomGrid::CountsChanged() {
  const int FC = GetFixedCols(), FR = GetFixedRows();
  const int LastC = GetColCount() - 1, LastR = GetRowCount() - 1;
  // The scroll position, the current cell and the selection come back into the table.
  const TGridCoord TL{std::clamp(FTopLeft.X, FC, LastC), std::clamp(FTopLeft.Y, FR, LastR)};
  FCurrent = {std::clamp(FCurrent.X, FC, LastC), std::clamp(FCurrent.Y, FR, LastR)};
  FAnchor = {std::clamp(FAnchor.X, FC, LastC), std::clamp(FAnchor.Y, FR, LastR)};
  FSelection.Right = std::min(FSelection.Right, LastC);
  FSelection.Bottom = std::min(FSelection.Bottom, LastR);
  FSelection.Left = std::min(FSelection.Left, FSelection.Right);
  FSelection.Top = std::min(FSelection.Top, FSelection.Bottom);
  if (FEditing && FEditCell != FCurrent) EndEdit(true);
  if (TL != FTopLeft) {
    FTopLeft = TL;
    TopLeftChanged();
  }
  LayoutChanged();
}

void TCustomGrid::SetDefaultColWidth(int Value) {
  FCols.SetDefault(Value);
  LayoutChanged();
  ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
  FRows.SetDefault(Value);
  LayoutChanged();
  RowHeightsChanged();
}

int TCustomGrid::GetColWidths(int Index) const { return FCols.GetSize(Index); }
int TCustomGrid::GetRowHeights(int Index) const { return FRows.GetSize(Index); }

void TCustomGrid::SetColWidths(int Index, int Value) {
  if (Index < 0 || Index >= GetColCount() || FCols.GetSize(Index) == Value) return;
  FCols.SetSize(Index, Value);
  LayoutChanged();
  ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
  if (Index < 0 || Index >= GetRowCount() || FRows.GetSize(Index) == Value) return;
  FRows.SetSize(Index, Value);
  LayoutChanged();
  RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int Value) {
  if (StoreIfChanged(FGridLineWidth, std::max(Value, 0))) LayoutChanged();
}

// --- where cells lie ------------------------------------------------------------------------

int TCustomGrid::LineGap(bool Horizontal) const {
  const TGridOptions Lines =
      Horizontal ? (goFixedVertLine | goVertLine) : (goFixedHorzLine | goHorzLine);
  return (FOptions & Lines) ? FGridLineWidth : 0;
}

int TCustomGrid::ClientExtent(bool Horizontal) const {
  return Horizontal ? GetClientWidth() : GetClientHeight();
}

std::vector<TGridSpan> TCustomGrid::VisibleSpans(bool Horizontal) const {
  const TGridAxis& A = Horizontal ? FCols : FRows;
  const int Fixed = Horizontal ? GetFixedCols() : GetFixedRows();
  const int First = Horizontal ? FTopLeft.X : FTopLeft.Y;
  const int Gap = LineGap(Horizontal), Extent = ClientExtent(Horizontal);
  std::vector<TGridSpan> Spans;
  std::int64_t Pos = 0;
  const auto Walk = [&](int From, int Lo, int Hi) {
    for (int I = A.NextShown(From, Lo, Hi); I >= 0 && Pos < Extent; I = A.NextShown(I + 1, Lo, Hi)) {
      const int Size = A.GetSize(I);
      Spans.push_back({I, static_cast<int>(Pos), Size});
      Pos += std::int64_t(Size) + Gap;
    }
  };
  Walk(0, 0, Fixed - 1);
  Walk(First, Fixed, A.GetCount() - 1);
  return Spans;
}

int TCustomGrid::FixedExtent(bool Horizontal) const {
  const TGridAxis& A = Horizontal ? FCols : FRows;
  const int Fixed = Horizontal ? GetFixedCols() : GetFixedRows();
  const int Gap = LineGap(Horizontal);
  // Beyond this nothing more could show; stopping there keeps huge fixed counts cheap.
  const std::int64_t Cap = std::int64_t(std::max(GetWidth(), GetHeight())) + 1;
  std::int64_t Pos = 0;
  for (int I = A.NextShown(0, 0, Fixed - 1); I >= 0 && Pos < Cap; I = A.NextShown(I + 1, 0, Fixed - 1))
    Pos += std::int64_t(A.GetSize(I)) + Gap;
  return static_cast<int>(std::min<std::int64_t>(Pos, INT_MAX / 2));
}

bool TCustomGrid::ContentFits(bool Horizontal, int Room) const {
  const TGridAxis& A = Horizontal ? FCols : FRows;
  const int Fixed = Horizontal ? GetFixedCols() : GetFixedRows();
  const int Gap = LineGap(Horizontal);
  std::int64_t Pos = FixedExtent(Horizontal);
  for (int I = A.NextShown(Fixed, Fixed, A.GetCount() - 1); I >= 0;
       I = A.NextShown(I + 1, Fixed, A.GetCount() - 1)) {
    if (Pos + A.GetSize(I) > Room) return false;
    Pos += std::int64_t(A.GetSize(I)) + Gap;
  }
  return true;
}

int TCustomGrid::TopForLast(bool Horizontal, int Last) const {
  const TGridAxis& A = Horizontal ? FCols : FRows;
  const int Fixed = Horizontal ? GetFixedCols() : GetFixedRows();
  const int Gap = LineGap(Horizontal);
  const std::int64_t Room = std::int64_t(ClientExtent(Horizontal)) - FixedExtent(Horizontal);
  int Top = A.PrevShown(Last, Fixed, A.GetCount() - 1);
  if (Top < 0) return Fixed;
  std::int64_t Used = A.GetSize(Top);
  for (;;) {
    const int J = A.PrevShown(Top - 1, Fixed, A.GetCount() - 1);
    if (J < 0) return Fixed;
    if (Used + Gap + A.GetSize(J) > Room) return Top;
    Used += std::int64_t(A.GetSize(J)) + Gap;
    Top = J;
  }
}

int TCustomGrid::LastFullPageStart(bool Horizontal) const {
  const TGridAxis& A = Horizontal ? FCols : FRows;
  return TopForLast(Horizontal, A.GetCount() - 1);
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  if (ACol < 0 || ACol >= GetColCount() || ARow < 0 || ARow >= GetRowCount()) return {};
  const auto Find = [](const std::vector<TGridSpan>& Spans, int Index) -> const TGridSpan* {
    for (const TGridSpan& S : Spans)
      if (S.Index == Index) return &S;
    return nullptr;
  };
  const auto Cols = VisibleSpans(true);
  const TGridSpan* C = Find(Cols, ACol);
  if (!C) return {};
  const auto Rows = VisibleSpans(false);
  const TGridSpan* R = Find(Rows, ARow);
  if (!R) return {};
  const auto End = [](const TGridSpan* S) {
    return static_cast<int>(std::min<std::int64_t>(std::int64_t(S->Start) + S->Size, INT_MAX));
  };
  return Rect(C->Start, R->Start, End(C), End(R));
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
  const auto Hit = [this](bool Horizontal, int P) {
    if (P < 0 || P >= ClientExtent(Horizontal)) return -1;
    const int Gap = LineGap(Horizontal);
    for (const TGridSpan& S : VisibleSpans(Horizontal))
      if (P >= S.Start && P < std::int64_t(S.Start) + S.Size + Gap) return S.Index;
    return -1;
  };
  return {Hit(true, X), Hit(false, Y)};
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  const TGridCoord C = MouseCoord(X, Y);
  ACol = C.X;
  ARow = C.Y;
}

int TCustomGrid::GetGridWidth() const {
  const auto Spans = VisibleSpans(true);
  if (Spans.empty()) return 0;
  const TGridSpan& S = Spans.back();
  return static_cast<int>(std::min<std::int64_t>(std::int64_t(S.Start) + S.Size + LineGap(true),
                                                 ClientExtent(true)));
}

int TCustomGrid::GetGridHeight() const {
  const auto Spans = VisibleSpans(false);
  if (Spans.empty()) return 0;
  const TGridSpan& S = Spans.back();
  return static_cast<int>(std::min<std::int64_t>(std::int64_t(S.Start) + S.Size + LineGap(false),
                                                 ClientExtent(false)));
}

namespace {

int CountFullyVisible(const std::vector<TGridSpan>& Spans, int Fixed, int Extent) {
  int N = 0;
  for (const TGridSpan& S : Spans)
    if (S.Index >= Fixed && std::int64_t(S.Start) + S.Size <= Extent) ++N;
  return N;
}

}  // namespace

int TCustomGrid::GetVisibleColCount() const {
  return CountFullyVisible(VisibleSpans(true), GetFixedCols(), ClientExtent(true));
}

int TCustomGrid::GetVisibleRowCount() const {
  return CountFullyVisible(VisibleSpans(false), GetFixedRows(), ClientExtent(false));
}

bool TCustomGrid::IsDataCell(TGridCoord C) const {
  return C.X >= GetFixedCols() && C.X < GetColCount() && C.Y >= GetFixedRows() &&
         C.Y < GetRowCount();
}

int TCustomGrid::FirstDataIndex(bool Horizontal) const {
  const TGridAxis& A = Horizontal ? FCols : FRows;
  const int Fixed = Horizontal ? GetFixedCols() : GetFixedRows();
  const int I = A.NextShown(Fixed, Fixed, A.GetCount() - 1);
  return I < 0 ? Fixed : I;
}

int TCustomGrid::LastDataIndex(bool Horizontal) const {
  const TGridAxis& A = Horizontal ? FCols : FRows;
  const int Fixed = Horizontal ? GetFixedCols() : GetFixedRows();
  const int I = A.PrevShown(A.GetCount() - 1, Fixed, A.GetCount() - 1);
  return I < 0 ? A.GetCount() - 1 : I;
}

int TCustomGrid::Step(bool Horizontal, int From, int Delta) const {
  const TGridAxis& A = Horizontal ? FCols : FRows;
  const int Fixed = Horizontal ? GetFixedCols() : GetFixedRows();
  const int Last = A.GetCount() - 1;
  const std::int64_t Target = std::clamp<std::int64_t>(std::int64_t(From) + Delta, Fixed, Last);
  const int T = static_cast<int>(Target);
  int I = Delta >= 0 ? A.NextShown(T, Fixed, Last) : A.PrevShown(T, Fixed, Last);
  if (I < 0) I = Delta >= 0 ? A.PrevShown(T, Fixed, Last) : A.NextShown(T, Fixed, Last);
  return I < 0 ? From : I;
}

// --- scrolling ------------------------------------------------------------------------------

void TCustomGrid::SetTopRow(int Value) { MoveTopLeft({FTopLeft.X, Value}, false); }

void TCustomGrid::SetLeftCol(int Value) { MoveTopLeft({Value, FTopLeft.Y}, false); }

void TCustomGrid::MoveTopLeft(TGridCoord TL, bool ByUser) {
  const auto Clamp = [&](bool Horizontal, int Old, int V) {
    const int Fixed = Horizontal ? GetFixedCols() : GetFixedRows();
    const int Last = (Horizontal ? GetColCount() : GetRowCount()) - 1;
    V = std::clamp(V, Fixed, Last);
    // The user never scrolls past the last full page (but may scroll back from beyond it).
    if (ByUser && V > Old) V = std::max(Old, std::min(V, LastFullPageStart(Horizontal)));
    return V;
  };
  TL = {Clamp(true, FTopLeft.X, TL.X), Clamp(false, FTopLeft.Y, TL.Y)};
  if (TL == FTopLeft) return;
  FTopLeft = TL;
  // A scroll repaints the whole grid: descendants draw across cells.
  Invalidate();
  UpdateScrollBars();
  if (FEditing) {
    const TRect R = CellRect(FEditCell.X, FEditCell.Y);
    if (R.IsEmpty())
      EndEdit(true);
    else
      PlaceEditor();
  }
  TopLeftChanged();
}

void TCustomGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::ScrollIntoView(TGridCoord C) {
  TGridCoord TL = FTopLeft;
  const auto Axis = [&](bool Horizontal, int Index, int& Top) {
    const int Fixed = Horizontal ? GetFixedCols() : GetFixedRows();
    if (Index < Fixed || Index >= (Horizontal ? GetColCount() : GetRowCount())) return;
    if (Index < Top) {
      Top = Index;
      return;
    }
    const int Extent = ClientExtent(Horizontal);
    for (const TGridSpan& S : VisibleSpans(Horizontal))
      if (S.Index == Index && std::int64_t(S.Start) + S.Size <= Extent) return;
    Top = std::max(Top, TopForLast(Horizontal, Index));
  };
  Axis(true, C.X, TL.X);
  Axis(false, C.Y, TL.Y);
  MoveTopLeft(TL, false);
}

// --- scroll bars and the border -------------------------------------------------------------

void TCustomGrid::LayoutChanged() {
  UpdateScrollBars();
  if (FEditing) PlaceEditor();
  Invalidate();
}

void TCustomGrid::UpdateBorder() {
  SetBorderInset(FBorderStyle == bsNone ? 0 : FCtl3D ? 2 : 1);
  LayoutChanged();
}

void TCustomGrid::UpdateScrollBars() {
  if (FUpdatingBars || IsDestroying()) return;
  FUpdatingBars = true;
  const int B = GetBorderInset();
  const int W = std::max(GetWidth() - 2 * B, 0), H = std::max(GetHeight() - 2 * B, 0);
  const bool WantV = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const bool WantH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  constexpr int T = TScrollBarPart::Thickness;
  bool NeedV = false, NeedH = false;
  // One bar takes room from the other's direction: settle it in two passes.
  for (int Pass = 0; Pass < 2; ++Pass) {
    NeedV = WantV && !ContentFits(false, H - (NeedH ? T : 0));
    NeedH = WantH && !ContentFits(true, W - (NeedV ? T : 0));
  }
  // A control too small for a bar shows none.
  NeedV = NeedV && W >= T;
  NeedH = NeedH && H >= T;
  SetScrollBarInsets(NeedV ? T : 0, NeedH ? T : 0);
  const int R = GetWidth() - B, Bt = GetHeight() - B;
  FVertBar.SetBounds(NeedV ? Rect(R - T, B, R, Bt - (NeedH ? T : 0)) : TRect{});
  FHorzBar.SetBounds(NeedH ? Rect(B, Bt - T, R - (NeedV ? T : 0), Bt) : TRect{});
  const bool Enabled = IsEnabledInTree();
  FVertBar.SetEnabled(Enabled);
  FHorzBar.SetEnabled(Enabled);
  if (NeedV) {
    const int Fixed = GetFixedRows();
    FVertBar.SetParams(Fixed, std::max(Fixed, LastFullPageStart(false)),
                       std::max(1, GetVisibleRowCount()));
    FVertBar.SetPosition(FTopLeft.Y);
  }
  if (NeedH) {
    const int Fixed = GetFixedCols();
    FHorzBar.SetParams(Fixed, std::max(Fixed, LastFullPageStart(true)),
                       std::max(1, GetVisibleColCount()));
    FHorzBar.SetPosition(FTopLeft.X);
  }
  FUpdatingBars = false;
}

void TCustomGrid::ScrollBarScrolled(bool Horizontal, TScrollCode Code, std::int64_t Pos) {
  const int Cur = Horizontal ? FTopLeft.X : FTopLeft.Y;
  const int Page = std::max(1, Horizontal ? GetVisibleColCount() : GetVisibleRowCount());
  const int Fixed = Horizontal ? GetFixedCols() : GetFixedRows();
  const auto Clamped = [](std::int64_t V) {
    return static_cast<int>(std::clamp<std::int64_t>(V, INT_MIN, INT_MAX));
  };
  int To = Cur;
  switch (Code) {
    case scLineUp:
      To = Step(Horizontal, Cur, -1);
      break;
    case scLineDown:
      To = Step(Horizontal, Cur, 1);
      break;
    case scPageUp:
      To = Step(Horizontal, Cur, -Page);
      break;
    case scPageDown:
      To = Step(Horizontal, Cur, Page);
      break;
    case scTrack:
      if (!(FOptions & goThumbTracking)) return;
      To = Clamped(Pos);
      break;
    case scPosition:
      To = Clamped(Pos);
      break;
    case scTop:
      To = Fixed;
      break;
    case scBottom:
      To = LastFullPageStart(Horizontal);
      break;
    case scEndScroll:
      UpdateScrollBars();
      return;
  }
  MoveTopLeft(Horizontal ? TGridCoord{To, FTopLeft.Y} : TGridCoord{FTopLeft.X, To}, true);
}

void TCustomGrid::NonClientMouseDown(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft || !IsEnabledInTree()) return;
  if (!FVertBar.MouseDown(X, Y)) FHorzBar.MouseDown(X, Y);
}

void TCustomGrid::NonClientMouseMove(TShiftState, int X, int Y) {
  FVertBar.MouseMove(X, Y);
  FHorzBar.MouseMove(X, Y);
}

void TCustomGrid::NonClientMouseUp(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft) return;
  FVertBar.MouseUp(X, Y);
  FHorzBar.MouseUp(X, Y);
}

}  // namespace kvl
