// Code-page conversions: byte-exact results, buffer sizes, and bad input.
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <iconv.h>
#endif

#include "text/codepage_detail.h"
#include "tests/support/hex_bytes.h"

namespace brenvik {
namespace {

using testing::Hex;

std::string CodePointName(char32_t c) {
  char name[12];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

Bytes Le(std::u16string_view units) {
  Bytes out;
  for (char16_t u : units) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  return out;
}

// Every code of code page 936: the single bytes 01-80 (80 is the euro sign) and FF, and every
// lead byte 81-FE with every trail byte 40-7E, 80-FE (the user-defined areas included).
std::vector<Text> EveryGbkCode() {
  std::vector<Text> codes;
  for (int b = 0x01; b <= 0x80; ++b) codes.emplace_back(1, static_cast<char>(b));
  codes.emplace_back("\xFF");
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    for (int trail = 0x40; trail <= 0xFE; ++trail)
      if (trail != 0x7F) codes.push_back(Text{static_cast<char>(lead), static_cast<char>(trail)});
  return codes;
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

TEST(CodePage, EveryGbkCodeRoundTrips) {
  const std::vector<Text> codes = EveryGbkCode();
  Text all;
  for (const Text& code : codes) {
    const Bytes wide = GbkToUtf16(code);
    ASSERT_EQ(wide.size(), 2u) << Hex(code);
    ASSERT_NE(wide, (Bytes{0xFD, 0xFF})) << Hex(code);  // read, not replaced
    EXPECT_EQ(Utf16ToGbk(wide), code) << Hex(code);
    EXPECT_EQ(Utf16ToMultiByte(wide), code) << Hex(code);
    all += code;
  }
  // No code gives a combining mark, so nothing composes across neighbours either.
  const std::u16string units = detail::GbkToU16(all);
  EXPECT_EQ(units.size(), codes.size());
  EXPECT_TRUE(detail::U16ToGbk(units) == all);
  EXPECT_TRUE(detail::U16ToGbkAsIs(units) == all);
}

TEST(CodePage, ComposesOnlyABaseWithTheMarksAfterIt) {
  struct Case {
    const char* what;
    std::u16string units;
    Text gbk;
  };
  const Case cases[] = {
      {"e acute", u"e\u0301", "\xA8\xA6"},
      {"a grave", u"a\u0300", "\xA8\xA4"},
      {"u diaeresis", u"u\u0308", "\xA8\xB9"},
      {"u diaeresis acute, one mark after the other", u"u\u0308\u0301", "\xA8\xB6"},
      {"in the middle of a name", u"\u4E2De\u0301x", "\xD6\xD0\xA8\xA6x"},
      {"a mark with no composite", u"x\u0301", "x?"},
      {"a second mark the composite does not take", u"e\u0301\u0301", "\xA8\xA6?"},
      {"a lone mark", u"\u0301", "?"},
      {"a mark first", u"\u0301e", "?e"},
      {"a variation selector is a mark GBK lacks", u"e\uFE0F", "e?"},
      {"compatibility ideograph kept", u"\uF92C", "\xFD\x9C"},
      {"its unified twin", u"\u90CE", "\xC0\xC9"},
      {"ohm sign not made omega", u"\u2126", "?"},
      {"angstrom sign not made A ring", u"\u212B", "?"},
      {"Greek question mark not made ;", u"\u037E", "?"},
      {"Greek ano teleia not made a middle dot", u"\u0387", "?"},
      {"a mark that decomposes stays one", u"\u0344", "?"},
      {"composition exclusions stay one", u"\u0958\u0F43", "??"},
      {"Hangul jamo are letters, not marks", u"\u1100\u1161", "??"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(Utf16ToGbk(Le(c.units))), Hex(c.gbk)) << c.what;
    EXPECT_EQ(Hex(detail::U16ToGbk(c.units)), Hex(c.gbk)) << c.what;
  }
  // Without the composite check the mark stays a mark.
  EXPECT_EQ(Utf16ToMultiByte(Le(u"e\u0301")), "e?");
  EXPECT_EQ(detail::U16ToGbkAsIs(u"e\u0301\uF92C"), "e?\xFD\x9C");
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
    EXPECT_EQ(detail::U16ToGbkAsIs(c.units), c.gbk) << c.what;
  }
  // The page path: a name with a zero-width space keeps a "?" where it stood.
  EXPECT_EQ(Utf8ToAnsi("\xE9\x9D\x92\xE2\x80\x8B\xE7\x9F\xB3"), "\xC7\xE0?\xCA\xAF");  // 青, U+200B, 石
  EXPECT_EQ(Utf8ToAnsi("\xEF\xBB\xBF" "a"), "?a");  // a byte-order mark at the head of a page
  EXPECT_EQ(Gbk("a\u200Bb"), "a?b");
  // UTF-8 holds the invisible characters as they are.
  EXPECT_EQ(Utf16ToMultiByte(Le(u"a\u200Bb"), kCodePageUtf8), "a\xE2\x80\x8B" "b");
}

// Tables of GBK disagree on these; Windows code page 936 gives the values below, and so must
// we. The comparison with the C library leaves them out so that a GBK table with another
// choice does not fail it.
struct WindowsValue {
  char32_t codePoint;
  const char* gbk;
};
constexpr WindowsValue kWindowsValues[] = {
    {0x20AC, "\x80"},      // euro sign: the single byte 80
    {0x00B7, "\xA1\xA4"},  // middle dot; GB 2312 tables put U+30FB here
    {0x30FB, "?"},          // katakana middle dot
    {0x2014, "\xA1\xAA"},  // em dash; GB 2312 tables put U+2015 here
    {0x2015, "\xA8\x44"},  // horizontal bar
    {0xFF5E, "\xA1\xAB"},  // full-width tilde; GB 2312 tables put U+301C here
    {0x301C, "?"},          // wave dash
    {0x2016, "\xA1\xAC"},  // double vertical line; others put U+2225 here
    {0x2225, "\xA1\xCE"},  // parallel to
    {0x2026, "\xA1\xAD"},  // horizontal ellipsis
    {0x22EF, "?"},          // midline horizontal ellipsis
    {0xFFE0, "\xA1\xE9"},  // full-width cent sign
    {0x00A2, "?"},          // cent sign: no best fit
    {0xFFE1, "\xA1\xEA"},  // full-width pound sign
    {0x00A3, "?"},          // pound sign
    {0xFFE5, "\xA3\xA4"},  // full-width yen sign
    {0x00A5, "?"},          // yen sign
};

TEST(CodePage, WindowsValuesWhereGbkTablesDisagree) {
  for (const WindowsValue& w : kWindowsValues) {
    const Bytes unit = Le(std::u16string(1, static_cast<char16_t>(w.codePoint)));
    EXPECT_EQ(Hex(Utf16ToGbk(unit)), Hex(w.gbk)) << CodePointName(w.codePoint);
    if (std::string_view(w.gbk) != "?") {
      EXPECT_EQ(GbkToUtf16(w.gbk), unit) << CodePointName(w.codePoint);
    }
  }
}

#if defined(__GLIBC__)
// glibc's converter is built from tables of its own: every BMP character on its own must
// give the same bytes, in all three conversions to GBK. The private-use area is left out:
// it maps to GBK's user-defined areas, as on Windows, where glibc has no mapping.
TEST(CodePage, EveryBmpCharacterAgreesWithTheCLibrary) {
  iconv_t cd = iconv_open("CP936", "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "the C library has no CP936";
  const auto libc = [cd](char16_t unit) {
    char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    char out[8];
    char* inAt = in;
    char* outAt = out;
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1)) return std::string("?");
    return std::string(out, static_cast<std::size_t>(outAt - out));
  };
  const auto pinned = [](char32_t c) {
    for (const WindowsValue& w : kWindowsValues)
      if (w.codePoint == c) return true;
    return false;
  };
  int differ = 0;
  for (char32_t c = 0x0001; c <= 0xFFFF; ++c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || (c >= 0xE000 && c <= 0xF8FF) || pinned(c)) continue;
    const auto unit = static_cast<char16_t>(c);
    const std::string expected = libc(unit);
    const std::u16string one(1, unit);
    Text utf8;
    if (c < 0x80) {
      utf8 = {static_cast<char>(c)};
    } else if (c < 0x800) {
      utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      utf8 = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    }
    const Text ours[] = {Utf16ToGbk(Le(one)), Utf16ToMultiByte(Le(one)), Utf8ToAnsi(utf8)};
    for (const Text& got : ours) {
      if (got != expected && ++differ <= 20)
        ADD_FAILURE() << CodePointName(c) << ": " << Hex(got) << "instead of " << Hex(expected);
    }
  }
  iconv_close(cd);
  EXPECT_EQ(differ, 0);
}
#endif

TEST(CodePage, FastPathsAgreeWithPublicOnes) {
  const Text samples[] = {"", "abc", "\xD6\xD0\xCE\xC4", "x\xB0", "\x81\x40\xFF\xFE"};
  for (const Text& s : samples) {
    const Bytes wide = GbkToUtf16(s);
    const std::u16string units = detail::GbkToU16(s);
    ASSERT_EQ(units.size() * 2, wide.size());
    EXPECT_EQ(detail::U16ToGbk(units), Utf16ToGbk(wide));
    EXPECT_EQ(detail::U16ToGbkAsIs(units), Utf16ToMultiByte(wide));
  }
}

}  // namespace
}  // namespace brenvik
