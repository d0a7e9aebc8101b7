// Every text between two markers, found with the regex object's engine (or, for markers that
// are plain literals, in the GBK bytes with the same result); and the escaping of a marker for
// the pattern it goes into. In a marker the marker word "#引号" stands for one double quote.
#pragma once

#include "text/text.h"

namespace brenvik {

// Every shortest run between the markers (case ignored, line breaks included), in text order,
// into `results`, which is emptied first whatever happens. Values longer than a non-zero
// `maxLength` are left out (a negative one leaves every value out). Returns the count.
// Example: TextBetweenAll("<td>1</td><TD>2</td>", "<td>", "</td>", cells) == 2.
int TextBetweenAll(const Text& text, const Text& startMarker, const Text& endMarker, TextArray& results,
                   int maxLength = 0, const Text& prefix = {}, const Text& suffix = {},
                   bool withStartMarker = false, bool withEndMarker = false);

// The marker made safe for a pattern: ? * + [ ] ( ) { } escaped, "#引号" made a double quote,
// CR LF made the escape for one line feed. "." "^" "$" "|" "\" keep their pattern meaning.
[[nodiscard]] Text EscapeRegexLiteral(const Text& marker);

}  // namespace brenvik
