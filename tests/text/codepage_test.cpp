// Code-page conversions: byte-exact results, buffer sizes, and bad input.
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <random>

#include "text/codepage_detail.h"

namespace brenvik {
namespace {

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
  // 81 40 81 read as UTF-8 is three units (U+FFFD, '@', U+FFFD), but read as GBK only two
  // characters (81 40, then the lone 81): the buffer has room for those two and the
  // terminator, three units, so the UTF-8 reading fills it and the terminator is cut off,
  // not written past the end.
  const Bytes out = MultiByteToUtf16("\x81\x40\x81", 65001);
  EXPECT_EQ(out, (Bytes{0xFD, 0xFF, 0x40, 0x00, 0xFD, 0xFF}));
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
  // 81 40 81 40 as UTF-8 is four units ("?@?@"), as GBK two characters: the result is cut
  // to the buffer the GBK reading sizes, two characters and the terminator.
  EXPECT_EQ(Utf8ToAnsi("\x81\x40\x81\x40"), "?@?");
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
