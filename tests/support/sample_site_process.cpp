#include "tests/support/sample_site_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "tests/support/ports.h"

namespace brenvik::testing {
namespace {

bool Exited(pid_t pid) {
  int status = 0;
  return ::waitpid(pid, &status, WNOHANG) == pid;
}

}  // namespace

SampleSiteProcess::SampleSiteProcess(std::string program, SampleSiteOptions options)
    : port_(UnusedLoopbackPort()) {
  std::string port = std::to_string(port_);
  std::string latency = std::to_string(options.latencyMs);
  std::vector<char*> argv = {program.data(), const_cast<char*>("--port"), port.data(),
                             const_cast<char*>("--latency-ms"), latency.data(), nullptr};
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) return;
  if (pid == 0) {
    // Only async-signal-safe calls until exec: the parent may have threads. The site dies
    // with its parent, so a test that crashes or is killed leaves no site behind.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(126);
    const int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) ::dup2(devNull, STDOUT_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  pid_ = pid;
  // Up once it listens; a program that exits (a bad path, a port taken meanwhile) is not.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!up_ && std::chrono::steady_clock::now() < deadline) {
    up_ = AcceptsConnections(port_);
    if (!up_ && Exited(pid_)) {
      pid_ = -1;
      return;
    }
    if (!up_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

SampleSiteProcess::~SampleSiteProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
}

std::string SampleSiteProcess::Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

}  // namespace brenvik::testing
