// The query in stages, so that the window can run its downloads off the GUI thread:
//
//   BeginQuery  (GUI thread)  empties the hero collector, reads the name and the server
//   FetchQuery  (any thread)  downloads the page, cuts it, downloads the pictures it names
//   ShowQuery   (GUI thread)  writes every result into the form, in the handler's order
//
// Only BeginQuery and ShowQuery touch the Form; FetchQuery touches nothing but its
// arguments, so it can run on a worker while the window goes on. CutPage is the pure part:
// bytes in, values out.
#pragma once

#include <array>
#include <optional>

#include "lookup/downloads.h"
#include "lookup/form.h"
#include "lookup/site.h"

namespace brenvik {

struct QueryRequest {
  Text playerName;   // GBK, as typed
  Text serverEntry;  // GBK, the selected entry of the server list ("" when none is selected)
  Text address;      // the detail page's address
};

// The table cells the lookup reads: cells 1 to 41 (statistics 1-15, games 22-41).
inline constexpr int kCellsRead = 41;

// The values cut out of one detail page.
struct PageValues {
  Text avatarUrl;
  Text level;  // empty: the player was not found
  Text likes;
  Text combatPower;
  Text powerTitle;
  TextArray heroNames;  // the most-played heroes, in page order
  TextArray cells;      // the page's first table cells, at most kCellsRead of them

  [[nodiscard]] bool Found() const { return !level.empty(); }
};

// The detail page's bytes, percent-decoded from UTF-8 into GBK and cut.
[[nodiscard]] PageValues CutPage(const Bytes& page);

// Everything a query downloaded. A game's icon is there when its cell is; the first icon's
// second download when the first game's cell is. On the not-found path no icon is asked for.
struct QueryResult {
  bool pageArrived = false;  // the detail page's download was not empty
  PageValues page;
  Bytes avatar;
  Bytes promo;
  std::array<std::optional<Bytes>, 5> icons;
  std::optional<Bytes> firstIconAgain;
};

[[nodiscard]] QueryRequest BeginQuery(Form& form, const Site& site);
// The promotional picture is asked for together with the page; once the page is cut, the
// avatar, the hero icons and the first icon's second download together.
[[nodiscard]] QueryResult FetchQuery(const QueryRequest& request, const Site& site, Downloads& downloads);
void ShowQuery(Form& form, const QueryResult& result);

// --- the pieces of what the window shows, for ShowQuery and for other front ends ---------

// One game mode's column of the statistics caption, without the caption's padding.
struct ModeStatistics {
  Text mode;
  Text games;    // the last five bytes of the cell (trimmed first for the second and third mode)
  Text winRate;  // the first four bytes of the cell
  Text wins;     // the last three bytes of the win-rate cell, ">" made a space
  Text losses;
  Text time;  // trimmed
};

// The three modes, or nothing when the page has fewer than 15 cells.
[[nodiscard]] std::optional<std::array<ModeStatistics, 3>> Statistics(const TextArray& cells);
// The statistics caption of 标签5 built from the pieces.
[[nodiscard]] Text StatisticsCaption(const std::array<ModeStatistics, 3>& modes);
// Game 1-5's icon address, when its cell is there.
[[nodiscard]] std::optional<Text> GameIconAddress(const TextArray& cells, int game);
// Game 1-5's result line, when its three cells are there.
[[nodiscard]] std::optional<Text> GameLine(const TextArray& cells, int game);
// Whether the first icon's two downloads agree: else the result lines are not trusted.
[[nodiscard]] bool GamesTrusted(const QueryResult& result);

// The texts the lookup writes (GBK).
struct LookupTexts {
  Text stillWaiting;  // status: the avatar is the promotional picture
  Text found;         // status: an avatar of the player's own
  Text notFound;      // the red message of 标签3
  Text noData;        // 标签7 when the games are not trusted
};
[[nodiscard]] const LookupTexts& Texts();
// The status line for a result whose avatar box now holds `avatarShown`.
[[nodiscard]] const Text& StatusText(const Bytes& avatarShown, const Bytes& promo);

}  // namespace brenvik
