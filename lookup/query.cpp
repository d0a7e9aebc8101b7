#include "lookup/query.h"

#include "app/pictures.h"
#include "lookup/query_internal.h"
#include "net/page_fetch.h"
#include "text/between.h"
#include "text/codepage.h"
#include "text/url.h"

namespace brenvik {
namespace {

// The window's controls, by the form's names.
constexpr std::string_view kNameBox = "编辑框1";
constexpr std::string_view kHeroCollector = "编辑框2";
constexpr std::string_view kServerList = "组合框1";
constexpr std::string_view kAvatarBox = "图片框1";
constexpr std::string_view kProfileLabel = "标签3";
constexpr std::string_view kTitleLabel = "标签4";
constexpr std::string_view kStatisticsLabel = "标签5";
constexpr std::string_view kStatusLabel = "标签6";
constexpr std::string_view kIconBoxes[5] = {"图片框2", "图片框3", "图片框4", "图片框5", "图片框6"};
constexpr std::string_view kResultLabels[5] = {"标签7", "标签8", "标签9", "标签10", "标签11"};

constexpr std::uint32_t kRed = 255;     // RGB(255,0,0)
constexpr std::uint32_t kDarkRed = 128;  // RGB(128,0,0)

// The GBK literals of the lookup, converted once from their UTF-8 spelling here.
struct Literals {
  Text likesStart = Gbk("被赞");
  Text likesEnd = Gbk("次");
  Text heroStart = Gbk("点击查看相关比赛\"  title=\"");
  Text stillWaiting = Gbk("正在查询，请稍候！！！");
  Text found = Gbk("恭喜，以查询到结果！BY：Torvane");
  Text notFound = Gbk("\r\n\r\n    查无此人，请确认后再查找，谢谢！！！");
  Text profileLevel = Gbk("\r\n玩家等级：");
  Text profileLikes = Gbk("级  被赞：");
  Text profilePower = Gbk("次  战斗力：");
  Text profileHeroes = Gbk("\r\n\r\n最近常用英雄:");
  Text modes = Gbk("\r\n模式：    ");
  Text games = Gbk("\r\n\r\n总场次：   ");
  Text winRate = Gbk("\r\n\r\n胜率:      ");
  Text winsHead = Gbk("%\r\n\r\n胜场:      ");
  Text gamesSep = Gbk("场      ");
  Text lossesHead = Gbk("场\r\n\r\n负场：      ");
  Text timeHead = Gbk("场\r\n\r\n时间： ");
  Text noData = Gbk("暂无数据！！！");
};

const Literals& L() {
  static const Literals literals;
  return literals;
}

// Cell `i` (1-based) of the page's table cells.
const Text& Cell(const TextArray& cells, int i) { return ArrayAt(cells, i); }

Text LastFive(const Text& cell) { return TextRight(cell, 5); }
Text TrimmedLastFive(const Text& cell) { return TextRight(TrimBoth(cell), 5); }
Text FirstFour(const Text& cell) { return TextLeft(cell, 4); }
// The wins are the last bytes of the win-rate cell: after page decoding, the "%</" before
// the closing tag has become one byte, so the cell runs on into the wins cell.
Text Wins(const Text& cell) { return TextRight(ReplaceText(TextRight(cell, 4), ">", " ", 1, -1, true), 3); }
Text IconAddress(const Text& cell) { return TextBetween(cell, "src=\"", "\""); }
Text BetweenTags(const Text& cell) { return TextBetween(cell, ">", "<"); }

// Fewer cells than a step needs: a step reads only cells that exist. The statistics need
// cells 1 to 15; each game's icon its own cell (22, 26, 30, 34, 38); the check cell 22; each
// result line its three cells. A step whose cells are missing writes nothing, and the steps
// after it still run, so the title is written for every found page.
constexpr int kStatisticsCells = 15;
constexpr int kFirstIconCell = 22;

int IconCell(int game) { return 18 + 4 * game; }

void ShowStatistics(Form& form, const TextArray& cells) {
  if (ArrayCount(cells) < kStatisticsCells) return;
  const auto c = [&](int i) -> const Text& { return Cell(cells, i); };
  const Literals& l = L();
  const Text four(4, ' ');
  const Text five(5, ' ');
  const Text percent = "%      ";
  const Text caption = ConcatText(
      l.modes, c(1), four, c(6), four, c(11),                                             // 1-6
      l.games, LastFive(c(2)), five, TrimmedLastFive(c(7)), five, TrimmedLastFive(c(12)),  // 7-12
      l.winRate, FirstFour(c(3)), percent, FirstFour(c(8)), percent, FirstFour(c(13)),     // 13-18
      l.winsHead, Wins(c(3)), l.gamesSep, Wins(c(8)), l.gamesSep, Wins(c(13)),             // 19-24
      l.lossesHead, c(4), l.gamesSep, c(9), l.gamesSep, c(14),                             // 25-30
      l.timeHead, TrimBoth(c(5)), " ", TrimBoth(c(10)), " ", TrimBoth(c(15)));             // 31-36
  form.SetCaption(kStatisticsLabel, caption);
}

void ShowRecentGames(Form& form, const TextArray& cells, const detail::Fetcher& fetch) {
  const int count = ArrayCount(cells);
  for (int game = 1; game <= 5; ++game) {
    if (IconCell(game) > count) continue;
    form.SetPicture(kIconBoxes[game - 1], fetch(IconAddress(Cell(cells, IconCell(game)))));
  }
  if (kFirstIconCell > count) return;
  // The first icon is downloaded once more: when the two answers differ, the site did not
  // answer steadily and the result lines are not trusted.
  const Bytes again = fetch(IconAddress(Cell(cells, kFirstIconCell)));
  if (!BytesEquals(again, form.Picture(kIconBoxes[0]))) {
    form.SetCaption(kResultLabels[0], L().noData);
    return;
  }
  for (int game = 1; game <= 5; ++game) {
    const int first = IconCell(game) + 1;
    if (first + 2 > count) continue;
    form.SetCaption(kResultLabels[game - 1], ConcatText(Cell(cells, first), "  ", BetweenTags(Cell(cells, first + 1)),
                                                        " ", TextLeft(Cell(cells, first + 2), 11)));
  }
}

}  // namespace

namespace detail {

Text DetailPageAddress(const Site& site, const Text& playerName, const Text& serverEntry) {
  const Text playerNameEncoded = UrlEncode(playerName, false, true);
  const Text serverNameEncoded = UrlEncode(TextBetween(serverEntry, "(", ")"), false, true);
  return ConcatText(site.statsOrigin, "/playerDetail.php?serverName=", serverNameEncoded, "&playerName=",
                    playerNameEncoded);
}

void RunQuery(Form& form, const Site& site, const Fetcher& fetch) {
  const Literals& l = L();

  // The request: name and server short name percent-encoded from UTF-8, every byte.
  form.SetEditText(kHeroCollector, {});
  const Text entry = form.ComboItemText(kServerList, form.ComboSelection(kServerList));
  const Text address = DetailPageAddress(site, form.EditText(kNameBox), entry);
  const Text page = UrlDecode(BytesToText(fetch(address)), true);

  // Profile values.
  const Text avatarUrl = TextBetween(page, "\"><img src=\"", "\" /></a>");
  const Text level = TextBetween(page, "<em>", "</em>");
  const Text likes = TextBetween(page, l.likesStart, l.likesEnd);
  const Text powerBlock = TextBetween(page, "<p><em><span title=", "/span></em></p>");
  const Text combatPower = TextBetween(powerBlock, ">", "<");
  const Text powerTitle = TextBetween(powerBlock, "'", "'");

  // Most-played heroes, collected in the hidden edit box.
  TextArray heroNames;
  TextBetweenAll(page, l.heroStart, "\"></a></li>", heroNames);
  for (int i = 1; i <= ArrayCount(heroNames); ++i) {
    form.EditAppendText(kHeroCollector, ConcatText(ArrayAt(heroNames, i), "   "));
  }

  // Avatar and status line: the status compares the avatar box with the promotional picture.
  form.SetPicture(kAvatarBox, fetch(avatarUrl));
  const Bytes promo = fetch(site.promoUrl);
  form.SetCaption(kStatusLabel, BytesEquals(form.Picture(kAvatarBox), promo) ? l.stillWaiting : l.found);

  TextArray cells;
  TextBetweenAll(page, "<td>", "</td>", cells);

  if (TextEquals(level, {})) {
    form.SetTextColour(kProfileLabel, kRed);
    form.SetCaption(kProfileLabel, l.notFound);
    form.SetPicture(kAvatarBox, NotFoundPicture());
    return;
  }

  form.SetTextColour(kProfileLabel, kDarkRed);
  const Text heroes = form.EditText(kHeroCollector);
  form.SetCaption(kProfileLabel, ConcatText(l.profileLevel, level, l.profileLikes, likes, l.profilePower, combatPower,
                                            l.profileHeroes, heroes));
  ShowStatistics(form, cells);
  ShowRecentGames(form, cells, fetch);
  form.SetCaption(kTitleLabel, powerTitle);
}

}  // namespace detail

void OnQueryClicked(Form& form, const Site& site) { detail::RunQuery(form, site, PageFetch); }

}  // namespace brenvik
