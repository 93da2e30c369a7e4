// TBitFld: word edges, sizes 0 and 1, no old bits after shrink and growth, and random
// operations against a plain vector of bools.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "kvl/core/dstruct.h"

namespace kvl {
namespace {

TEST(BitFld, WordEdgesAndTinySizes) {
  TBitFld F;
  EXPECT_EQ(F.FirstTrueBit(), -1);
  F.SetBit(0, true);  // outside: ignored
  EXPECT_FALSE(F.GetBit(0));
  F.SetSize(1);
  F.SetBit(0, true);
  F.SetBit(1, true);
  F.SetBit(-1, true);
  EXPECT_EQ(F.CountTrueBits(), 1);
  EXPECT_EQ(F.FirstTrueBit(), 0);
  EXPECT_EQ(F.NextTrueBit(0), -1);
  F.SetSize(130);
  for (const int I : {63, 64, 65}) {
    F.SetBit(I, true);
    EXPECT_TRUE(F.GetBit(I));
  }
  EXPECT_EQ(F.NextTrueBit(0), 63);
  EXPECT_EQ(F.NextTrueBit(63), 64);
  EXPECT_EQ(F.NextTrueBit(65), -1);
  F.SetRange(129, 64, false);
  EXPECT_EQ(F.CountTrueBits(), 2);
  F.SetRange(-5, 500, true);
  EXPECT_EQ(F.CountTrueBits(), 130);
  EXPECT_FALSE(F.GetBit(130));
  // Shrinking drops the bits that leave; growing again brings none of them back.
  F.SetSize(64);
  F.SetSize(65);
  EXPECT_FALSE(F.GetBit(64));
  F.SetSize(10);
  F.SetSize(200);
  EXPECT_EQ(F.CountTrueBits(), 10);
  F.SetSize(-3);
  EXPECT_EQ(F.GetSize(), 0);
  F.SetSize(70);
  EXPECT_EQ(F.CountTrueBits(), 0);
}

TEST(BitFld, RandomOperationsMatchAModel) {
  std::mt19937 Rng(21);
  TBitFld F;
  std::vector<bool> Model;
  const auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution(Lo, Hi)(Rng); };
  for (int Step = 0; Step < 20000; ++Step) {
    const int N = int(Model.size());
    switch (Pick(0, 5)) {
      case 0:
        if (Pick(0, 50) == 0) {
          const int Size = Pick(0, 400);
          F.SetSize(Size);
          Model.resize(std::size_t(Size), false);
        }
        break;
      case 1: {
        const int I = Pick(-3, N + 3);
        const bool V = Pick(0, 1);
        F.SetBit(I, V);
        if (I >= 0 && I < N) Model[std::size_t(I)] = V;
        break;
      }
      case 2: {
        const int A = Pick(-70, N + 70), B = Pick(-70, N + 70);
        const bool V = Pick(0, 3) != 0;
        F.SetRange(A, B, V);
        for (int I = std::max(std::min(A, B), 0); I <= std::min(std::max(A, B), N - 1); ++I)
          Model[std::size_t(I)] = V;
        break;
      }
      case 3:
        if (Pick(0, 20) == 0) {
          F.Clear();
          Model.assign(Model.size(), false);
        }
        break;
      default: {
        const int After = Pick(-2, N + 1);
        int Expected = -1;
        for (int I = std::max(After + 1, 0); I < N; ++I)
          if (Model[std::size_t(I)]) {
            Expected = I;
            break;
          }
        ASSERT_EQ(F.NextTrueBit(After), Expected) << Step;
        ASSERT_EQ(F.GetBit(After), After >= 0 && After < N && Model[std::size_t(After)]);
      }
    }
    ASSERT_EQ(F.GetSize(), int(Model.size()));
    ASSERT_EQ(F.CountTrueBits(), int(std::count(Model.begin(), Model.end(), true))) << Step;
  }
}

}  // namespace
}  // namespace kvl
