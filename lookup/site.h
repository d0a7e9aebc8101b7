// Where the program finds the statistics site and the promotional picture.
#pragma once

#include "text/text.h"

namespace brenvik {

struct Site {
  Text statsOrigin;  // scheme, host and port of the statistics site, e.g. "http://127.0.0.1:18086"
  Text promoUrl;     // full address of the promotional picture
};

// The path of the promotional picture on the image server.
inline constexpr const char* kPromoPath = "/upload/adw/image/201402/1393476941256428541.jpg";

// The values compiled into the program (CMake cache variables BRENVIK_STATS_ORIGIN and
// BRENVIK_IMAGE_ORIGIN); by default the bundled sample site on loopback.
[[nodiscard]] Site DefaultSite();

}  // namespace brenvik
