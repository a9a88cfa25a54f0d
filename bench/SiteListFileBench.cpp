#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "core/SiteListLoader.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

constexpr std::size_t kSites = 50'000;

SiteTable LargeList() {
  std::vector<SiteRecord> records(kSites, NewSiteRecord(9001));
  for (std::size_t i = 0; i < kSites; ++i) {
    SetFieldText(records[i].SiteName, "Site " + std::to_string(i));
    SetFieldText(records[i].IpByNumber, "10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250));
    records[i].RowNumber = static_cast<std::uint16_t>(i + 1);
  }
  SiteTable table;
  table.Replace(std::move(records));
  return table;
}

void BM_SaveAll(benchmark::State& state) {
  testing::TempDir folder;
  const SiteTable table = LargeList();
  for (auto _ : state) {
    CSiteinfoClass file;
    if (!file.SaveAll(folder / "sites.bin", table)) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSites * kSiteRecordSize));
}
BENCHMARK(BM_SaveAll)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadSiteTable(benchmark::State& state) {
  testing::TempDir folder;
  if (!CSiteinfoClass().SaveAll(folder / "sites.bin", LargeList())) state.SkipWithError("save failed");
  const std::string path = (folder / "sites.bin").string();
  for (auto _ : state) {
    SiteTable table;
    if (LoadSiteTable(path, table, 10001) != 0) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(table.size());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSites * kSiteRecordSize));
}
BENCHMARK(BM_LoadSiteTable)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace quenderlink
