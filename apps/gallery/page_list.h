// The list of page names down the gallery's left side: a click or the arrow keys choose a page.
#pragma once

#include <string>
#include <vector>

#include "kvl/platform/controls.h"

namespace kvl::gallery {

class TPageList : public TCustomControl {
public:
  explicit TPageList(TComponent* AOwner);

  void SetItems(std::vector<std::string> Items);
  int GetItemIndex() const { return FItemIndex; }
  // Selects an item (clamped) and fires OnChange when the selection moved.
  void SetItemIndex(int Index);
  TNotifyEvent OnChange;

  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
  void Paint() override;

private:
  int RowHeight();

  std::vector<std::string> FItems;
  int FItemIndex = -1;
};

}  // namespace kvl::gallery
