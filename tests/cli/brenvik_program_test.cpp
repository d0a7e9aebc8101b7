// The brenvik program's command line, run as a user runs it: bad origins end it with exit
// code 2 and one line naming the value before any window; --help and --version need no
// display; --demo serves the sample site while the window runs and stops it on SIGTERM.
#include <gtest/gtest.h>

#include <csignal>

#include "lookup/site.h"
#include "net/page_fetch.h"
#include "tests/cli/program_run.h"

namespace brenvik {
namespace {

using testing::EnvironmentChanges;
using testing::ProgramRun;
using testing::RunProgram;

// No display of any kind: a window that tried to open would fail loudly.
const EnvironmentChanges kNoDisplay = {{"DISPLAY", std::nullopt},
                                       {"WAYLAND_DISPLAY", std::nullopt},
                                       {"QT_QPA_PLATFORM", std::nullopt},
                                       {"BRENVIK_STATS_ORIGIN", std::nullopt},
                                       {"BRENVIK_IMAGE_ORIGIN", std::nullopt}};

EnvironmentChanges NoDisplayAnd(const EnvironmentChanges& more) {
  EnvironmentChanges env = kNoDisplay;
  env.insert(env.end(), more.begin(), more.end());
  return env;
}

TEST(BrenvikProgram, BadUsageEndsWithExitTwoAndOneLineBeforeAnyWindow) {
  const std::string tail = ": an origin is http:// or https://, a host and an optional port\n";
  const struct {
    std::vector<std::string> arguments;
    EnvironmentChanges env;
    std::string err;
  } rows[] = {
      {{"--stats-origin", "bad"}, {}, "brenvik: bad --stats-origin \"bad\"" + tail},
      {{"--stats-origin=http://stats.test/x"}, {}, "brenvik: bad --stats-origin \"http://stats.test/x\"" + tail},
      {{"--image-origin", "ftp://images.test"}, {}, "brenvik: bad --image-origin \"ftp://images.test\"" + tail},
      {{}, {{"BRENVIK_STATS_ORIGIN", "stats.test:80"}}, "brenvik: bad BRENVIK_STATS_ORIGIN \"stats.test:80\"" + tail},
      {{}, {{"BRENVIK_IMAGE_ORIGIN", "http://"}}, "brenvik: bad BRENVIK_IMAGE_ORIGIN \"http://\"" + tail},
      // The option is checked, not the variable it replaces.
      {{"--stats-origin", "http://"}, {{"BRENVIK_STATS_ORIGIN", "http://fine.test"}},
       "brenvik: bad --stats-origin \"http://\"" + tail},
      {{"--bogus"}, {}, "brenvik: Unknown option 'bogus'.\n"},
      {{"--stats-origin"}, {}, "brenvik: Missing value after '--stats-origin'.\n"},
      {{"stray"}, {}, "brenvik: unexpected argument \"stray\"\n"},
      {{"--demo", "--stats-origin", "http://stats.test"},
       {},
       "brenvik: --demo runs the sample site itself: it takes no --stats-origin or --image-origin\n"},
  };
  for (const auto& row : rows) {
    const ProgramRun run = RunProgram(BRENVIK_PROGRAM, row.arguments, NoDisplayAnd(row.env));
    EXPECT_EQ(run.exitCode, 2) << row.err;
    EXPECT_EQ(run.err, row.err);
    EXPECT_EQ(run.out, "") << row.err;
  }
}

TEST(BrenvikProgram, HelpAndVersionNeedNoDisplay) {
  const ProgramRun help = RunProgram(BRENVIK_PROGRAM, {"--help"}, kNoDisplay);
  EXPECT_EQ(help.exitCode, 0) << help.err;
  EXPECT_EQ(help.out.rfind("Usage: brenvik [options]\n", 0), 0u) << help.out;
  for (const char* mention : {"--stats-origin <URL>", "--image-origin <URL>", "--demo", "--version",
                              "BRENVIK_STATS_ORIGIN", "BRENVIK_IMAGE_ORIGIN", "Exit status:"}) {
    EXPECT_NE(help.out.find(mention), std::string::npos) << mention;
  }
  EXPECT_EQ(help.err, "");

  const ProgramRun version = RunProgram(BRENVIK_PROGRAM, {"--version"}, kNoDisplay);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "brenvik " BRENVIK_VERSION "\n");
}

TEST(BrenvikProgram, DemoServesTheSampleSiteUntilTheProgramIsStopped) {
  testing::RunningProgram program(BRENVIK_PROGRAM, {"--demo"},
                                  NoDisplayAnd({{"QT_QPA_PLATFORM", "offscreen"}}));
  const std::optional<std::string> line = program.ReadLine(std::chrono::seconds(10));
  ASSERT_TRUE(line);
  const std::string prefix = "brenvik: the sample site runs on ";
  const std::string suffix = "/ until the window closes";
  ASSERT_EQ(line->rfind(prefix, 0), 0u) << *line;
  ASSERT_GT(line->size(), prefix.size() + suffix.size());
  const std::string origin = line->substr(prefix.size(), line->size() - prefix.size() - suffix.size());
  ASSERT_EQ(ParseOrigin(origin), std::optional<Text>(origin));
  EXPECT_EQ(origin.rfind("http://127.0.0.1:", 0), 0u) << origin;

  // The demo's site answers as the sample site does: 青石过客R2 is found, with level 30.
  const Bytes page = PageFetch(origin + "/playerDetail.php?serverName=%E7%94%B5%E4%BF%A1%E4%B8%80&playerName="
                                        "%E9%9D%92%E7%9F%B3%E8%BF%87%E5%AE%A2R2");
  EXPECT_NE(std::string(page.begin(), page.end()).find("<em>30</em>"), std::string::npos);
  EXPECT_FALSE(PageFetch(origin + kPromoPath).empty());

  program.Signal(SIGTERM);
  const ProgramRun run = program.Wait(std::chrono::seconds(10));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // Stopped with the program: nobody listens there any more.
  EXPECT_TRUE(PageFetch(origin + kPromoPath).empty());
}

}  // namespace
}  // namespace brenvik
