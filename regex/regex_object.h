// A small regular-expression object over PCRE2 (16-bit code units, UTF mode) running on
// GBK texts: the subject is handed to the engine as UTF-16, match values come back as GBK.
// Indexes are 1-based. A failed search (invalid pattern, engine failure, work budget spent)
// leaves no matches: MatchCount() is 0.
#pragma once

#include <memory>
#include <string>

#include "text/text.h"

namespace brenvik {

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  // A copy shares the engine and the matches and holds its own copy of the subject.
  RegexObject(const RegexObject& other);
  RegexObject& operator=(const RegexObject& other);

  // Compiles `pattern` and runs it over `text`; true when the engine gave a match collection
  // (also an empty one). '.' excludes only a line feed; with `quoteWord` every "#引号" in the
  // pattern becomes a double quote first.
  bool Search(const Text& pattern, const Text& text, bool caseSensitive = false, bool multiline = true,
              bool global = true, bool quoteWord = false);
  [[nodiscard]] Text PatternText() const;
  // The last searched text with the matches replaced ("$1" and the like substituted).
  [[nodiscard]] Text ReplaceMatches(const Text& replacement) const;
  [[nodiscard]] int MatchCount() const;
  // Match `index`; `bytePosition` gets its 0-based byte offset in the GBK text, -2 when the
  // offset cannot be found. Example: 'd' over 中文d gives -2.
  [[nodiscard]] Text MatchText(int index, int* bytePosition = nullptr) const;
  [[nodiscard]] Text SubMatchText(int matchIndex, int subIndex, int* bytePosition = nullptr) const;
  [[nodiscard]] int SubMatchCount() const;

 private:
  struct Engine;
  struct Matches;
  std::shared_ptr<Engine> engine_;
  std::shared_ptr<Matches> matches_;
  std::u16string subject_;
  // The subject converted back to GBK, made on the first byte-position request.
  mutable std::shared_ptr<const Text> subjectGbk_;

  [[nodiscard]] const Text& SubjectGbk() const;
  [[nodiscard]] int BytePosition(const Text& value, int matchIndex) const;
};

}  // namespace brenvik
