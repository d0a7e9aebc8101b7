// The query with its downloads made through a transport of the caller's: the program passes
// the real downloads, tests and fuzzers answer from memory.
#pragma once

#include <functional>

#include "lookup/downloads.h"
#include "lookup/form.h"
#include "lookup/site.h"

namespace brenvik::detail {

using Fetcher = std::function<Bytes(const Text& address)>;

// BeginQuery, FetchQuery and ShowQuery in one go, on the calling thread.
void RunQuery(Form& form, const Site& site, Downloads& downloads);
// The same with one download at a time, in the order the query takes the bodies.
void RunQuery(Form& form, const Site& site, const Fetcher& fetch);

// The detail-page address for a summoner name and a server list entry, both GBK.
[[nodiscard]] Text DetailPageAddress(const Site& site, const Text& playerName, const Text& serverEntry);

}  // namespace brenvik::detail
