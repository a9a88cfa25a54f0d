#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/FixedText.h"
#include "core/RunSite.h"

namespace quenderlink {
namespace {

// What a ping run over every site of a 65,000-site list does on the
// user-interface thread before its engine starts: the run's copy, the
// positions its results are found by, and the engine request's own copy.
void BM_RunSiteCopy(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  std::vector<SiteRecord> records(count, NewSiteRecord(9001));
  for (std::size_t i = 0; i < count; ++i) {
    SetFieldText(records[i].HostText, "10.1." + std::to_string(i / 250) + "." + std::to_string(i % 250));
    records[i].RowNumber = static_cast<std::uint16_t>(i + 1);
    records[i].SiteFlags = kFlagMarked;
  }
  SiteTable table;
  table.Replace(std::move(records));
  for (auto _ : state) {
    RunSiteCopy copy;
    copy.Take(table, kFlagMarked);
    std::vector<RunSite> request = copy.sites();
    benchmark::DoNotOptimize(request.data());
  }
}
BENCHMARK(BM_RunSiteCopy)->Arg(65000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenderlink
