#include "kvl/platform/typeahead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvl {
namespace {

TEST(TypeAhead, PrefixRepeatAndPause) {
  const std::vector<std::string> Items = {"apple", "Banana", "blueberry", "bLack", "cherry",
                                          "\xC3\xA9t\xC3\xA9"};
  const auto Text = [&](int I) { return Items[std::size_t(I)]; };
  const int N = int(Items.size());
  TTypeAhead T;
  int Cur = 0;
  struct TStep {
    char32_t Key;
    std::int64_t At;
    int Want;
  };
  const TStep Steps[] = {
      {'b', 0, 1},      // first item starting with "b" at or after apple
      {'l', 500, 2},    // "bl" within a second
      {'a', 900, 3},    // "bla" (case ignored)
      {'b', 3000, 3},   // a pause: "b" again from the current item, which matches
      {'b', 3100, 1},   // the same letter repeated steps to the next match, wrapping round
      {'b', 3200, 2},
      {'x', 5000, -1},  // nothing matches
      {U'\u00e9', 7000, 5},
  };
  for (const TStep& S : Steps) {
    const int Got = T.KeyTyped(S.Key, S.At, Cur, N, Text);
    EXPECT_EQ(Got, S.Want) << S.At;
    if (Got >= 0) Cur = Got;
  }
  T.Reset();
  EXPECT_EQ(T.KeyTyped('c', 7100, Cur, N, Text), 4);
  EXPECT_EQ(T.KeyTyped('c', 7200, -1, 0, Text), -1);
}

}  // namespace
}  // namespace kvl
