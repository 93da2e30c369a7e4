// Arbitrary bytes through TBitmap::LoadFromMemory, seeded with small files for the
// JPEG reader (libjpeg underneath, its error exits turned into EInvalidGraphic). A rejected input
// must raise EInvalidGraphic and leave the bitmap as it was; any other exception, a crash or a
// broken invariant aborts.
#include <cstdint>
#include <vector>

#include "image_load_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return kvl::fuzz::CheckImageLoad(Data, Size, nullptr);
}
