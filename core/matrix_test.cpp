// TIntMatrix: elements kept across growth and shrinking, the index edges, Fill, absurd sizes.
#include "kvl/core/matrix.h"

#include <gtest/gtest.h>

#include <climits>
#include <new>

namespace kvl {
namespace {

// A 3 x 4 matrix whose element (c, r) holds 100 r + c, so a moved element shows at once.
TIntMatrix Numbered() {
  TIntMatrix M(3, 4);
  for (int R = 1; R <= 4; ++R)
    for (int C = 1; C <= 3; ++C) M.SetVal(C, R, 100 * R + C);
  return M;
}

TEST(IntMatrix, ResizeKeepsTheElementsThatStayInside) {
  for (const auto& [Cols, Rows] : {std::pair{5, 6}, {2, 3}, {4, 2}, {2, 6}, {3, 0}, {-4, 7}}) {
    TIntMatrix M = Numbered();
    M.Resize(Cols, Rows);
    EXPECT_EQ(M.GetNrCols(), std::max(Cols, 0));
    EXPECT_EQ(M.GetNrRows(), Rows);
    for (int R = 0; R <= Rows + 1; ++R)
      for (int C = 0; C <= Cols + 1; ++C)
        EXPECT_EQ(
            M.GetVal(C, R),
            C >= 1 && C <= std::min(Cols, 3) && R >= 1 && R <= std::min(Rows, 4) ? 100 * R + C : 0)
            << Cols << "x" << Rows << " at " << C << "," << R;
  }
  TIntMatrix M = Numbered();
  M.SetNRows(0);
  M.SetNRows(4);  // the rows come back empty
  EXPECT_EQ(M.GetVal(1, 1) + M.GetVal(3, 4), 0);
}

TEST(IntMatrix, WritesOutsideAreIgnoredAndFillReachesEveryElement) {
  TIntMatrix M(3, 4);
  M.Fill(7);
  for (const auto& [C, R] : {std::pair{0, 1}, {1, 0}, {4, 1}, {1, 5}, {-1, -1}, {INT_MAX, 1}})
    M.SetVal(C, R, 99);
  M.SetVal(3, 4, -5);
  for (int I = 0; I < 20; ++I)
    EXPECT_EQ(M.GetVal(I % 4, I / 4), I % 4 && I / 4 ? 7 - 12 * (I == 19) : 0) << I;
}

TEST(IntMatrix, AnAbsurdSizeRaisesAndChangesNothing) {
  TIntMatrix M = Numbered();
  EXPECT_THROW(M.Resize(INT_MAX, INT_MAX), std::bad_alloc);
  EXPECT_EQ(M.GetNrCols() * 10 + M.GetNrRows(), 34);
  EXPECT_EQ(M.GetVal(3, 4), 403);
}

}  // namespace
}  // namespace kvl
