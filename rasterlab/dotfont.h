// The raster label's built-in dot font as byte records: per code 32..255, the first and the
// last dot column in use and twelve rows top to bottom (bit j = column j).
#pragma once

#include <array>
#include <cstdint>

namespace kvl {

inline constexpr int DotFontWidth = 7;
inline constexpr int DotFontRows = 12;
inline constexpr int DotFontFirst = 32;
inline constexpr int DotFontCount = 224;

using TDotFontRecord = std::array<std::uint8_t, 2 + DotFontRows>;
using TDotFontTable = std::array<TDotFontRecord, DotFontCount>;

const TDotFontTable& BuiltInDotFont();

}  // namespace kvl
