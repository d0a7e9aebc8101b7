// All texts between two markers for callers that search one text more than once (the detail
// page's hero names and table cells) or read only its first values.
//
// A marker that is a plain literal (ASCII without the pattern characters . ^ $ | \, and
// Chinese ideographs; "#引号" and CR LF as the pattern reads them) is found in the GBK
// bytes directly, where the engine would find it in their UTF-16 form: at a character
// boundary, ASCII letters in either case. Any other pair of markers, and a literal match
// long enough that the engine's work budget might give up on it, runs the regex object's
// engine over the text's UTF-16 form, made once, on first need, and shared by later passes.
// Either way the values are the bytes TextBetweenAll gives.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "text/text.h"

namespace brenvik::detail {

struct BetweenAllOptions {
  // Only the first values: TextBetweenAll's first `maxCount` (0: all of them). The search
  // stops there, so what follows them in the text costs nothing.
  std::size_t maxCount = 0;
  // False runs the engine whatever the markers are (to check the literal search against it).
  bool literalSearch = true;
};

class BetweenAllText {
 public:
  // `text` is borrowed and must outlive this object.
  explicit BetweenAllText(const Text& text) : text_(text) {}

  // Every shortest run between the markers, in text order, into `results` (emptied first),
  // as TextBetweenAll(text, startMarker, endMarker, results) gives them; returns the count.
  int Collect(const Text& startMarker, const Text& endMarker, TextArray& results,
              const BetweenAllOptions& options = {});

 private:
  bool CollectWithEngine(const Text& startMarker, const Text& endMarker, TextArray& results, std::size_t maxCount);

  const Text& text_;
  std::optional<std::u16string> units_;
};

}  // namespace brenvik::detail
