#include "kvl/core/kvlcolors.h"

namespace kvl {

TColor MeanColor(TColor C1, TColor C2) {
  const TColor A = ColorToRGB(C1);
  const TColor B = ColorToRGB(C2);
  return RGBColor(std::uint8_t((GetRValue(A) + GetRValue(B)) / 2),
                  std::uint8_t((GetGValue(A) + GetGValue(B)) / 2),
                  std::uint8_t((GetBValue(A) + GetBValue(B)) / 2));
}

}  // namespace kvl
