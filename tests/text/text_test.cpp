// Text primitives: byte cutting, double-byte walking, case folding, trimming.
#include "text/text.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// Two GBK characters: 中 (D6 D0) and 文 (CE C4).
const Text kZhongWen = "\xD6\xD0\xCE\xC4";

TEST(TextCut, LeftRightMidCountBytes) {
  EXPECT_EQ(TextLeft(kZhongWen, 3), "\xD6\xD0\xCE");  // splits the second character
  EXPECT_EQ(TextLeft("abc", 0), "");
  EXPECT_EQ(TextLeft("abc", -1), "");
  EXPECT_EQ(TextLeft("abc", 9), "abc");
  EXPECT_EQ(TextRight("abcdef", 5), "bcdef");
  EXPECT_EQ(TextRight("abc", 5), "abc");
  EXPECT_EQ(TextRight("abc", 0), "");
  EXPECT_EQ(TextMid("abc", 3, 5), "c");
  EXPECT_EQ(TextMid("abc", 4, 1), "");
  EXPECT_EQ(TextMid("abc", 0, 2), "");
  EXPECT_EQ(TextMid("abc", 1, 0), "");
  EXPECT_EQ(TextMid("", 1, 1), "");
}

struct FindCase {
  const char* name;
  Text t, sub;
  int start;
  bool ignoreCase;
  int expected;
};

TEST(FindText, Table) {
  const FindCase cases[] = {
      {"from position 4", "abcabc", "c", 4, false, 6},
      {"folded", "abc", "C", 1, true, 3},
      {"exact", "abc", "C", 1, false, -1},
      {"empty sub in text", "abc", "", 1, false, 1},
      {"empty sub from 3 gives 1, not 3", "abc", "", 3, false, 1},
      {"empty sub in empty text", "", "", 1, false, -1},
      {"start beyond the end", "abc", "", 4, false, -1},
      {"start below 1 is 1", "abc", "a", -5, false, 1},
      {"only character starts are tried", "\xB0\xA1\xB0\xA1", "\xA1\xB0", 1, false, -1},
      {"a second byte in a-z is not a letter to find", "\xB0\x61x", "a", 1, false, -1},
      {"lone lead byte at the end ends the search", "ab\xB0", "z", 1, false, -1},
      {"match after mixed text", "\xD6\xD0" "a\xCE\xC4" "d", "d", 1, false, 6},
      {"folding reaches second bytes too", "\xB0\x41", "\xB0\x61", 1, true, 1},
      {"full-width letters are not folded", "\xA3\xC1", "\xA3\xE1", 1, true, -1},
      {"sub longer than the rest", "abc", "bcd", 1, false, -1},
      {"memchr hit on a second byte, real match later", "\xB0\x64" "d", "d", 1, false, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.t, c.sub, c.start, c.ignoreCase), c.expected) << c.name;
    if (!c.ignoreCase) {
      // The exact search has a fast path; the folded search of a sub without letters must agree.
      bool hasLetter = false;
      for (char ch : c.sub) hasLetter |= (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
      for (char ch : c.t) hasLetter |= (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
      if (!hasLetter) {
        EXPECT_EQ(FindText(c.t, c.sub, c.start, true), c.expected) << c.name << " (folded)";
      }
    }
  }
}

TEST(FindText, FastAndFoldedPathsAgreeOnEveryTwoByteText) {
  // Every pair of bytes, searched for a digit byte: the exact path (memchr) and the folded
  // path (walk) must give the same answer, since digits do not fold.
  for (int a = 1; a < 256; ++a) {
    for (int b = 1; b < 256; b += 7) {
      const Text t = {static_cast<char>(a), static_cast<char>(b), '5'};
      ASSERT_EQ(FindText(t, "5", 1, false), FindText(t, "5", 1, true)) << a << " " << b;
    }
  }
}

struct ReplaceCase {
  const char* name;
  Text t, find, replacement;
  int start, count;
  bool caseSensitive;
  Text expected;
};

TEST(ReplaceText, Table) {
  const ReplaceCase cases[] = {
      {"all", "a>b>c", ">", " ", 1, -1, true, "a b c"},
      {"count 1", "a>b>c", ">", " ", 1, 1, true, "a b>c"},
      {"from 3", "a>b>c", ">", " ", 3, -1, true, "a>b c"},
      {"deleted", "a>b>c", ">", "", 1, -1, true, "abc"},
      {"no overlap", "aaa", "aa", "x", 1, -1, true, "xa"},
      {"inserted text not searched again", "ab", "a", "aa", 1, -1, true, "aab"},
      {"folded", "aXbxc", "x", "-", 1, -1, false, "a-b-c"},
      {"exact", "aXbxc", "x", "-", 1, -1, true, "aXb-c"},
      {"count 0 unchanged", "a>b", ">", " ", 1, 0, true, "a>b"},
      {"empty find unchanged", "abc", "", "x", 1, -1, true, "abc"},
      {"start beyond the end unchanged", "abc", "c", "x", 4, -1, true, "abc"},
      {"second byte never matched", "\xB0\x3E>", ">", " ", 1, -1, true, "\xB0\x3E "},
      {"lone lead byte at the end dropped", "a>\xB0", ">", " ", 1, -1, true, "a "},
      {"rest copied after count reached", "a>b>\xB0", ">", " ", 1, 1, true, "a b>\xB0"},
      {"GBK find and replace", "\xD6\xD0\xCE\xC4\xD6\xD0", "\xD6\xD0", "z", 1, -1, true, "z\xCE\xC4z"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.t, c.find, c.replacement, c.start, c.count, c.caseSensitive), c.expected) << c.name;
  }
  EXPECT_EQ(ReplaceText("a>b", ">"), "ab");  // replacement omitted deletes
}

TEST(TrimBoth, Table) {
  const std::pair<Text, Text> cases[] = {
      {" \tx ", "\tx"},
      {"\xA1\xA1x ", "x"},
      {"  a b  ", "a b"},
      {"   ", ""},
      {" \xA1\xA1 \xA1\xA1", ""},
      {"x  \n", "x  \n"},
      {"x \xA1\xA1 ", "x"},
      {"\xD6\xD0 ", "\xD6\xD0"},
      {"\xB0\xA1\xA1 ", "\xB0\xA1\xA1 "},  // A1 20 is one character, so the last byte is no space
      {"x \xB0", "x"},                    // a final lone lead byte goes with the run
      {"x\xB0", "x"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(TrimBoth(in), out) << "[" << in << "]";
}

TEST(ToUpper, FoldsAsciiOnlyAndKeepsSecondBytes) {
  EXPECT_EQ(ToUpper("abz{}AZ09"), "ABZ{}AZ09");
  EXPECT_EQ(ToUpper("\xB0\x61" "a"), "\xB0\x61" "A");
  EXPECT_EQ(ToUpper("a\xB0"), "A\xB0");
}

TEST(SmallTexts, HexCharBlank) {
  const std::pair<int, Text> hex[] = {{0, "0"}, {5, "5"}, {10, "A"}, {15, "F"}, {16, "10"}, {255, "FF"}, {-1, "FFFFFFFF"},
                                      {INT32_MIN, "80000000"}};
  for (const auto& [v, out] : hex) EXPECT_EQ(ToHexText(v), out) << v;
  EXPECT_EQ(CharFromCode(0), "");
  EXPECT_EQ(CharFromCode(321), "A");
  EXPECT_EQ(CharFromCode(256), "");
  EXPECT_EQ(BlankText(3), "   ");
  EXPECT_EQ(BlankText(0), "");
  EXPECT_EQ(ConcatText(Text("a"), "", Text("bc"), "d"), "abcd");
  EXPECT_EQ(ConcatText(), "");
}

TEST(BytesOps, ZeroBytesAndCounts) {
  EXPECT_EQ(BytesToText(Bytes{0x61, 0x00, 0x62}), "a");
  EXPECT_EQ(BytesToText(Bytes{0x00}), "");
  EXPECT_EQ(BytesToText(Bytes{}), "");
  EXPECT_EQ(TextToBytes("ab"), (Bytes{0x61, 0x62}));
  EXPECT_EQ(BytesLeft(Bytes{1, 2, 3}, 2), (Bytes{1, 2}));
  EXPECT_EQ(BytesLeft(Bytes{1, 2, 3}, 9), (Bytes{1, 2, 3}));
  EXPECT_TRUE(BytesLeft(Bytes{1}, 0).empty());
  EXPECT_EQ(BlankBytes(2), (Bytes{0, 0}));
  EXPECT_TRUE(BlankBytes(-1).empty());
  EXPECT_TRUE(BytesEquals({}, {}));
  EXPECT_FALSE(BytesEquals(Bytes{0}, {}));
  EXPECT_FALSE(BytesEquals(Bytes{1, 2}, Bytes{1, 3}));
}

TEST(TextArrayOps, AppendCopiesAndIsOneBased) {
  TextArray a;
  Text t = "x";
  ArrayAppend(a, t);
  ArrayAppend(a, "");
  t = "changed";
  ASSERT_EQ(ArrayCount(a), 2);
  EXPECT_EQ(ArrayAt(a, 1), "x");
  EXPECT_EQ(ArrayAt(a, 2), "");
  ArrayClear(a);
  EXPECT_EQ(ArrayCount(a), 0);
}

}  // namespace
}  // namespace brenvik
