// Arbitrary markers, escaped, run over an arbitrary subject: a pattern the engine rejects
// gives no matches; nothing crashes and every match reads back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "regex/regex_object.h"
#include "regex/between_all.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brenvik;
  const Text all = BytesToText(Bytes(data, data + size));
  // The first line is the start marker, the second the end marker, the rest the subject.
  const std::size_t a = all.find('\n');
  const std::size_t b = a == Text::npos ? Text::npos : all.find('\n', a + 1);
  const Text start = all.substr(0, a);
  const Text end = a == Text::npos ? Text() : all.substr(a + 1, b == Text::npos ? Text::npos : b - a - 1);
  const Text subject = b == Text::npos ? Text() : all.substr(b + 1);

  RegexObject regex;
  const Text pattern = ConcatText(EscapeRegexLiteral(start), "([\\s\\S]*?)", EscapeRegexLiteral(end));
  const bool ok = regex.Search(pattern, subject, size % 3 == 0, size % 5 != 0, size % 7 != 0, size % 2 == 0);
  if (!ok && regex.MatchCount() != 0) std::abort();
  for (int i = 0; i <= regex.MatchCount() + 1; ++i) {
    int position = 0;
    (void)regex.MatchText(i, &position);
    (void)regex.SubMatchText(i, 1, &position);
  }
  (void)regex.SubMatchCount();
  (void)regex.ReplaceMatches("[$1]");
  // The raw input as a pattern too: rejected or not, never a crash.
  RegexObject raw;
  raw.Search(start, subject);
  (void)raw.MatchCount();
  return 0;
}
