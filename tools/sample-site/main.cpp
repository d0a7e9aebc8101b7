// brenvik-sample-site: the sample site (tools/sample-site/sample_site.h) as a program of its
// own, until it is interrupted (SIGINT or SIGTERM).
//
//   brenvik-sample-site [--port N] [--latency-ms N]
//
// --port 0 takes a free port; the first line written is "sample site on <origin>/".
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lookup/site.h"
#include "tools/sample-site/sample_site.h"

namespace {

int Flag(int argc, char** argv, const std::string& name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (argv[i] == name) return std::atoi(argv[i + 1]);
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int port = Flag(argc, argv, "--port", brenvik::kSampleSitePort);
  const int latencyMs = Flag(argc, argv, "--latency-ms", 0);
  if (port < 0 || port > 65535 || latencyMs < 0) {
    std::fprintf(stderr, "usage: brenvik-sample-site [--port 0-65535] [--latency-ms N>=0]\n");
    return 2;
  }
  // The signals are taken by sigwait below, so every thread, the site's too, blocks them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  sample::SampleSite site(latencyMs);
  if (!site.Start(port)) {
    std::fprintf(stderr, "brenvik-sample-site: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("sample site on %s/\n", site.Origin().c_str());
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stopSignals, &signal);
  site.Stop();
  return 0;
}
