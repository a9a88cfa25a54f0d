#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "FleetProcess.h"
#include "LoopHeartbeat.h"
#include "OffscreenApplication.h"
#include "core/FixedText.h"
#include "core/ProgramState.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "upload/UploadEngine.h"
#include "upload/UploadLog.h"
#include "upload/ui/CFViewUploadPgmBoxes.h"
#include "upload/ui/CFViewUploadProgram.h"

namespace quenderlink {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kImageBytes = 64 * 1024;

double SecondsSince(Clock::time_point start, Clock::time_point end = Clock::now()) {
  return std::chrono::duration<double>(end - start).count();
}

void HighlightEveryUnit(ProgramState& state, int network, int units) {
  std::vector<SiteRecord> records(static_cast<std::size_t>(units), NewSiteRecord(9001));
  for (int i = 0; i < units; ++i) {
    SiteRecord& site = records[static_cast<std::size_t>(i)];
    SetFieldText(site.HostText, bench::FleetAddress(network, i));
    site.RowNumber = static_cast<std::uint16_t>(i + 1);
    site.SiteFlags = kFlagHighlighted;
    site.ProductType = 2;
  }
  state.sites.Replace(std::move(records));
  state.params.uploadMinWaitRamLoader = 0;
  state.params.uploadMinWaitSysReboot = 0;
  state.params.pingMaxWaitResponse = 2;
}

// The command-line tool's way: the engine on a thread, its log lines made as the tool makes them.
double CliRunSeconds(ProgramState& state, const std::string& program) {
  std::string printed;
  UploadLog log(state.params, [&](std::uint16_t, LogClass, const std::string& text) { printed += text; });
  UploadRequest request;
  request.listener = &log;
  request.sites = CopyRunSites(state.sites, kFlagHighlighted);
  request.params = &state.params;
  request.filePath = program;
  const auto start = Clock::now();
  std::thread worker(UploadEngine, std::ref(request));
  worker.join();
  return SecondsSince(start);
}

struct ViewRun {
  double seconds = 0;
  double longestGapMs = 0;
};

// The desktop's way: every event a blocking call onto the UI thread, which
// also paints the view. The heartbeat ends the loop once the view's run is over.
template <typename View>
ViewRun ViewRunSeconds(ProgramState& state, const std::string& program) {
  testing::ScriptedPrompts prompts;
  testing::RecordingMainView mainView;
  View view(state, prompts, mainView);
  view.resize(1400, 900);
  view.show();
  // The window's first painting belongs to opening it, not to the run.
  QCoreApplication::processEvents();
  QEventLoop loop;
  Clock::time_point end;
  bench::LoopHeartbeat heartbeat([&] {
    if (view.running()) return;
    end = Clock::now();
    loop.quit();
  });
  const auto start = Clock::now();
  view.ReceiveProgramFile(program);
  heartbeat.Start();
  loop.exec();
  return {SecondsSince(start, end), heartbeat.longestGapMs()};
}

// The same upload of a 64 KiB image to every unit, once as the command-line
// tool runs it and once from the view; the units answer each packet at once
// or after 5 ms. The manual time is the view's run; view_per_cli is what
// showing it costs.
template <typename View>
void UploadFromView(benchmark::State& state, int network) {
  bench::EnsureOffscreenApplication();
  const int units = static_cast<int>(state.range(0));
  const int answerDelayMs = static_cast<int>(state.range(1));
  const bench::FleetProcesses fleet(bench::DelayedFleet(network, units, answerDelayMs));
  if (!fleet.started()) {
    state.SkipWithError("the simulated fleet did not start");
    return;
  }
  testing::TempDir folder;
  const std::string program = (folder / "image.bin").string();
  {
    std::string image(kImageBytes, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(0xC3 ^ (i * 7));
    std::ofstream(program, std::ios::binary) << image;
  }
  ProgramState programState(".");
  HighlightEveryUnit(programState, network, units);

  double cli = 0;
  ViewRun view;
  for (auto _ : state) {
    cli = CliRunSeconds(programState, program);
    view = ViewRunSeconds<View>(programState, program);
    state.SetIterationTime(view.seconds);
  }

  state.counters["cli_s"] = cli;
  state.counters["view_s"] = view.seconds;
  state.counters["view_per_cli"] = view.seconds / cli;
  state.counters["longest_gap_ms"] = view.longestGapMs;
}

void BM_UploadBoxesView(benchmark::State& state) { UploadFromView<CFViewUploadPgmBoxes>(state, 92); }
void BM_UploadListView(benchmark::State& state) { UploadFromView<CFViewUploadProgram>(state, 93); }

BENCHMARK(BM_UploadBoxesView)
    ->Args({16, 0})
    ->Args({16, 5})
    ->ArgNames({"units", "delay_ms"})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UploadListView)
    ->Args({200, 0})
    ->Args({200, 5})
    ->ArgNames({"units", "delay_ms"})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenderlink
