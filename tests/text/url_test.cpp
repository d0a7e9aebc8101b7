// Percent-encoding of query values and percent-decoding of pages.
#include "text/url.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "text/codepage.h"
#include "tests/support/hex_bytes.h"

namespace brenvik {
namespace {

TEST(UrlEncode, Table) {
  struct Case {
    Text in;
    bool keep, utf8;
    Text out;
  };
  const Case cases[] = {
      {"abc", false, true, "%61%62%63"},
      {"abc", true, false, "abc"},
      {"a b/c_d~e.f-9", true, false, "a%20b%2Fc%5Fd%7Ee.f-9"},
      {"\xB5\xE7", false, true, "%E7%94%B5"},
      {"\xB5\xE7", false, false, "%B5%E7"},
      {"\x0A", false, false, "%0A"},
      {"", true, true, ""},
      {"", false, false, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.in, c.keep, c.utf8), c.out) << c.in;
  // A GBK name becomes three escapes per Chinese character.
  EXPECT_EQ(UrlEncode(Gbk("青石"), false, true), "%E9%9D%92%E7%9F%B3");
}

TEST(UrlDecode, Table) {
  struct Case {
    Text in;
    Text out;
  };
  const Case cases[] = {
      {"%41%62c+d", "Abc+d"},
      {"%4a", "J"},
      {"100%", "100"},
      {"a%4", "a\x40"},
      {"%00x", "x"},
      {"%G1", "\xE1"},
      {"50%</td>", "50\xDEtd>"},
      {"%", ""},
      {"%%%", "\xDE"},  // 16 * -2 + 0 (past the end) = -32, low 8 bits DE
      {"%\xB0\xA1", "\xDE"},
      {"", ""},
      {"plain \xD6\xD0", "plain \xD6\xD0"},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlDecode(c.in), c.out) << c.in;
  EXPECT_EQ(UrlDecode("%e4%b8%ad", true), "\xD6\xD0");
  EXPECT_EQ(UrlDecode("%e4%b8%ad", false), "\xE4\xB8\xAD");
}

TEST(UrlDecode, EveryByteAfterAPercentSign) {
  // The digit table must agree with the rule for every byte value: 0-9, A-F, a-f count
  // their value, anything else -2.
  for (int b = 1; b < 256; ++b) {
    const char c = static_cast<char>(b);
    int value = -2;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    const auto expected = static_cast<unsigned char>((16 * value + 1) & 0xFF);
    const Text in = {'%', c, '1'};
    const Text out = UrlDecode(in);
    if (expected == 0) {
      EXPECT_EQ(out, "") << b;
    } else {
      ASSERT_EQ(out.size(), 1u) << b;
      EXPECT_EQ(static_cast<unsigned char>(out[0]), expected) << b;
    }
  }
}

TEST(UrlDecode, TenMegabytesOfPercentSigns) {
  const Text page(10 * 1024 * 1024, '%');
  const Text out = UrlDecode(page, true);
  // Every group of three "%" decodes to DE; as UTF-8 that is ill-formed, one "?" each.
  EXPECT_FALSE(out.empty());
  EXPECT_EQ(out.find_first_not_of('?'), Text::npos);
}

using testing::Hex;

// Decoding from UTF-8 runs in one pass; it must give exactly the bytes of percent-decoding
// first and converting the result afterwards, ill-formed UTF-8 and the conversion's buffer
// rule included.
TEST(UrlDecode, FromUtf8InOnePassIsDecodingThenConverting) {
  const Text cases[] = {
      "50%</td><td>7</td>",               // "%</" is DE: a lead byte that 't' does not continue
      "\xC0\x80",                         // two ill-formed bytes, one GBK character: "??"
      "\xC0\x80\xC0\x80",                 // four units, room for three: cut to "???"
      "%C0%80%C0%80%C0%80",
      "%E4%B8\xAD|\xE4%B8%ad",              // escapes and raw bytes in one sequence
      "\xE4%00\xB8%00\xAD",                 // an escape worth 0 inside a sequence appends nothing
      "\xE4\xB8",                           // cut short at the end
      "\xF0\x9F\x98\x80 \xF4\x90\x80\x80",  // a supplementary character; above U+10FFFF
      "\xED\xA0\x80\xED\x9F\xBF",           // a surrogate is ill-formed, U+D7FF is not
      "\xE0\x9F\x80\xE0\xA0\x80",           // overlong, and the first three-byte character
      "\xE2\x82\xAC\xC2\x80",               // the euro sign is one GBK byte; U+0080 is not in GBK
      "\xEA\xB0\x80\xE2\x80\x8B\xEF\xBB\xBF\xC2\xAD",  // hangul and default-ignorable characters
      "e\xCC\x81\xEF\xBF\xBE",               // a combining mark stays apart; a noncharacter
      std::string("ab\0\xE4\xB8\xAD", 6),     // the text ends at a zero byte
      std::string("%\0" "A\xB0", 4),          // ... but not at one an escape takes
      "%", "%%%", "%E",
  };
  for (const Text& c : cases) {
    EXPECT_EQ(UrlDecode(c, true), Utf8ToAnsi(UrlDecode(c, false))) << Hex(c);
  }
  EXPECT_EQ(UrlDecode("\xC0\x80", true), "??");
  EXPECT_EQ(UrlDecode("\xC0\x80\xC0\x80", true), "???");

  // Texts glued from pieces that meet in every way.
  const Text pieces[] = {"a",        "<td>",     "%",        "%2",       "%E4",      "%B8",      "%ad",
                         "%00",      "\xE4",     "\xB8",     "\xAD",     "\xC0",     "\x80",     "\xFF",
                         "\xF0\x9F", "\x98\x80", "\xED\xA0", "\xEA\xB0", "\xE2\x80", "\x8B",     "\xCE\xA9",
                         "%</",      "%G1",      "\xB0\xA1", "\xF4",     "\x90"};
  std::mt19937 random(5);
  for (int round = 0; round < 20000; ++round) {
    Text text;
    for (int k = static_cast<int>(random() % 10); k > 0; --k) {
      if (random() % 6 == 0) {
        text += static_cast<char>(random() % 255 + 1);
      } else {
        text += pieces[random() % std::size(pieces)];
      }
    }
    ASSERT_EQ(UrlDecode(text, true), Utf8ToAnsi(UrlDecode(text, false))) << Hex(text);
  }
  // A long text, so that the result crosses the decoder's buffers many times.
  Text page;
  while (page.size() < 300000) page += pieces[random() % std::size(pieces)];
  EXPECT_EQ(UrlDecode(page, true), Utf8ToAnsi(UrlDecode(page, false)));
}

TEST(UrlDecode, PageRoundTrip) {
  const Text page = Gbk("<td>52.3%</td><td>艾欧尼亚</td>");
  const Text encoded = UrlEncode(page, true, true);
  EXPECT_EQ(UrlDecode(encoded, true), page);
}

}  // namespace
}  // namespace brenvik
