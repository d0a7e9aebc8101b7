// Percent-encoding of query values and percent-decoding of pages.
#include "text/url.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

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

TEST(UrlDecode, PageRoundTrip) {
  const Text page = Gbk("<td>52.3%</td><td>艾欧尼亚</td>");
  const Text encoded = UrlEncode(page, true, true);
  EXPECT_EQ(UrlDecode(encoded, true), page);
}

}  // namespace
}  // namespace brenvik
