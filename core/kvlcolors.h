// Colour rules shared by the components.
#pragma once

#include "kvl/core/kvlbase.h"
#include "kvl/platform/graphics.h"

namespace kvl {

// The two colours of the 3D frame lines; the dark line is always clBlack.
struct TSchemeColors {
  TColor Shadow;
  TColor Light;
};

// csFixed: grey shadow and white light; csSystem (and any other value): the desktop's button
// shadow and highlight.
constexpr TSchemeColors ColorSchemeColors(TColorScheme Scheme) {
  return Scheme == csFixed ? TSchemeColors{clGray, clWhite}
                           : TSchemeColors{clBtnShadow, clBtnHighlight};
}

// A colour midway between two colours, channel by channel (system colours resolved first).
TColor MeanColor(TColor C1, TColor C2);

}  // namespace kvl
