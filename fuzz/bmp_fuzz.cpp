// Arbitrary bytes through TBitmap::LoadFromMemory, seeded with small files for the
// BMP reader (headers, palettes, bit fields, run-length data). A rejected input must raise
// EInvalidGraphic and leave the bitmap as it was; any other exception, a crash or a broken
// invariant aborts.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/images.h"

namespace {

void Check(bool Ok) {
  if (!Ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  kvl::TBitmap B(2, 1);
  try {
    B.LoadFromMemory(Data, Size);
  } catch (const kvl::EInvalidGraphic&) {
    Check(B.GetWidth() == 2 && B.GetHeight() == 1 && B.Pixels()[0] == 0x00FFFFFF);
    return 0;
  }
  const int W = B.GetWidth(), H = B.GetHeight();
  Check(W > 0 && H > 0 && W <= kvl::MaxBitmapSide && H <= kvl::MaxBitmapSide);
  Check(std::int64_t(W) * H <= kvl::MaxDecodedPixels);
  const std::uint32_t* P = B.Pixels();
  Check(std::all_of(P, P + std::size_t(W) * std::size_t(H),
                    [](std::uint32_t Pixel) { return (Pixel >> 24) == 0; }));
  if (B.GetMonochrome())
    Check(std::all_of(P, P + std::size_t(W) * std::size_t(H),
                      [](std::uint32_t Pixel) { return Pixel == 0 || Pixel == 0x00FFFFFF; }));
  // What we write we read back unchanged.
  if (std::int64_t(W) * H <= 4096) {
    const std::vector<std::uint8_t> Again = kvl::EncodeBmp(B);
    kvl::TBitmap Back;
    Back.LoadFromMemory(Again.data(), Again.size());
    Check(Back.GetWidth() == W && Back.GetHeight() == H);
    Check(std::equal(B.Pixels(), B.Pixels() + std::size_t(W) * std::size_t(H), Back.Pixels()));
  }
  return 0;
}
