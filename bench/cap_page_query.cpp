// One query of a page near the download cap, the worst a hostile site can send: a found
// player's detail page grown to 60 MiB of table cells, served from a loopback server, through
// OnQueryClicked with the real download. Each query runs in a fresh process of its own, so
// its peak resident memory (VmHWM) is the whole process's for that one query and nothing
// else; the server runs in another process and holds the page there.
//
//   cap_page_query [RUNS] [MIB]      default 5 runs of a 60 MiB page
//
// Prints every run's wall time of OnQueryClicked and peak resident memory, then the medians.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_form.h"
#include "bench/bench_pages.h"
#include "lookup/query.h"
#include "lookup/site.h"
#include "text/codepage.h"

namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Answers every connection on `listenFd`: the detail page for the detail address, a small
// picture for anything else. Runs until killed.
[[noreturn]] void Serve(int listenFd, const std::string& page) {
  const std::string picture = "GIF89a picture bytes";
  for (;;) {
    const int fd = accept(listenFd, nullptr, nullptr);
    if (fd < 0) continue;
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
      const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      head.append(buffer, static_cast<std::size_t>(n));
    }
    const std::string& body = head.find("/playerDetail.php?") != std::string::npos ? page : picture;
    const std::string answer = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                               std::to_string(body.size()) + "\r\n\r\n";
    if (WriteAll(fd, answer.data(), answer.size())) WriteAll(fd, body.data(), body.size());
    close(fd);
  }
}

// The page server in a child process; returns its port, or -1.
int StartServer(std::size_t pageBytes, pid_t* pid) {
  const int listenFd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (listenFd < 0 || bind(listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listenFd, 16) != 0 || getsockname(listenFd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    return -1;
  }
  const int port = ntohs(addr.sin_port);
  int ready[2];
  if (pipe(ready) != 0) return -1;
  *pid = fork();
  if (*pid == 0) {
    close(ready[0]);
    const std::string origin = "http://127.0.0.1:" + std::to_string(port);
    const std::string page = brenvik::bench::GrownDetailPage(pageBytes, origin, false);
    const char byte = 1;
    if (write(ready[1], &byte, 1) != 1) _exit(1);
    close(ready[1]);
    Serve(listenFd, page);
  }
  close(listenFd);
  close(ready[1]);
  char byte = 0;
  const bool up = *pid > 0 && read(ready[0], &byte, 1) == 1;  // the page is built
  close(ready[0]);
  return up ? port : -1;
}

// VmHWM of this process in KiB.
long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

struct Run {
  double ms = 0;
  double peakMiB = 0;
  bool found = false;
};

// One query in a fresh child process.
Run QueryInChild(int port) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeFds[0]);
    const std::string origin = "http://127.0.0.1:" + std::to_string(port);
    const brenvik::Site site{origin, origin + brenvik::kPromoPath};
    brenvik::bench::MemoryForm form(brenvik::Gbk("青石过客R2"));
    const auto start = std::chrono::steady_clock::now();
    brenvik::OnQueryClicked(form, site);
    const auto stop = std::chrono::steady_clock::now();
    Run run;
    run.ms = std::chrono::duration<double, std::milli>(stop - start).count();
    run.peakMiB = static_cast<double>(PeakResidentKiB()) / 1024.0;
    // The page was found and its games shown, or the figures measure a failure.
    run.found = !form.Caption("标签4").empty() && !form.Picture("图片框6").empty() &&
                !form.Caption("标签11").empty();
    const bool ok = write(pipeFds[1], &run, sizeof run) == static_cast<ssize_t>(sizeof run);
    _exit(ok ? 0 : 1);
  }
  close(pipeFds[1]);
  Run run;
  if (pid < 0 || read(pipeFds[0], &run, sizeof run) != static_cast<ssize_t>(sizeof run)) run = Run{};
  close(pipeFds[0]);
  if (pid > 0) waitpid(pid, nullptr, 0);
  return run;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::size_t mib = argc > 2 ? static_cast<std::size_t>(std::max(1, std::atoi(argv[2]))) : 60;
  pid_t server = -1;
  const int port = StartServer(mib << 20, &server);
  if (port < 0) {
    std::fprintf(stderr, "the page server did not start\n");
    return 1;
  }
  std::vector<double> times;
  std::vector<double> peaks;
  bool allFound = true;
  for (int i = 0; i < runs; ++i) {
    const Run run = QueryInChild(port);
    std::printf("run %d: %8.1f ms  peak RSS %6.1f MiB (%.0f MB)%s\n", i + 1, run.ms, run.peakMiB,
                run.peakMiB * 1.048576,
                run.found ? "" : "  (the query did not find the player)");
    std::fflush(stdout);
    allFound = allFound && run.found;
    times.push_back(run.ms);
    peaks.push_back(run.peakMiB);
  }
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
  std::printf("%zu MiB page, %d runs: median %.1f ms, median peak RSS %.1f MiB (%.0f MB)\n", mib, runs,
              Median(times), Median(peaks), Median(peaks) * 1.048576);
  return allFound ? 0 : 1;
}
