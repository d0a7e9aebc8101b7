// The sample site program as a child process on a free loopback port, for the tests and
// benchmarks that want the whole site as it runs:
//
//   brenvik::testing::SampleSiteProcess site(BRENVIK_SAMPLE_SITE, {.latencyMs = 300});
//   if (!site.Up()) ...              // it did not start, or did not listen within 5 s
//   Site{site.Origin(), site.Origin() + kPromoPath}
//
// The constructor returns once the site accepts connections (or has given up on it); the
// destructor ends the process and waits for it, and the site dies with the process that
// started it if that one crashes. Qt-free (fork and exec), so Qt tests and benchmarks alike
// can use it. Its standard output goes to /dev/null. Start it from a thread that lives as long
// as the site (the main thread, say): the site is killed when that thread ends.
#pragma once

#include <sys/types.h>

#include <string>

namespace brenvik::testing {

struct SampleSiteOptions {
  int latencyMs = 0;  // --latency-ms: how long the site waits before every answer
};

class SampleSiteProcess {
 public:
  explicit SampleSiteProcess(std::string program, SampleSiteOptions options = {});
  ~SampleSiteProcess();
  SampleSiteProcess(const SampleSiteProcess&) = delete;
  SampleSiteProcess& operator=(const SampleSiteProcess&) = delete;

  bool Up() const { return up_; }
  int Port() const { return port_; }
  // "http://127.0.0.1:<port>"
  std::string Origin() const;

 private:
  int port_ = 0;
  pid_t pid_ = -1;
  bool up_ = false;
};

}  // namespace brenvik::testing
