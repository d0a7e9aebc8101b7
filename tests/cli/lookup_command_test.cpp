// brenvik-lookup run as a script runs it, against the sample site on a free loopback port:
// its exit codes, the server it asks for, and --demo.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "lookup/site.h"
#include "tests/cli/program_run.h"
#include "tests/support/loopback_server.h"
#include "tools/sample-site/sample_site.h"

namespace brenvik {
namespace {

using testing::EnvironmentChanges;
using testing::ProgramRun;
using testing::RunProgram;

class LookupCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    site_ = new sample::SampleSite;
    ASSERT_TRUE(site_->Start());
  }
  static void TearDownTestSuite() {
    delete site_;
    site_ = nullptr;
  }

  // brenvik-lookup pointed at the sample site through the environment.
  static ProgramRun Lookup(const std::vector<std::string>& arguments, const EnvironmentChanges& more = {}) {
    EnvironmentChanges env = {{"BRENVIK_STATS_ORIGIN", site_->Origin()}, {"BRENVIK_IMAGE_ORIGIN", site_->Origin()}};
    env.insert(env.end(), more.begin(), more.end());
    return RunProgram(BRENVIK_LOOKUP, arguments, env);
  }

  static nlohmann::json Json(const ProgramRun& run) {
    return nlohmann::json::parse(run.out, nullptr, /*allow_exceptions=*/false);
  }

  static sample::SampleSite* site_;
};

sample::SampleSite* LookupCommand::site_ = nullptr;

TEST_F(LookupCommand, FoundIsZeroNotFoundIsOne) {
  const ProgramRun found = Lookup({"青石过客R2"});
  EXPECT_EQ(found.exitCode, 0) << found.err;
  EXPECT_EQ(found.err, "");
  const ProgramRun missing = Lookup({"--json", "没有这个人"});
  EXPECT_EQ(missing.exitCode, 1) << missing.err;
  EXPECT_EQ(missing.err, "");
  EXPECT_EQ(Json(missing)["found"], false);
}

TEST_F(LookupCommand, BadUsageIsTwoWithAMessageAndNoQuery) {
  const std::string origin = ": an origin is http:// or https://, a host and an optional port";
  const struct {
    std::vector<std::string> arguments;
    EnvironmentChanges env;
    std::string errStart;
  } rows[] = {
      {{}, {}, "brenvik-lookup: no NAME given"},
      {{"a", "b"}, {}, "brenvik-lookup: one NAME only, got 2"},
      {{"--bogus", "a"}, {}, "brenvik-lookup: unknown option --bogus"},
      {{"-x", "a"}, {}, "brenvik-lookup: unknown option -x"},
      {{"--json=yes", "a"}, {}, "brenvik-lookup: --json takes no value"},
      {{"a", "--server"}, {}, "brenvik-lookup: missing value after --server"},
      {{"--server", "电信九十", "a"}, {}, "brenvik-lookup: unknown server \"电信九十\"; the servers are"},
      {{"--server", "祖安", "a"}, {}, "brenvik-lookup: unknown server \"祖安\""},
      {{"--stats-origin", "stats.test", "a"}, {}, "brenvik-lookup: bad --stats-origin \"stats.test\"" + origin},
      {{"a"}, {{"BRENVIK_IMAGE_ORIGIN", "http://i.test/p"}}, "brenvik-lookup: bad BRENVIK_IMAGE_ORIGIN \"http://i.test/p\"" + origin},
      {{"--demo", "--image-origin=http://i.test", "a"}, {}, "brenvik-lookup: --demo runs the sample site itself"},
  };
  for (const auto& row : rows) {
    const ProgramRun run = Lookup(row.arguments, row.env);
    EXPECT_EQ(run.exitCode, 2) << row.errStart;
    EXPECT_EQ(run.err.rfind(row.errStart, 0), 0u) << run.err;
    EXPECT_EQ(run.out, "") << row.errStart;
  }
  // An unknown server's message lists every entry, one a line.
  const ProgramRun run = Lookup({"--server", "x", "a"});
  EXPECT_NE(run.err.find("\n  艾欧尼亚(电信一)\n  祖安(电信二)\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("\n  教育网专区(教育一)\n"), std::string::npos) << run.err;
}

TEST_F(LookupCommand, PageThatCannotBeDownloadedIsThree) {
  // Nobody listens; or a site that answers with an empty body.
  testing::LoopbackServer empty([](const std::string&, int fd) {
    testing::SendAnswer(fd, 200, {{"Content-Length", "0"}}, "");
  });
  const std::string nobody = "http://127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort());
  for (const std::string& stats : {nobody, empty.Url("")}) {
    const ProgramRun run = Lookup({"--json", "--stats-origin", stats, "青石过客R2"});
    EXPECT_EQ(run.exitCode, 3) << stats;
    EXPECT_EQ(run.err.rfind("brenvik-lookup: the detail page could not be downloaded from " + stats +
                                "/playerDetail.php?serverName=",
                            0),
              0u)
        << run.err;
    // What the window would show all the same: not found.
    const nlohmann::json json = Json(run);
    EXPECT_EQ(json["found"], false) << run.out;
    EXPECT_TRUE(json["profile"].is_null()) << run.out;
  }
}

TEST_F(LookupCommand, ServerByEntryOrShortNameAsksForTheSameAddress) {
  const std::string zuAn = site_->Origin() + "/playerDetail.php?serverName=%E7%94%B5%E4%BF%A1%E4%BA%8C&playerName=%61%62%63";
  const std::string first = site_->Origin() + "/playerDetail.php?serverName=%E7%94%B5%E4%BF%A1%E4%B8%80&playerName=%61%62%63";
  const struct {
    std::vector<std::string> arguments;
    std::string server, address;
  } rows[] = {
      {{"--json", "--server", "祖安(电信二)", "abc"}, "祖安(电信二)", zuAn},
      {{"--json", "--server=电信二", "abc"}, "祖安(电信二)", zuAn},
      {{"--json", "abc"}, "艾欧尼亚(电信一)", first},
      {{"--json", "--server", "教育一", "abc"}, "教育网专区(教育一)",
       site_->Origin() + "/playerDetail.php?serverName=%E6%95%99%E8%82%B2%E4%B8%80&playerName=%61%62%63"},
  };
  for (const auto& row : rows) {
    const ProgramRun run = Lookup(row.arguments);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const nlohmann::json json = Json(run);
    EXPECT_EQ(json["server"], row.server) << run.out;
    EXPECT_EQ(json["address"], row.address) << run.out;
    EXPECT_EQ(json["name"], "abc");
  }
}

TEST_F(LookupCommand, DashDashLetsANameBeginWithADash) {
  const ProgramRun run = Lookup({"--json", "--", "-abc"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(Json(run)["name"], "-abc");
}

TEST_F(LookupCommand, DemoFindsTheSamplePlayerWithNoOtherSite) {
  // The environment points at a dead port: --demo goes to its own site all the same.
  const std::string nobody = "http://127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort());
  const ProgramRun run = RunProgram(BRENVIK_LOOKUP, {"--demo", "--json", "青石过客R2"},
                                    {{"BRENVIK_STATS_ORIGIN", nobody}, {"BRENVIK_IMAGE_ORIGIN", nobody}});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const nlohmann::json json = Json(run);
  EXPECT_EQ(json["found"], true);
  EXPECT_EQ(json["status"], "恭喜，以查询到结果！BY：Torvane");
  EXPECT_EQ(json["profile"]["level"], "30");
  EXPECT_EQ(json["address"].get<std::string>().rfind("http://127.0.0.1:", 0), 0u);
  EXPECT_EQ(json["address"].get<std::string>().find(nobody), std::string::npos);
}

TEST_F(LookupCommand, HelpAndVersion) {
  const ProgramRun help = RunProgram(BRENVIK_LOOKUP, {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: brenvik-lookup [options] NAME\n", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("\n  艾欧尼亚(电信一), 祖安(电信二), 诺克萨斯(电信三), 班德尔城(电信四),\n"), std::string::npos)
      << help.out;
  EXPECT_NE(help.out.find(", 教育网专区(教育一)\n"), std::string::npos) << help.out;
  const ProgramRun version = RunProgram(BRENVIK_LOOKUP, {"-v"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "brenvik-lookup " BRENVIK_VERSION "\n");
}

}  // namespace
}  // namespace brenvik
