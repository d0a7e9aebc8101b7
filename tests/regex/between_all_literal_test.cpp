// All texts between literal markers found in the GBK bytes: the same values as the engine
// finds in the UTF-16 form, on pages built to trip a byte search up; the facts of the GBK
// reading that this rests on, checked over every GBK character; and the first-values-only
// search the lookup uses for table cells.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "regex/between_all_detail.h"
#include "regex/regex_object.h"
#include "regex/regex_object_internal.h"
#include "text/codepage.h"
#include "text/codepage_detail.h"
#include "tests/support/hex_bytes.h"

namespace brenvik {
namespace {

using detail::BetweenAllText;

const Text kQuoteWord = "#\xD2\xFD\xBA\xC5";  // "#引号"

using testing::Hex;

// The values the engine finds, and the values of the literal search, for one page.
void ExpectSameAsTheEngine(const Text& page, const Text& start, const Text& end, std::size_t maxCount = 0) {
  TextArray engine;
  TextArray literal = {"stale"};
  BetweenAllText(page).Collect(start, end, engine, {.maxCount = maxCount, .literalSearch = false});
  BetweenAllText(page).Collect(start, end, literal, {.maxCount = maxCount});
  ASSERT_EQ(literal, engine) << "page " << Hex(page) << "| start " << Hex(start) << "| end " << Hex(end)
                             << "| max " << maxCount;
}

TEST(LiteralBetweenAll, CharacterBoundariesDecide) {
  struct Case {
    const char* name;
    Text page, start, end;
    std::vector<Text> values;
  };
  const Case cases[] = {
      {"a lead byte before '<' stands alone", "\x81<td>x</td>", "<td>", "</td>", {"x"}},
      {"a lead byte takes 't' as its trail, hiding it", "\xB5td>1</td>", "td>", "</td>", {}},
      {"the same bytes after an ASCII byte", "5td>1</td>", "td>", "</td>", {"1"}},
      {"a run of lead bytes pairs up from the last boundary", "\xB0\xA1\xB0<b>y</b>", "<b>", "</b>", {"y"}},
      {"an odd run hides the marker's first byte", "\xB0\xA1\xB0\xA1\xB0" "b>z</b>", "b>", "</b>", {}},
      {"an end marker hidden in a character is passed over", "<b>1\xB0" "b>2b>", "<b>", "b>", {"1\xB0" "b>2"}},
      {"the trail of an ideograph is not a letter", "\x81\x41x\x81\x61y\x81\x61", "\x81\x61", "\x81\x61", {"y"}},
      {"letters in either case", "<TD>a</Td><tD>b</td>", "<td>", "</TD>", {"a", "b"}},
      {"the marker word and CR LF", "title=\"v\"\n", "title=" + kQuoteWord, kQuoteWord + "\r\n", {"v"}},
      {"a lone CR in a marker is a CR", "a\rb\r", "a\r", "\r", {"b"}},
      {"an ideograph marker", Gbk("点击x点击y"), Gbk("点击"), Gbk("点击"), {"x"}},
      {"a lone lead byte before '<' comes back as '?'", "<b>\x80\xFF\x81</b>", "<b>", "</b>", {"\x80\xFF?"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextArray values;
    BetweenAllText(c.page).Collect(c.start, c.end, values);
    EXPECT_EQ(values, c.values);
    ExpectSameAsTheEngine(c.page, c.start, c.end);
  }
}

// Random pages over bytes chosen to trip a byte search: lead bytes that pair with a marker's
// first byte or hide its letters, lone lead bytes, bytes outside GBK, letters of both cases,
// ideographs with letter-like trail bytes, line breaks, the marker word and marker pieces.
TEST(LiteralBetweenAll, RandomPagesGiveTheEnginesValues) {
  const Text pieces[] = {"<",      "td",     "TD",  ">",        "</",         "t",      "d",    "D",    "x",
                         "\r",     "\n",     "\"",  "#",        kQuoteWord,    "\x81",   "\xB5", "\xFE", "\x80",
                         "\xFF",   "\xB0\xA1", "\x81\x74", "\x81\x54", "\xB5\xE3", "\xBB\xF7", Gbk("点击"), "a",
                         "?",      "(",      " ",   "\xD6\xD0"};
  const Text markers[] = {"<td>",     "</td>", "td",      "<TD>", "t",         "\xB5\xE3",     "\x81\x74",
                          "\r\n",     "\n",    kQuoteWord, "\"",  "x\r\nx",    Gbk("点击\"  title=\""),
                          "\"></a></li>", "(x)", "#",      "d>",  "\xB0\xA1" "<"};
  std::mt19937 random(20261212);
  const auto piece = [&] { return pieces[random() % std::size(pieces)]; };
  for (int round = 0; round < 20000; ++round) {
    Text page;
    for (int k = static_cast<int>(random() % 24); k > 0; --k) page += piece();
    Text start = markers[random() % std::size(markers)];
    Text end = markers[random() % std::size(markers)];
    if (random() % 4 == 0) start = piece() + piece();
    if (random() % 4 == 0) end = piece();
    ExpectSameAsTheEngine(page, start, end, random() % 3);
    if (HasFatalFailure()) return;
  }
  // Long pages: markers far apart and across the byte search's windows.
  for (int round = 0; round < 300; ++round) {
    Text page;
    for (int k = static_cast<int>(random() % 40); k > 0; --k) {
      page += random() % 3 == 0 ? Text(random() % 3000, random() % 2 == 0 ? 'z' : '\xB0') : piece();
    }
    ExpectSameAsTheEngine(page, markers[random() % std::size(markers)], markers[random() % std::size(markers)]);
    if (HasFatalFailure()) return;
  }
}

TEST(LiteralBetweenAll, MarkersAnywhereInALongPage) {
  // The byte search reads the page in windows; a marker may straddle any of their edges.
  const Text hero = Gbk("点击查看相关比赛\"  title=\"");
  for (std::size_t n = 0; n < 2200; ++n) {
    const Text filler(n, 'z');
    TextArray values;
    BetweenAllText(filler + "<td>v</td>").Collect("<td>", "</td>", values);
    ASSERT_EQ(values, (TextArray{"v"})) << n;
    BetweenAllText("<td>" + filler + "</td>").Collect("<td>", "</td>", values);
    ASSERT_EQ(values, (TextArray{filler})) << n;
    BetweenAllText(filler + hero + "h\"></a></li>").Collect(hero, "\"></a></li>", values);
    ASSERT_EQ(values, (TextArray{"h"})) << n;
  }
}

TEST(LiteralBetweenAll, AValueTooLongForTheEngineIsLeftToIt) {
  const detail::RegexBudget saved = detail::CurrentRegexBudget();
  detail::RegexBudget budget = saved;
  budget.matchLimit = 2000;
  detail::SetRegexBudget(budget);
  const Text longValue = "<td>1</td><td>" + Text(3000, 'x') + "</td>";
  const Text longRest = "<td>1</td><td>" + Text(3000, 'x');
  for (const Text& page : {longValue, longRest, Text("<td>1</td><td>" + Text(900, 'x') + "</td>")}) {
    ExpectSameAsTheEngine(page, "<td>", "</td>");
    ExpectSameAsTheEngine(page, "<td>", "</td>", 1);
  }
  TextArray values;
  EXPECT_EQ(BetweenAllText(longValue).Collect("<td>", "</td>", values), 0);  // the engine gives up
  EXPECT_EQ(BetweenAllText(longValue).Collect("<td>", "</td>", values, {.maxCount = 1}), 1);
  detail::SetRegexBudget(saved);
}

TEST(LiteralBetweenAll, FirstValuesOnly) {
  const Text page = "<td>1</td><td>2</td><TD>3</TD>";
  for (const bool literal : {true, false}) {
    TextArray values = {"stale"};
    BetweenAllText text(page);
    EXPECT_EQ(text.Collect("<td>", "</td>", values, {.maxCount = 2, .literalSearch = literal}), 2);
    EXPECT_EQ(values, (TextArray{"1", "2"}));
    EXPECT_EQ(text.Collect("<td>", "</td>", values, {.maxCount = 5, .literalSearch = literal}), 3);
    EXPECT_EQ(text.Collect("<", ">", values, {.literalSearch = literal}), 6);  // the same text searched again
  }
}

// --- the GBK reading the literal search rests on ------------------------------------------

// Every GBK character: the single bytes (but zero) and every lead byte with every trail byte.
std::vector<Text> EveryGbkCharacter() {
  std::vector<Text> all;
  for (int b = 1; b < 0x100; ++b) {
    if (b < 0x81 || b == 0xFF) all.push_back(Text(1, static_cast<char>(b)));
  }
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail != 0x7F) all.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  return all;
}

TEST(GbkReading, ALeadByteTakesOnlyATrailByte) {
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int next = 1; next < 0x100; ++next) {
      const bool trail = (next >= 0x40 && next <= 0x7E) || (next >= 0x80 && next <= 0xFE);
      const std::u16string units = detail::GbkToU16(Text{static_cast<char>(lead), static_cast<char>(next), 'A'});
      // One character with its trail byte, or the lone lead byte and the next byte read anew.
      ASSERT_EQ(units.size(), trail ? 2u : 3u) << lead << " " << next;
      ASSERT_EQ(units.back(), u'A');
      if (!trail) {
        ASSERT_EQ(units[1], detail::GbkToU16(Text(1, static_cast<char>(next)))[0]);
      }
    }
  }
}

TEST(GbkReading, LiteralCharactersComeFromOneByteSequenceAndFoldOnlyInAscii) {
  std::set<char16_t> seen;
  Text everything;
  for (const Text& ch : EveryGbkCharacter()) {
    const std::u16string units = detail::GbkToU16(ch);
    ASSERT_EQ(units.size(), 1u) << Hex(ch);
    const char16_t u = units[0];
    if (u < 0x80 || (u >= 0x4E00 && u <= 0x9FA5)) {
      EXPECT_TRUE(seen.insert(u).second) << "a second byte sequence for U+" << std::hex << int{u};
    }
    everything += ch;
  }
  EXPECT_EQ(seen.size(), 0x7Fu + (0x9FA5 - 0x4E00 + 1));  // every one of them is there
  // Case ignored, an ASCII letter matches its two cases and nothing else; other ASCII
  // characters and the ideographs match themselves only.
  for (int c = 1; c < 0x80; ++c) {
    RegexObject re;
    char pattern[16];
    std::snprintf(pattern, sizeof pattern, "\\x{%x}", c);
    ASSERT_TRUE(re.Search(pattern, everything));
    EXPECT_EQ(re.MatchCount(), std::isalpha(c) ? 2 : 1) << c;
  }
  RegexObject re;
  ASSERT_TRUE(re.Search("[\\x{4e00}-\\x{9fa5}]", everything));
  EXPECT_EQ(re.MatchCount(), 0x9FA5 - 0x4E00 + 1);
}

}  // namespace
}  // namespace brenvik
