// Arbitrary bytes through TBitmap::LoadFromMemory, seeded with small files for the
// PNG reader (libpng underneath, our size limits and conversion on top). A rejected input must
// raise EInvalidGraphic and leave the bitmap as it was; any other exception, a crash or a broken
// invariant aborts.
#include <cstdint>
#include <vector>

#include "image_load_check.h"

namespace {

std::uint32_t Crc32(const std::uint8_t* P, std::size_t N) {
  std::uint32_t C = 0xFFFFFFFF;
  while (N--) {
    C ^= *P++;
    for (int K = 0; K < 8; ++K) C = C & 1 ? 0xEDB88320 ^ (C >> 1) : C >> 1;
  }
  return ~C;
}

// Mutations almost always break a chunk's checksum, and libpng stops there. Fixing the
// checksums lets the fuzzer reach the chunk parsers and the decoder; the unit tests cover
// checksum failures.
std::vector<std::uint8_t> WithFixedChecksums(const std::uint8_t* Data, std::size_t Size) {
  std::vector<std::uint8_t> Out(Data, Data + Size);
  std::size_t Pos = 8;
  while (Pos + 12 <= Out.size()) {
    const std::size_t Len = std::size_t(Out[Pos]) << 24 | std::size_t(Out[Pos + 1]) << 16 |
                            std::size_t(Out[Pos + 2]) << 8 | Out[Pos + 3];
    if (Len > Out.size() - Pos - 12) break;
    const std::uint32_t Crc = Crc32(Out.data() + Pos + 4, Len + 4);
    for (int K = 0; K < 4; ++K)
      Out[Pos + 8 + Len + std::size_t(K)] = std::uint8_t(Crc >> (24 - 8 * K));
    Pos += Len + 12;
  }
  return Out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* RawData, std::size_t RawSize) {
  const std::vector<std::uint8_t> Input = WithFixedChecksums(RawData, RawSize);
  return kvl::fuzz::CheckImageLoad(Input.data(), Input.size(), kvl::EncodePng);
}
