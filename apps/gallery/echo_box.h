// A one-line text box on the canvas page that shows what is typed into it: the gallery's check
// that keys, focus and the clipboard reach a control (Ctrl+C copies the text, Ctrl+V pastes).
#pragma once

#include <string>

#include "kvl/platform/controls.h"

namespace kvl::gallery {

class TEchoBox : public TCustomControl {
public:
  explicit TEchoBox(TComponent* AOwner);

  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void FocusIn() override { Invalidate(); }
  void FocusOut() override { Invalidate(); }

protected:
  void Paint() override;
};

}  // namespace kvl::gallery
