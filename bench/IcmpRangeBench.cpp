#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

std::set<std::string> FpingAlive() {
  std::set<std::string> alive;
  FILE* output = ::popen(kFping, "r");
  if (!output) return alive;
  char line[64];
  while (std::fgets(line, sizeof line, output)) alive.insert(std::string(line, std::strcspn(line, "\n")));
  ::pclose(output);
  return alive;
}

double SecondsOf(const auto& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// In the child: the topology with the first half of 10.203.0.0/24 up on the hosts, then both scans.
Figures Measure() {
  Figures figures;
  auto fail = [&](const std::string& why) {
    std::snprintf(figures.failure, sizeof figures.failure, "%s", why.c_str());
    return figures;
  };
  const IcmpTopology topology;
  if (!topology.failure().empty()) return fail(topology.failure());
  const std::string addLive = "sh -c 'for i in $(seq 1 " + std::to_string(kLiveHosts) +
                              "); do ip addr add 10.203.0.$i/32 dev lo || exit 1; done'";
  if (!topology.InHosts(addLive)) return fail("the hosts' addresses could not be added");
  std::set<std::string> engine, fping;
  figures.engineSeconds = SecondsOf([&] { engine = ThreadedScan().Run(); });
  figures.fpingSeconds = SecondsOf([&] { fping = FpingAlive(); });
  figures.engineFound = static_cast<int>(engine.size());
  figures.fpingFound = static_cast<int>(fping.size());
  figures.sameHosts = engine == fping;
  return figures;
}

// A /24 with half its hosts up, scanned by the raw method 20 addresses at a
// time (time-out 500 ms) and by fping on the same network. A silent address
// ends at its first time-out, so the 127 dead ones alone hold the scan for
// ceil(127 / 20) × 0.5 s: that is the bound.
void BM_IcmpRange(benchmark::State& state) {
  if (::geteuid() != 0) {
    state.SkipWithError("the namespaces and raw sockets need root");
    return;
  }
  if (std::system("command -v fping >/dev/null 2>&1 && command -v ip >/dev/null 2>&1") != 0) {
    state.SkipWithError("fping or ip is missing (scripts/bootstrap installs them)");
    return;
  }
  Figures figures;
  for (auto _ : state) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
      state.SkipWithError("no pipe");
      return;
    }
    const int code = testing::RunInOwnNetworkNamespace(
        [&] {
          const Figures measured = Measure();
          return ::write(pipeEnds[1], &measured, sizeof measured) == sizeof measured ? 0 : 1;
        },
        &IcmpTopology::RemoveLeftovers);
    ::close(pipeEnds[1]);
    const bool read = ::read(pipeEnds[0], &figures, sizeof figures) == sizeof figures;
    ::close(pipeEnds[0]);
    if (code != 0 || !read) {
      state.SkipWithError("the scan's child could not make its network namespaces");
      return;
    }
    if (figures.failure[0] != '\0') {
      state.SkipWithError(figures.failure);
      return;
    }
    state.SetIterationTime(figures.engineSeconds);
  }
  const int dead = kScanned - kLiveHosts;
  state.counters["engine_found"] = figures.engineFound;
  state.counters["fping_found"] = figures.fpingFound;
  state.counters["same_hosts"] = figures.sameHosts ? 1 : 0;
  state.counters["engine_s"] = figures.engineSeconds;
  state.counters["fping_s"] = figures.fpingSeconds;
  state.counters["bound_s"] = std::ceil(dead / static_cast<double>(kIcmpJobSlots)) * kTimeoutMs / 1000.0;
}
BENCHMARK(BM_IcmpRange)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenderlink
