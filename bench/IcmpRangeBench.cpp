// ICMP scans across a router into a hosts' network namespace, each beside
// fping on the same network: the raw method as the desktop program runs it,
// and the command line's default scan.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "net/ChildNamespace.h"
#include "net/IcmpJob.h"
#include "net/IcmpTopology.h"
#include "survey/AddressRange.h"
#include "survey/IcmpScanRun.h"

namespace quenderlink {
namespace {

using testing::IcmpTopology;

constexpr int kLiveHosts = 127;
constexpr int kScanned = 254;
constexpr std::uint32_t kTimeoutMs = 500;
constexpr char kRange[] = "10.203.0.1-254";
constexpr char kFping[] = "fping -i 10 -t 500 -r 3 -a -g 10.203.0.0/24 2>/dev/null";

constexpr int kCliLiveHosts = 4;
constexpr int kCliScanned = 62;
constexpr char kCliRange[] = "10.203.0.1-62";
constexpr char kCliFping[] = "fping -i 10 -t 500 -r 3 -a -g 10.203.0.0/26 2>/dev/null";

// What the child measured, handed back through a pipe.
struct Figures {
  double engineSeconds = 0;
  double fpingSeconds = 0;
  int engineFound = 0;
  int fpingFound = 0;
  bool sameHosts = false;
  char failure[160] = {};
};

// A raw-method scan as the desktop program runs it: a thread per job, every
// report handed to the run one at a time.
class ThreadedScan : public IcmpListener {
 public:
  std::set<std::string> Run() {
    std::unique_lock lock(mutex_);
    run_.StartRange(*AddressRange::Parse(kRange));
    ended_.wait(lock, [this] { return !run_.Running(); });
    std::vector<std::thread> threads = std::move(threads_);
    lock.unlock();
    for (std::thread& thread : threads) thread.join();
    std::set<std::string> found;
    for (const IcmpEntry& entry : run_.entries())
      if (entry.minMs != kNoIcmpReply) found.insert(entry.address);
    return found;
  }

  void OnIcmpReply(std::uint16_t index, const IcmpTryResult& result) override {
    Locked([&] { run_.OnReply(index, result); });
  }
  void OnIcmpErrorText(std::uint16_t index, const std::string& text) override {
    Locked([&] { run_.OnText(index, text); });
  }
  void OnIcmpTryFailed(std::uint16_t index, const IcmpTryResult& result) override {
    Locked([&] { run_.OnTryFailed(index, result); });
  }
  void OnIcmpTry(std::uint16_t index, const std::string& text) override {
    Locked([&] { run_.OnText(index, text); });
  }
  void OnIcmpStatus(std::uint16_t index, const IcmpTryResult& result) override {
    Locked([&] { run_.OnStatus(index, result); });
  }
  void OnIcmpDone(std::uint16_t index, bool) override {
    Locked([&] {
      if (run_.OnDone(index).ended) ended_.notify_all();
    });
  }
  void OnIcmpRawText(std::uint16_t index, const std::string& text) override {
    Locked([&] { run_.OnText(index, text); });
  }
  void OnIcmpRawReply(std::uint16_t index, const IcmpTryResult& result) override {
    Locked([&] { run_.OnReply(index, result); });
  }
  void OnIcmpRawTryFailed(std::uint16_t, const IcmpTryResult&) override {}
  void OnIcmpMessage(const std::string&) override {}

 private:
  template <typename Call>
  void Locked(Call call) {
    const std::lock_guard lock(mutex_);
    call();
  }

  std::mutex mutex_;
  std::condition_variable ended_;
  std::vector<std::thread> threads_;
  IcmpScanRun run_{IcmpScanMode::RawSockets, kIcmpJobSlots, this,
                   [] {
                     IcmpParams params;
                     params.timeoutMs = kTimeoutMs;
                     return params;
                   },
                   // Called with the mutex held, so no job reports before its thread is kept.
                   [this](IcmpJob& job) { threads_.emplace_back(&PingRawThread, std::ref(job)); }};
};

// Each line a command prints, as it printed it.
std::vector<std::string> OutputLines(const std::string& command) {
  std::vector<std::string> lines;
  FILE* output = ::popen(command.c_str(), "r");
  if (!output) return lines;
  std::string line;
  for (int c = std::fgetc(output); c != EOF; c = std::fgetc(output)) {
    if (c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    lines.push_back(line);
    line.clear();
  }
  ::pclose(output);
  return lines;
}

std::set<std::string> FpingAlive(const char* command) {
  const std::vector<std::string> lines = OutputLines(command);
  return {lines.begin(), lines.end()};
}

// quenderlink-cli's icmp command with its defaults but the time-out, in a
// home of its own, set up before the run is timed.
class CliScan {
 public:
  CliScan() {
    home_ = (std::filesystem::temp_directory_path() / "quenderlink-bench-XXXXXX").string();
    if (::mkdtemp(home_.data()) == nullptr) return;
    const std::string timeout = " settings set 'Ping Range' 'ICMP Timeout' " + std::to_string(kTimeoutMs);
    ready_ = std::system((Cli() + timeout).c_str()) == 0;
  }
  ~CliScan() { std::filesystem::remove_all(home_); }
  CliScan(const CliScan&) = delete;
  CliScan& operator=(const CliScan&) = delete;

  // The addresses that answered.
  std::set<std::string> Run() const {
    std::set<std::string> alive;
    if (!ready_) return alive;
    for (const std::string& line : OutputLines(Cli() + " icmp " + kCliRange + " --json 2>/dev/null")) {
      const nlohmann::json row = nlohmann::json::parse(line);
      if (!row["min"].is_null()) alive.insert(row["address"].get<std::string>());
    }
    return alive;
  }

 private:
  std::string Cli() const { return std::string(QUENDERLINK_CLI_PATH) + " --home " + home_; }

  std::string home_;
  bool ready_ = false;
};

double SecondsOf(const auto& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// In the child: the topology with the first `liveHosts` of 10.203.0.0/24 up
// on the hosts, then the scan and fping.
Figures Measure(int liveHosts, const std::function<std::set<std::string>()>& scan, const char* fpingCommand) {
  Figures figures;
  auto fail = [&](const std::string& why) {
    std::snprintf(figures.failure, sizeof figures.failure, "%s", why.c_str());
    return figures;
  };
  const IcmpTopology topology;
  if (!topology.failure().empty()) return fail(topology.failure());
  const std::string addLive = "sh -c 'for i in $(seq 1 " + std::to_string(liveHosts) +
                              "); do ip addr add 10.203.0.$i/32 dev lo || exit 1; done'";
  if (!topology.InHosts(addLive)) return fail("the hosts' addresses could not be added");
  std::set<std::string> engine, fping;
  figures.engineSeconds = SecondsOf([&] { engine = scan(); });
  figures.fpingSeconds = SecondsOf([&] { fping = FpingAlive(fpingCommand); });
  figures.engineFound = static_cast<int>(engine.size());
  figures.fpingFound = static_cast<int>(fping.size());
  figures.sameHosts = engine == fping;
  return figures;
}

// Runs `measure` in a child with network namespaces of its own and hands back
// its figures; false (the benchmark skipped with the reason) when it cannot.
bool MeasureInChild(benchmark::State& state, const std::function<Figures()>& measure, Figures& figures) {
  if (::geteuid() != 0) {
    state.SkipWithError("the namespaces and raw sockets need root");
    return false;
  }
  if (std::system("command -v fping >/dev/null 2>&1 && command -v ip >/dev/null 2>&1") != 0) {
    state.SkipWithError("fping or ip is missing (scripts/bootstrap installs them)");
    return false;
  }
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) {
    state.SkipWithError("no pipe");
    return false;
  }
  const int code = testing::RunInOwnNetworkNamespace(
      [&] {
        const Figures measured = measure();
        return ::write(pipeEnds[1], &measured, sizeof measured) == sizeof measured ? 0 : 1;
      },
      &IcmpTopology::RemoveLeftovers);
  ::close(pipeEnds[1]);
  const bool read = ::read(pipeEnds[0], &figures, sizeof figures) == sizeof figures;
  ::close(pipeEnds[0]);
  if (code != 0 || !read) {
    state.SkipWithError("the scan's child could not make its network namespaces");
    return false;
  }
  if (figures.failure[0] != '\0') {
    state.SkipWithError(figures.failure);
    return false;
  }
  return true;
}

void Report(benchmark::State& state, const Figures& figures, double boundSeconds) {
  state.counters["engine_found"] = figures.engineFound;
  state.counters["fping_found"] = figures.fpingFound;
  state.counters["same_hosts"] = figures.sameHosts ? 1 : 0;
  state.counters["engine_s"] = figures.engineSeconds;
  state.counters["fping_s"] = figures.fpingSeconds;
  state.counters["bound_s"] = boundSeconds;
}

// A silent address ends at its first time-out, so the dead ones alone hold a
// scan of `parallel` addresses at a time for ceil(dead / parallel) time-outs.
double DeadAddressesBound(int dead, std::size_t parallel) {
  return std::ceil(dead / static_cast<double>(parallel)) * kTimeoutMs / 1000.0;
}

// A /24 with half its hosts up, scanned by the raw method 20 addresses at a
// time (time-out 500 ms) and by fping on the same network.
void BM_IcmpRange(benchmark::State& state) {
  Figures figures;
  for (auto _ : state) {
    if (!MeasureInChild(state, [] { return Measure(kLiveHosts, [] { return ThreadedScan().Run(); }, kFping); },
                        figures))
      return;
    state.SetIterationTime(figures.engineSeconds);
  }
  Report(state, figures, DeadAddressesBound(kScanned - kLiveHosts, kIcmpJobSlots));
}
BENCHMARK(BM_IcmpRange)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// A /26 with four hosts up, scanned by quenderlink-cli's icmp command with its
// defaults (the library method, 20 addresses at a time) but a time-out of
// 500 ms, and by fping on the same network.
void BM_IcmpCliRange(benchmark::State& state) {
  Figures figures;
  for (auto _ : state) {
    const auto measure = [] {
      const CliScan cli;
      return Measure(kCliLiveHosts, [&] { return cli.Run(); }, kCliFping);
    };
    if (!MeasureInChild(state, measure, figures)) return;
    state.SetIterationTime(figures.engineSeconds);
  }
  Report(state, figures, DeadAddressesBound(kCliScanned - kCliLiveHosts, kIcmpJobSlots));
}
BENCHMARK(BM_IcmpCliRange)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenderlink
