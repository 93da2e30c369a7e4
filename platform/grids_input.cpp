// Keys, mouse and wheel: navigation, selection, dragging and sizing.
#include <algorithm>
#include <climits>

#include "kvl/platform/grids.h"

namespace kvl {

namespace {

constexpr int SizingReach = 3;
constexpr int AutoScrollInterval = 50;
constexpr std::uint16_t KeyF2 = vk::F1 + 1;

}  // namespace

bool TCustomGrid::WantsKey(std::uint16_t Key, TShiftState) const {
  if (Key == vk::Tab) return (FOptions & goTabs) != 0;
  if (Key == vk::Escape) return FEditing;
  return true;
}

void TCustomGrid::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0 || !IsEnabledInTree()) return;
  switch (Key) {
    case KeyF2:
      ShowEditor();
      break;
    case vk::Tab:
    case vk::Up:
    case vk::Down:
    case vk::Prior:
    case vk::Next:
    case vk::Home:
    case vk::End:
    case vk::Left:
    case vk::Right:
      if (Key == vk::Tab && !WantsKey(Key, Shift)) return;
      NavigateKey(Key, Shift);
      break;
    default:
      break;
  }
}

void TCustomGrid::NavigateKey(std::uint16_t Key, TShiftState Shift) {
  const bool Ctrl = (Shift & ssCtrl) != 0, Shifted = (Shift & ssShift) != 0;
  const bool RowSelect = (FOptions & goRowSelect) != 0;
  const TGridCoord First{FirstDataIndex(true), FirstDataIndex(false)};
  const TGridCoord Last{LastDataIndex(true), LastDataIndex(false)};
  // A current cell put off the table by a selection write: any key goes to the first cell.
  if (!IsDataCell(FCurrent)) {
    MoveCurrent(Key == vk::End ? Last : First, false, true);
    return;
  }
  if (Ctrl && Key >= vk::Left && Key <= vk::Down) {
    const bool H = Key == vk::Left || Key == vk::Right;
    const int D = (Key == vk::Left || Key == vk::Up) ? -1 : 1;
    const int Top = H ? FTopLeft.X : FTopLeft.Y;
    const int To = Step(H, Top, D);
    MoveTopLeft(H ? TGridCoord{To, FTopLeft.Y} : TGridCoord{FTopLeft.X, To}, true);
    return;
  }
  TGridCoord T = FCurrent;
  const int Page = std::max(1, GetVisibleRowCount());
  switch (Key) {
    case vk::Up:
      T.Y = Step(false, T.Y, -1);
      break;
    case vk::Down:
      T.Y = Step(false, T.Y, 1);
      break;
    case vk::Prior:
    case vk::Next: {
      const int D = Key == vk::Prior ? -Page : Page;
      T.Y = Step(false, T.Y, D);
      const int Top = static_cast<int>(std::clamp<std::int64_t>(std::int64_t(FTopLeft.Y) + D, INT_MIN, INT_MAX));
      if (MoveCurrent(T, Shifted, false)) {
        MoveTopLeft({FTopLeft.X, Top}, true);
        ScrollIntoView(FCurrent);
      }
      return;
    }
    case vk::Left:
    case vk::Right: {
      const int D = Key == vk::Left ? -1 : 1;
      if (RowSelect) {
        MoveTopLeft({Step(true, FTopLeft.X, D), FTopLeft.Y}, true);
        return;
      }
      T.X = Step(true, T.X, D);
      break;
    }
    case vk::Home:
      if (Ctrl) {
        T = First;
      } else if (RowSelect) {
        T.Y = First.Y;
      } else {
        T.X = First.X;
      }
      break;
    case vk::End:
      if (Ctrl) {
        T = Last;
      } else if (RowSelect) {
        T.Y = Last.Y;
      } else {
        T.X = Last.X;
      }
      break;
    case vk::Tab: {
      // Along the row, wrapping to the next row's first cell; the last cell stays.
      const bool Back = Shifted;
      const int X = Step(true, T.X, Back ? -1 : 1);
      if (X != T.X) {
        T.X = X;
      } else {
        const int Y = Step(false, T.Y, Back ? -1 : 1);
        if (Y != T.Y) T = {Back ? Last.X : First.X, Y};
      }
      MoveCurrent(T, false, true);
      return;
    }
    default:
      return;
  }
  MoveCurrent(T, Shifted, true);
}

void TCustomGrid::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key == 0 || !(FOptions & goEditing)) return;
  if (Key == U'\r') {
    if (FEditing)
      HideEditor();
    else
      ShowEditor();
    Key = 0;
    return;
  }
  if (!FEditing && Key >= 32 && Key != 127) {
    ShowEditor();
    if (FEditing && FInplaceEdit) {
      FInplaceEdit->SetText("");
      char32_t Typed = Key;
      FInplaceEdit->TCustomEdit::KeyPress(Typed);
    }
    Key = 0;
  }
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
  if (!IsDataCell(FCurrent))
    MoveCurrent({FirstDataIndex(true), FirstDataIndex(false)}, false, true);
  else
    MoveCurrent({FCurrent.X, Step(false, FCurrent.Y, 1)}, false, true);
  return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
  if (!IsDataCell(FCurrent))
    MoveCurrent({FirstDataIndex(true), FirstDataIndex(false)}, false, true);
  else
    MoveCurrent({FCurrent.X, Step(false, FCurrent.Y, -1)}, false, true);
  return true;
}

// --- mouse ----------------------------------------------------------------------------------

bool TCustomGrid::SizingZone(int X, int Y, bool& Horizontal, int& Index, int& Start) const {
  const auto Near = [this](bool H, int P, int& Found, int& Start) {
    const int Gap = std::max(LineGap(H), 1);
    for (const TGridSpan& S : VisibleSpans(H)) {
      const std::int64_t Line = std::int64_t(S.Start) + S.Size;
      if (P >= Line - SizingReach && P <= Line + Gap - 1 + SizingReach) {
        Found = S.Index;
        Start = S.Start;
        return true;
      }
    }
    return false;
  };
  const auto FixedEndOf = [this](bool H) {
    const int Fixed = H ? GetFixedCols() : GetFixedRows();
    std::int64_t End = 0;
    for (const TGridSpan& S : VisibleSpans(H))
      if (S.Index < Fixed) End = std::int64_t(S.Start) + S.Size + LineGap(H);
    return End;
  };
  if ((FOptions & goColSizing) && Y >= 0 && Y < FixedEndOf(false) && Near(true, X, Index, Start)) {
    Horizontal = true;
    return true;
  }
  if ((FOptions & goRowSizing) && X >= 0 && X < FixedEndOf(true) && Near(false, Y, Index, Start)) {
    Horizontal = false;
    return true;
  }
  return false;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsEnabledInTree() && CanFocus() && !Focused()) SetFocus();
  if (Button == mbLeft && IsEnabledInTree()) {
    bool H = false;
    int Index = -1;
    if (SizingZone(X, Y, H, Index, FSizingStart)) {
      FState = H ? TGridState::ColSizing : TGridState::RowSizing;
      FSizingIndex = Index;
    } else {
      const TGridCoord C = MouseCoord(X, Y);
      if (IsDataCell(C)) {
        if ((FOptions & goEditing) && C == FCurrent && !(Shift & ssShift)) {
          ShowEditor();
        } else if (MoveCurrent(C, (Shift & ssShift) != 0, true)) {
          FState = TGridState::Selecting;
          FDragPoint = {X, Y};
        }
      }
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::DragTo(int X, int Y) {
  // Past an edge the pointer counts as on the edge's cell.
  const int W = GetClientWidth(), H = GetClientHeight();
  const int CX = std::clamp(X, 0, std::max(W - 1, 0)), CY = std::clamp(Y, 0, std::max(H - 1, 0));
  TGridCoord C = MouseCoord(CX, CY);
  // Over a fixed cell: the first scrolling one; over the blank beyond the table: no move.
  if (C.X < 0)
    C.X = FCurrent.X;
  else if (C.X < GetFixedCols())
    C.X = FTopLeft.X;
  if (C.Y < 0)
    C.Y = FCurrent.Y;
  else if (C.Y < GetFixedRows())
    C.Y = FTopLeft.Y;
  if (C != FCurrent) MoveCurrent(C, true, false);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  // A release the grid never saw (a descendant kept it) ends the drag here.
  if (FState != TGridState::Normal && !(Shift & ssLeft)) EndDrag();
  switch (FState) {
    case TGridState::Selecting:
      FDragPoint = {X, Y};
      DragTo(X, Y);
      if (X < 0 || Y < 0 || X >= GetClientWidth() || Y >= GetClientHeight()) {
        if (!FAutoScroll.GetActive()) FAutoScroll.Restart<EKVLError>(AutoScrollInterval);
      } else {
        FAutoScroll.Kill();
      }
      break;
    case TGridState::ColSizing:
    case TGridState::RowSizing:
      if (FState == TGridState::ColSizing)
        SetColWidths(FSizingIndex, std::max(1, X - FSizingStart));
      else
        SetRowHeights(FSizingIndex, std::max(1, Y - FSizingStart));
      break;
    case TGridState::Normal: {
      bool H = false;
      int Index = -1, Start = 0;
      SetCursor(SizingZone(X, Y, H, Index, Start) ? (H ? crSizeWE : crSizeNS) : crDefault);
      break;
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::AutoScrollTick() {
  if (FState != TGridState::Selecting) {
    FAutoScroll.Kill();
    return;
  }
  const TPoint P = FDragPoint;
  TGridCoord TL = FTopLeft;
  if (P.Y >= GetClientHeight()) TL.Y = Step(false, TL.Y, 1);
  if (P.Y < 0) TL.Y = Step(false, TL.Y, -1);
  if (P.X >= GetClientWidth()) TL.X = Step(true, TL.X, 1);
  if (P.X < 0) TL.X = Step(true, TL.X, -1);
  MoveTopLeft(TL, true);
  // The current cell follows to the newly shown edge cell.
  TGridCoord C = FCurrent;
  if (P.Y >= GetClientHeight()) {
    for (const TGridSpan& S : VisibleSpans(false))
      if (S.Index >= GetFixedRows() && std::int64_t(S.Start) + S.Size <= GetClientHeight()) C.Y = S.Index;
  }
  if (P.Y < 0) C.Y = FTopLeft.Y;
  if (P.X >= GetClientWidth()) {
    for (const TGridSpan& S : VisibleSpans(true))
      if (S.Index >= GetFixedCols() && std::int64_t(S.Start) + S.Size <= GetClientWidth()) C.X = S.Index;
  }
  if (P.X < 0) C.X = FTopLeft.X;
  if (C != FCurrent) MoveCurrent(C, true, false);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) EndDrag();
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::EndDrag() {
  FState = TGridState::Normal;
  FSizingIndex = -1;
  FAutoScroll.Kill();
}

void TCustomGrid::MouseCaptureLost() {
  TCustomControl::MouseCaptureLost();
  EndDrag();
  FVertBar.CancelPress();
  FHorzBar.CancelPress();
}

void TCustomGrid::DblClick() { TCustomControl::DblClick(); }

}  // namespace kvl
