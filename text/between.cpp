#include "text/between.h"

#include "text/marker_word.h"

namespace brenvik {

Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker, int startPos, bool ignoreCase) {
  static const Text quoteWord(kQuoteWord);
  const Text s = ReplaceText(startMarker, quoteWord, "\"");
  const Text e = ReplaceText(endMarker, quoteWord, "\"");
  int p = FindText(text, s, startPos, ignoreCase);
  if (p == -1) return {};
  p += TextLength(s);
  const int q = FindText(text, e, p, ignoreCase);
  if (q == -1) return {};
  return TextMid(text, p, q - p);
}

}  // namespace brenvik
