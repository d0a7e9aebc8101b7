// All texts between two markers, found with the regex object; and the escaping of a marker
// for the pattern it goes into.
#include <array>

#include "regex/regex_object.h"
#include "text/between.h"

namespace brenvik {

namespace {

// "#引号" in GBK: the marker word that stands for one double quote.
const Text kQuoteWord = "#\xD2\xFD\xBA\xC5";

}  // namespace

Text ReplaceMany(const Text& text, std::span<const ReplacePair> pairs, int count, int startPos,
                 bool caseSensitive) {
  if (startPos == 0) startPos = 1;
  Text current = text;
  for (const ReplacePair& pair : pairs) {
    current = ReplaceText(current, pair.find, pair.replacement, startPos, count, caseSensitive);
  }
  return current;
}

Text EscapeRegexLiteral(const Text& marker) {
  // The quantifier and class characters first, then grouping, braces and the marker word.
  // No replacement brings in a character a later pair looks for.
  const std::array<ReplacePair, 5> pass1{{{"?", "\\?"}, {"*", "\\*"}, {"+", "\\+"}, {"[", "\\["}, {"]", "\\]"}}};
  const std::array<ReplacePair, 5> pass2{
      {{"(", "\\("}, {")", "\\)"}, {"{", "\\{"}, {"}", "\\}"}, {kQuoteWord, "\""}}};
  Text escaped = ReplaceMany(marker, pass1);
  escaped = ReplaceMany(escaped, pass2);
  // A marker's CR LF matches a line that ends with a bare line feed.
  return ReplaceText(escaped, "\r\n", "\\n");
}

int TextBetweenAll(const Text& text, const Text& startMarker, const Text& endMarker, TextArray& results,
                   int maxLength, const Text& prefix, const Text& suffix, bool withStartMarker,
                   bool withEndMarker) {
  RegexObject regex;
  ArrayClear(results);
  const Text pattern = ConcatText(EscapeRegexLiteral(startMarker), "([\\s\\S]*?)", EscapeRegexLiteral(endMarker));
  if (!regex.Search(pattern, text)) return ArrayCount(results);
  const int n = regex.MatchCount();
  results.reserve(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    Text v = regex.SubMatchText(i, 1);
    if (maxLength != 0 && TextLength(v) > maxLength) continue;
    if (!prefix.empty() || !suffix.empty() || withStartMarker || withEndMarker) {
      v = ConcatText(withStartMarker ? startMarker : Text(), prefix, v, suffix, withEndMarker ? endMarker : Text());
    }
    results.push_back(std::move(v));  // the array owns the value, as ArrayAppend's copy would
  }
  return ArrayCount(results);
}

}  // namespace brenvik
