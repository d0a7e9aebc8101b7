// Downloading the body of an http(s) address with one blocking HTTP/1.0 GET.
#pragma once

#include "text/text.h"

namespace brenvik {

// The body of the answer whatever its status code, after redirects; empty Bytes when no
// request could be made, or the part that arrived when the download broke off. Only http
// and https are followed; an empty address sends nothing.
[[nodiscard]] Bytes PageFetch(const Text& address);

}  // namespace brenvik
