// A whole query as the button runs it: OnQueryClicked with the real downloads against the
// sample site on loopback (nine downloads, HTTP/1.0, a fresh connection each, overlapped in
// two rounds: the page with the promotional picture, then the pictures the page names). The
// site is started as a child process on a free port, with 0, 5 and 300 ms of latency per
// answer, to show that a query costs two round trips, not nine.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "lookup/query.h"
#include "bench/bench_form.h"
#include "lookup/site.h"
#include "text/codepage.h"

#ifndef BRENVIK_SAMPLE_SITE
#define BRENVIK_SAMPLE_SITE "brenvik-sample-site"
#endif

namespace {

// A loopback port nobody listens on right now.
int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  const int port = ntohs(addr.sin_port);
  close(fd);
  return port;
}

bool Accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  if (fd >= 0) close(fd);
  return ok;
}

// The sample site program, running until the benchmark ends.
class SampleSite {
 public:
  explicit SampleSite(int latencyMs) : port_(FreePort()) {
    if (port_ < 0) return;
    const std::string port = std::to_string(port_);
    const std::string latency = std::to_string(latencyMs);
    pid_ = fork();
    if (pid_ == 0) {
      if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(127);
      execl(BRENVIK_SAMPLE_SITE, BRENVIK_SAMPLE_SITE, "--port", port.c_str(), "--latency-ms", latency.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; pid_ > 0 && i < 500 && !up_; ++i) {
      up_ = Accepts(port_);
      if (!up_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~SampleSite() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  SampleSite(const SampleSite&) = delete;
  SampleSite& operator=(const SampleSite&) = delete;

  bool Up() const { return up_; }
  std::string Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

 private:
  int port_;
  pid_t pid_ = -1;
  bool up_ = false;
};

SampleSite& SiteWithLatency(int latencyMs) {
  static std::map<int, std::unique_ptr<SampleSite>> sites;
  auto& site = sites[latencyMs];
  if (!site) site = std::make_unique<SampleSite>(latencyMs);
  return *site;
}

void BM_QueryOverLoopback(benchmark::State& state) {
  const int latencyMs = static_cast<int>(state.range(0));
  SampleSite& sample = SiteWithLatency(latencyMs);
  if (!sample.Up()) {
    state.SkipWithError("the sample site did not start");
    return;
  }
  const brenvik::Site site{sample.Origin(), sample.Origin() + brenvik::kPromoPath};
  brenvik::bench::MemoryForm form(brenvik::Gbk("青石过客R2"));
  for (auto _ : state) {
    brenvik::OnQueryClicked(form, site);
  }
  // The query must really have found the player and fetched the pictures, or the timing
  // measures a failure.
  if (form.Caption("标签6") != brenvik::Gbk("恭喜，以查询到结果！BY：Torvane") ||
      form.Picture("图片框2").empty()) {
    state.SkipWithError("the query did not find the player over loopback");
  }
  state.SetLabel("latency " + std::to_string(latencyMs) + " ms per answer");
}

BENCHMARK(BM_QueryOverLoopback)->Arg(0)->Arg(5)->Arg(300)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
