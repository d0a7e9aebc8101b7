// brenvik-lookup: the window's query from a terminal or a script, on the Qt-free core.
// See HelpText() in cli/command_line.cpp for the options and the exit status.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/lookup_form.h"
#include "cli/report.h"
#include "lookup/downloads.h"
#include "lookup/form_names.h"
#include "lookup/query_stages.h"
#include "text/codepage.h"
#include "tools/sample-site/sample_site.h"

#ifndef BRENVIK_VERSION
#error "BRENVIK_VERSION is set by the build"
#endif

namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kBadUsage = 2;
constexpr int kNoPage = 3;

void Say(std::FILE* to, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), to);
  std::fflush(to);
}

int Fail(int code, const std::string& message) {
  Say(stderr, "brenvik-lookup: " + message + "\n");
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace brenvik;
  const cli::ParsedCommandLine parsed = cli::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) return Fail(kBadUsage, parsed.error + " (see brenvik-lookup --help)");
  const cli::LookupOptions& options = *parsed.options;
  if (options.help) {
    Say(stdout, cli::HelpText());
    return EXIT_SUCCESS;
  }
  if (options.version) {
    Say(stdout, "brenvik-lookup " BRENVIK_VERSION "\n");
    return EXIT_SUCCESS;
  }

  int server = 0;  // the list's first entry, as in the window
  if (options.server) {
    const std::optional<int> found = cli::FindServer(*options.server);
    if (!found) {
      std::string message = "unknown server \"" + *options.server + "\"; the servers are (entry or short name):";
      for (std::string_view entry : names::kServerEntries) message += "\n  " + std::string(entry);
      return Fail(kBadUsage, message);
    }
    server = *found;
  }

  sample::SampleSite demoSite;
  Site site;
  if (options.demo) {
    if (!demoSite.Start()) return Fail(kNoPage, "the sample site could not start on 127.0.0.1");
    site = SiteAt(demoSite.Origin(), demoSite.Origin());
  } else {
    const SiteChoice choice = ChooseSite(options.origins, ProcessEnvironment());
    if (!choice.site) return Fail(kBadUsage, choice.error);
    site = *choice.site;
  }

  cli::LookupForm form(Gbk(options.name), server);
  NetworkDownloads downloads;
  const QueryRequest request = BeginQuery(form, site);
  const QueryResult result = FetchQuery(request, site, downloads);
  ShowQuery(form, result);

  if (options.json) {
    Say(stdout, cli::JsonReport(request, result).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
  } else {
    Say(stdout, cli::TextReport(form, result));
  }
  if (!result.pageArrived) return Fail(kNoPage, "the detail page could not be downloaded from " + request.address);
  return result.page.Found() ? kFound : kNotFound;
}
