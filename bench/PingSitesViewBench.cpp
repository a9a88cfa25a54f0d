#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "FleetProcess.h"
#include "LoopHeartbeat.h"
#include "OffscreenApplication.h"
#include "core/FixedText.h"
#include "core/ProgramState.h"
#include "net/SiteEngine.h"
#include "support/ScriptedPrompts.h"
#include "survey/PingSitesRun.h"
#include "survey/ui/CFViewPingSites.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kReplyDelayMs = 50;
constexpr int kMaxInParallel = 100;

constexpr int kFleetNetwork = 86;

void MarkEveryUnit(ProgramState& state, int network, int units) {
  state.sites.Replace(bench::MarkedFleetSites(network, units));
  state.params.pingMaxInParallel = kMaxInParallel;
}

int Answered(const ProgramState& state) {
  const auto records = state.sites.records();
  return static_cast<int>(std::count_if(records.begin(), records.end(),
                                        [](const SiteRecord& site) { return site.LastPing < kLastPingBadAddress; }));
}

double SecondsSince(Clock::time_point start, Clock::time_point end = Clock::now()) {
  return std::chrono::duration<double>(end - start).count();
}

// The command-line tool's way: the run listens to the engine directly, on the engine's thread.
double CliRunSeconds(ProgramState& state) {
  const auto start = Clock::now();
  PingSitesRun run(state.sites, state.params, PingMode::Ping);
  run.FillList();
  EngineRequest request;
  run.PrepareRequest(request);
  std::thread worker(SiteEngine, std::ref(request));
  worker.join();
  return SecondsSince(start);
}

// Ends the event loop when the view reports the end of its run, as it tells the main view.
class RunEnd : public MainViewTarget {
 public:
  explicit RunEnd(QEventLoop& loop) : loop_(loop) {}
  Clock::time_point at;
  void OnRunFinished(const RunOrigin&) override {
    at = Clock::now();
    loop_.quit();
  }
  void OnSiteFileWritten(bool, const std::string&) override {}
  void OnRecolour() override {}

 private:
  QEventLoop& loop_;
};

struct ViewRun {
  double seconds = 0;
  double longestGapMs = 0;
};

// The desktop's way: every notification is a blocking call onto the UI thread,
// which also paints the list. A heartbeat measures how long the event loop is held up.
ViewRun ViewRunSeconds(ProgramState& state) {
  testing::ScriptedPrompts prompts;
  QEventLoop loop;
  RunEnd end(loop);
  bench::LoopHeartbeat heartbeat;

  const auto start = Clock::now();
  CFViewPingSites view(state, prompts, end, PingMode::Ping);
  view.resize(1400, 900);
  view.show();
  heartbeat.Start();
  loop.exec();
  heartbeat.Stop();
  return {SecondsSince(start, end.at), heartbeat.longestGapMs()};
}

// Pings 2,000 units answering after 50 ms with "Max in Parallel" 100, once as
// the command-line tool does and once from the ping sites view on the offscreen
// platform. The manual time is the view's run; view_per_cli is what showing it costs.
void BM_PingSitesView(benchmark::State& state) {
  bench::EnsureOffscreenApplication();
  const int units = static_cast<int>(state.range(0));
  const bench::FleetProcesses fleet(bench::DelayedFleet(kFleetNetwork, units, kReplyDelayMs));
  if (!fleet.started()) {
    state.SkipWithError("the simulated fleet did not start");
    return;
  }
  ProgramState program(".");
  MarkEveryUnit(program, kFleetNetwork, units);

  double cli = 0;
  int cliAnswered = 0;
  ViewRun view;
  int viewAnswered = 0;
  for (auto _ : state) {
    cli = CliRunSeconds(program);
    cliAnswered = Answered(program);
    view = ViewRunSeconds(program);
    viewAnswered = Answered(program);
    state.SetIterationTime(view.seconds);
  }

  state.counters["cli_s"] = cli;
  state.counters["view_s"] = view.seconds;
  state.counters["view_per_cli"] = view.seconds / cli;
  state.counters["longest_gap_ms"] = view.longestGapMs;
  state.counters["cli_answered"] = cliAnswered;
  state.counters["view_answered"] = viewAnswered;
}
BENCHMARK(BM_PingSitesView)->Arg(2000)->Arg(65000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

constexpr int kSoakNetwork = 87;
constexpr int kSoakUnits = 10000;
constexpr int kSoakRuns = 20;

// The ping sites view pings 10,000 units that lose 5% of their replies, 20
// times in a row (a view opened and closed for each run): memory after the
// last run against memory after the first, and the same for open descriptors.
void BM_PingSitesViewSoak(benchmark::State& state) {
  bench::EnsureOffscreenApplication();
  const bench::FleetProcesses fleet(bench::DelayedFleet(kSoakNetwork, kSoakUnits, 0, 0.05));
  if (!fleet.started()) {
    state.SkipWithError("the simulated fleet did not start");
    return;
  }
  ProgramState program(".");
  MarkEveryUnit(program, kSoakNetwork, kSoakUnits);
  // A lost reply is sent again after a second, so every run ends within seconds.
  program.params.pingMaxWaitResponse = 1;
  program.params.pingMaxResend = 4;

  long firstKb = 0, lastKb = 0;
  int descriptorsFirst = 0, descriptorsLast = 0, answered = 0;
  for (auto _ : state) {
    for (int run = 0; run < kSoakRuns; ++run) {
      (void)ViewRunSeconds(program);
      answered = Answered(program);
      // After the first run, so that what a first run sets up for good is not counted.
      (run == 0 ? firstKb : lastKb) = bench::ResidentKb();
      (run == 0 ? descriptorsFirst : descriptorsLast) = bench::OpenDescriptors();
    }
  }

  state.counters["answered_last_run"] = answered;
  state.counters["rss_first_kb"] = static_cast<double>(firstKb);
  state.counters["rss_growth_kb"] = static_cast<double>(lastKb - firstKb);
  state.counters["fd_growth"] = descriptorsLast - descriptorsFirst;
}
BENCHMARK(BM_PingSitesViewSoak)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenderlink
