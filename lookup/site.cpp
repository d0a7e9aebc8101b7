#include "lookup/site.h"

#include <cstdio>
#include <cstdlib>

namespace brenvik {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsLabelChar(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_';
}

// Dot-separated labels, none of them empty.
bool IsHostName(std::string_view host) {
  if (host.empty()) return false;
  bool labelEmpty = true;
  for (const char c : host) {
    if (c == '.') {
      if (labelEmpty) return false;
      labelEmpty = true;
    } else if (IsLabelChar(c)) {
      labelEmpty = false;
    } else {
      return false;
    }
  }
  return !labelEmpty;
}

// "[...]" holding hexadecimal digits, colons and (for an embedded IPv4 tail) dots.
bool IsBracketedAddress(std::string_view host) {
  if (host.size() < 4 || host.front() != '[' || host.back() != ']') return false;
  const std::string_view inside = host.substr(1, host.size() - 2);
  if (inside.find(':') == std::string_view::npos) return false;
  for (const char c : inside) {
    if (!IsHexDigit(c) && c != ':' && c != '.') return false;
  }
  return true;
}

bool IsPort(std::string_view port) {
  if (port.empty() || port.size() > 5) return false;
  int value = 0;
  for (const char c : port) {
    if (!IsDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= 65535;
}

// `value` in double quotes, control bytes and the quote escaped, so that the message stays on
// one line whatever the value holds.
std::string Quoted(std::string_view value) {
  std::string out = "\"";
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// One origin: its option, else its variable, else the default.
std::optional<Text> ChooseOrigin(const std::optional<std::string>& option, const char* optionName,
                                 const char* variable, const Environment& environment, std::string& error) {
  std::string_view value;
  const char* source = optionName;
  if (option) {
    value = *option;
  } else if (const char* set = environment(variable); set != nullptr && *set != '\0') {
    value = set;
    source = variable;
  } else {
    return DefaultOrigin();
  }
  std::optional<Text> origin = ParseOrigin(value);
  if (!origin) {
    error = std::string("bad ") + source + " " + Quoted(value) +
            ": an origin is http:// or https://, a host and an optional port";
  }
  return origin;
}

}  // namespace

Text DefaultOrigin() { return "http://127.0.0.1:" + std::to_string(kSampleSitePort); }

Site SiteAt(const Text& statsOrigin, const Text& imageOrigin) {
  return Site{statsOrigin, ConcatText(imageOrigin, kPromoPath)};
}

Site DefaultSite() { return SiteAt(DefaultOrigin(), DefaultOrigin()); }

std::optional<Text> ParseOrigin(std::string_view text) {
  std::string scheme;
  for (const std::string_view candidate : {"http://", "https://"}) {
    if (text.size() < candidate.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < candidate.size(); ++i) {
      const char c = text[i];
      const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
      if (lower != candidate[i]) same = false;
    }
    if (same) scheme = candidate;
  }
  if (scheme.empty()) return std::nullopt;
  std::string_view rest = text.substr(scheme.size());
  if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);

  // The port's colon is the last one after a bracketed address, or the only one otherwise.
  std::string_view host = rest;
  const std::size_t bracket = rest.rfind(']');
  const std::size_t colon = rest.rfind(':');
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    host = rest.substr(0, colon);
    if (!IsPort(rest.substr(colon + 1))) return std::nullopt;
  }
  if (!IsHostName(host) && !IsBracketedAddress(host)) return std::nullopt;
  return scheme + std::string(rest);
}

Environment ProcessEnvironment() {
  return [](const char* name) -> const char* { return std::getenv(name); };
}

SiteChoice ChooseSite(const OriginOptions& options, const Environment& environment) {
  SiteChoice choice;
  const std::optional<Text> stats =
      ChooseOrigin(options.statsOrigin, "--stats-origin", kStatsOriginVariable, environment, choice.error);
  if (!stats) return choice;
  const std::optional<Text> image =
      ChooseOrigin(options.imageOrigin, "--image-origin", kImageOriginVariable, environment, choice.error);
  if (!image) return choice;
  choice.site = SiteAt(*stats, *image);
  return choice;
}

}  // namespace brenvik
