#include "text/replace_many.h"

namespace brenvik {

Text ReplaceMany(const Text& text, std::span<const ReplacePair> pairs, int count, int startPos,
                 bool caseSensitive) {
  if (startPos == 0) startPos = 1;
  Text current = text;
  for (const ReplacePair& pair : pairs) {
    current = ReplaceText(current, pair.find, pair.replacement, startPos, count, caseSensitive);
  }
  return current;
}

}  // namespace brenvik
