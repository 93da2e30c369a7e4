// Scaling of pixel blocks: nearest-pixel sampling, and halftone scaling that averages the
// covered area when shrinking and interpolates linearly when enlarging.
#pragma once

#include <cstdint>

namespace kvl {

// A read-only block of 0x00RRGGBB pixels; Stride counts pixels between row starts.
struct TPixelBlock {
  const std::uint32_t* Pixels;
  int Width;
  int Height;
  int Stride;
};

// Scales Src to DstWidth x DstHeight into Dst (rows of DstWidth pixels). Each axis on its
// own: a shrinking axis takes the coverage-weighted mean of the source pixels under each
// destination pixel, an enlarging axis interpolates between the two nearest source pixels.
void HalftoneScale(const TPixelBlock& Src, std::uint32_t* Dst, int DstWidth, int DstHeight);

// Source index for destination index I of N when Size source pixels map onto N: the pixel
// whose centre is nearest to the mapped centre.
inline int NearestSource(int I, int N, int Size) {
  return int((2LL * I + 1) * Size / (2LL * N));
}

}  // namespace kvl
