// TRLData under failing allocations: every operator new of a copy or a resize is made to fail
// in turn, and each failure must leave the store exactly as it was. This program replaces the
// global operator new, so it stays apart from the other tests.
#include <gtest/gtest.h>

#include <new>

#include "kvl/replist/replist.h"
#include "kvl/testing/failing_new.h"

using kvl::testing::FailCountdown;

namespace kvl {
namespace {

void FillStore(TRLData& D, int Cols, int Rows, const std::string& Tag) {
  D.SetNrOfColumns(Cols);
  D.SetNrOfRows(Rows);
  for (int C = 1; C <= Cols; ++C) {
    D.SetHeader(C, Tag + " column with a name longer than fifteen bytes " + std::to_string(C));
    for (int R = 1; R <= Rows; ++R) D.SetElem(C, R, Tag + std::to_string(C * 100 + R));
  }
  D.SetColumnCheckMode(1, cmBox);
}

void ExpectUnchanged(const TRLData& D, int Cols, int Rows, const std::string& Tag) {
  ASSERT_EQ(D.GetNrOfColumns(), Cols);
  ASSERT_EQ(D.GetNrOfRows(), Rows);
  for (int C = 1; C <= Cols; ++C) {
    EXPECT_EQ(D.GetHeader(C),
              Tag + " column with a name longer than fifteen bytes " + std::to_string(C));
    for (int R = 1; R <= Rows; ++R) EXPECT_EQ(D(C, R), Tag + std::to_string(C * 100 + R));
  }
  EXPECT_EQ(D.GetColumnCheckMode(1), cmBox);
  EXPECT_EQ(D.GetHeader(Cols + 1), "");
}

TEST(RLDataFaults, AssignThatFailsAnywhereKeepsTheOldContents) {
  TRLData Source(nullptr), Dest(nullptr);
  FillStore(Source, 4, 30, "new");
  FillStore(Dest, 2, 5, "old");
  int Failures = 0;
  for (long K = 0;; ++K) {
    FailCountdown = K;
    try {
      Dest.Assign(&Source);
      FailCountdown = -1;
      break;
    } catch (const EKVLRLDataError& E) {
      FailCountdown = -1;
      ++Failures;
      EXPECT_STREQ(E.what(), "Component \"\": not enough memory on heap");
      ExpectUnchanged(Dest, 2, 5, "old");
    }
  }
  EXPECT_GT(Failures, 3);
  ExpectUnchanged(Dest, 4, 30, "new");
}

TEST(RLDataFaults, ColumnGrowthThatFailsAnywhereKeepsTheOldColumns) {
  TRLData D(nullptr);
  FillStore(D, 3, 4, "c");
  int Failures = 0;
  for (long K = 0;; ++K) {
    FailCountdown = K;
    try {
      D.SetNrOfColumns(40);
      FailCountdown = -1;
      break;
    } catch (const EKVLError&) {
      FailCountdown = -1;
      ++Failures;
      ExpectUnchanged(D, 3, 4, "c");
    }
  }
  EXPECT_GT(Failures, 2);
  EXPECT_EQ(D.GetHeader(40), "C-40");
  EXPECT_EQ(D(2, 4), "c204");
}

}  // namespace
}  // namespace kvl
