#include "lookup/query_stages.h"

#include "lookup/form_names.h"
#include "lookup/not_found_picture.h"
#include "lookup/query_internal.h"
#include "regex/between_all_detail.h"
#include "text/between.h"
#include "text/codepage.h"
#include "text/url.h"

namespace brenvik {
namespace {

constexpr std::uint32_t kRed = 255;      // RGB(255,0,0)
constexpr std::uint32_t kDarkRed = 128;  // RGB(128,0,0)

// The GBK literals of the lookup, converted once from their UTF-8 spelling here.
struct Literals {
  LookupTexts texts{Gbk("正在查询，请稍候！！！"), Gbk("恭喜，以查询到结果！BY：Torvane"),
                    Gbk("\r\n\r\n    查无此人，请确认后再查找，谢谢！！！"), Gbk("暂无数据！！！")};
  Text likesStart = Gbk("被赞");
  Text likesEnd = Gbk("次");
  Text heroStart = Gbk("点击查看相关比赛\"  title=\"");
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
};

const Literals& L() {
  static const Literals literals;
  return literals;
}

// Cell `i` (1-based) of the page's table cells.
const Text& Cell(const TextArray& cells, int i) { return ArrayAt(cells, i); }

// Fewer cells than a step needs: a step reads only cells that exist. The statistics need
// cells 1 to 15; each game's icon its own cell (22, 26, 30, 34, 38); the check cell 22; each
// result line its three cells. A step whose cells are missing writes nothing, and the steps
// after it still run, so the title is written for every found page.
constexpr int kStatisticsCells = 15;

int IconCell(int game) { return 18 + 4 * game; }

}  // namespace

const LookupTexts& Texts() { return L().texts; }

const Text& StatusText(const Bytes& avatarShown, const Bytes& promo) {
  return BytesEquals(avatarShown, promo) ? Texts().stillWaiting : Texts().found;
}

std::optional<std::array<ModeStatistics, 3>> Statistics(const TextArray& cells) {
  if (ArrayCount(cells) < kStatisticsCells) return std::nullopt;
  std::array<ModeStatistics, 3> modes;
  for (int m = 0; m < 3; ++m) {
    const auto c = [&](int i) -> const Text& { return Cell(cells, 5 * m + i); };
    ModeStatistics& s = modes[static_cast<std::size_t>(m)];
    s.mode = c(1);
    s.games = TextRight(m == 0 ? c(2) : TrimBoth(c(2)), 5);
    s.winRate = TextLeft(c(3), 4);
    // The wins are the last bytes of the win-rate cell: after page decoding, the "%</" before
    // the closing tag has become one byte, so the cell runs on into the wins cell.
    s.wins = TextRight(ReplaceText(TextRight(c(3), 4), ">", " ", 1, -1, true), 3);
    s.losses = c(4);
    s.time = TrimBoth(c(5));
  }
  return modes;
}

Text StatisticsCaption(const std::array<ModeStatistics, 3>& m) {
  const Literals& l = L();
  const Text four(4, ' ');
  const Text five(5, ' ');
  const Text percent = "%      ";
  return ConcatText(l.modes, m[0].mode, four, m[1].mode, four, m[2].mode,                        // 1-6
                    l.games, m[0].games, five, m[1].games, five, m[2].games,                     // 7-12
                    l.winRate, m[0].winRate, percent, m[1].winRate, percent, m[2].winRate,       // 13-18
                    l.winsHead, m[0].wins, l.gamesSep, m[1].wins, l.gamesSep, m[2].wins,         // 19-24
                    l.lossesHead, m[0].losses, l.gamesSep, m[1].losses, l.gamesSep, m[2].losses,  // 25-30
                    l.timeHead, m[0].time, " ", m[1].time, " ", m[2].time);                      // 31-36
}

std::optional<Text> GameIconAddress(const TextArray& cells, int game) {
  if (game < 1 || game > 5 || IconCell(game) > ArrayCount(cells)) return std::nullopt;
  return TextBetween(Cell(cells, IconCell(game)), "src=\"", "\"");
}

std::optional<Text> GameLine(const TextArray& cells, int game) {
  const int first = IconCell(game) + 1;
  if (game < 1 || game > 5 || first + 2 > ArrayCount(cells)) return std::nullopt;
  return ConcatText(Cell(cells, first), "  ", TextBetween(Cell(cells, first + 1), ">", "<"), " ",
                    TextLeft(Cell(cells, first + 2), 11));
}

bool GamesTrusted(const QueryResult& result) {
  // The first icon is downloaded twice: when the two answers differ, the site did not answer
  // steadily and the result lines are not trusted.
  return result.firstIconAgain && result.icons[0] && BytesEquals(*result.firstIconAgain, *result.icons[0]);
}

namespace {

// The values of the decoded page. The table cells are collected only as far as the lookup
// reads them, so a page of millions of cells costs no more than one of 41.
PageValues CutDecodedPage(const Text& page) {
  const Literals& l = L();
  PageValues v;
  v.avatarUrl = TextBetween(page, "\"><img src=\"", "\" /></a>");
  v.level = TextBetween(page, "<em>", "</em>");
  v.likes = TextBetween(page, l.likesStart, l.likesEnd);
  const Text powerBlock = TextBetween(page, "<p><em><span title=", "/span></em></p>");
  v.combatPower = TextBetween(powerBlock, ">", "<");
  v.powerTitle = TextBetween(powerBlock, "'", "'");
  detail::BetweenAllText text(page);  // both passes search one copy
  text.Collect(l.heroStart, "\"></a></li>", v.heroNames);
  text.Collect("<td>", "</td>", v.cells, {.maxCount = kCellsRead});
  return v;
}

}  // namespace

// The decoded page of the thread's last query, kept so that the next query writes into
// memory already there instead of faulting in a fresh page-sized buffer; given back after a
// page larger than any a real player's record comes near.
constexpr std::size_t kKeptPageBytes = 16u << 20;

Text& DecodedPageBuffer() {
  thread_local Text page;
  return page;
}

void GiveBackIfLarge(Text& page) {
  if (page.capacity() > kKeptPageBytes) Text().swap(page);
}

PageValues CutPage(const Bytes& body) {
  Text& page = DecodedPageBuffer();
  detail::UrlDecodeBytesFromUtf8(body, page);
  PageValues values = CutDecodedPage(page);
  GiveBackIfLarge(page);
  return values;
}

PageValues CutPage(Bytes&& body) {
  Text& page = DecodedPageBuffer();
  detail::UrlDecodeBytesFromUtf8(body, page);
  Bytes().swap(body);  // released before the page is searched
  PageValues values = CutDecodedPage(page);
  GiveBackIfLarge(page);
  return values;
}

namespace detail {

Text DetailPageAddress(const Site& site, const Text& playerName, const Text& serverEntry) {
  // The name and the server's short name percent-encoded from UTF-8, every byte.
  const Text playerNameEncoded = UrlEncode(playerName, false, true);
  const Text serverNameEncoded = UrlEncode(TextBetween(serverEntry, "(", ")"), false, true);
  return ConcatText(site.statsOrigin, "/playerDetail.php?serverName=", serverNameEncoded, "&playerName=",
                    playerNameEncoded);
}

}  // namespace detail

QueryRequest BeginQuery(Form& form, const Site& site) {
  QueryRequest request;
  form.SetEditText(names::kHeroCollector, {});
  request.serverEntry = form.ComboItemText(names::kServerList, form.ComboSelection(names::kServerList));
  request.playerName = form.EditText(names::kNameBox);
  request.address = detail::DetailPageAddress(site, request.playerName, request.serverEntry);
  return request;
}

QueryResult FetchQuery(const QueryRequest& request, const Site& site, Downloads& downloads) {
  QueryResult result;
  const Downloads::Ticket pageTicket = downloads.Start(request.address);
  const Downloads::Ticket promoTicket = downloads.Start(site.promoUrl);
  {
    Bytes body = downloads.Take(pageTicket);
    result.pageArrived = !body.empty();
    result.page = CutPage(std::move(body));
  }  // the page's bytes are not needed past its decoding

  const PageValues& page = result.page;
  const Downloads::Ticket avatarTicket = downloads.Start(page.avatarUrl);
  std::array<std::optional<Downloads::Ticket>, 5> iconTickets;
  std::optional<Downloads::Ticket> againTicket;
  if (page.Found()) {
    for (int game = 1; game <= 5; ++game) {
      if (auto icon = GameIconAddress(page.cells, game)) iconTickets[game - 1] = downloads.Start(*icon);
    }
    // A request of its own, never the first answer again: the check that the site answers steadily.
    if (auto first = GameIconAddress(page.cells, 1)) againTicket = downloads.Start(*first);
  }
  result.avatar = downloads.Take(avatarTicket);
  result.promo = downloads.Take(promoTicket);
  for (std::size_t i = 0; i < iconTickets.size(); ++i) {
    if (iconTickets[i]) result.icons[i] = downloads.Take(*iconTickets[i]);
  }
  if (againTicket) result.firstIconAgain = downloads.Take(*againTicket);
  return result;
}

void ShowQuery(Form& form, const QueryResult& result) {
  const Literals& l = L();
  const PageValues& page = result.page;

  // Most-played heroes, collected in the hidden edit box.
  for (const Text& hero : page.heroNames) form.EditAppendText(names::kHeroCollector, ConcatText(hero, "   "));

  // Avatar and status line: the status compares the avatar box with the promotional picture.
  form.SetPicture(names::kAvatarBox, result.avatar);
  form.SetCaption(names::kStatusLabel, StatusText(form.Picture(names::kAvatarBox), result.promo));

  if (!page.Found()) {
    form.SetTextColour(names::kProfileLabel, kRed);
    form.SetCaption(names::kProfileLabel, l.texts.notFound);
    form.SetPicture(names::kAvatarBox, NotFoundPicture());
    return;
  }

  form.SetTextColour(names::kProfileLabel, kDarkRed);
  const Text heroes = form.EditText(names::kHeroCollector);
  form.SetCaption(names::kProfileLabel, ConcatText(l.profileLevel, page.level, l.profileLikes, page.likes,
                                                   l.profilePower, page.combatPower, l.profileHeroes, heroes));
  if (auto modes = Statistics(page.cells)) form.SetCaption(names::kStatisticsLabel, StatisticsCaption(*modes));

  for (std::size_t i = 0; i < result.icons.size(); ++i) {
    if (result.icons[i]) form.SetPicture(names::kIconBoxes[i], *result.icons[i]);
  }
  if (result.firstIconAgain) {
    // The box's bytes read back, as the check always compared them.
    if (!BytesEquals(*result.firstIconAgain, form.Picture(names::kIconBoxes[0]))) {
      form.SetCaption(names::kResultLabels[0], l.texts.noData);
    } else {
      for (int game = 1; game <= 5; ++game) {
        if (auto line = GameLine(page.cells, game)) form.SetCaption(names::kResultLabels[game - 1], *line);
      }
    }
  }
  form.SetCaption(names::kTitleLabel, page.powerTitle);
}

}  // namespace brenvik
