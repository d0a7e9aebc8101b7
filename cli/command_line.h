// brenvik-lookup's command line:
//   brenvik-lookup [--server ENTRY] [--json] [--stats-origin URL] [--image-origin URL] [--demo] NAME
// plus --help and --version. A value follows its option as the next argument or after "=";
// "--" ends the options, so that a NAME may begin with "-".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/site.h"

namespace brenvik::cli {

struct LookupOptions {
  bool help = false;
  bool version = false;
  bool json = false;
  bool demo = false;
  OriginOptions origins;
  std::optional<std::string> server;  // --server, UTF-8
  std::string name;                   // NAME, UTF-8
};

// The options, or a one-line message on what is wrong with the arguments.
struct ParsedCommandLine {
  std::optional<LookupOptions> options;
  std::string error;
};

// `arguments` without the program's name.
[[nodiscard]] ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The index in the server list of an entry ("祖安(电信二)") or of the entry with that short
// name ("电信二"), both UTF-8; nothing for any other text.
[[nodiscard]] std::optional<int> FindServer(std::string_view entryOrShortName);

// The --help text.
[[nodiscard]] std::string HelpText();

}  // namespace brenvik::cli
