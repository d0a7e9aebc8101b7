// The page path of a query: percent-decoding a whole UTF-8 page and converting it to GBK.
#include <benchmark/benchmark.h>

#include <string>

#include "text/url.h"

namespace {

// A detail page of about `size` bytes: UTF-8 HTML with Chinese text, table cells, a few
// percent escapes and win rates written as "52.3%" before a closing tag.
std::string MakePage(std::size_t size) {
  const std::string row =
      "<tr><td>\xE5\x8C\xB9\xE9\x85\x8D\xE8\xB5\x9B</td><td>1234 </td><td>52.3%</td><td>123</td>"
      "<td>57</td><td> 10:05 </td></tr>\n"
      "<li><a href=\"/hero?id=%E4%BA%9A%E7%B4%A2\" title=\"\xE4\xBA\x9A\xE7\xB4\xA2\"></a></li>\n";
  std::string page = "<html><head><title>\xE7\x8E\xA9\xE5\xAE\xB6</title></head><body>\n";
  while (page.size() < size) page += row;
  page += "</body></html>\n";
  return page;
}

void BM_UrlDecodePage(benchmark::State& state) {
  const std::string page = MakePage(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::string out = brenvik::UrlDecode(page, true);
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_UrlDecodePage)->Arg(150 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
