#include "tools/sample-site/pages.h"

#include <vector>

namespace sample {
namespace {

// Query values echoed into a page are escaped: markup in a name must not become markup of the
// page (a name holding "<em>" would otherwise make a not-found page look found), and a "%"
// must not turn into an escape that the lookup decodes.
std::string Escape(const std::string& value) {
  std::string out;
  for (const char c : value) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      case '%': out += "&#37;"; break;
      default: out += c;
    }
  }
  return out;
}

struct Mode {
  const char* name;
  const char* games;
  const char* winRate;  // written with its "%" right before the closing tag, as the site does
  const char* wins;
  const char* losses;
  const char* time;
};

struct Game {
  const char* heroPicture;  // under /pictures/
  const char* result;
  const char* mode;
  const char* when;
};

struct Player {
  const char* name;
  const char* avatar;
  const char* level;
  const char* likes;
  const char* power;
  const char* title;
  std::vector<const char*> heroes;
  Mode modes[3];
  std::vector<Game> games;
};

const std::vector<Player>& Players() {
  static const std::vector<Player> players = {
      {"青石过客R2",
       "avatar-qingshi.jpg",
       "30",
       "128",
       "5821",
       "超凡大师",
       {"疾风剑客", "九尾妖狐", "寒冰射手"},
       {{"匹配赛", "1342", "52.3%", "702", "640", " 312:05 "},
        {"排位赛", "  486 ", "48.0%", "57", "429", "118:40"},
        {"大乱斗", "97", "60.8%", "59", "38", "21:15 "}},
       {{"hero-yasuo.jpg", "胜利", "匹配赛", "2026-12-10 21:14"},
        {"hero-ahri.gif", "失败", "排位赛", "2026-12-10 19:02"},
        {"hero-ashe.bmp", "胜利", "大乱斗", "2026-12-09 22:47"},
        {"hero-garen.ico", "胜利", "匹配赛", "2026-12-09 20:30"},
        {"hero-annie.pcx", "失败", "排位赛", "2026-12-08 23:58"}}},
      {"疾风之影",
       "avatar-jifeng.gif",
       "30",
       "2046",
       "7730",
       "最强王者",
       {"影流之主", "疾风剑客"},
       {{"匹配赛", "802", "57.1%", "458", "344", "201:37"},
        {"排位赛", "1205", "61.4%", "740", "465", "388:12"},
        {"大乱斗", "44", "50.0%", "22", "22", "9:50"}},
       {{"hero-ahri.gif", "胜利", "排位赛", "2026-12-11 01:20"},
        {"hero-yasuo.jpg", "胜利", "排位赛", "2026-12-11 00:41"},
        {"hero-garen.ico", "胜利", "排位赛", "2026-12-10 23:55"},
        {"hero-annie.pcx", "失败", "排位赛", "2026-12-10 23:02"},
        {"hero-ashe.bmp", "胜利", "匹配赛", "2026-12-10 22:10"}}},
      {"新来的小兵",
       "avatar-xiaobing.bmp",
       "8",
       "3",
       "412",
       "英勇黄铜",
       {"寒冰射手"},
       {{"匹配赛", "21", "42.9%", "9", "12", "7:31"},
        {"排位赛", "0", "0.0%", "0", "0", "0:00"},
        {"大乱斗", "3", "33.3%", "1", "2", "1:02"}},
       {{"hero-ashe.bmp", "失败", "匹配赛", "2026-12-11 08:12"},
        {"hero-annie.pcx", "胜利", "匹配赛", "2026-12-11 07:40"}}},
  };
  return players;
}

std::string NotFoundPage(const std::string& server, const std::string& player) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>召唤师查询</title></head><body>\n"
         "<div class=\"notice\">在" + Escape(server) + "没有找到召唤师「" + Escape(player) + "」。</div>\n</body></html>\n";
}

}  // namespace

std::string DetailPage(const std::string& server, const std::string& player, const std::string& origin) {
  const Player* found = nullptr;
  for (const Player& p : Players()) {
    if (player == p.name) found = &p;
  }
  if (found == nullptr) return NotFoundPage(server, player);
  const Player& p = *found;
  const std::string pictures = origin + "/pictures/";
  std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + std::string(p.name) +
                     " - 召唤师详情</title></head><body>\n<div class=\"profile\">\n";
  page += "  <div class=\"avatar\"><a href=\"/player?name=" + std::string(p.name) + "\"><img src=\"" + pictures +
          p.avatar + "\" /></a></div>\n";
  page += "  <div class=\"name\">" + std::string(p.name) + " <small>" + Escape(server) + "</small></div>\n";
  page += "  <div class=\"level\">等级 <em>" + std::string(p.level) + "</em></div>\n";
  page += "  <div class=\"likes\">被赞" + std::string(p.likes) + "次</div>\n";
  page += "  <div class=\"power\"><p><em><span title='" + std::string(p.title) + "'>" + p.power +
          "</span></em></p></div>\n</div>\n";
  page += "<ul class=\"heroes\">\n";
  for (const char* hero : p.heroes) {
    page += "  <li><a href=\"/matches?hero=%E8%8B%B1%E9%9B%84\" class=\"hero\" alt=\"点击查看相关比赛\"  title=\"" +
            std::string(hero) + "\"></a></li>\n";
  }
  page += "</ul>\n<table class=\"stats\">\n  <tr><th>模式</th><th>总场次</th><th>胜率</th><th>胜场</th>"
          "<th>负场</th><th>时间</th></tr>\n";
  for (const Mode& m : p.modes) {
    page += std::string("  <tr><td>") + m.name + "</td><td>" + m.games + "</td><td>" + m.winRate + "</td><td>" +
            m.wins + "</td><td>" + m.losses + "</td><td>" + m.time + "</td></tr>\n";
  }
  page += "</table>\n<table class=\"rank\">\n  <tr><td>段位</td><td>" + std::string(p.title) +
          "</td><td>胜点</td><td>75</td><td>排名</td><td>12044</td></tr>\n</table>\n";
  page += "<table class=\"recent\">\n";
  for (const Game& g : p.games) {
    page += "  <tr><td><img src=\"" + pictures + g.heroPicture + "\" /></td><td>" + g.result +
            "</td><td><span class=\"mode\">" + g.mode + "</span></td><td>" + g.when + "</td></tr>\n";
  }
  page += "</table>\n</body></html>\n";
  return page;
}

}  // namespace sample
