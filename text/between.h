// Cutting values out of a text between two marker strings, once or for every occurrence.
// In a marker the marker word "#引号" stands for one double quote.
#pragma once

#include <span>

#include "text/text.h"

namespace brenvik {

// The bytes between the first `startMarker` at or after `startPos` and the next `endMarker`
// after it; the empty text when either is missing. Example: TextBetween("x)a(b)", "(", ")") == "b".
[[nodiscard]] Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                               int startPos = 1, bool ignoreCase = false);

// Every shortest run between the markers (case ignored, line breaks included), in text order,
// into `results`, which is emptied first whatever happens. Values longer than a non-zero
// `maxLength` are left out (a negative one leaves every value out). Returns the count.
int TextBetweenAll(const Text& text, const Text& startMarker, const Text& endMarker, TextArray& results,
                   int maxLength = 0, const Text& prefix = {}, const Text& suffix = {},
                   bool withStartMarker = false, bool withEndMarker = false);

// The marker made safe for a pattern: ? * + [ ] ( ) { } escaped, "#引号" made a double quote,
// CR LF made the escape for one line feed. "." "^" "$" "|" "\" keep their pattern meaning.
[[nodiscard]] Text EscapeRegexLiteral(const Text& marker);

struct ReplacePair {
  Text find;
  Text replacement;
};

// Up to five find-and-replace passes in order, each with ReplaceText from `startPos`
// (0: the first byte), at most `count` times per pair (negative: unlimited).
[[nodiscard]] Text ReplaceMany(const Text& text, std::span<const ReplacePair> pairs, int count = -1,
                               int startPos = 1, bool caseSensitive = false);

}  // namespace brenvik
