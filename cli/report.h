// What brenvik-lookup writes after a query: the window's captions as labelled lines, or one
// JSON object built from the same pieces the window's captions are made of. UTF-8.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "cli/lookup_form.h"
#include "lookup/query_stages.h"

namespace brenvik::cli {

// One line per thing the window shows, in this order: the status line, the profile (level,
// likes and combat power; the most-played heroes) or the not-found message, the combat-power
// title, the statistics of the three modes, and the five game lines or the no-data message.
// Captions the query did not write are left out; the empty lines of a caption too.
[[nodiscard]] std::string TextReport(const LookupForm& form, const QueryResult& result);

// {"name", "server", "address", "found", "status", "profile", "statistics", "games",
//  "gamesNote"}: "profile" is null when the player was not found; "statistics" is there when
// the window writes the statistics; "games" holds a {"iconUrl", "result"} object for each
// game whose icon cell the page has, "result" null where the window writes no line;
// "gamesNote" is there when the icon check fails (the window's no-data message).
[[nodiscard]] nlohmann::ordered_json JsonReport(const QueryRequest& request, const QueryResult& result);

}  // namespace brenvik::cli
