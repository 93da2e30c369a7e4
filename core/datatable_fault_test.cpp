// TDataTable under failing allocations: each allocation of a growth or a copy fails in turn,
// and every failure must leave the table exactly as it was.
#include <gtest/gtest.h>

#include <new>

#include "kvl/core/datatable.h"
#include "kvl/testing/failing_new.h"

using kvl::testing::FailCountdown;

namespace kvl {
namespace {

void Fill(TDataTable& T) {
  for (int C = 1; C <= T.GetNrOfColumns(); ++C) {
    T.SetColName(C, "a name past the short buffer " + std::to_string(C));
    T.SetNominalID(C, 2, "x");
    for (int R = 1; R <= T.GetNrOfRows(); ++R) {
      T.SetElem(C, R, C * 1000 + R);
      T.SetCellState(C, R, csMarkB);
    }
  }
}

void ExpectFilled(const TDataTable& T, int Cols, int Rows) {
  ASSERT_EQ(T.GetNrOfColumns(), Cols);
  ASSERT_EQ(T.GetNrOfRows(), Rows);
  for (int C = 1; C <= Cols; ++C) {
    EXPECT_EQ(T.GetColName(C), "a name past the short buffer " + std::to_string(C));
    EXPECT_EQ(T.GetNominalID(C, 2), "x");
    for (int R = 1; R <= Rows; ++R) {
      EXPECT_EQ(T.GetElem(C, R), C * 1000 + R);
      EXPECT_EQ(T.GetCellState(C, R), csMarkB);
    }
  }
}

template <class F>
void EachFailureKeepsTheTable(F Operation) {
  TDataTable T(nullptr, 3, 5);
  Fill(T);
  int Failures = 0;
  for (long K = 0;; ++K) {
    FailCountdown = K;
    try {
      Operation(T);
      FailCountdown = -1;
      break;
    } catch (const std::bad_alloc&) {
      FailCountdown = -1;
      ++Failures;
      ExpectFilled(T, 3, 5);
    }
  }
  EXPECT_GT(Failures, 0);
}

TEST(DataTableFaults, FailedGrowthKeepsTheTable) {
  EachFailureKeepsTheTable([](TDataTable& T) { T.Resize(6, 9); });
  EachFailureKeepsTheTable([](TDataTable& T) { T.InsertRow(2); });
  EachFailureKeepsTheTable([](TDataTable& T) { T.InsertColumn(2); });
  EachFailureKeepsTheTable([](TDataTable& T) {
    TDataTable Other(nullptr, 7, 7);
    T.CopyFrom(Other);
  });
}

}  // namespace
}  // namespace kvl
