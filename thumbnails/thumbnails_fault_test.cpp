// The selection under failing allocations: every operator new of a growth is made to fail in
// turn, and each failure must leave the bit field, or the control's range and selection, as
// they were. This program replaces the global operator new, so it stays apart.
#include <gtest/gtest.h>

#include <new>

#include "kvl/thumbnails/thumbnails.h"
#include "kvl/testing/failing_new.h"

using kvl::testing::FailCountdown;

namespace kvl {
namespace {

// Runs Step with the K-th allocation failing, K = 0, 1, ... until it succeeds; Check runs
// after every failure. Returns the number of failures seen.
template <class TStep, class TCheck>
int FailInTurn(TStep Step, TCheck Check) {
  int Failures = 0;
  for (long K = 0;; ++K) {
    FailCountdown = K;
    try {
      Step();
      FailCountdown = -1;
      return Failures;
    } catch (...) {
      FailCountdown = -1;
      ++Failures;
      Check();
    }
  }
}

TEST(ThumbnailsFaults, FailedGrowthKeepsTheBitsAndTheRange) {
  TBitFld F;
  F.SetSize(100);
  F.SetRange(10, 90, true);
  const int Failures = FailInTurn([&] { F.SetSize(100000); },
                                  [&] {
                                    ASSERT_EQ(F.GetSize(), 100);
                                    ASSERT_EQ(F.CountTrueBits(), 81);
                                  });
  EXPECT_GE(Failures, 1);
  EXPECT_EQ(F.CountTrueBits(), 81);

  TThumbnails T(nullptr);
  T.SetName("Grid");
  T.SetSelectedSlide(7, true);
  const auto Unchanged = [&] {
    ASSERT_EQ(T.GetMin(), 1);
    ASSERT_EQ(T.GetMax(), 100);
    ASSERT_TRUE(T.GetSelectedSlide(7));
  };
  bool Named = false;
  EXPECT_GE(FailInTurn(
                [&] {
                  try {
                    T.SetMax(1000000);
                  } catch (const EKVLError& E) {
                    Named =
                        std::string(E.what()) == "Component \"Grid\": not enough memory on heap";
                    throw;
                  }
                },
                Unchanged),
            1);
  EXPECT_TRUE(Named);
  EXPECT_EQ(T.GetMax(), 1000000);
  T.SetMax(100);
  TThumbnails Wide(nullptr);
  Wide.SetMax(2000000);
  EXPECT_GE(FailInTurn([&] { T.Assign(&Wide); }, Unchanged), 1);
  EXPECT_EQ(T.GetMax(), 2000000);
}

}  // namespace
}  // namespace kvl
