#include "page_list.h"

#include <algorithm>

namespace kvl::gallery {

TPageList::TPageList(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clWindow);
  SetTabStop(true);
  SetWidth(150);
}

void TPageList::SetItems(std::vector<std::string> Items) {
  FItems = std::move(Items);
  FItemIndex = FItems.empty() ? -1 : std::clamp(FItemIndex, 0, int(FItems.size()) - 1);
  Invalidate();
}

void TPageList::SetItemIndex(int Index) {
  if (FItems.empty()) return;
  Index = std::clamp(Index, 0, int(FItems.size()) - 1);
  if (Index == FItemIndex) return;
  FItemIndex = Index;
  Invalidate();
  if (OnChange) OnChange(this);
}

bool TPageList::WantsKey(std::uint16_t Key, TShiftState) const {
  return Key == vk::Up || Key == vk::Down;
}

void TPageList::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == vk::Up) SetItemIndex(FItemIndex - 1);
  if (Key == vk::Down) SetItemIndex(FItemIndex + 1);
  if (Key == vk::Home) SetItemIndex(0);
  if (Key == vk::End) SetItemIndex(int(FItems.size()) - 1);
}

void TPageList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
  const int Row = (Y - 4) / RowHeight();
  if (Button == mbLeft && Y >= 4 && Row < int(FItems.size())) SetItemIndex(Row);
}

int TPageList::RowHeight() {
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  return C.TextHeight("Ag") + 8;
}

void TPageList::Paint() {
  TCanvas& C = *GetCanvas();
  C.SetFont(GetFont());
  const int H = RowHeight();
  for (int I = 0; I < int(FItems.size()); ++I) {
    const TRect Row = Rect(4, 4 + I * H, GetClientWidth() - 4, 4 + (I + 1) * H);
    const bool Selected = I == FItemIndex;
    C.GetBrush().SetColor(Selected ? clHighlight : clWindow);
    C.GetFont().SetColor(Selected ? clHighlightText : clWindowText);
    C.TextRect(Row, Row.Left + 6, Row.Top + 4, FItems[std::size_t(I)]);
  }
  // The divider towards the page.
  C.GetPen().SetColor(clBtnShadow);
  C.MoveTo(GetClientWidth() - 1, 0);
  C.LineTo(GetClientWidth() - 1, GetClientHeight());
}

}  // namespace kvl::gallery
