// The new-links check after its search: 100,000 stored links read from the profile, the
// 100,000 rows found written back, and the rows already known removed from the list.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "commands/new_links.h"
#include "newlinks/search_profile.h"
#include "quiet_ui.h"
#include "settings/c_ini.h"

namespace {

using vendil::bench::QuietUi;

std::string Url(size_t i) {
  return "http://host" + std::to_string(i % 97) + ".example/dir/" + std::to_string(i) +
         (i % 3 == 0 ? ".zip" : ".html");
}

// A profile whose "Links" holds links 0..99,999; the rows found are links 50,000..149,999,
// so half of them are new.
struct CheckSetup {
  CheckSetup() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vendil-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder = pattern;
    profile = folder + "/bench.nlc";
    vendil::Form1 form(ui);
    form.txtUrl.SetText("http://host0.example/dir/");
    vendil::SaveProfile(form, profile, false);
    std::vector<std::string> stored;
    for (size_t i = 0; i < 100000; ++i) stored.push_back(Url(i));
    vendil::StoreFoundLinks(profile, stored);
  }
  ~CheckSetup() { std::filesystem::remove_all(folder); }
  void Fill(vendil::Form1& form) const {
    for (size_t i = 50000; i < 150000; ++i) form.lvwUrls.AddLink("f", Url(i), "", "", "", "", 0);
  }
  QuietUi ui;
  std::string folder, profile;
};

void BM_NewLinksAfterSearch(benchmark::State& state) {
  CheckSetup setup;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<vendil::Form1>(setup.ui);
    state.ResumeTiming();
    int32_t count = 0;
    vendil::LoadProfile(*form, setup.profile, false, count);
    state.PauseTiming();
    setup.Fill(*form);  // what the search would have added
    state.ResumeTiming();
    const std::vector<std::string> found = vendil::FoundLinks(form->lvwUrls, 0);
    vendil::StoreFoundLinks(setup.profile, found);
    const size_t removed =
        vendil::RemoveStoredLinks(form->lvwUrls, 0, form->m_astrStoredLinks, found);
    if (removed != 50000 || form->lvwUrls.Count() != 50000) state.SkipWithError("wrong rows");
    state.PauseTiming();
    // The next round starts from the same stored links.
    std::vector<std::string> stored;
    for (size_t i = 0; i < 100000; ++i) stored.push_back(Url(i));
    vendil::StoreFoundLinks(setup.profile, stored);
    form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_NewLinksAfterSearch)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RemoveStoredLinksOnly(benchmark::State& state) {
  CheckSetup setup;
  std::vector<std::string> stored;
  for (size_t i = 0; i < 100000; ++i) stored.push_back(Url(i));
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<vendil::Form1>(setup.ui);
    setup.Fill(*form);
    state.ResumeTiming();
    const std::vector<std::string> found = vendil::FoundLinks(form->lvwUrls, 0);
    benchmark::DoNotOptimize(vendil::RemoveStoredLinks(form->lvwUrls, 0, stored, found));
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RemoveStoredLinksOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
