// Reading the colour dialog's text fields: "#RRGGBB" and the numbers of the channels.
#pragma once

#include <optional>
#include <string_view>

#include "kvl/platform/graphics.h"

namespace kvl {

// "#RRGGBB" (the '#' optional, blanks around allowed, hex digits in either case) as an RGB
// colour (0x00BBGGRR); anything else nullopt.
std::optional<TColor> ReadHexColor(std::string_view Text);
// "#RRGGBB" of an RGB colour.
std::string HexColorText(TColor C);
// A decimal number 0 ... Max (blanks around allowed); anything else nullopt.
std::optional<int> ReadColorNumber(std::string_view Text, int Max);

// Hue 0 ... 359, saturation and value 0 ... 255.
struct THsv {
  int H = 0, S = 0, V = 0;
};
THsv RgbToHsv(TColor C);
TColor HsvToRgb(THsv Hsv);

}  // namespace kvl
