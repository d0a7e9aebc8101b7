// Runs one of the project's programs as a child process, for tests of what a user sees: the
// exit code and everything written to standard output and standard error.
//
//   ProgramRun run = RunProgram(BRENVIK_LOOKUP, {"--json", "青石过客R2"}, {{"BRENVIK_STATS_ORIGIN", origin}});
//   EXPECT_EQ(run.exitCode, 0);
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brenvik::testing {

// Changes to the child's environment: a value sets the variable, nothing unsets it.
using EnvironmentChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

struct ProgramRun {
  int exitCode = -1;  // 128 + the signal's number when a signal ended it
  std::string out;
  std::string err;
};

// Runs `program` with `arguments` until it ends; after `limit` it is killed (exit code
// 128 + SIGKILL).
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const EnvironmentChanges& environment = {},
                      std::chrono::milliseconds limit = std::chrono::seconds(20));

// A program that goes on running while the test talks to it.
class RunningProgram {
 public:
  RunningProgram(const std::string& program, const std::vector<std::string>& arguments,
                 const EnvironmentChanges& environment = {});
  // Kills the program if it still runs.
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // The next line of its standard output (without the line feed), or nothing when none
  // came within `limit` or the output ended.
  std::optional<std::string> ReadLine(std::chrono::milliseconds limit);
  void Signal(int signal);
  // Waits for the end (killing it after `limit`); its exit code as in ProgramRun, and the rest
  // of its output.
  ProgramRun Wait(std::chrono::milliseconds limit = std::chrono::seconds(20));

 private:
  bool Pump(std::chrono::milliseconds limit);

  int pid_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
  std::string out_;
  std::string err_;
  std::optional<int> exitCode_;
};

}  // namespace brenvik::testing
