// TextBetweenAll over generated table pages, next to a plain memmem scan of the same page.
// Run with --benchmark_repetitions=5 --benchmark_report_aggregates_only=true for medians.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "regex/regex_object.h"
#include "regex/regex_object_internal.h"
#include "regex/between_all.h"

namespace {

using brenvik::Text;
using brenvik::TextArray;

// A statistics-like table page of about `bytes` bytes: rows of short cells, some Chinese.
Text TablePage(std::size_t bytes) {
  Text page = "<html><head><title>t</title></head><body><table class=\"stats\">\r\n";
  int n = 0;
  while (page.size() < bytes) {
    page += "<tr><td>";
    page += std::to_string(n++);
    page += "</td><td><img src=\"/img/h";
    page += std::to_string(n % 140);
    page += ".png\"></td><td>\xCA\xA4\xC0\xFB</td><td>12/3/4</td><td>2026-12-11 10:00</td></tr>\r\n";
  }
  page += "</table></body></html>";
  return page;
}

// About 1 MB of 20,000 start markers and no end marker.
Text StartMarkersOnly() {
  Text page;
  for (int i = 0; i < 20000; ++i) {
    page += "<td>";
    page.append(46, 'x');
  }
  return page;
}

const Text& Page(int which) {
  static const Text pages[] = {TablePage(150 * 1000), TablePage(1000 * 1000), TablePage(10 * 1000 * 1000),
                               StartMarkersOnly()};
  return pages[which];
}

void SetJit(bool jit) {
  brenvik::detail::RegexBudget budget = brenvik::detail::CurrentRegexBudget();
  budget.useJit = jit;
  brenvik::detail::SetRegexBudget(budget);
}

void Cells(benchmark::State& state, bool jit) {
  SetJit(jit);
  const Text& page = Page(static_cast<int>(state.range(0)));
  TextArray cells;
  int n = 0;
  for (auto _ : state) {
    n = brenvik::TextBetweenAll(page, "<td>", "</td>", cells);
    benchmark::DoNotOptimize(n);
  }
  state.counters["cells"] = n;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
  SetJit(true);
}

void BM_TextBetweenAll(benchmark::State& state) { Cells(state, true); }
void BM_TextBetweenAllInterpreter(benchmark::State& state) { Cells(state, false); }

// The search alone: conversion of the page and the match loop, no values read back.
void BM_RegexSearch(benchmark::State& state) {
  const Text& page = Page(static_cast<int>(state.range(0)));
  brenvik::RegexObject re;
  for (auto _ : state) {
    benchmark::DoNotOptimize(re.Search("<td>([\\s\\S]*?)</td>", page));
  }
  state.counters["cells"] = re.MatchCount();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}

// The same cells by two memmem calls per cell, case-sensitive, without any conversion.
void BM_MemmemScan(benchmark::State& state) {
  const Text& page = Page(static_cast<int>(state.range(0)));
  int n = 0;
  for (auto _ : state) {
    n = 0;
    const char* p = page.data();
    const char* const end = page.data() + page.size();
    for (;;) {
      const void* s = memmem(p, static_cast<std::size_t>(end - p), "<td>", 4);
      if (s == nullptr) break;
      const char* v = static_cast<const char*>(s) + 4;
      const void* e = memmem(v, static_cast<std::size_t>(end - v), "</td>", 5);
      if (e == nullptr) break;
      ++n;
      p = static_cast<const char*>(e) + 5;
    }
    benchmark::DoNotOptimize(n);
  }
  state.counters["cells"] = n;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}

// Ranges: 0 = 150 KB, 1 = 1 MB, 2 = 10 MB table page, 3 = 1 MB of start markers only.
BENCHMARK(BM_TextBetweenAll)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextBetweenAllInterpreter)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RegexSearch)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemmemScan)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
