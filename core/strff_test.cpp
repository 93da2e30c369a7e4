#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kvl/core/stringl.h"

namespace kvl {
namespace {

TEST(strff, FixedPointText) {
  EXPECT_EQ(strff(3.14159, 1, 2), "3.14");
  EXPECT_EQ(strff(12, 1, 0), "12");
  EXPECT_EQ(strff(12, 1, 3), "12.000");
  EXPECT_EQ(strff(-0.5, 1, 1), "-0.5");
  EXPECT_EQ(strff(0.001234, 1, 5), "0.00123");
  EXPECT_EQ(strff(1e20, 1, 1), "100000000000000000000.0");
  EXPECT_EQ(strff(123456789.125, 1, 2), "123456789.13");
}

TEST(strff, HalvesRoundAwayFromZeroOnTheShortestDecimalForm) {
  EXPECT_EQ(strff(0.5, 1, 0), "1");
  EXPECT_EQ(strff(1.5, 1, 0), "2");
  EXPECT_EQ(strff(2.5, 1, 0), "3");
  EXPECT_EQ(strff(-2.5, 1, 0), "-3");
  EXPECT_EQ(strff(0.125, 1, 2), "0.13");
  EXPECT_EQ(strff(2.675, 1, 2), "2.68");  // stored as 2.67499999..., written as 2.675
  EXPECT_EQ(strff(0.15, 1, 1), "0.2");
  EXPECT_EQ(strff(0.4999, 1, 0), "0");
}

TEST(strff, CarriesPropagateThroughNines) {
  EXPECT_EQ(strff(9.99, 1, 1), "10.0");
  EXPECT_EQ(strff(-999.96, 1, 1), "-1000.0");
  EXPECT_EQ(strff(0.0096, 1, 2), "0.01");
  EXPECT_EQ(strff(0.6, 1, 0), "1");
  EXPECT_EQ(strff(0.005, 1, 2), "0.01");
}

TEST(strff, TinyValuesAndNegativeZeroHaveNoSign) {
  EXPECT_EQ(strff(-0.001, 1, 2), "0.00");
  EXPECT_EQ(strff(-0.0, 1, 1), "0.0");
  EXPECT_EQ(strff(1e-300, 1, 3), "0.000");
  EXPECT_EQ(strff(std::numeric_limits<double>::denorm_min(), 1, 30),
            "0.000000000000000000000000000000");
}

TEST(strff, WidthPadsOnTheLeftOnly) {
  EXPECT_EQ(strff(1.5, 6, 1), "   1.5");
  EXPECT_EQ(strff(-1.5, 3, 2), "-1.50");
  EXPECT_EQ(strff(7, 0, 0), "7");
  EXPECT_EQ(strff(7, -9, 0), "7");
  EXPECT_EQ(strff(7, 100000, 0).size(), 255u);
}

TEST(strff, DecimalsAreClampedTo0Through30) {
  EXPECT_EQ(strff(1.25, 1, -4), "1");
  const std::string S = strff(1.0 / 3.0, 1, 1000);
  EXPECT_EQ(S.size(), 32u);
  EXPECT_EQ(S.substr(0, 18), "0.3333333333333333");
  EXPECT_EQ(S.substr(18), "00000000000000");  // no invented digits past the double's precision
}

TEST(strff, NonFiniteValues) {
  EXPECT_EQ(strff(std::numeric_limits<double>::infinity(), 1, 2), "Inf");
  EXPECT_EQ(strff(-std::numeric_limits<double>::infinity(), 5, 2), " -Inf");
  EXPECT_EQ(strff(std::nan(""), 1, 2), "NaN");
  EXPECT_EQ(strff(std::numeric_limits<double>::max(), 1, 0).size(), 309u);
}

}  // namespace
}  // namespace kvl
