// The string grid: sparse text cells, drawn as text and edited as text.
#include <algorithm>

#include "kvl/platform/grids.h"

namespace kvl {

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

std::string TStringGrid::GetCells(int ACol, int ARow) const {
  const auto It = FCells.find(Key(ACol, ARow));
  return It == FCells.end() ? std::string() : It->second.Text;
}

void TStringGrid::SetCells(int ACol, int ARow, const std::string& Value) {
  if (ACol < 0 || ACol >= GetColCount() || ARow < 0 || ARow >= GetRowCount()) return;
  const auto It = FCells.find(Key(ACol, ARow));
  if (It == FCells.end()) {
    if (Value.empty()) return;
    FCells[Key(ACol, ARow)].Text = Value;
  } else {
    if (It->second.Text == Value) return;
    It->second.Text = Value;
    if (Value.empty() && !It->second.Object) FCells.erase(It);
  }
  InvalidateCell(ACol, ARow);
}

TObject* TStringGrid::GetObjects(int ACol, int ARow) const {
  const auto It = FCells.find(Key(ACol, ARow));
  return It == FCells.end() ? nullptr : It->second.Object;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
  if (ACol < 0 || ACol >= GetColCount() || ARow < 0 || ARow >= GetRowCount()) return;
  const auto It = FCells.find(Key(ACol, ARow));
  if (It == FCells.end()) {
    if (Value) FCells[Key(ACol, ARow)].Object = Value;
    return;
  }
  It->second.Object = Value;
  if (!Value && It->second.Text.empty()) FCells.erase(It);
}

const TStrings& TStringGrid::GetCols(int Index) {
  FLine.Clear();
  if (Index >= 0 && Index < GetColCount())
    for (int R = 0; R < GetRowCount(); ++R) FLine.AddObject(GetCells(Index, R), GetObjects(Index, R));
  return FLine;
}

const TStrings& TStringGrid::GetRows(int Index) {
  FLine.Clear();
  if (Index >= 0 && Index < GetRowCount())
    for (int C = 0; C < GetColCount(); ++C) FLine.AddObject(GetCells(C, Index), GetObjects(C, Index));
  return FLine;
}

void TStringGrid::SetCols(int Index, const TStrings& Value) {
  if (Index < 0 || Index >= GetColCount()) return;
  const int N = std::min(Value.GetCount(), GetRowCount());
  for (int R = 0; R < N; ++R) {
    SetCells(Index, R, Value.GetStrings(R));
    SetObjects(Index, R, Value.GetObjects(R));
  }
}

void TStringGrid::SetRows(int Index, const TStrings& Value) {
  if (Index < 0 || Index >= GetRowCount()) return;
  const int N = std::min(Value.GetCount(), GetColCount());
  for (int C = 0; C < N; ++C) {
    SetCells(C, Index, Value.GetStrings(C));
    SetObjects(C, Index, Value.GetObjects(C));
  }
}

void TStringGrid::CountsChanged() {
  const std::uint32_t Cols = std::uint32_t(GetColCount()), Rows = std::uint32_t(GetRowCount());
  // Only a shrink drops cells; growing row by row stays linear.
  if (Cols < FKeptCols || Rows < FKeptRows)
    std::erase_if(FCells, [&](const auto& E) {
      return (E.first >> 32) >= Cols || (E.first & 0xFFFFFFFFu) >= Rows;
    });
  FKeptCols = Cols;
  FKeptRows = Rows;
  TDrawGrid::CountsChanged();
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (GetDefaultDrawing()) {
    TCanvas& C = *GetCanvas();
    const auto It = FCells.find(Key(ACol, ARow));
    if (It != FCells.end() && !It->second.Text.empty()) {
      // Over the prepared cell: the fill and the fixed-cell bevel are already there.
      const TBrushStyle Style = C.GetBrush().GetStyle();
      C.GetBrush().SetStyle(bsClear);
      C.TextRect(ARect, ARect.Left + 2, ARect.Top + 2, It->second.Text);
      C.GetBrush().SetStyle(Style);
    }
  }
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

std::string TStringGrid::GetEditText(int ACol, int ARow) {
  std::string Value = GetCells(ACol, ARow);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, Value);
  return Value;
}

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  SetCells(ACol, ARow, Value);
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

}  // namespace kvl
