#include "cli/command_line.h"

#include "lookup/form_names.h"

namespace brenvik::cli {
namespace {

// The text between the first "(" and the next ")", as the query cuts the short name.
std::string_view ShortName(std::string_view entry) {
  const std::size_t open = entry.find('(');
  if (open == std::string_view::npos) return {};
  const std::size_t close = entry.find(')', open + 1);
  if (close == std::string_view::npos) return {};
  return entry.substr(open + 1, close - open - 1);
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  LookupOptions options;
  std::vector<std::string> names;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      names.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = argument.find('=');
    const std::string option = argument.substr(0, equals);
    std::optional<std::string> attached;
    if (equals != std::string::npos) attached = argument.substr(equals + 1);

    std::optional<std::string>* target = nullptr;
    if (option == "--server") {
      target = &options.server;
    } else if (option == "--stats-origin") {
      target = &options.origins.statsOrigin;
    } else if (option == "--image-origin") {
      target = &options.origins.imageOrigin;
    }
    if (target != nullptr) {
      if (attached) {
        *target = *attached;
      } else if (i + 1 < arguments.size()) {
        *target = arguments[++i];
      } else {
        parsed.error = "missing value after " + option;
        return parsed;
      }
      continue;
    }

    bool* flag = nullptr;
    if (option == "-h" || option == "--help") {
      flag = &options.help;
    } else if (option == "-v" || option == "--version") {
      flag = &options.version;
    } else if (option == "--json") {
      flag = &options.json;
    } else if (option == "--demo") {
      flag = &options.demo;
    }
    if (flag == nullptr) {
      parsed.error = "unknown option " + option;
      return parsed;
    }
    if (attached) {
      parsed.error = option + " takes no value";
      return parsed;
    }
    *flag = true;
  }

  if (!options.help && !options.version) {
    if (names.size() != 1) {
      parsed.error = names.empty() ? "no NAME given" : "one NAME only, got " + std::to_string(names.size());
      return parsed;
    }
    options.name = names.front();
    if (options.demo && (options.origins.statsOrigin || options.origins.imageOrigin)) {
      parsed.error = "--demo runs the sample site itself: it takes no --stats-origin or --image-origin";
      return parsed;
    }
  }
  parsed.options = std::move(options);
  return parsed;
}

std::optional<int> FindServer(std::string_view entryOrShortName) {
  for (std::size_t i = 0; i < names::kServerEntries.size(); ++i) {
    const std::string_view entry = names::kServerEntries[i];
    if (entryOrShortName == entry || entryOrShortName == ShortName(entry)) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::string HelpText() {
  std::string text =
      "Usage: brenvik-lookup [options] NAME\n"
      "Looks a player up on the game's statistics site the way the brenvik window does, and\n"
      "writes what the window shows: one labelled line per thing, or one JSON object.\n"
      "NAME and ENTRY are read as UTF-8; the output is UTF-8.\n"
      "\n"
      "Options:\n"
      "  -h, --help            Show this help.\n"
      "  -v, --version         Show the program's version.\n"
      "  --server <ENTRY>      The server: an entry of the list below, e.g. 祖安(电信二),\n"
      "                        or its short name, e.g. 电信二. Default: the first entry.\n"
      "  --json                Write one JSON object instead of text.\n"
      "  --stats-origin <URL>  The statistics site's origin (detail pages).\n"
      "  --image-origin <URL>  The image server's origin (the promotional picture).\n"
      "  --demo                Run the bundled sample site inside the program, on a free\n"
      "                        loopback port, and look the player up there (青石过客R2,\n"
      "                        疾风之影 and 新来的小兵).\n"
      "\n"
      "Each origin is http:// or https://, a host and an optional port, e.g.\n"
      "http://stats.example:8080.\n"
      "\n"
      "Servers:\n";
  // Four a line, joined by a comma and one space (help2man reads two spaces as a column).
  for (std::size_t i = 0; i < names::kServerEntries.size(); ++i) {
    text += (i % 4 == 0 ? "  " : " ") + std::string(names::kServerEntries[i]);
    const bool last = i + 1 == names::kServerEntries.size();
    text += last ? "\n" : i % 4 == 3 ? ",\n" : ",";
  }
  text +=
      "\n"
      "Environment:\n"
      "  BRENVIK_STATS_ORIGIN  The statistics site's origin when --stats-origin is not given.\n"
      "  BRENVIK_IMAGE_ORIGIN  The image server's origin when --image-origin is not given.\n"
      "With neither option nor variable, the sample site on http://127.0.0.1:" +
      std::to_string(kSampleSitePort) +
      ".\n"
      "\n"
      "Exit status:\n"
      "  0  the player was found\n"
      "  1  the player was not found\n"
      "  2  bad usage: an unknown option or server, a bad origin, no NAME\n"
      "  3  the detail page could not be downloaded (no answer, or an empty one)\n";
  return text;
}

}  // namespace brenvik::cli
