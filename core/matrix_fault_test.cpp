// TIntMatrix under failing allocations: each growth fails in turn and must leave the matrix as
// it was. This program replaces the global operator new, so it stays apart.
#include <gtest/gtest.h>

#include <new>

#include "kvl/core/matrix.h"
#include "kvl/testing/failing_new.h"

using kvl::testing::FailCountdown;

namespace kvl {
namespace {

TEST(IntMatrixFaults, FailedGrowthLeavesTheMatrix) {
  struct Case {
    int Cols, Rows;
  };
  for (const Case To : {Case{3, 50}, Case{5, 4}, Case{2, 9}}) {
    TIntMatrix M(3, 4);
    M.Fill(6);
    M.SetVal(2, 3, 11);
    FailCountdown = 0;
    EXPECT_THROW(M.Resize(To.Cols, To.Rows), std::bad_alloc);
    FailCountdown = -1;
    EXPECT_EQ(M.GetNrCols(), 3);
    EXPECT_EQ(M.GetNrRows(), 4);
    EXPECT_EQ(M.GetVal(2, 3), 11);
    EXPECT_EQ(M.GetVal(3, 4), 6);
    M.Resize(To.Cols, To.Rows);  // and it works once memory is there
    EXPECT_EQ(M.GetVal(2, 3), 11);
  }
}

}  // namespace
}  // namespace kvl
