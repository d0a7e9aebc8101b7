// Compiled patterns, kept per thread: the few compiled last on a thread are used again by its
// next searches (a lookup compiles the same two per query). For the interpreter a pattern
// carries a callout at every start position, so that a search can look at its deadline.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "regex/pcre2_16.h"

namespace brenvik::detail {

struct Compiled {
  pcre2_code* code = nullptr;
  std::uint32_t captureCount = 0;
  bool startCallout = false;  // callout 1 runs at every start position the interpreter tries
  ~Compiled() { pcre2_code_free(code); }
};

// The pattern compiled with `options` (for the JIT when `jit` and it compiles there), from
// this thread's cache or compiled now; null when the engine rejects the pattern.
[[nodiscard]] std::shared_ptr<const Compiled> CachedPattern(const std::u16string& pattern, std::uint32_t options,
                                                            bool jit);

}  // namespace brenvik::detail
