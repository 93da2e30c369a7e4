// The checks every image-reader fuzz target runs on one input: a rejected input raises
// EInvalidGraphic and leaves the bitmap as it was; an accepted one has a size within the
// limits, no pixel with the top byte set, a monochrome picture only black and white, and,
// when Encode is given, reads back unchanged from what we write. Any other exception, a
// crash or a broken invariant aborts.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/images.h"

namespace kvl::fuzz {

inline void Check(bool Ok) {
  if (!Ok) std::abort();
}

using TEncoder = std::vector<std::uint8_t> (*)(const TBitmap&);

inline int CheckImageLoad(const std::uint8_t* Data, std::size_t Size, TEncoder Encode) {
  TBitmap B(2, 1);
  try {
    B.LoadFromMemory(Data, Size);
  } catch (const EInvalidGraphic&) {
    Check(B.GetWidth() == 2 && B.GetHeight() == 1 && B.Pixels()[0] == 0x00FFFFFF);
    return 0;
  }
  const int W = B.GetWidth(), H = B.GetHeight();
  const std::size_t N = std::size_t(W) * std::size_t(H);
  Check(W > 0 && H > 0 && W <= MaxBitmapSide && H <= MaxBitmapSide);
  Check(std::int64_t(W) * H <= MaxDecodedPixels);
  const std::uint32_t* P = B.Pixels();
  Check(std::all_of(P, P + N, [](std::uint32_t Pixel) { return (Pixel >> 24) == 0; }));
  if (B.GetMonochrome())
    Check(std::all_of(P, P + N, [](std::uint32_t Pixel) { return Pixel == 0 || Pixel == 0x00FFFFFF; }));
  if (Encode && N <= 4096) {
    const std::vector<std::uint8_t> Again = Encode(B);
    TBitmap Back;
    Back.LoadFromMemory(Again.data(), Again.size());
    Check(Back.GetWidth() == W && Back.GetHeight() == H);
    Check(std::equal(P, P + N, Back.Pixels()));
  }
  return 0;
}

}  // namespace kvl::fuzz
