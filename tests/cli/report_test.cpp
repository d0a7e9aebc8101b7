// brenvik-lookup's text and JSON on the paths the sample site never takes: first-icon
// downloads that differ, and found pages with too few table cells. The query runs through
// the real stages on the command's own form, its downloads answered from memory.
#include <gtest/gtest.h>

#include <map>

#include "cli/lookup_form.h"
#include "cli/report.h"
#include "lookup/downloads.h"
#include "lookup/form_names.h"
#include "text/codepage.h"

namespace brenvik {
namespace {

const Site kSite{"http://stats.test", "http://img.test/promo.jpg"};

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

// A found player's page (UTF-8) with `statisticsRows` rows of six cells, the six unused
// cells, and `games` games of four cells.
std::string FoundPage(int statisticsRows, int games) {
  std::string page = "<a href=\"/\"><img src=\"http://img.test/avatar.jpg\" /></a><em>12</em>被赞7次"
                     "<p><em><span title='黄金'>900</span></em></p>"
                     "<li><a alt=\"点击查看相关比赛\"  title=\"亚索\"></a></li><table>";
  for (int r = 0; r < statisticsRows; ++r) page += "<tr><td>匹配赛</td><td>10</td><td>50.0%</td><td>5</td><td>5</td><td>1:00</td></tr>";
  if (games > 0) {
    for (int i = 16; i <= 21; ++i) page += "<td>-</td>";
  }
  for (int g = 1; g <= games; ++g) {
    page += "<tr><td><img src=\"http://img.test/icon" + std::to_string(g) +
            ".bmp\" /></td><td>胜利</td><td><b>匹配赛</b></td><td>2026-12-11 10:00</td></tr>";
  }
  return page + "</table>";
}

struct LookupRun {
  cli::LookupForm form{Gbk("玩家"), 0};
  QueryRequest request;
  QueryResult result;
};

// The query as brenvik-lookup runs it; the first icon answers `firstIcon` the first time
// and `firstIconAgain` the second.
void Query(LookupRun& run, const std::string& page, const std::string& firstIcon = "BM1",
           const std::string& firstIconAgain = "BM1") {
  int firstIconAsked = 0;
  SequentialDownloads downloads([&](const Text& address) -> Bytes {
    if (address.rfind(kSite.statsOrigin, 0) == 0) return B(page);
    if (address == "http://img.test/icon1.bmp") return B(firstIconAsked++ == 0 ? firstIcon : firstIconAgain);
    if (address == kSite.promoUrl) return B("promo");
    return B("BM" + address);
  });
  run.request = BeginQuery(run.form, kSite);
  run.result = FetchQuery(run.request, kSite, downloads);
  ShowQuery(run.form, run.result);
}

TEST(LookupReport, GamesNotTrustedGiveTheNoDataMessageAndNoResults) {
  LookupRun run;
  Query(run, FoundPage(3, 5), "BM1", "BM-other");
  ASSERT_EQ(run.form.Caption(names::kResultLabels[0]), Texts().noData);

  const std::string text = cli::TextReport(run.form, run.result);
  EXPECT_NE(text.find("\n最近战绩：暂无数据！！！\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("第1场"), std::string::npos) << text;

  const nlohmann::ordered_json json = cli::JsonReport(run.request, run.result);
  EXPECT_EQ(json["gamesNote"], "暂无数据！！！");
  ASSERT_EQ(json["games"].size(), 5u) << json.dump();
  for (int g = 0; g < 5; ++g) {
    EXPECT_EQ(json["games"][g]["iconUrl"], "http://img.test/icon" + std::to_string(g + 1) + ".bmp");
    EXPECT_TRUE(json["games"][g]["result"].is_null()) << json.dump();
  }
  EXPECT_EQ(json["statistics"].size(), 3u);
}

TEST(LookupReport, TrustedGamesGiveOneLinePerGameTheWindowWrites) {
  LookupRun run;
  Query(run, FoundPage(3, 2));
  const std::string text = cli::TextReport(run.form, run.result);
  EXPECT_NE(text.find("\n第1场：胜利  匹配赛 2026-12-11 \n第2场：胜利  匹配赛 2026-12-11 \n"), std::string::npos)
      << text;
  EXPECT_EQ(text.find("第3场"), std::string::npos) << text;
  const nlohmann::ordered_json json = cli::JsonReport(run.request, run.result);
  ASSERT_EQ(json["games"].size(), 2u) << json.dump();
  EXPECT_EQ(json["games"][1]["result"], "胜利  匹配赛 2026-12-11 ");
  EXPECT_FALSE(json.contains("gamesNote"));
}

TEST(LookupReport, TooFewCellsLeaveOutWhatTheWindowDoesNotWrite) {
  const struct {
    int rows, games;
    bool statistics;
  } shapes[] = {{2, 0, false}, {3, 0, true}};
  for (const auto& shape : shapes) {
    LookupRun run;
    Query(run, FoundPage(shape.rows, shape.games));
    ASSERT_TRUE(run.result.page.Found());
    EXPECT_EQ(run.form.Caption(names::kStatisticsLabel).has_value(), shape.statistics);
    const std::string text = cli::TextReport(run.form, run.result);
    EXPECT_EQ(text.find("模式：") != std::string::npos, shape.statistics) << text;
    EXPECT_EQ(text.find("最近战绩"), std::string::npos) << text;
    EXPECT_NE(text.find("\n称号：黄金\n"), std::string::npos) << text;

    const nlohmann::ordered_json json = cli::JsonReport(run.request, run.result);
    EXPECT_EQ(json.contains("statistics"), shape.statistics) << json.dump();
    EXPECT_EQ(json["games"], nlohmann::ordered_json::array()) << json.dump();
    EXPECT_FALSE(json.contains("gamesNote"));
    EXPECT_EQ(json["profile"]["heroes"], nlohmann::ordered_json::array({"亚索"}));
  }
}

}  // namespace
}  // namespace brenvik
