// Cutting a value out of a text between two marker strings.
// In a marker the marker word "#引号" stands for one double quote.
#pragma once

#include "text/text.h"

namespace brenvik {

// The bytes between the first `startMarker` at or after `startPos` and the next `endMarker`
// after it; the empty text when either is missing. Example: TextBetween("x)a(b)", "(", ")") == "b".
[[nodiscard]] Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                               int startPos = 1, bool ignoreCase = false);

}  // namespace brenvik
