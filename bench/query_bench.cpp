// A whole query as the button runs it: OnQueryClicked with the real downloads against the
// sample site on loopback (nine downloads, HTTP/1.0, a fresh connection each, overlapped in
// two rounds: the page with the promotional picture, then the pictures the page names). The
// site is started as a child process on a free port, with 0, 5 and 300 ms of latency per
// answer, to show that a query costs two round trips, not nine.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "bench/bench_form.h"
#include "lookup/form_names.h"
#include "lookup/query.h"
#include "lookup/site.h"
#include "tests/support/sample_site_process.h"
#include "text/codepage.h"

#ifndef BRENVIK_SAMPLE_SITE
#define BRENVIK_SAMPLE_SITE "brenvik-sample-site"
#endif

namespace {

using brenvik::testing::SampleSiteProcess;

// The sample site program, running until the benchmark ends.
SampleSiteProcess& SiteWithLatency(int latencyMs) {
  static std::map<int, std::unique_ptr<SampleSiteProcess>> sites;
  auto& site = sites[latencyMs];
  if (!site) {
    site = std::make_unique<SampleSiteProcess>(BRENVIK_SAMPLE_SITE,
                                               brenvik::testing::SampleSiteOptions{.latencyMs = latencyMs});
  }
  return *site;
}

void BM_QueryOverLoopback(benchmark::State& state) {
  const int latencyMs = static_cast<int>(state.range(0));
  SampleSiteProcess& sample = SiteWithLatency(latencyMs);
  if (!sample.Up()) {
    state.SkipWithError("the sample site did not start");
    return;
  }
  const brenvik::Site site{sample.Origin(), sample.Origin() + brenvik::kPromoPath};
  brenvik::bench::MemoryForm form(brenvik::Gbk("青石过客R2"));
  for (auto _ : state) {
    brenvik::OnQueryClicked(form, site);
  }
  // The query must really have found the player and fetched the pictures, or the timing
  // measures a failure.
  if (form.Caption(brenvik::names::kStatusLabel) != brenvik::Gbk("恭喜，以查询到结果！BY：Torvane") ||
      form.Picture(brenvik::names::kIconBoxes[0]).empty()) {
    state.SkipWithError("the query did not find the player over loopback");
  }
  state.SetLabel("latency " + std::to_string(latencyMs) + " ms per answer");
}

BENCHMARK(BM_QueryOverLoopback)->Arg(0)->Arg(5)->Arg(300)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
