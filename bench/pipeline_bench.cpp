// The page path of one query without the network: the download handed over from memory,
// BytesToText, UrlDecode(page, true), every text between markers the lookup reads and its
// two all-texts-between passes. Beside it, the cost of merely reading the page: one
// memchr/memmem pass over the same bytes finding every cell.
//
// Page kinds (the benchmark argument): 0 the sample site's detail page grown to 150 KB,
// 1 to 1 MB, 2 to 10 MB (more recent-game rows and news filler, as a busy real page has),
// 3 the hostile 1 MB page of 20,000 "<td>" with no "</td>".
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <string_view>

#include "lookup/query_internal.h"
#include "lookup/query_stages.h"
#include "bench/bench_form.h"
#include "bench/bench_pages.h"
#include "lookup/site.h"
#include "regex/between_all.h"
#include "text/between.h"
#include "text/codepage.h"
#include "text/text.h"
#include "text/url.h"

namespace {

using brenvik::Bytes;
using brenvik::Text;
using brenvik::TextArray;

using brenvik::bench::GrownDetailPage;

// The sample site's address, as the program's default origin gives it.
const std::string kOrigin = brenvik::DefaultOrigin();

std::string PathologicalPage() {
  std::string page;
  page.reserve(1 << 20);
  const std::string cell = "<td>" + std::string("战绩 52.3% 胜率 abcdefghijklmnopqrstuvwxyz01");
  for (int i = 0; i < 20000; ++i) page += cell;
  return page;
}

const std::string& PageOfKind(int kind) {
  static const std::string pages[] = {GrownDetailPage(150 << 10, kOrigin), GrownDetailPage(1 << 20, kOrigin),
                                      GrownDetailPage(10 << 20, kOrigin), PathologicalPage()};
  return pages[kind];
}

Bytes AsBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

void Label(benchmark::State& state, const std::string& page) {
  static const char* names[] = {"150KB", "1MB", "10MB", "20000-open-td"};
  state.SetLabel(names[state.range(0)]);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}

// The whole handler: the detail page from memory, every picture a small fixed answer.
void BM_RunQuery(benchmark::State& state) {
  const Bytes page = AsBytes(PageOfKind(static_cast<int>(state.range(0))));
  const Bytes picture = AsBytes("GIF89a picture bytes");
  const brenvik::Site site{kOrigin, std::string(kOrigin) + brenvik::kPromoPath};
  const brenvik::detail::Fetcher fetch = [&](const Text& address) {
    return address.find("/playerDetail.php?") != Text::npos ? page : picture;
  };
  brenvik::bench::MemoryForm form(brenvik::Gbk("青石过客R2"));
  for (auto _ : state) {
    brenvik::detail::RunQuery(form, site, fetch);
    benchmark::ClobberMemory();
  }
  if (form.Caption(brenvik::names::kTitleLabel).empty() && state.range(0) != 3) state.SkipWithError("the query found no player");
  Label(state, PageOfKind(static_cast<int>(state.range(0))));
}

// The pure stage of a query: the page decoded and every value cut.
void BM_CutPage(benchmark::State& state) {
  const Bytes page = AsBytes(PageOfKind(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    brenvik::PageValues values = brenvik::CutPage(page);
    benchmark::DoNotOptimize(values.cells.data());
  }
  Label(state, PageOfKind(static_cast<int>(state.range(0))));
}

// The same steps one by one, with the markers the lookup uses.
struct Markers {
  Text avatarStart = brenvik::Gbk("\"><img src=\"");
  Text avatarEnd = brenvik::Gbk("\" /></a>");
  Text levelStart = brenvik::Gbk("<em>");
  Text levelEnd = brenvik::Gbk("</em>");
  Text likesStart = brenvik::Gbk("被赞");
  Text likesEnd = brenvik::Gbk("次");
  Text powerStart = brenvik::Gbk("<p><em><span title=");
  Text powerEnd = brenvik::Gbk("/span></em></p>");
  Text heroStart = brenvik::Gbk("点击查看相关比赛\"  title=\"");
  Text heroEnd = brenvik::Gbk("\"></a></li>");
  Text cellStart = brenvik::Gbk("<td>");
  Text cellEnd = brenvik::Gbk("</td>");
};

void BM_BytesToText(benchmark::State& state) {
  const Bytes page = AsBytes(PageOfKind(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    Text text = brenvik::BytesToText(page);
    benchmark::DoNotOptimize(text.data());
  }
  Label(state, PageOfKind(static_cast<int>(state.range(0))));
}

void BM_UrlDecodeFromUtf8(benchmark::State& state) {
  const Text page = PageOfKind(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Text text = brenvik::UrlDecode(page, true);
    benchmark::DoNotOptimize(text.data());
  }
  Label(state, page);
}

void BM_Markers(benchmark::State& state) {
  const Text page = brenvik::UrlDecode(PageOfKind(static_cast<int>(state.range(0))), true);
  const Markers m;
  TextArray heroes;
  TextArray cells;
  for (auto _ : state) {
    benchmark::DoNotOptimize(brenvik::TextBetween(page, m.avatarStart, m.avatarEnd));
    benchmark::DoNotOptimize(brenvik::TextBetween(page, m.levelStart, m.levelEnd));
    benchmark::DoNotOptimize(brenvik::TextBetween(page, m.likesStart, m.likesEnd));
    benchmark::DoNotOptimize(brenvik::TextBetween(page, m.powerStart, m.powerEnd));
    benchmark::DoNotOptimize(brenvik::TextBetweenAll(page, m.heroStart, m.heroEnd, heroes));
    benchmark::DoNotOptimize(brenvik::TextBetweenAll(page, m.cellStart, m.cellEnd, cells));
  }
  state.counters["cells"] = static_cast<double>(cells.size());
  Label(state, PageOfKind(static_cast<int>(state.range(0))));
}

// The floor: find every "<td>" with memchr/memmem and the "</td>" after it, copying nothing.
void BM_ScanBaseline(benchmark::State& state) {
  const std::string& page = PageOfKind(static_cast<int>(state.range(0)));
  std::size_t cells = 0;
  for (auto _ : state) {
    cells = 0;
    const char* p = page.data();
    const char* const end = page.data() + page.size();
    while (p < end) {
      const void* open = memmem(p, static_cast<std::size_t>(end - p), "<td>", 4);
      if (open == nullptr) break;
      const char* inside = static_cast<const char*>(open) + 4;
      const void* close = memmem(inside, static_cast<std::size_t>(end - inside), "</td>", 5);
      if (close == nullptr) break;
      ++cells;
      p = static_cast<const char*>(close) + 5;
    }
    benchmark::DoNotOptimize(cells);
    benchmark::ClobberMemory();
  }
  state.counters["cells"] = static_cast<double>(cells);
  Label(state, page);
}

void Kinds(benchmark::internal::Benchmark* b) {
  b->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_RunQuery)->Apply(Kinds);
BENCHMARK(BM_CutPage)->Apply(Kinds);
BENCHMARK(BM_BytesToText)->Apply(Kinds);
BENCHMARK(BM_UrlDecodeFromUtf8)->Apply(Kinds);
BENCHMARK(BM_Markers)->Apply(Kinds);
BENCHMARK(BM_ScanBaseline)->Apply(Kinds);

}  // namespace

BENCHMARK_MAIN();
