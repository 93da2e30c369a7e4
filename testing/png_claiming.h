// A PNG that lies about its size: the header of a real, small PNG rewritten to claim
// Width x Height, with a valid header checksum, so only the size check can refuse it.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace kvl::testing {

inline std::vector<std::uint8_t> PngClaiming(std::vector<std::uint8_t> Png, std::uint32_t Width,
                                             std::uint32_t Height) {
  for (int I = 0; I < 4; ++I) {
    Png[std::size_t(16 + I)] = std::uint8_t(Width >> (24 - 8 * I));
    Png[std::size_t(20 + I)] = std::uint8_t(Height >> (24 - 8 * I));
  }
  const uLong Crc = crc32(0, Png.data() + 12, 17);
  for (int I = 0; I < 4; ++I) Png[std::size_t(29 + I)] = std::uint8_t(Crc >> (24 - 8 * I));
  return Png;
}

}  // namespace kvl::testing
