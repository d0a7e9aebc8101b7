// The query against a recording form, its downloads answered from memory.
#include <gtest/gtest.h>

#include <map>

#include "lookup/not_found_picture.h"
#include "lookup/query_internal.h"
#include "tests/support/recording_form.h"
#include "text/codepage.h"

namespace brenvik {
namespace {

using testing::FormWrite;
using testing::RecordingForm;

const Site kSite{"http://stats.test", "http://img.test/promo.jpg"};

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }
Text G(const char* utf8) { return Gbk(utf8); }

// A detail page in UTF-8 as the statistics site writes it.
struct PageShape {
  bool withLevel = true;
  int games = 5;
  const char* mode1WinRate = "52.3%";
  const char* mode1Wins = "123";
};

std::string DetailPage(const PageShape& shape) {
  std::string page = "<html><body><div class=\"p\"><a href=\"/p\"><img src=\"http://img.test/avatar.jpg\" /></a>";
  if (shape.withLevel) page += "<span><em>30</em></span>";
  page += "<span>被赞 15 次</span><p><em><span title='超凡大师'>1234</span></em></p><ul>";
  for (const char* hero : {"亚索", "阿狸"}) {
    page += "<li><a href=\"#\" alt=\"点击查看相关比赛\"  title=\"";
    page += hero;
    page += "\"></a></li>";
  }
  page += "</ul><table>";
  const auto mode = [&](const char* name, const char* games, const char* rate, const char* wins, const char* losses,
                        const char* time) {
    page += std::string("<tr><td>") + name + "</td><td>" + games + "</td><td>" + rate + "</td><td>" + wins +
            "</td><td>" + losses + "</td><td>" + time + "</td></tr>";
  };
  mode("匹配赛", "1234 ", shape.mode1WinRate, shape.mode1Wins, "57", " 10:05 ");
  mode("排位赛", " 456  ", "48.0%", "57", "49", "3:20");
  mode("大乱斗", " 123456 ", "60.0%", "47", "31", "1:05 ");  // trimmed, then its last five bytes
  page += "</table><table><tr>";
  for (int i = 16; i <= 21; ++i) page += "<td>-</td>";
  page += "</tr>";
  for (int g = 1; g <= shape.games; ++g) {
    page += "<tr><td><img src=\"http://img.test/hero" + std::to_string(g) + ".bmp\" /></td><td>胜利</td>" +
            "<td><a href=\"#\">大乱斗</a></td><td>2026-12-0" + std::to_string(g) + " 20:15</td></tr>";
  }
  page += "</table></body></html>";
  return page;
}

// Answers downloads from a map and keeps the addresses asked for, in order. An empty
// address is not a request: the real download sends nothing for it.
struct FakeSite {
  std::map<Text, Bytes> answers;
  std::vector<Text> requests;
  std::map<Text, std::vector<Bytes>> sequences;  // answers that change from call to call

  detail::Fetcher Fetcher() {
    return [this](const Text& address) -> Bytes {
      if (address.empty()) return {};
      requests.push_back(address);
      if (auto it = sequences.find(address); it != sequences.end() && !it->second.empty()) {
        Bytes next = it->second.front();
        it->second.erase(it->second.begin());
        return next;
      }
      auto it = answers.find(address);
      return it == answers.end() ? Bytes() : it->second;
    };
  }
};


// The default query: 青石过客R2 on 艾欧尼亚(电信一).
const Text kDefaultPageAddress =
    "http://stats.test/playerDetail.php?serverName=%E7%94%B5%E4%BF%A1%E4%B8%80&playerName="
    "%E9%9D%92%E7%9F%B3%E8%BF%87%E5%AE%A2%52%32";

FakeSite FoundSite(const PageShape& shape = {}) {
  FakeSite site;
  site.answers[kDefaultPageAddress] = B(DetailPage(shape));
  site.answers["http://img.test/avatar.jpg"] = B("AVATAR");
  site.answers["http://img.test/promo.jpg"] = B("PROMO");
  for (int g = 1; g <= 5; ++g) site.answers["http://img.test/hero" + std::to_string(g) + ".bmp"] = B("ICON" + std::to_string(g));
  return site;
}

const Text kStatistics = G(
    "\r\n模式：    匹配赛    排位赛    大乱斗"
    "\r\n\r\n总场次：   1234      456     23456"
    "\r\n\r\n胜率:      52.3%      48.0%      60.0%"
    "\r\n\r\n胜场:      123场       57场       47场"
    "\r\n\r\n负场：      57场      49场      31场"
    "\r\n\r\n时间： 10:05 3:20 1:05");

const Text kProfile = G("\r\n玩家等级：30级  被赞： 15 次  战斗力：1234\r\n\r\n最近常用英雄:亚索   阿狸   ");

std::vector<FormWrite> FoundWrites() {
  std::vector<FormWrite> w = {
      {"text", "编辑框2", ""},
      {"append", "编辑框2", G("亚索   ")},
      {"append", "编辑框2", G("阿狸   ")},
      {"picture", "图片框1", "AVATAR"},
      {"caption", "标签6", G("恭喜，以查询到结果！BY：Torvane")},
      {"colour", "标签3", "", 128},
      {"caption", "标签3", kProfile},
      {"caption", "标签5", kStatistics},
  };
  for (int g = 1; g <= 5; ++g) w.push_back({"picture", "图片框" + std::to_string(g + 1), "ICON" + std::to_string(g)});
  for (int g = 1; g <= 5; ++g) {
    w.push_back({"caption", "标签" + std::to_string(g + 6), G("胜利  大乱斗 2026-12-0") + std::to_string(g) + " "});
  }
  w.push_back({"caption", "标签4", G("超凡大师")});
  return w;
}

TEST(Query, FoundPlayerWritesEveryControlInOrder) {
  RecordingForm form;
  FakeSite site = FoundSite();
  detail::RunQuery(form, kSite, site.Fetcher());
  EXPECT_EQ(form.Writes(), FoundWrites());
  // Page, avatar, promotional picture, five icons and the first icon again.
  ASSERT_EQ(site.requests.size(), 9u);
  EXPECT_EQ(site.requests[1], "http://img.test/avatar.jpg");
  EXPECT_EQ(site.requests[2], "http://img.test/promo.jpg");
  EXPECT_EQ(site.requests[3], "http://img.test/hero1.bmp");
  EXPECT_EQ(site.requests[7], "http://img.test/hero5.bmp");
  EXPECT_EQ(site.requests[8], "http://img.test/hero1.bmp");
}

// The profile text and the statistics caption byte for byte, spelled in GBK here rather than
// through the converter the handler's literals use.
TEST(Query, ProfileAndStatisticsAreExactGbkBytes) {
  RecordingForm form;
  FakeSite site = FoundSite();
  detail::RunQuery(form, kSite, site.Fetcher());
  EXPECT_EQ(form.Caption("标签3"),
            "\r\n\xCD\xE6\xBC\xD2\xB5\xC8\xBC\xB6\xA3\xBA" "30\xBC\xB6  \xB1\xBB\xD4\xDE\xA3\xBA 15 "
            "\xB4\xCE  \xD5\xBD\xB6\xB7\xC1\xA6\xA3\xBA" "1234\r\n\r\n\xD7\xEE\xBD\xFC\xB3\xA3\xD3\xC3\xD3\xA2"
            "\xD0\xDB:\xD1\xC7\xCB\xF7   \xB0\xA2\xC0\xEA   ");
  EXPECT_EQ(form.Caption("标签5"),
            "\r\n\xC4\xA3\xCA\xBD\xA3\xBA    \xC6\xA5\xC5\xE4\xC8\xFC    \xC5\xC5\xCE\xBB\xC8\xFC    "
            "\xB4\xF3\xC2\xD2\xB6\xB7"
            "\r\n\r\n\xD7\xDC\xB3\xA1\xB4\xCE\xA3\xBA   1234      456     23456"
            "\r\n\r\n\xCA\xA4\xC2\xCA:      52.3%      48.0%      60.0%"
            "\r\n\r\n\xCA\xA4\xB3\xA1:      123\xB3\xA1       57\xB3\xA1       47\xB3\xA1"
            "\r\n\r\n\xB8\xBA\xB3\xA1\xA3\xBA      57\xB3\xA1      49\xB3\xA1      31\xB3\xA1"
            "\r\n\r\n\xCA\xB1\xBC\xE4\xA3\xBA 10:05 3:20 1:05");
}

TEST(Query, NotFoundAfterFoundLeavesTheRestAsItWas) {
  RecordingForm form;
  FakeSite site = FoundSite();
  detail::RunQuery(form, kSite, site.Fetcher());
  form.ClearWrites();
  site.requests.clear();
  form.TypeName(G("无名氏"));  // the site answers nothing for it
  detail::RunQuery(form, kSite, site.Fetcher());
  const std::vector<FormWrite> expected = {
      {"text", "编辑框2", ""},
      {"picture", "图片框1", ""},
      {"caption", "标签6", G("恭喜，以查询到结果！BY：Torvane")},  // empty avatar, promo downloaded: unequal
      {"colour", "标签3", "", 255},
      {"caption", "标签3", G("\r\n\r\n    查无此人，请确认后再查找，谢谢！！！")},
      {"picture", "图片框1", Text(NotFoundPicture().begin(), NotFoundPicture().end())},
  };
  EXPECT_EQ(form.Writes(), expected);
  EXPECT_EQ(form.Caption("标签5"), kStatistics);
  EXPECT_EQ(form.Caption("标签4"), G("超凡大师"));
  EXPECT_EQ(form.Caption("标签11"), G("胜利  大乱斗 2026-12-05 "));
  EXPECT_LE(site.requests.size(), 3u);
}

TEST(Query, NetworkDownShowsTheWaitingLineAndNotFound) {
  RecordingForm form;
  FakeSite down;  // every download fails
  detail::RunQuery(form, kSite, down.Fetcher());
  EXPECT_EQ(form.Caption("标签6"), G("正在查询，请稍候！！！"));
  EXPECT_EQ(form.Caption("标签3"), G("\r\n\r\n    查无此人，请确认后再查找，谢谢！！！"));
  EXPECT_EQ(form.Colour("标签3"), 255u);
  EXPECT_EQ(form.Picture("图片框1"), NotFoundPicture());
  EXPECT_EQ(down.requests.size(), 2u);  // the page and the promotional picture; no avatar address
}

TEST(Query, UnequalIconCheckShowsNoDataAndKeepsTheOtherLines) {
  RecordingForm form;
  FakeSite site = FoundSite();
  detail::RunQuery(form, kSite, site.Fetcher());
  form.ClearWrites();
  site.sequences["http://img.test/hero1.bmp"] = {B("ICON1"), B("")};  // the second download fails
  detail::RunQuery(form, kSite, site.Fetcher());
  EXPECT_EQ(form.Caption("标签7"), G("暂无数据！！！"));
  for (const auto& w : form.Writes()) {
    for (const char* kept : {"标签8", "标签9", "标签10", "标签11"}) EXPECT_NE(w.control, kept);
  }
  EXPECT_EQ(form.Caption("标签8"), G("胜利  大乱斗 2026-12-02 "));
  EXPECT_EQ(form.Writes().back(), (FormWrite{"caption", "标签4", G("超凡大师")}));
}

TEST(Query, WinsAreReadFromTheEndOfTheWinRateCell) {
  struct Case {
    const char* rate;
    const char* wins;
    const char* shownRate;
    const char* shownWins;
  };
  const Case cases[] = {{"52.3%", "123", "52.3%", "123场"}, {"48.0%", "57", "48.0%", " 57场"}};
  for (const auto& c : cases) {
    RecordingForm form;
    PageShape shape;
    shape.mode1WinRate = c.rate;
    shape.mode1Wins = c.wins;
    FakeSite site = FoundSite(shape);
    detail::RunQuery(form, kSite, site.Fetcher());
    const Text caption = form.Caption("标签5");
    EXPECT_NE(caption.find(G("胜率:      ") + c.shownRate), Text::npos) << c.rate;
    EXPECT_NE(caption.find(G("胜场:      ") + G(c.shownWins)), Text::npos) << c.rate;
  }
}

TEST(Query, AddressEncodesEveryByteOfServerAndName) {
  const Text zuAn = G("祖安(电信二)");
  EXPECT_EQ(detail::DetailPageAddress(kSite, "abc", zuAn),
            "http://stats.test/playerDetail.php?serverName=%E7%94%B5%E4%BF%A1%E4%BA%8C&playerName=%61%62%63");
  EXPECT_EQ(detail::DetailPageAddress(kSite, G("青石"), zuAn),
            "http://stats.test/playerDetail.php?serverName=%E7%94%B5%E4%BF%A1%E4%BA%8C&playerName=%E9%9D%92%E7%9F%B3");
  EXPECT_EQ(detail::DetailPageAddress(kSite, "", "no parentheses"),
            "http://stats.test/playerDetail.php?serverName=&playerName=");

  // Through the form: entry 1 is 祖安(电信二); no selection sends an empty server name.
  RecordingForm form;
  FakeSite site;
  form.TypeName("abc");
  form.Select(1);
  detail::RunQuery(form, kSite, site.Fetcher());
  ASSERT_FALSE(site.requests.empty());
  EXPECT_EQ(site.requests[0],
            "http://stats.test/playerDetail.php?serverName=%E7%94%B5%E4%BF%A1%E4%BA%8C&playerName=%61%62%63");
  form.Select(-1);
  site.requests.clear();
  detail::RunQuery(form, kSite, site.Fetcher());
  EXPECT_EQ(site.requests[0], "http://stats.test/playerDetail.php?serverName=&playerName=%61%62%63");
}

TEST(Query, FewerCellsWriteWhatTheyHaveAndStillTheTitle) {
  RecordingForm form;
  PageShape shape;
  shape.games = 2;
  FakeSite site = FoundSite(shape);
  detail::RunQuery(form, kSite, site.Fetcher());
  EXPECT_EQ(form.Picture("图片框3"), B("ICON2"));
  EXPECT_TRUE(form.Picture("图片框4").empty());
  EXPECT_EQ(form.Caption("标签8"), G("胜利  大乱斗 2026-12-02 "));
  EXPECT_EQ(form.Caption("标签9"), "");
  EXPECT_EQ(form.Writes().back(), (FormWrite{"caption", "标签4", G("超凡大师")}));
  EXPECT_EQ(site.requests.size(), 3u + 2u + 1u);

  // Not even the statistics table: only the profile and the title are written.
  RecordingForm bare;
  FakeSite tiny;
  tiny.answers = site.answers;
  tiny.answers[kDefaultPageAddress] = B("<em>7</em><td>only</td>");
  detail::RunQuery(bare, kSite, tiny.Fetcher());
  EXPECT_EQ(bare.Caption("标签5"), "");
  EXPECT_EQ(bare.Colour("标签3"), 128u);
  EXPECT_EQ(bare.Writes().back(), (FormWrite{"caption", "标签4", ""}));
}

}  // namespace
}  // namespace brenvik
