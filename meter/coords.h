// Screen coordinates of the meter: doubles rounded half to even and kept within a range the
// canvas and int arithmetic can take, whatever sizes, rims or offsets the properties hold.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kvl::meter_detail {

// Four times the largest bitmap side, far below where sums of a few coordinates could
// overflow; shapes this large still cost little to clip.
inline constexpr double CoordLimit = 1 << 17;

inline int ScreenRound(double V) {
  if (std::isnan(V)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(V, -CoordLimit, CoordLimit)));
}

inline int ClampCoord(std::int64_t V) {
  return static_cast<int>(std::clamp<std::int64_t>(V, -(1 << 17), 1 << 17));
}

inline constexpr double DegToRad = 3.14159265358979323846 / 180.0;

}  // namespace kvl::meter_detail
