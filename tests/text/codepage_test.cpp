// Code-page conversions: byte-exact results, buffer sizes, and bad input.
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/codepage_detail.h"

namespace brenvik {
namespace {

Bytes Le(std::u16string_view units) {
  Bytes out;
  for (char16_t u : units) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  return out;
}

TEST(CodePage, Examples) {
  EXPECT_EQ(AnsiToUtf8("abc"), "abc");
  EXPECT_EQ(AnsiToUtf8("\xB5\xE7"), "\xE7\x94\xB5");  // 电
  EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD"), "\xD6\xD0");  // 中
  EXPECT_EQ(Utf8ToAnsi("abc"), "abc");
  EXPECT_EQ(Utf8ToAnsi(""), "");
  EXPECT_EQ(AnsiToUtf8(""), "");
  EXPECT_EQ(Gbk("查询"), "\xB2\xE9\xD1\xAF");
  EXPECT_EQ(Gbk("#引号"), "#\xD2\xFD\xBA\xC5");
}

TEST(CodePage, MultiByteToUtf16PadsToTheGbkReading) {
  // 文中 in UTF-8 is six bytes; read as GBK they are three characters, so the buffer holds
  // four units: two converted, the terminator and one more zero unit.
  EXPECT_EQ(MultiByteToUtf16("\xE6\x96\x87\xE4\xB8\xAD"), (Bytes{0x87, 0x65, 0x2D, 0x4E, 0, 0, 0, 0}));
  EXPECT_EQ(MultiByteToUtf16("ab", 936), (Bytes{0x61, 0, 0x62, 0, 0, 0}));
  EXPECT_TRUE(MultiByteToUtf16("").empty());
}

TEST(CodePage, MultiByteToUtf16CutsWhatDoesNotFit) {
  // "\x80\x80" in UTF-8 is two ill-formed bytes (two U+FFFD), but one character in GBK: the
  // buffer has room for two units, so the terminator is cut off, not written past the end.
  const Bytes out = MultiByteToUtf16("\x81\x40\x81", 65001);
  EXPECT_EQ(out.size(), 3u * 2);  // GBK: 81 40 is one character, the lone 81 one more, plus terminator
}

TEST(CodePage, GbkToUtf16AndBack) {
  EXPECT_EQ(GbkToUtf16("ab"), (Bytes{0x61, 0, 0x62, 0}));
  EXPECT_TRUE(GbkToUtf16("").empty());
  EXPECT_EQ(Utf16ToGbk(Bytes{0x61, 0, 0, 0, 0x62, 0}), "a");   // cut at the zero unit
  EXPECT_EQ(Utf16ToGbk(Bytes{0x61, 0, 0x62, 0, 0x63}), "ab");  // odd last byte ignored
  EXPECT_EQ(Utf16ToGbk(Bytes{0x00, 0xAC}), "?");               // U+AC00 is not in GBK
  EXPECT_EQ(Utf8ToAnsi("\xEA\xB0\x80"), "?");
  EXPECT_EQ(Utf16ToGbk(Bytes{'e', 0, 0x01, 0x03}), "\xA8\xA6");  // e + combining acute → é
  const Text mixed = "\xD6\xD0" "d\xCE\xC4" "x";
  EXPECT_EQ(Utf16ToGbk(GbkToUtf16(mixed)), mixed);
}

TEST(CodePage, Utf16ToMultiByteBufferIsTwiceTheGbkSize) {
  // Three U+AC00: GBK needs 3 bytes ("???") + terminator, so the buffer is 8 bytes; UTF-8
  // needs 9, and the result is cut at the buffer's end.
  const Bytes units = {0x00, 0xAC, 0x00, 0xAC, 0x00, 0xAC};
  EXPECT_EQ(Utf16ToMultiByte(units, 65001), "\xEA\xB0\x80\xEA\xB0\x80\xEA\xB0");
  EXPECT_EQ(Utf16ToMultiByte(units), "???");
  EXPECT_EQ(Utf16ToMultiByte(Bytes{0x2D, 0x4E, 0, 0, 0x41, 0}, 65001), "\xE4\xB8\xAD");
  EXPECT_EQ(Utf16ToMultiByte(Bytes{}), "");
}

TEST(CodePage, InvalidUtf8BecomesReplacementAndNeverOverruns) {
  // Ill-formed UTF-8: each bad sequence is one U+FFFD, which GBK lacks ("?").
  EXPECT_EQ(Utf8ToAnsi("a\xFF" "b"), "a?b");
  EXPECT_EQ(Utf8ToAnsi("\xE4\xB8"), "?");  // truncated sequence
  // A page served in GBK read as UTF-8: whatever comes out, it is bounded and never crashes.
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    Text junk(static_cast<std::size_t>(random() % 64 + 1), '\0');
    for (auto& ch : junk) ch = static_cast<char>(random() % 255 + 1);
    const Text out = Utf8ToAnsi(junk);
    EXPECT_LE(out.size(), 2 * junk.size() + 2);
    EXPECT_EQ(out.find('\0'), Text::npos);
    const Bytes wide = MultiByteToUtf16(junk);
    EXPECT_EQ(wide.size() % 2, 0u);
  }
}

TEST(CodePage, BufferSizeFollowsTheGbkReadingOfAnyBytes) {
  // The buffer of MultiByteToUtf16 is sized by counting GBK characters without converting;
  // the count must agree with the converter's own reading, terminator included.
  std::mt19937 random(11);
  for (int round = 0; round < 5000; ++round) {
    Text bytes(static_cast<std::size_t>(random() % 12 + 1), '\0');
    for (auto& ch : bytes) ch = static_cast<char>(random() % 255 + 1);
    ASSERT_EQ(MultiByteToUtf16(bytes).size(), GbkToUtf16(bytes).size() + 2) << round;
  }
}

TEST(CodePage, EveryCharacterGbkLacksIsOneQuestionMark) {
  // Invisible characters included: ICU's own substitution would drop them.
  struct Case {
    const char* what;
    std::u16string units;
    Text gbk;
  };
  const Case cases[] = {
      {"zero-width space", u"a\u200Bb", "a?b"},
      {"soft hyphen", u"a\u00ADb", "a?b"},
      {"byte-order mark", u"\uFEFFa", "?a"},
      {"joiners and marks of direction", u"\u200C\u200D\u200E\u202E\u2066", "?????"},
      {"Hangul filler", u"\u3164", "?"},
      {"supplementary ideograph, two units", u"\U00020000", "?"},
      {"supplementary variation selector", u"x\U000E0100", "x?"},
      {"lone lead surrogate", u"\xD800" u"a", "?a"},
      {"lone trail surrogate at the end", u"a\xDC00", "a?"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16ToGbk(Le(c.units)), c.gbk) << c.what;
    EXPECT_EQ(Utf16ToMultiByte(Le(c.units)), c.gbk) << c.what;
    EXPECT_EQ(detail::U16ToGbk(c.units), c.gbk) << c.what;
  }
  // The page path: a name with a zero-width space keeps a "?" where it stood.
  EXPECT_EQ(Utf8ToAnsi("\xE9\x9D\x92\xE2\x80\x8B\xE7\x9F\xB3"), "\xC7\xE0?\xCA\xAF");  // 青, U+200B, 石
  EXPECT_EQ(Utf8ToAnsi("\xEF\xBB\xBF" "a"), "?a");  // a byte-order mark at the head of a page
  EXPECT_EQ(Gbk("a\u200Bb"), "a?b");
  // UTF-8 holds the invisible characters as they are.
  EXPECT_EQ(Utf16ToMultiByte(Le(u"a\u200Bb"), kCodePageUtf8), "a\xE2\x80\x8B" "b");
}

TEST(CodePage, FastPathsAgreeWithPublicOnes) {
  const Text samples[] = {"", "abc", "\xD6\xD0\xCE\xC4", "x\xB0", "\x81\x40\xFF\xFE"};
  for (const Text& s : samples) {
    const Bytes wide = GbkToUtf16(s);
    const std::u16string units = detail::GbkToU16(s);
    ASSERT_EQ(units.size() * 2, wide.size());
    EXPECT_EQ(detail::U16ToGbk(units), Utf16ToGbk(wide));
  }
}

}  // namespace
}  // namespace brenvik
