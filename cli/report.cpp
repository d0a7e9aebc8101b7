#include "cli/report.h"

#include <vector>

#include "lookup/form_names.h"
#include "text/codepage.h"

namespace brenvik::cli {
namespace {

std::string Utf8(const Text& gbk) { return AnsiToUtf8(gbk); }

// The lines of a caption (CR LF between them, as the window writes them) without the empty ones.
std::vector<std::string> Lines(const Text& caption) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= caption.size()) {
    std::size_t end = caption.find('\n', start);
    if (end == Text::npos) end = caption.size();
    std::string line = caption.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

void AddCaption(std::string& out, const LookupForm& form, std::string_view label, std::string_view heading = {}) {
  const std::optional<Text> caption = form.Caption(label);
  if (!caption) return;
  for (const std::string& line : Lines(Utf8(*caption))) {
    out += heading;
    out += line;
    out += '\n';
  }
}

}  // namespace

std::string TextReport(const LookupForm& form, const QueryResult& result) {
  std::string out;
  AddCaption(out, form, names::kStatusLabel, "状态：");
  AddCaption(out, form, names::kProfileLabel);
  AddCaption(out, form, names::kTitleLabel, "称号：");
  AddCaption(out, form, names::kStatisticsLabel);
  if (result.page.Found() && !GamesTrusted(result) && result.firstIconAgain) {
    AddCaption(out, form, names::kResultLabels[0], "最近战绩：");
    return out;
  }
  for (std::size_t game = 0; game < names::kResultLabels.size(); ++game) {
    AddCaption(out, form, names::kResultLabels[game], "第" + std::to_string(game + 1) + "场：");
  }
  return out;
}

nlohmann::ordered_json JsonReport(const QueryRequest& request, const QueryResult& result) {
  using nlohmann::ordered_json;
  const PageValues& page = result.page;
  ordered_json out;
  out["name"] = Utf8(request.playerName);
  out["server"] = Utf8(request.serverEntry);
  out["address"] = Utf8(request.address);
  out["found"] = page.Found();
  out["status"] = Utf8(StatusText(result.avatar, result.promo));
  if (!page.Found()) {
    out["profile"] = nullptr;
    out["games"] = ordered_json::array();
    return out;
  }

  ordered_json heroes = ordered_json::array();
  for (const Text& hero : page.heroNames) heroes.push_back(Utf8(hero));
  out["profile"] = {{"avatarUrl", Utf8(page.avatarUrl)}, {"level", Utf8(page.level)},
                    {"likes", Utf8(page.likes)},         {"combatPower", Utf8(page.combatPower)},
                    {"powerTitle", Utf8(page.powerTitle)}, {"heroes", heroes}};

  if (const auto modes = Statistics(page.cells)) {
    ordered_json statistics = ordered_json::array();
    for (const ModeStatistics& m : *modes) {
      statistics.push_back({{"mode", Utf8(m.mode)},
                            {"games", Utf8(m.games)},
                            {"winRate", Utf8(m.winRate)},
                            {"wins", Utf8(m.wins)},
                            {"losses", Utf8(m.losses)},
                            {"time", Utf8(m.time)}});
    }
    out["statistics"] = statistics;
  }

  const bool trusted = GamesTrusted(result);
  ordered_json games = ordered_json::array();
  for (int game = 1; game <= 5; ++game) {
    const std::optional<Text> icon = GameIconAddress(page.cells, game);
    if (!icon) break;
    const std::optional<Text> line = trusted ? GameLine(page.cells, game) : std::nullopt;
    games.push_back({{"iconUrl", Utf8(*icon)}, {"result", line ? ordered_json(Utf8(*line)) : ordered_json()}});
  }
  out["games"] = games;
  if (result.firstIconAgain && !trusted) out["gamesNote"] = Utf8(Texts().noData);
  return out;
}

}  // namespace brenvik::cli
