// The query with its downloads made through a function of the caller's: the program passes
// PageFetch, tests and fuzzers answer from memory.
#pragma once

#include <functional>

#include "lookup/form.h"
#include "lookup/site.h"

namespace brenvik::detail {

using Fetcher = std::function<Bytes(const Text& address)>;

void RunQuery(Form& form, const Site& site, const Fetcher& fetch);

// The detail-page address for a summoner name and a server list entry, both GBK.
[[nodiscard]] Text DetailPageAddress(const Site& site, const Text& playerName, const Text& serverEntry);

}  // namespace brenvik::detail
