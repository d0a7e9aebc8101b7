// The bounded match loop of a search. PCRE2's match limit counts the work of one start
// position only, so a search hands the engine a bounded slice of start positions per call,
// sizes the slice by how long the last call took, and looks at a deadline for the whole
// search between calls (and, on the interpreter, at every start position through a callout).
#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>
#include <vector>

#include "regex/pattern_cache.h"
#include "regex/pcre2_16.h"
#include "regex/regex_object_internal.h"

namespace brenvik::detail {

using Clock = std::chrono::steady_clock;

// The budget the calling thread's searches use.
[[nodiscard]] RegexBudget& ThreadBudget();
// Whether PCRE2 has a working JIT here.
[[nodiscard]] bool JitAvailable();

// The deadline as the start-position callout sees it.
struct Deadline {
  Clock::time_point at;
};

// A match context carrying the budget's limits, the thread's JIT stack and, for a pattern
// with the start callout, the deadline.
struct MatchContext {
  pcre2_match_context* ctx = pcre2_match_context_create(nullptr);
  Deadline deadline;
  MatchContext(const RegexBudget& budget, const Compiled& compiled);
  ~MatchContext() { pcre2_match_context_free(ctx); }
  MatchContext(const MatchContext&) = delete;
  MatchContext& operator=(const MatchContext&) = delete;
};

// The offsets of every match of `compiled` in `subject` (only the first unless `global`, at
// most `maxMatches` unless that is 0), within the thread's budget. False when the engine
// failed or the budget ran out; `offsets` is then empty.
[[nodiscard]] bool RunMatches(const Compiled& compiled, std::u16string_view subject, bool global,
                              std::vector<std::uint32_t>& offsets, std::size_t maxMatches = 0);

}  // namespace brenvik::detail
