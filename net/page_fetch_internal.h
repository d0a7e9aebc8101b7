// Limits of the download, adjustable by tests so they need neither minutes nor gigabytes.
#pragma once

#include <cstddef>

namespace brenvik::detail {

struct FetchLimits {
  long connectTimeoutMs = 10'000;      // to set up the connection
  long stallTimeS = 15;                // a body that moves less than 1 byte a second this long is given up
  long totalTimeoutMs = 30'000;        // no download takes longer
  std::size_t bodyCap = 64u << 20;     // bytes kept at most; the download stops there
  long maxRedirects = 10;
};

// The limits in force; tests change them and put them back.
FetchLimits& CurrentFetchLimits();

}  // namespace brenvik::detail
