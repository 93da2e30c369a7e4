// Painting: the background, the lines, then every visible cell through DrawCell.
#include <algorithm>
#include <climits>

#include "kvl/core/pen_brush_keeper.h"
#include "kvl/platform/grids.h"
#include "kvl/platform/relief.h"

namespace kvl {

namespace {

int SpanEnd(const TGridSpan& S) {
  return static_cast<int>(std::min<std::int64_t>(std::int64_t(S.Start) + S.Size, INT_MAX));
}

// Where the fixed part of an axis ends (past the line after its last fixed cell).
int FixedEnd(const std::vector<TGridSpan>& Spans, int Fixed, int Gap) {
  int End = 0;
  for (const TGridSpan& S : Spans)
    if (S.Index < Fixed) End = static_cast<int>(std::min<std::int64_t>(std::int64_t(SpanEnd(S)) + Gap, INT_MAX));
  return End;
}

}  // namespace

TGridDrawState TCustomGrid::StateOf(int ACol, int ARow) const {
  if (IsFixedCell(ACol, ARow)) return gdFixed;
  TGridDrawState State = 0;
  const TGridRect& S = FSelection;
  const bool Current = ACol == FCurrent.X && ARow == FCurrent.Y;
  if (Current || (ACol >= S.Left && ACol <= S.Right && ARow >= S.Top && ARow <= S.Bottom))
    State |= gdSelected;
  if (Current && Focused()) State |= gdFocused;
  return State;
}

void TCustomGrid::DrawLines(TCanvas& C, const std::vector<TGridSpan>& Cols,
                            const std::vector<TGridSpan>& Rows) {
  const int VGap = LineGap(true), HGap = LineGap(false);
  const int FC = GetFixedCols(), FR = GetFixedRows();
  const int GridW = GetGridWidth(), GridH = GetGridHeight();
  const int FixedBottom = FixedEnd(Rows, FR, HGap), FixedRight = FixedEnd(Cols, FC, VGap);
  const auto Fill = [&C](TColor Color, const TRect& R) {
    if (R.IsEmpty()) return;
    C.GetBrush().SetColor(Color);
    C.FillRect(R);
  };
  if (VGap > 0) {
    for (const TGridSpan& S : Cols) {
      const int X = SpanEnd(S), X2 = static_cast<int>(std::min<std::int64_t>(std::int64_t(X) + VGap, INT_MAX));
      if (S.Index < FC) {
        if (FOptions & goFixedVertLine) Fill(clBlack, Rect(X, 0, X2, GridH));
        continue;
      }
      if (FOptions & goFixedVertLine) Fill(clBlack, Rect(X, 0, X2, std::min(FixedBottom, GridH)));
      if (FOptions & goVertLine) Fill(clSilver, Rect(X, FixedBottom, X2, GridH));
    }
  }
  if (HGap > 0) {
    for (const TGridSpan& S : Rows) {
      const int Y = SpanEnd(S), Y2 = static_cast<int>(std::min<std::int64_t>(std::int64_t(Y) + HGap, INT_MAX));
      if (S.Index < FR) {
        if (FOptions & goFixedHorzLine) Fill(clBlack, Rect(0, Y, GridW, Y2));
        continue;
      }
      if (FOptions & goFixedHorzLine) Fill(clBlack, Rect(0, Y, std::min(FixedRight, GridW), Y2));
      if (FOptions & goHorzLine) Fill(clSilver, Rect(FixedRight, Y, GridW, Y2));
    }
  }
}

void TCustomGrid::Paint() {
  TCanvas& C = *GetCanvas();
  C.GetBrush().SetStyle(bsSolid);
  C.GetBrush().SetColor(GetColor());
  C.FillRect(GetClientRect());
  const std::vector<TGridSpan> Cols = VisibleSpans(true), Rows = VisibleSpans(false);
  {
    const TPenBrushKeeper Keep(C);
    DrawLines(C, Cols, Rows);
  }
  for (const TGridSpan& R : Rows) {
    for (const TGridSpan& Col : Cols) {
      const TRect Cell = Rect(Col.Start, R.Start, SpanEnd(Col), SpanEnd(R));
      const TGridDrawState State = StateOf(Col.Index, R.Index);
      // Copying an equal font would drop the canvas's cached face for nothing.
      if (!C.GetFont().SameAttributes(GetFont())) C.SetFont(GetFont());
      if (FDefaultDrawing) {
        C.GetBrush().SetStyle(bsSolid);
        if (State & gdFixed) {
          C.GetBrush().SetColor(FFixedColor);
        } else if (State & gdSelected) {
          C.GetBrush().SetColor(clHighlight);
          C.GetFont().SetColor(clHighlightText);
        } else {
          C.GetBrush().SetColor(GetColor());
        }
        C.FillRect(Cell);
        if ((State & gdFixed) && FCtl3D && Cell.Width() >= 2 && Cell.Height() >= 2) {
          const TPenBrushKeeper Keep(C);
          C.GetPen().SetStyle(psSolid);
          C.GetPen().SetWidth(1);
          DrawEdge(C, clBtnHighlight, clBtnShadow, Cell.Left, Cell.Top, Cell.Right - 1,
                   Cell.Bottom - 1);
        }
      }
      DrawCell(Col.Index, R.Index, Cell, State);
    }
  }
}

void TCustomGrid::PaintBackground(TCanvas&) {
  // Paint fills the client area itself (also when called directly).
}

void TCustomGrid::PaintBorder(TCanvas& C) {
  const TPenBrushKeeper Keep(C);
  const TRect All = Rect(0, 0, GetWidth(), GetHeight());
  if (FBorderStyle != bsNone) {
    if (FCtl3D) {
      DrawSunkenFrame(C, All);
    } else {
      C.GetBrush().SetColor(clWindowFrame);
      C.FrameRect(All);
    }
  }
  FVertBar.Paint(C);
  FHorzBar.Paint(C);
  const TRect& V = FVertBar.GetBounds();
  const TRect& H = FHorzBar.GetBounds();
  if (!V.IsEmpty() && !H.IsEmpty()) {
    C.GetBrush().SetColor(clBtnFace);
    C.FillRect(Rect(V.Left, H.Top, V.Right, H.Bottom));
  }
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
  // Cells may draw across their neighbours: the whole row repaints (every DrawCell runs anyway).
  if (CellRect(ACol, ARow).IsEmpty()) return;
  InvalidateRow(ARow);
}

void TCustomGrid::InvalidateRow(int ARow) {
  const auto Rows = VisibleSpans(false);
  for (const TGridSpan& S : Rows) {
    if (S.Index != ARow) continue;
    TCustomForm* F = GetParentForm();
    if (!F) return;
    const TRect R = Rect(0, S.Start, GetClientWidth(), SpanEnd(S)).Offset(GetClientOrigin());
    F->InvalidateFormRect(R.Intersect(VisibleFormRect()));
    return;
  }
}

void TCustomGrid::InvalidateCol(int ACol) {
  const auto Cols = VisibleSpans(true);
  for (const TGridSpan& S : Cols) {
    if (S.Index != ACol) continue;
    TCustomForm* F = GetParentForm();
    if (!F) return;
    const TRect R = Rect(S.Start, 0, SpanEnd(S), GetClientHeight()).Offset(GetClientOrigin());
    F->InvalidateFormRect(R.Intersect(VisibleFormRect()));
    return;
  }
}

}  // namespace kvl
