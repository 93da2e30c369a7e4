// TIntMatrix: sizes kept across growth and shrinking, the index edges, Fill, absurd sizes.
#include <gtest/gtest.h>

#include <climits>
#include <new>

#include "kvl/core/matrix.h"

namespace kvl {
namespace {

// Element (c, r) holds 100 r + c, so a moved element shows at once.
void Number(TIntMatrix& M) {
  for (int R = 1; R <= M.GetNrRows(); ++R)
    for (int C = 1; C <= M.GetNrCols(); ++C) M.SetVal(C, R, 100 * R + C);
}

TEST(IntMatrix, ResizeKeepsTheElementsThatStayInside) {
  struct Case {
    int Cols, Rows;
  };
  for (const Case To : {Case{5, 6}, Case{2, 3}, Case{4, 2}, Case{2, 6}, Case{6, 1}}) {
    TIntMatrix M(3, 4);
    Number(M);
    M.Resize(To.Cols, To.Rows);
    EXPECT_EQ(M.GetNrCols(), To.Cols);
    EXPECT_EQ(M.GetNrRows(), To.Rows);
    for (int R = 1; R <= To.Rows; ++R)
      for (int C = 1; C <= To.Cols; ++C)
        EXPECT_EQ(M.GetVal(C, R), C <= 3 && R <= 4 ? 100 * R + C : 0)
            << To.Cols << "x" << To.Rows << " at " << C << "," << R;
  }
}

TEST(IntMatrix, RowsToZeroAndBackComeBackEmpty) {
  TIntMatrix M(3, 2);
  Number(M);
  M.SetNRows(0);
  EXPECT_EQ(M.GetNrRows(), 0);
  EXPECT_EQ(M.GetNrCols(), 3);
  EXPECT_EQ(M.GetVal(1, 1), 0);
  M.SetNRows(2);
  for (int R = 1; R <= 2; ++R)
    for (int C = 1; C <= 3; ++C) EXPECT_EQ(M.GetVal(C, R), 0);
  M.Resize(-4, 7);  // a negative size means empty
  EXPECT_EQ(M.GetNrCols(), 0);
  EXPECT_EQ(M.GetNrRows(), 7);
  M.SetVal(1, 1, 9);
  EXPECT_EQ(M.GetVal(1, 1), 0);
}

TEST(IntMatrix, ReadsAndWritesAtTheEdges) {
  TIntMatrix M(3, 4);
  M.Fill(7);
  for (const auto& [C, R] : {std::pair{0, 1}, {1, 0}, {4, 1}, {1, 5}, {-1, -1}, {INT_MAX, 1}}) {
    M.SetVal(C, R, 99);
    EXPECT_EQ(M.GetVal(C, R), 0) << C << "," << R;
  }
  M.SetVal(3, 4, -5);
  M.SetVal(1, 1, 42);
  EXPECT_EQ(M.GetVal(3, 4), -5);
  EXPECT_EQ(M.GetVal(1, 1), 42);
  int Sevens = 0;
  for (int R = 1; R <= 4; ++R)
    for (int C = 1; C <= 3; ++C) Sevens += M.GetVal(C, R) == 7;
  EXPECT_EQ(Sevens, 10);  // the writes outside touched nothing inside
}

TEST(IntMatrix, GrowingRowByRowKeepsEveryRow) {
  TIntMatrix M(3, 0);
  for (int R = 1; R <= 5000; ++R) {
    M.SetNRows(R);
    M.SetVal(1, R, R);
    M.SetVal(3, R, -R);
  }
  for (int R = 1; R <= 5000; ++R) {
    ASSERT_EQ(M.GetVal(1, R), R);
    ASSERT_EQ(M.GetVal(2, R), 0);
    ASSERT_EQ(M.GetVal(3, R), -R);
  }
}

TEST(IntMatrix, AnAbsurdSizeRaisesAndChangesNothing) {
  TIntMatrix M(3, 2);
  Number(M);
  EXPECT_THROW(M.Resize(INT_MAX, INT_MAX), std::bad_alloc);
  EXPECT_EQ(M.GetNrCols(), 3);
  EXPECT_EQ(M.GetNrRows(), 2);
  EXPECT_EQ(M.GetVal(3, 2), 203);
}

}  // namespace
}  // namespace kvl
