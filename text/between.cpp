#include "text/between.h"

#include "text/codepage.h"

namespace brenvik {

namespace {
// The marker word stands for one double quote inside a marker.
const Text& MarkerWord() {
  static const Text word = Gbk("#引号");
  return word;
}
}  // namespace

Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker, int startPos, bool ignoreCase) {
  const Text s = ReplaceText(startMarker, MarkerWord(), "\"");
  const Text e = ReplaceText(endMarker, MarkerWord(), "\"");
  int p = FindText(text, s, startPos, ignoreCase);
  if (p == -1) return {};
  p += TextLength(s);
  const int q = FindText(text, e, p, ignoreCase);
  if (q == -1) return {};
  return TextMid(text, p, q - p);
}

}  // namespace brenvik
