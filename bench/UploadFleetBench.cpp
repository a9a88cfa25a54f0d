#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "FleetProcess.h"
#include "core/FixedText.h"
#include "core/RuntimeParams.h"
#include "core/SiteTable.h"
#include "support/TempDir.h"
#include "upload/UploadEngine.h"
#include "upload/UploadRequest.h"

namespace quenderlink {
namespace {

constexpr std::size_t kImageBytes = 1 << 20;

using Clock = std::chrono::steady_clock;

// Times each unit's packet phase: from its first packet to its last acknowledgement.
class PacketPhaseClock : public UploadEngineListener {
 public:
  std::map<std::uint16_t, Clock::time_point> firstPacket;
  std::map<std::uint16_t, Clock::time_point> lastAck;
  std::map<std::uint16_t, int> totalPackets;

  void OnJobAddress(std::uint16_t, const std::string&) override {}
  void OnUploadEvent(UploadEvent event, std::uint16_t row, int value) override {
    if (event == UploadEvent::TotalPackets) totalPackets[row] = value;
    if (event == UploadEvent::LastPacketAcknowledged) lastAck[row] = Clock::now();
  }
  void OnPacketText(std::uint16_t row, const std::string&) override { firstPacket.try_emplace(row, Clock::now()); }
  void OnNewProgramAnswered(std::uint16_t, const DeviceReply&) override {}
  void OnUploadFailed(UploadFailure, std::uint16_t, const std::string&) override {}
  void OnUploadDone() override {}

  // The longest packet phase of any unit, and the time the whole fleet's packets took.
  double SlowestUnitSeconds() const {
    double slowest = 0;
    for (const auto& [row, start] : firstPacket)
      if (lastAck.count(row))
        slowest = std::max(slowest, std::chrono::duration<double>(lastAck.at(row) - start).count());
    return slowest;
  }
};

std::string UnitAddress(int index) { return "127.81.0." + std::to_string(index + 1); }

// A 1 MiB image to 24 units (or one), one packet in flight per unit. With an
// answer delay per packet, no unit can finish its packets sooner than packets ×
// delay: that is the bound. Without delay, the throughput per unit and in total.
// The overhead per packet is what a packet takes beyond the unit's delay.
void BM_UploadFleet(benchmark::State& state) {
  const int answerDelayMs = static_cast<int>(state.range(0));
  const int unitCount = static_cast<int>(state.range(1));
  testing::TempDir folder;
  const std::filesystem::path program = folder / "image.bin";
  {
    std::string image(kImageBytes, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(0xC3 ^ (i * 7));
    std::ofstream(program, std::ios::binary) << image;
  }
  std::vector<unitsim::UnitConfig> units(static_cast<std::size_t>(unitCount));
  std::vector<SiteRecord> records(static_cast<std::size_t>(unitCount), NewSiteRecord(9001));
  for (int i = 0; i < unitCount; ++i) {
    units[static_cast<std::size_t>(i)].address = UnitAddress(i);
    units[static_cast<std::size_t>(i)].faults.replyDelayMs = answerDelayMs;
    SiteRecord& site = records[static_cast<std::size_t>(i)];
    SetFieldText(site.HostText, UnitAddress(i));
    site.RowNumber = static_cast<std::uint16_t>(i + 1);
    site.SiteFlags = kFlagHighlighted;
    site.ProductType = 2;
  }
  const bench::FleetProcesses fleet(units);
  if (!fleet.started()) {
    state.SkipWithError("the simulated fleet did not start");
    return;
  }
  SiteTable sites;
  sites.Replace(records);
  RuntimeParams params;
  params.uploadMinWaitRamLoader = 0;
  params.uploadMinWaitSysReboot = 0;
  params.uploadMaxInParallel = static_cast<std::uint8_t>(unitCount);
  params.pingMaxWaitResponse = 2;

  PacketPhaseClock clock;
  double wall = 0, cpu = 0;
  for (auto _ : state) {
    clock = PacketPhaseClock();
    UploadRequest request;
    request.listener = &clock;
    request.sites = CopyRunSites(sites, kFlagHighlighted);
    request.filePath = program.string();
    request.params = &params;
    const double cpuBefore = bench::ProcessCpuSeconds();
    const auto start = Clock::now();
    UploadEngine(request);
    wall = std::chrono::duration<double>(Clock::now() - start).count();
    cpu = bench::ProcessCpuSeconds() - cpuBefore;
    state.SetIterationTime(wall);
  }

  const int packets = clock.totalPackets.empty() ? 0 : clock.totalPackets.begin()->second;
  const double slowest = clock.SlowestUnitSeconds();
  state.counters["units_done"] = static_cast<double>(clock.lastAck.size());
  state.counters["packets"] = packets;
  state.counters["packet_phase_s"] = slowest;
  state.counters["cpu_per_wall"] = cpu / wall;
  if (packets > 0) state.counters["overhead_per_packet_us"] = (slowest / packets - answerDelayMs / 1000.0) * 1e6;
  if (answerDelayMs > 0) {
    const double bound = packets * answerDelayMs / 1000.0;
    state.counters["bound_s"] = bound;
    state.counters["phase_per_bound"] = slowest / bound;
  } else if (slowest > 0) {
    const double megabytes = static_cast<double>(kImageBytes) / 1e6;
    state.counters["MBps_per_unit"] = megabytes / slowest;
    state.counters["MBps_total"] = megabytes * static_cast<double>(clock.lastAck.size()) / slowest;
  }
}
BENCHMARK(BM_UploadFleet)
    ->ArgNames({"delay_ms", "units"})
    ->Args({5, 24})
    ->Args({0, 24})
    ->Args({5, 1})
    ->Args({0, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenderlink
