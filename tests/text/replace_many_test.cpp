// Several find-and-replace passes in order.
#include <gtest/gtest.h>

#include <array>

#include "text/replace_many.h"

namespace brenvik {
namespace {

TEST(ReplaceManyTest, PairsApplyInOrderWithTheSharedOptions) {
  const std::array<ReplacePair, 1> x{{{"x", "-"}}};
  EXPECT_EQ(ReplaceMany("aXbxc", x), "a-b-c");
  EXPECT_EQ(ReplaceMany("aXbxc", x, -1, 1, true), "aXb-c");
  EXPECT_EQ(ReplaceMany("aXbxc", x, 1), "a-bxc");
  EXPECT_EQ(ReplaceMany("aXbxc", x, -1, 3), "aXb-c");
  EXPECT_EQ(ReplaceMany("aXbxc", x, -1, 0), "a-b-c");

  // Each pair works on the result of the one before; count applies per pair.
  const std::array<ReplacePair, 5> chain{{{"a", "b"}, {"b", "c"}, {"", "z"}, {"q", ""}, {"c", "dd"}}};
  EXPECT_EQ(ReplaceMany("aab", chain), "dddddd");
  EXPECT_EQ(ReplaceMany("aab", chain, 1), "ddab");
}

}  // namespace
}  // namespace brenvik
