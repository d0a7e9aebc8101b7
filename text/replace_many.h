// Several find-and-replace passes over a text, one pair after another.
#pragma once

#include <span>

#include "text/text.h"

namespace brenvik {

struct ReplacePair {
  Text find;
  Text replacement;
};

// Up to five find-and-replace passes in order, each with ReplaceText from `startPos`
// (0: the first byte), at most `count` times per pair (negative: unlimited); each pair works
// on the result of the one before. Example: ReplaceMany("ab", {{"a", "b"}, {"b", "c"}}) == "cc".
[[nodiscard]] Text ReplaceMany(const Text& text, std::span<const ReplacePair> pairs, int count = -1,
                               int startPos = 1, bool caseSensitive = false);

}  // namespace brenvik
