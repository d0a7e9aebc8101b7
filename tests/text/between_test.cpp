// Cutting one value out between two markers.
#include "text/between.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace brenvik {
namespace {

TEST(TextBetween, Table) {
  struct Case {
    const char* name;
    Text text, start, end;
    int startPos;
    bool ignoreCase;
    Text expected;
  };
  const Case cases[] = {
      {"value", "a(bc)d", "(", ")", 1, false, "bc"},
      {"no end marker", "a(bc)d", "(", "x", 1, false, ""},
      {"no start marker", "a(bc)d", "x", ")", 1, false, ""},
      {"empty value", "a()b", "(", ")", 1, false, ""},
      {"end searched after start", "x)a(b)", "(", ")", 1, false, "b"},
      {"first start counts", "(a)(b)", "(", ")", 1, false, "a"},
      {"start at the very end", "ab(", "(", ")", 1, false, ""},
      {"empty end marker", "a(b)", "(", "", 1, false, ""},
      {"empty start marker", "ab)", "", ")", 1, false, "ab"},
      {"from startPos", "(a)(b)", "(", ")", 2, false, "b"},
      {"folded", "<TD>x</td>", "<td>", "</TD>", 1, true, "x"},
      {"exact", "<TD>x</td>", "<td>", "</TD>", 1, false, ""},
      {"marker word", "src=\"pic.jpg\"", Gbk("src=#引号"), Gbk("#引号"), 1, false, "pic.jpg"},
      {"Chinese markers", Gbk("被赞 15 次"), Gbk("被赞"), Gbk("次"), 1, false, " 15 "},
      {"server short name", Gbk("艾欧尼亚(电信一)"), "(", ")", 1, false, Gbk("电信一")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.start, c.end, c.startPos, c.ignoreCase), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace brenvik
