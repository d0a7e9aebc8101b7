// The sample site's player-detail pages, in UTF-8 as the statistics site writes them.
#pragma once

#include <string>

namespace sample {

// The page for a player on a server (both UTF-8); players the site does not know get a
// not-found page. `origin` is the site's own scheme, host and port, for picture addresses.
std::string DetailPage(const std::string& server, const std::string& player, const std::string& origin);

}  // namespace sample
