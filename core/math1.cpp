#include "kvl/core/math1.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kvl {

int IntNeg(double X) {
  if (std::isnan(X)) return 0;
  const double F = std::floor(X);
  if (F <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (F >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(F);
}

bool IsValidDecInt(std::string_view S) {
  std::string_view Digits = S;
  if (!Digits.empty() && (Digits.front() == '+' || Digits.front() == '-')) Digits.remove_prefix(1);
  if (Digits.empty() || Digits.size() > 10) return false;
  for (char C : Digits)
    if (C < '0' || C > '9') return false;
  std::int64_t V = 0;
  std::from_chars(Digits.data(), Digits.data() + Digits.size(), V);
  if (S.front() == '-') V = -V;
  return V >= std::numeric_limits<std::int32_t>::min() && V <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace kvl
