#include "kvl/platform/listrows.h"

#include <algorithm>

namespace kvl {

int TListRowsView::PageRows() const { return std::max(Client.Height() / ItemHeight, 1); }

int TListRowsView::MaxTopIndex() const { return std::max(Count - PageRows(), 0); }

TRect TListRowsView::RowRect(int Index) const {
  const int Top = Client.Top + (Index - TopIndex) * ItemHeight;
  return Rect(Client.Left, Top, Client.Right, Top + ItemHeight);
}

int TListRowsView::RowAtY(int Y) const {
  const int D = Y - Client.Top;
  // Floor division, so that a point above the view gives a row before TopIndex.
  return TopIndex + (D >= 0 ? D / ItemHeight : -((-D + ItemHeight - 1) / ItemHeight));
}

int TListRowsView::LastShown() const {
  const int Rows = (Client.Height() + ItemHeight - 1) / ItemHeight;
  return std::clamp(TopIndex + Rows, TopIndex, std::max(Count, TopIndex));
}

int PaintListRows(TCanvas& C, const TListRowsView& V, const TListRowsLook& Look,
                  const std::function<bool(int Index)>& Selected,
                  const std::function<void(int Index, const TRect& R, TOwnerDrawState State)>& Draw) {
  C.GetPen().SetColor(clBlack);
  C.GetPen().SetWidth(1);
  C.GetPen().SetStyle(psSolid);
  const int Last = V.LastShown();
  int Painted = 0;
  for (int I = V.FirstShown(); I < Last; ++I) {
    const TRect R = V.RowRect(I);
    const bool Sel = Selected(I);
    TOwnerDrawState State = 0;
    if (Sel) State |= odSelected;
    if (I == Look.FocusIndex) State |= odFocused;
    if (!Look.Enabled) State |= odDisabled;
    C.GetBrush().SetColor(Sel ? clHighlight : Look.Color);
    C.FillRect(R);
    if (Look.Font) C.SetFont(*Look.Font);
    C.GetFont().SetColor(Sel ? clHighlightText : Look.FontColor);
    Draw(I, R, State);
    if (I == Look.FocusIndex) C.DrawFocusRect(R);
    ++Painted;
  }
  const int Bottom = V.RowRect(Last).Top;
  if (Bottom < V.Client.Bottom) {
    C.GetBrush().SetColor(Look.Color);
    C.FillRect(Rect(V.Client.Left, std::max(Bottom, V.Client.Top), V.Client.Right, V.Client.Bottom));
  }
  return Painted;
}

}  // namespace kvl
