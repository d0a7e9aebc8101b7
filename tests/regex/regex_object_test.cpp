#include "regex/regex_object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/codepage.h"

namespace brenvik {
namespace {

const Text kQuoteWord = "#\xD2\xFD\xBA\xC5";  // "#引号"

struct SearchCase {
  const char* name;
  Text pattern;
  Text text;
  bool caseSensitive = false;
  bool multiline = true;
  bool global = true;
  bool quoteWord = false;
  std::vector<Text> expected;  // the match texts, in order
};

TEST(RegexObjectTest, SearchFindsTheMatchesTheOptionsAsk) {
  const std::vector<SearchCase> cases = {
      {"groups and defaults", "b(.)", "abcbd", false, true, true, false, {"bc", "bd"}},
      {"case ignored by default", "B", "abc", false, true, true, false, {"b"}},
      {"case sensitive", "B", "abc", true, true, true, false, {}},
      {"global off gives the first", "b", "abcb", false, true, false, false, {"b"}},
      {"caret at a line start when multiline", "^b", "a\r\nb", false, true, true, false, {"b"}},
      {"caret at the text start only otherwise", "^b", "a\r\nb", false, false, true, false, {}},
      {"dollar before a line feed when multiline", "a$", "a\nb", false, true, true, false, {"a"}},
      {"dollar at the very end only otherwise", "a$", "a\n", false, false, true, false, {}},
      {"dot stops at a line feed", "a.b", "a\nb", false, true, true, false, {}},
      {"dot takes a carriage return", "a.b", "a\rb", false, true, true, false, {"a\rb"}},
      {"class of all characters crosses lines", "a[\\s\\S]b", "a\nb", false, true, true, false, {"a\nb"}},
      {"lazy run is the shortest", "<(.*?)>", "<a><b>", false, true, true, false, {"<a>", "<b>"}},
      {"marker word expanded", kQuoteWord + "x" + kQuoteWord, "say \"x\"", false, true, true, true, {"\"x\""}},
      {"marker word literal without quoteWord", kQuoteWord, "a" + kQuoteWord + "\"", false, true, true, false,
       {kQuoteWord}},
      {"marker word not a quote without quoteWord", kQuoteWord, "\"", false, true, true, false, {}},
      {"empty matches advance one character", "x*", "ab", false, true, true, false, {"", "", ""}},
      {"empty match next to a non-empty one", "a*", "baac", false, true, true, false, {"", "aa", "", ""}},
      // After an empty match the next search starts at the same place but may not be empty
      // there: the lazy run then takes one character (a plain step ahead would give 3 × "").
      {"empty match then a non-empty one at the same place", "a*?", "aa", false, true, true, false,
       {"", "a", "", "a", ""}},
      {"Chinese pattern over Chinese text", Gbk("文(.)"), Gbk("中文字，文章"), false, true, true, false,
       {Gbk("文字"), Gbk("文章")}},
      {"no match is a collection too", "q", "abc", false, true, true, false, {}},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.name);
    RegexObject re;
    EXPECT_TRUE(re.Search(c.pattern, c.text, c.caseSensitive, c.multiline, c.global, c.quoteWord));
    ASSERT_EQ(re.MatchCount(), static_cast<int>(c.expected.size()));
    for (int i = 1; i <= re.MatchCount(); ++i) EXPECT_EQ(re.MatchText(i), c.expected[i - 1]) << "match " << i;
  }
}

TEST(RegexObjectTest, SubMatchesAreNumberedFromOne) {
  RegexObject re;
  ASSERT_TRUE(re.Search("b(.)", "abcbd"));
  EXPECT_EQ(re.SubMatchCount(), 1);
  EXPECT_EQ(re.SubMatchText(1, 1), "c");
  EXPECT_EQ(re.SubMatchText(2, 1), "d");
  EXPECT_EQ(re.SubMatchText(2, 0), "");
  EXPECT_EQ(re.SubMatchText(2, 2), "");
  EXPECT_EQ(re.SubMatchText(3, 1), "");
  EXPECT_EQ(re.MatchText(0), "");

  // A group that took no part in a match gives the empty text; the count is the pattern's.
  ASSERT_TRUE(re.Search("(a)|(b)", "b"));
  EXPECT_EQ(re.SubMatchCount(), 2);
  EXPECT_EQ(re.SubMatchText(1, 1), "");
  EXPECT_EQ(re.SubMatchText(1, 2), "b");

  ASSERT_TRUE(re.Search("(a)", "xyz"));
  EXPECT_EQ(re.SubMatchCount(), 0);  // read from the first match; there is none
}

TEST(RegexObjectTest, RejectedPatternLeavesNoMatches) {
  for (const Text pattern : {"(", "a\\", "[ab", "*", "a{2,1}", "(?<", "\\"}) {
    SCOPED_TRACE(pattern);
    RegexObject re;
    ASSERT_TRUE(re.Search("b", "abc"));
    EXPECT_FALSE(re.Search(pattern, "abc"));
    EXPECT_EQ(re.MatchCount(), 0);
    EXPECT_EQ(re.SubMatchCount(), 0);
    EXPECT_EQ(re.MatchText(1), "");
    EXPECT_EQ(re.ReplaceMatches("x"), "");
    EXPECT_EQ(re.PatternText(), pattern);  // the engine took the pattern, it just cannot run it
  }
}

TEST(RegexObjectTest, BytePositionsFollowTheGbkSearchRule) {
  struct Case {
    const char* name;
    Text pattern;
    Text text;
    int match;
    int group;  // 0: MatchText
    Text value;
    int position;
  };
  const std::vector<Case> cases = {
      {"ASCII second match", "b", "abcb", 2, 0, "b", 3},
      {"after one Chinese character", "d", "\xD6\xD0" "d", 1, 0, "d", 2},
      {"start falls inside a character and hides the match", "d", "\xD6\xD0\xCE\xC4" "d", 1, 0, "d", -2},
      {"Chinese match after Chinese text", Gbk("文"), Gbk("中文"), 1, 0, Gbk("文"), 2},
      {"sub-match searched from the match's start", "b(.)", "abcbd", 2, 1, "d", 4},
      {"match index out of range", "b", "abcb", 3, 0, "", 0},
      {"group out of range", "b(.)", "abcbd", 1, 2, "", 0},
      {"out of range over the empty text", "x", "", 1, 0, "", -2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RegexObject re;
    ASSERT_TRUE(re.Search(c.pattern, c.text));
    int position = 12345;
    const Text value = c.group == 0 ? re.MatchText(c.match, &position) : re.SubMatchText(c.match, c.group, &position);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(position, c.position);
  }
}

TEST(RegexObjectTest, ReplaceMatchesSubstitutesLikeTheClassicObject) {
  struct Case {
    const char* name;
    Text pattern;
    Text text;
    bool global;
    Text replacement;
    Text expected;
  };
  const std::vector<Case> cases = {
      {"global", "b", "abcb", true, "x", "axcx"},
      {"first only", "b", "abcb", false, "x", "axcb"},
      {"group reference", "b(.)", "abcbd", true, "[$1]", "a[c][d]"},
      {"whole match and dollar", "b", "abc", true, "$&$$", "ab$c"},
      {"missing group stays literal", "b(.)", "abc", true, "$2", "a$2"},
      {"two digits only when that group exists", "(b)", "abc", true, "$12", "ab2c"},
      {"lone and trailing dollars", "b", "abc", true, "$x$", "a$x$c"},
      {"no match leaves the text", "q", "abc", true, "x", "abc"},
      {"empty matches", "x*", "ab", true, "-", "-a-b-"},
      {"Chinese", Gbk("中(.)"), Gbk("中文，中国"), true, Gbk("汉$1"), Gbk("汉文，汉国")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RegexObject re;
    ASSERT_TRUE(re.Search(c.pattern, c.text, false, true, c.global));
    EXPECT_EQ(re.ReplaceMatches(c.replacement), c.expected);
  }
}

TEST(RegexObjectTest, PatternTextAndEmptyObject) {
  RegexObject re;
  EXPECT_EQ(re.PatternText(), "");
  EXPECT_EQ(re.ReplaceMatches("x"), "");
  EXPECT_EQ(re.MatchCount(), 0);
  int position = 7;
  EXPECT_EQ(re.MatchText(1, &position), "");
  EXPECT_EQ(position, -2);  // nothing searched yet: the empty text is not found in it

  ASSERT_TRUE(re.Search("title=" + kQuoteWord + "(.)", "title=\"x", false, true, true, true));
  EXPECT_EQ(re.PatternText(), "title=\"(.)");
  EXPECT_EQ(re.SubMatchText(1, 1), "x");
  ASSERT_TRUE(re.Search(Gbk("等级(\\d+)"), Gbk("等级30")));
  EXPECT_EQ(re.PatternText(), Gbk("等级(\\d+)"));
  EXPECT_EQ(re.SubMatchText(1, 1), "30");
}

TEST(RegexObjectTest, MatchAndSubMatchValuesKeepCompatibilityIdeographs) {
  // FD 9C reads as U+F92C, a compatibility ideograph; the composite check of match values
  // joins a base with its marks only and must not make it the unified U+90CE (C0 C9).
  RegexObject re;
  ASSERT_TRUE(re.Search("<(.)>", "<\xFD\x9C>"));
  EXPECT_EQ(re.MatchText(1), "<\xFD\x9C>");
  EXPECT_EQ(re.SubMatchText(1, 1), "\xFD\x9C");
  ASSERT_TRUE(re.Search("x", "\xFD\x9Cx"));
  EXPECT_EQ(re.ReplaceMatches("y"), "\xFD\x9Cy");
}

TEST(RegexObjectTest, CopyKeepsItsMatchesWhenTheOriginalSearchesAgain) {
  RegexObject original;
  ASSERT_TRUE(original.Search("b(.)", "abcbd"));
  RegexObject copy(original);
  RegexObject assigned;
  assigned = original;
  ASSERT_TRUE(original.Search("z", "xyz"));
  for (const RegexObject* re : {&copy, &assigned}) {
    EXPECT_EQ(re->MatchCount(), 2);
    EXPECT_EQ(re->SubMatchText(2, 1), "d");
    int position = 0;
    EXPECT_EQ(re->MatchText(2, &position), "bd");
    EXPECT_EQ(position, 3);
    EXPECT_EQ(re->ReplaceMatches("<$1>"), "a<c><d>");
  }
  EXPECT_EQ(original.MatchText(1), "z");
}

}  // namespace
}  // namespace brenvik
