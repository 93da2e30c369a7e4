// Arbitrary bytes through TBitmap::LoadFromMemory, seeded with small files for the
// BMP reader (headers, palettes, bit fields, run-length data). A rejected input must raise
// EInvalidGraphic and leave the bitmap as it was; any other exception, a crash or a broken
// invariant aborts.
#include <cstdint>
#include <vector>

#include "image_load_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return kvl::fuzz::CheckImageLoad(Data, Size, kvl::EncodeBmp);
}
