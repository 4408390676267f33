// AddLink of a million distinct URLs, then of the same million again (all duplicates),
// and the removal of 100,000 stored links from 100,000 rows in one pass. The first also
// reports what the list holds per row (texts, row and index together).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "list/link_list.h"

namespace {

std::vector<std::string> MakeUrls(size_t count) {
  std::vector<std::string> urls;
  urls.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    urls.push_back("http://host" + std::to_string(i % 97) + ".example/dir/" + std::to_string(i) +
                   (i % 3 == 0 ? ".zip" : ".html"));
  }
  return urls;
}

const std::vector<std::string>& Million() {
  static const std::vector<std::string> urls = MakeUrls(1000000);
  return urls;
}

void BM_AddLinkDistinct(benchmark::State& state) {
  const auto& urls = Million();
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<vendil::LinkList>([] { return std::string("*.zip;*.lzh"); });
    state.ResumeTiming();
    for (const auto& url : urls) list->AddLink("f", url, "http://ref/", "t", "", "", 1);
    state.PauseTiming();
    state.counters["bytes_per_row"] = static_cast<double>(list->BytesHeld()) / urls.size();
    list.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * urls.size()));
}
BENCHMARK(BM_AddLinkDistinct)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AddLinkDuplicates(benchmark::State& state) {
  const auto& urls = Million();
  vendil::LinkList list([] { return std::string("*.zip;*.lzh"); });
  for (const auto& url : urls) list.AddLink("f", url, "http://ref/", "t", "", "", 1);
  for (auto _ : state) {
    for (const auto& url : urls) {
      benchmark::DoNotOptimize(list.AddLink("f", url, "http://ref/", "t", "", "", 1));
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * urls.size()));
}
BENCHMARK(BM_AddLinkDuplicates)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RemoveStoredLinks(benchmark::State& state) {
  const auto rows = MakeUrls(100000);
  std::vector<std::string> stored = MakeUrls(150000);
  stored.erase(stored.begin(), stored.begin() + 50000);  // half of them are listed
  for (auto _ : state) {
    state.PauseTiming();
    vendil::LinkList list([] { return std::string(); });
    for (const auto& url : rows) list.AddLink("f", url, "", "", "", "", 0);
    state.ResumeTiming();
    benchmark::DoNotOptimize(list.RemoveUrlsAfter(0, stored));
  }
}
BENCHMARK(BM_RemoveStoredLinks)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
