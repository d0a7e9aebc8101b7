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

}  // namespace brenvik::detail
