// Where the programs find the statistics site and the promotional picture: the origins a
// user gives on the command line or in the environment, or the defaults, which are the
// bundled sample site on its default port.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "text/text.h"

namespace brenvik {

struct Site {
  Text statsOrigin;  // scheme, host and port of the statistics site, e.g. "http://stats.test:8080"
  Text promoUrl;     // full address of the promotional picture
};

// The path of the promotional picture on the image server.
inline constexpr const char* kPromoPath = "/upload/adw/image/201402/1393476941256428541.jpg";

// The port the sample site listens on when it is given none; the default origins point there.
inline constexpr int kSampleSitePort = 18086;

// The environment variables that stand in for --stats-origin and --image-origin.
inline constexpr const char* kStatsOriginVariable = "BRENVIK_STATS_ORIGIN";
inline constexpr const char* kImageOriginVariable = "BRENVIK_IMAGE_ORIGIN";

// "http://127.0.0.1:<kSampleSitePort>", for both the statistics site and the image server.
[[nodiscard]] Text DefaultOrigin();
// The statistics site and the image server at their origins (no final "/"); the promotional
// picture's address is the image origin followed by kPromoPath.
[[nodiscard]] Site SiteAt(const Text& statsOrigin, const Text& imageOrigin);
// Both at DefaultOrigin().
[[nodiscard]] Site DefaultSite();

// An origin is "http://" or "https://" (in any letter case), a host and an optional port, and
// nothing after it but an optional final "/". The host is a name or IPv4 address (letters,
// digits, "-" and "_" in dot-separated labels) or an IPv6 address in brackets; the port is
// 1 to 65535. Gives the origin with the scheme in lower case and without the final "/", or
// nothing when `text` is not an origin.
// Example: ParseOrigin("HTTP://Stats.Test:8080/") == "http://Stats.Test:8080";
//          ParseOrigin("http://stats.test/cgi") == std::nullopt.
[[nodiscard]] std::optional<Text> ParseOrigin(std::string_view text);

// The origins given on a command line; an option not given is nothing.
struct OriginOptions {
  std::optional<std::string> statsOrigin = std::nullopt;  // --stats-origin
  std::optional<std::string> imageOrigin = std::nullopt;  // --image-origin
};

// Reads an environment variable: nullptr when it is not set.
using Environment = std::function<const char*(const char* name)>;
// The process's own environment (getenv).
[[nodiscard]] Environment ProcessEnvironment();

// The Site, or a one-line message that names the first bad value and where it came from.
struct SiteChoice {
  std::optional<Site> site;
  std::string error;
};

// Each origin from its option, else from its environment variable (an empty variable counts
// as not set), else DefaultOrigin(); every origin so chosen must pass ParseOrigin.
// Example: ChooseSite({.statsOrigin = "ftp://x"}, env).error ==
//          "bad --stats-origin \"ftp://x\": an origin is http:// or https://, a host and an optional port"
[[nodiscard]] SiteChoice ChooseSite(const OriginOptions& options, const Environment& environment);

}  // namespace brenvik
