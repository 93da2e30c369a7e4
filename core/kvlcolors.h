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

// The 47 named colours a colour selector offers, numbered 1 ... 47: the 16 basic colours,
// four extras, then system colours 0 ... 24, clHotLight and clGradientActiveCaption.
struct TPredefinedColors {
  static constexpr int Count = 47;
  // Numbers outside 1 ... Count give clNone.
  constexpr TColor operator[](int N) const {
    constexpr TColor Basic[20] = {clBlack,  clMaroon, clGreen,   clOlive,      clNavy,
                                  clPurple, clTeal,   clGray,    clSilver,     clRed,
                                  clLime,   clYellow, clBlue,    clFuchsia,    clAqua,
                                  clWhite,  clMoneyGreen, clSkyBlue, clCream, clMedGray};
    if (N >= 1 && N <= 20) return Basic[N - 1];
    if (N >= 21 && N <= 45) return clSystemColor | TColor(N - 21);
    if (N == 46) return clHotLight;
    if (N == 47) return clGradientActiveCaption;
    return clNone;
  }
};
inline constexpr TPredefinedColors PredefinedColors{};

// A colour midway between two colours, channel by channel (system colours resolved first).
TColor MeanColor(TColor C1, TColor C2);

}  // namespace kvl
