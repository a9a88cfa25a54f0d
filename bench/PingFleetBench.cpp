#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "FleetProcess.h"
#include "core/FixedText.h"
#include "core/RuntimeParams.h"
#include "core/SiteTable.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalPingRecorder.h"
#include "net/EngineRequest.h"
#include "net/SiteEngine.h"
#include "support/TempDir.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink {
namespace {

constexpr int kReplyDelayMs = 50;
constexpr int kMaxInParallel = 100;

constexpr int kFleetNetwork = 80;

class CountingListener : public PingEngineListener {
 public:
  int replies = 0;
  void OnPingSent(std::size_t, int) override {}
  void OnPingReply(std::size_t, const ReplyNotice&) override { ++replies; }
  void OnPingTimeout(std::size_t, int) override {}
  void OnPingFailed(std::size_t, int) override {}
  void OnPingStarted() override {}
  void OnPingFinished() override {}
  void OnPingBadAddress(std::uint16_t) override {}
  void OnResetConfirmed(std::uint16_t, const ReplyNotice&) override {}
  void OnEngineMessage(const std::string&) override {}
};

// Pings every unit of a fleet whose units answer after 50 ms, with "Max in
// Parallel" 100. The engine's own rules keep at most 101 units waiting at once,
// so no run can end sooner than ceil(units / 101) × 50 ms: that is the bound.
void BM_PingFleet(benchmark::State& state) {
  const int units = static_cast<int>(state.range(0));
  const bench::FleetProcesses fleet(bench::DelayedFleet(kFleetNetwork, units, kReplyDelayMs));
  if (!fleet.started()) {
    state.SkipWithError("the simulated fleet did not start");
    return;
  }
  SiteTable sites;
  sites.Replace(bench::MarkedFleetSites(kFleetNetwork, units));
  RuntimeParams params;
  params.pingMaxInParallel = kMaxInParallel;

  double wall = 0, cpu = 0;
  int replies = 0;
  for (auto _ : state) {
    CountingListener listener;
    EngineRequest request;
    request.listener = &listener;
    request.sites = CopyRunSites(sites, kFlagMarked);
    request.params = &params;
    const double cpuBefore = bench::ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    SiteEngine(request);
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu = bench::ProcessCpuSeconds() - cpuBefore;
    replies = listener.replies;
    state.SetIterationTime(wall);
  }

  const double bound = std::ceil(units / static_cast<double>(kMaxInParallel + 1)) * kReplyDelayMs / 1000.0;
  state.counters["replies"] = replies;
  state.counters["bound_s"] = bound;
  state.counters["wall_per_bound"] = wall / bound;
  state.counters["cpu_per_wall"] = cpu / wall;
}
BENCHMARK(BM_PingFleet)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(65000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// One ping run of the fleet, journaled when a journal is given; its wall time.
double PingRun(const SiteTable& sites, const RuntimeParams& params, Journal* journal) {
  CountingListener listener;
  EngineRequest request;
  request.sites = CopyRunSites(sites, kFlagMarked);
  request.params = &params;
  std::optional<JournalPingRecorder> recorder;
  if (journal != nullptr) {
    recorder.emplace(journal->StartRun({RunKind::Ping, "fleet.dat", ""}), listener, request.stop);
    recorder->AddSites(sites, request.sites);
  }
  request.listener = recorder ? static_cast<PingEngineListener*>(&*recorder) : &listener;
  const auto start = std::chrono::steady_clock::now();
  SiteEngine(request);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The same fleet pinged without, with and again without the journal: the
// journal's cost is the journaled run against the mean of the others. Its
// writer commits in the background; how long it still writes after the run
// has ended is `flush_s`.
void BM_PingFleetJournal(benchmark::State& state) {
  const int units = static_cast<int>(state.range(0));
  const bench::FleetProcesses fleet(bench::DelayedFleet(kFleetNetwork, units, kReplyDelayMs));
  if (!fleet.started()) {
    state.SkipWithError("the simulated fleet did not start");
    return;
  }
  SiteTable sites;
  sites.Replace(bench::MarkedFleetSites(kFleetNetwork, units));
  RuntimeParams params;
  params.pingMaxInParallel = kMaxInParallel;
  const testing::TempDir home;

  double plain = 0, journaled = 0, flush = 0;
  for (auto _ : state) {
    Journal journal(home / kJournalFileName);
    plain = PingRun(sites, params, nullptr);
    journaled = PingRun(sites, params, &journal);
    const auto flushStart = std::chrono::steady_clock::now();
    journal.Flush();
    flush = std::chrono::duration<double>(std::chrono::steady_clock::now() - flushStart).count();
    plain = (plain + PingRun(sites, params, nullptr)) / 2;
    state.SetIterationTime(journaled);
  }
  state.counters["plain_s"] = plain;
  state.counters["journaled_s"] = journaled;
  state.counters["journaled_per_plain"] = journaled / plain;
  state.counters["flush_s"] = flush;
}
BENCHMARK(BM_PingFleetJournal)->Arg(65000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

constexpr int kSoakNetwork = 81;
constexpr int kSoakUnits = 10000;
constexpr int kSoakRuns = 20;

// One engine pings 10,000 units that lose 5% of their replies, 20 times in a
// row: memory and open descriptors after the last run against after the first
// show whether a run leaves anything behind.
void BM_PingSoak(benchmark::State& state) {
  const bench::FleetProcesses fleet(bench::DelayedFleet(kSoakNetwork, kSoakUnits, 0, 0.05));
  if (!fleet.started()) {
    state.SkipWithError("the simulated fleet did not start");
    return;
  }
  SiteTable sites;
  sites.Replace(bench::MarkedFleetSites(kSoakNetwork, kSoakUnits));
  RuntimeParams params;
  params.pingMaxInParallel = kMaxInParallel;
  // A lost reply is sent again after a second, so every run ends within seconds.
  params.pingMaxWaitResponse = 1;
  params.pingMaxResend = 4;

  long firstKb = 0, lastKb = 0;
  int descriptorsFirst = 0, descriptorsLast = 0, replies = 0;
  for (auto _ : state) {
    for (int run = 0; run < kSoakRuns; ++run) {
      CountingListener listener;
      EngineRequest request;
      request.listener = &listener;
      request.sites = CopyRunSites(sites, kFlagMarked);
      request.params = &params;
      SiteEngine(request);
      replies = listener.replies;
      // After the first run, so that what a first run sets up for good is not counted.
      (run == 0 ? firstKb : lastKb) = bench::ResidentKb();
      (run == 0 ? descriptorsFirst : descriptorsLast) = bench::OpenDescriptors();
    }
  }

  state.counters["replies_last_run"] = replies;
  state.counters["rss_first_kb"] = static_cast<double>(firstKb);
  state.counters["rss_growth_kb"] = static_cast<double>(lastKb - firstKb);
  state.counters["fd_growth"] = descriptorsLast - descriptorsFirst;
}
BENCHMARK(BM_PingSoak)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenderlink
