// Limits of the download, adjustable by tests so they need neither minutes nor gigabytes.
#pragma once

#include <cstddef>

namespace brenvik::detail {

struct FetchLimits {
  long connectTimeoutMs = 10'000;      // to set up the connection
  long stallTimeMs = 15'000;           // a download that moves less than 1 byte a second this long is given up
  long totalTimeoutMs = 30'000;        // no download takes longer
  std::size_t bodyCap = 64u << 20;     // bytes kept at most; the download stops there
  long maxRedirects = 10;
};

// The limits in force; tests change them and put them back.
FetchLimits& CurrentFetchLimits();

// Puts other limits in force for its lifetime and the earlier ones back after.
class ScopedFetchLimits {
 public:
  explicit ScopedFetchLimits(const FetchLimits& limits) : saved_(CurrentFetchLimits()) {
    CurrentFetchLimits() = limits;
  }
  ~ScopedFetchLimits() { CurrentFetchLimits() = saved_; }
  ScopedFetchLimits(const ScopedFetchLimits&) = delete;
  ScopedFetchLimits& operator=(const ScopedFetchLimits&) = delete;

 private:
  FetchLimits saved_;
};

}  // namespace brenvik::detail
