#include "kvl/platform/graphics.h"

#include <array>

namespace kvl {

namespace {

// A light desktop palette, indexed by system colour number.
constexpr std::array<TColor, 31> SystemPalette = {
    RGBColor(200, 200, 200),  // scroll bar
    RGBColor(0, 99, 177),     // desktop
    RGBColor(153, 180, 209),  // active caption
    RGBColor(191, 205, 219),  // inactive caption
    RGBColor(240, 240, 240),  // menu
    RGBColor(255, 255, 255),  // window
    RGBColor(100, 100, 100),  // window frame
    RGBColor(0, 0, 0),        // menu text
    RGBColor(0, 0, 0),        // window text
    RGBColor(0, 0, 0),        // caption text
    RGBColor(180, 180, 180),  // active border
    RGBColor(244, 247, 252),  // inactive border
    RGBColor(171, 171, 171),  // application workspace
    RGBColor(0, 120, 215),    // highlight
    RGBColor(255, 255, 255),  // highlight text
    RGBColor(240, 240, 240),  // button face
    RGBColor(160, 160, 160),  // button shadow
    RGBColor(109, 109, 109),  // grey text
    RGBColor(0, 0, 0),        // button text
    RGBColor(0, 0, 0),        // inactive caption text
    RGBColor(255, 255, 255),  // button highlight
    RGBColor(105, 105, 105),  // 3D dark shadow
    RGBColor(227, 227, 227),  // 3D light
    RGBColor(0, 0, 0),        // info text
    RGBColor(255, 255, 225),  // info background
    RGBColor(0, 0, 0),        // (unused index 25)
    RGBColor(0, 102, 204),    // hot light
    RGBColor(185, 209, 234),  // gradient active caption
    RGBColor(215, 228, 242),  // gradient inactive caption
    RGBColor(51, 153, 255),   // menu highlight
    RGBColor(240, 240, 240),  // menu bar
};

}  // namespace

TColor ColorToRGB(TColor C) {
  if (IsSystemColor(C)) {
    const unsigned Index = C & 0xFFu;
    return Index < SystemPalette.size() ? SystemPalette[Index] : clBlack;
  }
  return C & 0x00FFFFFFu;
}

}  // namespace kvl
