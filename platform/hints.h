// Hints: the small window of a control's Hint text that shows after the pointer rests on it.
#pragma once

#include <string>
#include <vector>

#include "kvl/platform/popups.h"

namespace kvl {

class THintWindow : public TPopupWindow {
public:
  explicit THintWindow(TComponent* AOwner);

  // Shows Text (line feeds break lines; wrapped at MaxHintWidth) with its top-left at P, or
  // above P's line when the screen has no room below, kept on the screen.
  void ActivateHint(TPoint P, int PointerY, const std::string& Text);
  const std::string& GetHintText() const { return GetCaption(); }
  // The window size Text needs.
  TSize CalcHintSize(const std::string& Text);

  static constexpr int MaxHintWidth = 300;
  static constexpr int OffsetBelowPointer = 20;

protected:
  void Paint() override;

private:
  std::vector<std::string> FLines;
};

}  // namespace kvl
