// Page-sized searches: every cell of a large page is found, and a page of start markers
// without end markers gives up within the budget, on the JIT and on the interpreter alike.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "regex/regex_object.h"
#include "regex/regex_object_internal.h"
#include "regex/between_all.h"

namespace brenvik {
namespace {

using std::chrono::steady_clock;

// A table page of about `bytes` bytes with numbered cells.
Text TablePage(std::size_t bytes, int* cells) {
  Text page = "<html><body><table>\r\n";
  int n = 0;
  while (page.size() < bytes) {
    page += "<tr><td>";
    page += std::to_string(n++);
    page += "</td><TD class=\"x\">\xD6\xD0\xCE\xC4</td></tr>\r\n";
    ++n;
  }
  page += "</table></body></html>";
  *cells = n;
  return page;
}

// About 1 MB: 20,000 start markers, each followed by filler, and no end marker.
Text StartMarkersOnly() {
  Text page;
  for (int i = 0; i < 20000; ++i) {
    page += "<td>";
    page.append(46, 'x');
  }
  return page;
}

class RegexBudgetTest : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    saved_ = detail::CurrentRegexBudget();
    if (GetParam() && !detail::RegexJitAvailable()) GTEST_SKIP() << "no JIT in this PCRE2";
    detail::RegexBudget budget = saved_;
    budget.useJit = GetParam();
    detail::SetRegexBudget(budget);
  }
  void TearDown() override { detail::SetRegexBudget(saved_); }

  detail::RegexBudget saved_;
};

TEST_P(RegexBudgetTest, BothEnginesFindTheSameMatches) {
  // The interpreter runs the pattern behind a start callout; leading settings stay first.
  struct Case {
    Text pattern;
    Text text;
    bool multiline;
    std::vector<Text> expected;
  };
  const std::vector<Case> cases = {
      {"(*UTF)b", "abcb", true, {"b", "b"}},
      {"(*LIMIT_MATCH=100000)(*LF)b.", "ab\nbc", true, {"bc"}},
      {"^b", "b\nb", false, {"b"}},
      {"^b", "b\nb", true, {"b", "b"}},
      {"a|b", "cba", true, {"b", "a"}},
      {"x*", "ab", true, {"", "", ""}},
      {"<td>([\\s\\S]*?)</td>", "<TD>1</td><td>\r\n</td>", true, {"<TD>1</td>", "<td>\r\n</td>"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    RegexObject re;
    ASSERT_TRUE(re.Search(c.pattern, c.text, false, c.multiline));
    ASSERT_EQ(re.MatchCount(), static_cast<int>(c.expected.size()));
    for (int i = 1; i <= re.MatchCount(); ++i) EXPECT_EQ(re.MatchText(i), c.expected[i - 1]);
  }
}

TEST_P(RegexBudgetTest, LargePageGivesEveryCell) {
  int cells = 0;
  const Text page = TablePage(10 * 1000 * 1000, &cells);
  TextArray results;
  ASSERT_EQ(TextBetweenAll(page, "<td>", "</td>", results), cells / 2);
  EXPECT_EQ(results.front(), "0");
  EXPECT_EQ(results.back(), std::to_string(cells - 2));
  EXPECT_EQ(TextBetweenAll(page, "\">", "</td>", results), cells / 2);
  EXPECT_EQ(results.back(), "\xD6\xD0\xCE\xC4");
}

TEST_P(RegexBudgetTest, OneValueAsLongAsThePage) {
  Text page = "<td>";
  page.append(5 * 1000 * 1000, 'x');
  page += "</td>";
  TextArray results;
  ASSERT_EQ(TextBetweenAll(page, "<td>", "</td>", results), 1);
  EXPECT_EQ(results[0].size(), 5u * 1000 * 1000);
}

TEST_P(RegexBudgetTest, StartMarkersWithoutEndGiveUpInTime) {
  const Text page = StartMarkersOnly();
  TextArray results = {"stale"};
  const auto t0 = steady_clock::now();
  EXPECT_EQ(TextBetweenAll(page, "<td>", "</td>", results), 0);
  const auto took = steady_clock::now() - t0;
  EXPECT_TRUE(results.empty());
  // The budget is one second; the rest is slack for a loaded machine.
  EXPECT_LT(took, std::chrono::milliseconds(2500));

  // Same page, one end marker at the very end: a single value spanning everything.
  const Text closed = page + "</td>";
  ASSERT_EQ(TextBetweenAll(closed, "<td>", "</td>", results), 1);
  EXPECT_EQ(results[0].size(), page.size() - 4);
}

TEST_P(RegexBudgetTest, SpentBudgetFailsTheWholeSearch) {
  detail::RegexBudget budget = detail::CurrentRegexBudget();
  budget.matchLimit = 1000;  // no attempt may run more than a thousand steps
  detail::SetRegexBudget(budget);
  Text page = "a";
  page.append(100000, 'b');
  RegexObject re;
  EXPECT_FALSE(re.Search("a[\\s\\S]*?c|b", page));
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.ReplaceMatches("x"), "");
  EXPECT_TRUE(re.Search("b", "abb"));  // a small search still runs
  EXPECT_EQ(re.MatchCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, RegexBudgetTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Jit" : "Interpreter"; });

}  // namespace
}  // namespace brenvik
