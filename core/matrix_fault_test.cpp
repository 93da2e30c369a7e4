// TIntMatrix under a failing allocation: the growth raises and leaves the matrix as it was.
// This program replaces the global operator new, so it stays apart.
#include <gtest/gtest.h>

#include <new>

#include "kvl/core/matrix.h"
#include "kvl/testing/failing_new.h"

namespace kvl {
namespace {

TEST(IntMatrixFaults, FailedGrowthLeavesTheMatrix) {
  for (const auto& [Cols, Rows] : {std::pair{3, 50}, {5, 4}, {2, 9}}) {
    TIntMatrix M(3, 4);
    M.SetVal(2, 3, 11);
    testing::FailCountdown = 0;
    EXPECT_THROW(M.Resize(Cols, Rows), std::bad_alloc);
    testing::FailCountdown = -1;
    EXPECT_EQ(M.GetNrCols() * 10 + M.GetNrRows(), 34);
    EXPECT_EQ(M.GetVal(2, 3), 11);
  }
}

}  // namespace
}  // namespace kvl
