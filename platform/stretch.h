// Scaling of pixel blocks: nearest-pixel sampling, and halftone scaling that averages the
// covered area when shrinking and interpolates linearly when enlarging.
#pragma once

#include <cstdint>

#include "kvl/platform/graphics.h"

namespace kvl {

// A destination pixel whose source lies outside the source block; copies leave it out.
// Real pixels never have the top byte set, so it cannot be mistaken for a colour.
inline constexpr std::uint32_t NoPixel = 0xFF000000;

// A read-only block of 0x00RRGGBB pixels; Stride counts pixels between row starts.
struct TPixelBlock {
  const std::uint32_t* Pixels;
  int Width;
  int Height;
  int Stride;
};

// Index, from the start of a run of Size source pixels mapped onto N destination pixels, of
// the source pixel whose centre is nearest to the centre of destination pixel I.
inline long long NearestSource(long long I, long long N, long long Size) {
  return (2 * I + 1) * Size / (2 * N);
}

// Both scalers map Area (block coordinates; it may reach outside the block) onto a
// DstWidth x DstHeight destination and write only the part Window of it, row by row into
// Out (Window.Width() pixels a row). A destination pixel whose nearest source pixel lies
// outside the block becomes NoPixel.
void NearestScale(const TPixelBlock& Src, const TRect& Area, int DstWidth, int DstHeight,
                  const TRect& Window, std::uint32_t* Out);

// Each axis on its own: a shrinking axis takes the coverage-weighted mean of the source
// pixels under each destination pixel, an enlarging axis interpolates between the two
// nearest source pixels (edges clamp). Results are exact and rounded to nearest, halves to
// even. Source pixels outside the block take no part.
void HalftoneScale(const TPixelBlock& Src, const TRect& Area, int DstWidth, int DstHeight,
                   const TRect& Window, std::uint32_t* Out);

}  // namespace kvl
