// The detail pages the benchmarks run over: the sample site's own page for a found player,
// grown with more recent-game rows (and, for the page-path benchmark, news filler between
// them, as a busy real page has). The first five games stay where the lookup reads them.
#pragma once

#include <cstddef>
#include <string>

#include "tools/sample-site/pages.h"

namespace brenvik::bench {

// A found player's page on the site at `origin`, with rows (and filler) inserted before the
// recent games' table closes, until it is at least `size` bytes.
inline std::string GrownDetailPage(std::size_t size, const std::string& origin, bool withFiller = true) {
  std::string page = sample::DetailPage("艾欧尼亚", "青石过客R2", origin);
  const std::string tail = "</table>\n</body></html>\n";
  const std::size_t at = page.rfind(tail);
  std::string body = page.substr(0, at);
  const std::string row = std::string("  <tr><td><img src=\"") + origin +
                          "/pictures/hero-ahri.gif\" /></td><td>失败</td><td><span class=\"mode\">排位赛"
                          "</span></td><td>2026-11-30 22:05</td></tr>\n";
  const std::string filler =
      "  <tr><th colspan=\"4\"><a href=\"/news?id=20261130&amp;t=%E7%89%88%E6%9C%AC%E6%9B%B4%E6%96%B0\" "
      "title=\"版本更新公告\">本周英雄平衡调整：疾风剑客、九尾妖狐、寒冰射手 50% 折扣</a></th></tr>\n";
  body.reserve(size + row.size() + filler.size() + tail.size());
  while (body.size() + tail.size() < size) {
    body += row;
    if (withFiller) body += filler;
  }
  return body + tail;
}

}  // namespace brenvik::bench
