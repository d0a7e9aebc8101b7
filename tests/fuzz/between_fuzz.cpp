// The lookup's markers over arbitrary pages: single values and every table cell.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "regex/between_all.h"
#include "text/between.h"
#include "text/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brenvik;
  const Text page = BytesToText(Bytes(data, data + size));
  static const Text markers[][2] = {
      {"\"><img src=\"", "\" /></a>"}, {"<em>", "</em>"}, {Gbk("被赞"), Gbk("次")},
      {"<p><em><span title=", "/span></em></p>"}, {">", "<"}, {"'", "'"}, {"src=\"", "\""}, {"(", ")"}};
  for (const auto& m : markers) {
    const Text value = TextBetween(page, m[0], m[1]);
    if (value.size() > page.size()) std::abort();
  }
  TextArray cells = {"stale"};
  const int count = TextBetweenAll(page, "<td>", "</td>", cells);
  if (count != ArrayCount(cells)) std::abort();
  TextArray heroes;
  TextBetweenAll(page, Gbk("点击查看相关比赛\"  title=\""), "\"></a></li>", heroes);
  return 0;
}
