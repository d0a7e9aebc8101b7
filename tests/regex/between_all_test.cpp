#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "regex/between_all.h"
#include "text/codepage.h"

namespace brenvik {
namespace {

const Text kQuoteWord = "#\xD2\xFD\xBA\xC5";  // "#引号"

TEST(TextBetweenAllTest, CollectsEveryShortestValueInOrder) {
  struct Case {
    const char* name;
    Text text;
    Text start;
    Text end;
    std::vector<Text> expected;
  };
  const std::vector<Case> cases = {
      {"case ignored, empty value counts", "<td>a</td><TD>b</TD><td></td>", "<td>", "</td>", {"a", "b", ""}},
      {"shortest and not overlapping", "((a))", "(", ")", {"(a"}},
      {"values span lines", "<b>x\r\ny</b>", "<b>", "</b>", {"x\r\ny"}},
      {"parentheses literal", "f(x){y}[z]?", "(", ")", {"x"}},
      {"braces literal", "f(x){y}[z]?", "{", "}", {"y"}},
      {"brackets literal", "f(x){y}[z]?", "[", "]", {"z"}},
      {"quantifier characters literal", "a+b*c?d", "a+", "c?", {"b*"}},
      {"dot is any character", "abc1;", "a.c", ";", {"1"}},
      {"marker word is a double quote", "<a title=\"Hi\">", "title=" + kQuoteWord, kQuoteWord, {"Hi"}},
      {"marker CR LF meets a bare line feed", "<p>\nv</p>", "<p>\r\n", "</p>", {"v"}},
      {"marker CR LF does not meet CR LF", "<p>\r\nv</p>", "<p>\r\n", "</p>", {}},
      {"lone line feed in a marker is literal", "<p>\nv</p>", "<p>\n", "</p>", {"v"}},
      {"lone carriage return in a marker is literal", "<p>\rv</p>", "<p>\r", "</p>", {"v"}},
      {"a bar in a marker splits the whole pattern", "<i>a</i><u>b</u>", "<i>|<u>", "</", {"", "b"}},
      {"no end marker", "<td>a<td>b", "<td>", "</td>", {}},
      {"Chinese markers and values", Gbk("英雄：亚索，英雄：盲僧，"), Gbk("英雄："), Gbk("，"),
       {Gbk("亚索"), Gbk("盲僧")}},
      {"values keep the page's bytes", "<td>\xFD\x9C</td>", "<td>", "</td>", {"\xFD\x9C"}},
      {"trail byte equal to a bracket is no bracket", "\x81[x\x81]y]", "\x81[", "]", {"x\x81]y"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextArray results = {"stale"};
    EXPECT_EQ(TextBetweenAll(c.text, c.start, c.end, results), static_cast<int>(c.expected.size()));
    EXPECT_EQ(results, c.expected);
  }
}

TEST(TextBetweenAllTest, MaxLengthPrefixSuffixAndMarkers) {
  TextArray results;
  EXPECT_EQ(TextBetweenAll("<b>x</b><b>yy</b>", "<b>", "</b>", results, 1), 1);
  EXPECT_EQ(results, (TextArray{"x"}));
  EXPECT_EQ(TextBetweenAll("<b>x</b><b>yy</b>", "<b>", "</b>", results, 2), 2);
  EXPECT_EQ(TextBetweenAll("<b>x</b><b></b>", "<b>", "</b>", results, -1), 0);
  EXPECT_TRUE(results.empty());

  EXPECT_EQ(TextBetweenAll("<b>x</b>", "<b>", "</b>", results, 0, "[", "]", true, true), 1);
  EXPECT_EQ(results, (TextArray{"<b>[x]</b>"}));
  // The markers added are the arguments themselves, marker word and all.
  EXPECT_EQ(TextBetweenAll("t=\"v\"", "t=" + kQuoteWord, kQuoteWord, results, 0, "", "", true, false), 1);
  EXPECT_EQ(results, (TextArray{"t=" + kQuoteWord + "v"}));
  // The length limit looks at the value before prefix and suffix.
  EXPECT_EQ(TextBetweenAll("<b>x</b>", "<b>", "</b>", results, 1, "((", "))"), 1);
  EXPECT_EQ(results, (TextArray{"((x))"}));
}

TEST(TextBetweenAllTest, ResultsAreEmptiedWhateverHappens) {
  TextArray results = {"a", "b"};
  EXPECT_EQ(TextBetweenAll("nothing here", "<td>", "</td>", results), 0);
  EXPECT_TRUE(results.empty());
  results = {"a"};
  // A lone backslash at the end of a marker makes a pattern the engine rejects.
  EXPECT_EQ(TextBetweenAll("<td>a</td>", "<td>\\", "</td>", results), 0);
  EXPECT_TRUE(results.empty());
  results = {"a"};
  EXPECT_EQ(TextBetweenAll("", "<td>", "</td>", results), 0);
  EXPECT_TRUE(results.empty());
}

TEST(EscapeRegexLiteralTest, EscapesOnlyTheListedCharacters) {
  const std::vector<std::pair<Text, Text>> cases = {
      {"a+b", "a\\+b"},
      {"(x){y}[z]?*", "\\(x\\)\\{y\\}\\[z\\]\\?\\*"},
      {"a.b|c", "a.b|c"},
      {"^$\\", "^$\\"},
      {"title=" + kQuoteWord, "title=\""},
      {"a\r\nb", "a\\nb"},
      {"a\rb\nc", "a\rb\nc"},
      {"\r\n\r\n", "\\n\\n"},
      {"\x81[\x81]", "\x81[\x81]"},  // second bytes of GBK characters
      {Gbk("（中文）"), Gbk("（中文）")},
      {"", ""},
  };
  for (const auto& [marker, escaped] : cases) EXPECT_EQ(EscapeRegexLiteral(marker), escaped) << marker;
}

// The values a plain left-to-right scan finds: the first start marker (case ignored) that has
// an end marker after it, the shortest value, and on after the end marker.
std::vector<Text> ScanValues(const Text& text, const Text& start, const Text& end) {
  auto lower = [](Text s) {
    for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
  };
  const Text t = lower(text), s = lower(start), e = lower(end);
  std::vector<Text> values;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t at = t.find(s, pos);
    if (at == Text::npos) break;
    const std::size_t close = t.find(e, at + s.size());
    if (close == Text::npos) break;
    values.push_back(text.substr(at + s.size(), close - at - s.size()));
    pos = close + e.size();
  }
  return values;
}

Text RandomText(std::mt19937& rng, std::string_view alphabet, int maxLength) {
  std::uniform_int_distribution<int> length(1, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  Text t;
  for (int n = length(rng); n > 0; --n) t += alphabet[pick(rng)];
  return t;
}

TEST(TextBetweenAllTest, RandomLiteralMarkersAgreeWithAPlainScan) {
  std::mt19937 rng(20261211);
  // Every character here is either plain or escaped, so the markers are literal.
  constexpr std::string_view kAlphabet = "aB?*+()[]{}";
  for (int round = 0; round < 3000; ++round) {
    const Text text = RandomText(rng, kAlphabet, 40);
    const Text start = RandomText(rng, kAlphabet, 3);
    const Text end = RandomText(rng, kAlphabet, 3);
    TextArray results;
    const int n = TextBetweenAll(text, start, end, results);
    ASSERT_EQ(results, ScanValues(text, start, end)) << text << " | " << start << " | " << end;
    ASSERT_EQ(n, static_cast<int>(results.size()));
  }
}

TEST(TextBetweenAllTest, RandomMarkersWithMetacharactersNeverBreak) {
  std::mt19937 rng(7);
  // Pattern syntax the escaping leaves alone, line breaks, the marker word and GBK bytes.
  const Text alphabet = "ab\\^$.|?*()[]{}\r\n#<>/\xD6\xD0\x81\x5B" + kQuoteWord;
  for (int round = 0; round < 3000; ++round) {
    const Text text = RandomText(rng, alphabet, 60);
    TextArray results = {"stale"};
    const int n = TextBetweenAll(text, RandomText(rng, alphabet, 6), RandomText(rng, alphabet, 6), results,
                                 round % 5 - 2);
    ASSERT_EQ(n, static_cast<int>(results.size()));
    for (const Text& v : results) ASSERT_LE(v.size(), text.size());
  }
}

}  // namespace
}  // namespace brenvik
