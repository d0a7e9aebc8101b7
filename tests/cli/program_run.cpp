#include "tests/cli/program_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>

extern char** environ;

namespace brenvik::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> ChildEnvironment(const EnvironmentChanges& changes) {
  std::map<std::string, std::string> variables;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::size_t equals = entry.find('=');
    if (equals != std::string::npos) variables[entry.substr(0, equals)] = entry.substr(equals + 1);
  }
  for (const auto& [name, value] : changes) {
    if (value) {
      variables[name] = *value;
    } else {
      variables.erase(name);
    }
  }
  std::vector<std::string> out;
  for (const auto& [name, value] : variables) out.push_back(name + "=" + value);
  return out;
}

int ExitCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& arguments,
                               const EnvironmentChanges& environment) {
  int out[2];
  int err[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return;
  if (::pipe2(err, O_CLOEXEC) != 0) {
    ::close(out[0]);
    ::close(out[1]);
    return;
  }
  // Everything the child needs is made before fork: the child only redirects and execs.
  std::vector<std::string> env = ChildEnvironment(environment);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = {program};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    const int devNull = ::open("/dev/null", O_RDONLY);
    ::dup2(devNull, STDIN_FILENO);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  outFd_ = out[0];
  errFd_ = err[0];
}

RunningProgram::~RunningProgram() {
  if (pid_ > 0 && !exitCode_) {
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  if (outFd_ >= 0) ::close(outFd_);
  if (errFd_ >= 0) ::close(errFd_);
}

// Reads what the child wrote within `limit`; false when both outputs have ended.
bool RunningProgram::Pump(std::chrono::milliseconds limit) {
  pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
  if (outFd_ < 0 && errFd_ < 0) return false;
  if (::poll(fds, 2, static_cast<int>(limit.count())) <= 0) return true;
  for (pollfd& p : fds) {
    if (p.fd < 0 || (p.revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
    char buffer[4096];
    const ssize_t n = ::read(p.fd, buffer, sizeof buffer);
    std::string& into = p.fd == outFd_ ? out_ : err_;
    if (n > 0) {
      into.append(buffer, static_cast<std::size_t>(n));
    } else {
      ::close(p.fd);
      (p.fd == outFd_ ? outFd_ : errFd_) = -1;
    }
  }
  return true;
}

std::optional<std::string> RunningProgram::ReadLine(std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  for (;;) {
    const std::size_t newline = out_.find('\n');
    if (newline != std::string::npos) {
      std::string line = out_.substr(0, newline);
      out_.erase(0, newline + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0 || outFd_ < 0 || !Pump(left)) return std::nullopt;
  }
}

void RunningProgram::Signal(int signal) {
  if (pid_ > 0 && !exitCode_) ::kill(pid_, signal);
}

ProgramRun RunningProgram::Wait(std::chrono::milliseconds limit) {
  ProgramRun run;
  if (pid_ <= 0) return run;
  const auto end = Clock::now() + limit;
  while (outFd_ >= 0 || errFd_ >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0) {
      ::kill(pid_, SIGKILL);
      break;
    }
    Pump(std::min(left, std::chrono::milliseconds(100)));
  }
  if (!exitCode_) {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    exitCode_ = ExitCode(status);
  }
  run.exitCode = *exitCode_;
  run.out = std::move(out_);
  run.err = std::move(err_);
  return run;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const EnvironmentChanges& environment, std::chrono::milliseconds limit) {
  RunningProgram running(program, arguments, environment);
  return running.Wait(limit);
}

}  // namespace brenvik::testing
