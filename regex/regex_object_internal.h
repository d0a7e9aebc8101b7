// The work budget of one RegexObject::Search, and the switch between the JIT and the
// interpreter, exposed for the tests and the benchmarks.
//
// PCRE2's match limit counts the work of one start position only: an unanchored match call
// tries every start position of the subject and resets the counter at each of them, so a
// page of many start markers and no end marker can run for minutes while no single attempt
// comes near the limit. A Search therefore hands the engine a bounded slice of start
// positions per call (PCRE2's offset limit), sizes the slice by how long the last call
// took, and checks a deadline for the whole Search after every call.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "text/text.h"

namespace brenvik::detail {

struct RegexBudget {
  // Work allowed for one start position (pcre2_set_match_limit). A lazy run between two
  // markers costs about one unit per code unit it spans, so this bounds the longest value.
  std::uint32_t matchLimit = 10'000'000;
  // Backtracking memory of the interpreter (pcre2_set_heap_limit), in KiB.
  std::uint32_t heapLimitKiB = 64 * 1024;
  // Wall-clock time for all match calls of one Search together.
  std::chrono::milliseconds deadline{1000};
  // Use the JIT when the library has one; false forces the interpreter.
  bool useJit = true;
};

// The budget Searches on the calling thread use; the default above until set.
[[nodiscard]] RegexBudget CurrentRegexBudget();
void SetRegexBudget(const RegexBudget& budget);

// Whether PCRE2 was built with a working JIT on this machine.
[[nodiscard]] bool RegexJitAvailable();

// A search in the regex object's dialect over a UTF-16 subject the caller holds, for callers
// that search one text more than once or want only its first matches.
struct UnitSearchOptions {
  bool caseSensitive = false;
  bool multiline = true;
  bool global = true;
  std::size_t maxMatches = 0;  // stop after this many matches; 0: every match
};

// Where group `group` (0: the whole match) of each match lies in `subject`, in code units;
// {kNoSpan, kNoSpan} for a group that took no part. As RegexObject::Search with the same
// options, within the thread's budget: nothing (std::nullopt) when the pattern is invalid
// or the search failed. Only the first `maxMatches` matches are looked for, so a search cut
// short that way never fails on the text after them.
inline constexpr std::uint32_t kNoSpan = 0xFFFFFFFF;
using UnitSpan = std::pair<std::uint32_t, std::uint32_t>;
[[nodiscard]] std::optional<std::vector<UnitSpan>> GroupSpans(std::u16string_view pattern,
                                                               std::u16string_view subject, std::uint32_t group,
                                                               const UnitSearchOptions& options = {});

// A sub-match's units in GBK, as SubMatchText gives them: no composite check, cut at a zero
// unit, "?" for what GBK lacks.
[[nodiscard]] Text SubMatchGbk(std::u16string_view units);

}  // namespace brenvik::detail
