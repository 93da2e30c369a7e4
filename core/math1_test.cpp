#include "kvl/core/math1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>


namespace kvl {
namespace {

TEST(IntNeg, IsTheFloorSaturatedToInt) {
  EXPECT_EQ(IntNeg(2.7), 2);
  EXPECT_EQ(IntNeg(-2.1), -3);
  EXPECT_EQ(IntNeg(-3.0), -3);
  EXPECT_EQ(IntNeg(std::log10(0.999999999 * 0.01)), -3);  // the decade below a log scale's start
  EXPECT_EQ(IntNeg(1e30), std::numeric_limits<int>::max());
  EXPECT_EQ(IntNeg(-1e30), std::numeric_limits<int>::min());
  EXPECT_EQ(IntNeg(std::nan("")), 0);
}

TEST(IsValidDecInt, AcceptsOnlyIntegersThatFitIn32Bits) {
  for (const char* S : {"0", "-0", "+7", "2147483647", "-2147483648", "0000000001"})
    EXPECT_TRUE(IsValidDecInt(S)) << S;
  for (const char* S : {"", "+", "-", "2147483648", "-2147483649", "12345678901", "1.0", " 1",
                        "1 ", "1e3", "--1", "0x10", "9999999999"})
    EXPECT_FALSE(IsValidDecInt(S)) << S;
}

}  // namespace
}  // namespace kvl
