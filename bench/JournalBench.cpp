#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "OffscreenApplication.h"
#include "core/ProgramState.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalReader.h"
#include "journal/JournalTime.h"
#include "journal/ui/CFViewSiteHistory.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

// A year of a big fleet's journal in small: 65,000 units pinged four times a
// day for 40 days (10.4 million results), written run by run through the
// journal's own writer, as a program would have written them. Made once and
// kept in the temporary folder for later runs of the benchmarks.
constexpr int kUnits = 65000;
constexpr int kDays = 40;
constexpr int kPingsPerDay = 4;
constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;
constexpr std::int64_t kEnd = 1'800'000'000'000LL;

std::string HostOf(int unit) { return "10." + std::to_string(unit / 65536) + "." + std::to_string(unit / 256 % 256) + "." + std::to_string(unit % 256); }

const std::filesystem::path& BigJournal() {
  static const std::filesystem::path file = [] {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("quenderlink-bench-journal-v" + std::to_string(JournalSchemaVersion()) + ".sqlite");
    if (std::filesystem::exists(path)) return path;
    const std::filesystem::path building = path.string() + ".building";
    std::filesystem::remove(building);
    {
      Journal journal(building);
      std::vector<JournalUnit> units(kUnits);
      for (int unit = 0; unit < kUnits; ++unit) {
        units[unit].host = units[unit].address = HostOf(unit);
        units[unit].port = 9001;
        units[unit].siteName = "SITE " + std::to_string(unit);
        units[unit].milepost = std::to_string(unit % 500) + ".0";
      }
      for (int ping = 0; ping < kDays * kPingsPerDay; ++ping) {
        const std::int64_t at = kEnd - kDays * kDayMs + ping * (kDayMs / kPingsPerDay);
        JournalRun run = journal.StartRunAt({RunKind::Ping, "fleet.dat", ""}, at);
        for (int unit = 0; unit < kUnits; ++unit) {
          const bool answered = (unit * 7 + ping) % 20 != 0;
          JournalResult result = ResultOf(answered ? ResultOutcome::Answered : ResultOutcome::NoAnswer);
          if (answered) {
            result.replyMs = 200 + (unit + ping) % 900;
            result.versionAfter = "3.12";
            result.boards = "comm 1.4 / reader 2.0 / speech 1.1";
          }
          run.RecordAt(run.AddUnit(units[unit]), at + unit * 3, std::move(result));
        }
        run.EndAt(RunEnding::Finished, {kUnits, 0, 0}, at + kUnits * 3);
        journal.Flush();
      }
    }
    for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(building.string() + suffix);
    std::filesystem::rename(building, path);
    return path;
  }();
  return file;
}

void BM_JournalHistoryOfOneUnit(benchmark::State& state) {
  const std::filesystem::path& file = BigJournal();
  JournalReader reader(file);
  int unit = 1234;
  std::size_t entries = 0;
  for (auto _ : state) {
    entries = reader.HistoryOfSite({HostOf(unit), 9001}, {}).size();
    unit = (unit + 7919) % kUnits;
  }
  const auto results = static_cast<double>(kUnits) * kDays * kPingsPerDay;
  state.counters["entries"] = static_cast<double>(entries);
  state.counters["results"] = results;
  state.counters["bytes_per_result"] = static_cast<double>(std::filesystem::file_size(file)) / results;
}
BENCHMARK(BM_JournalHistoryOfOneUnit)->Unit(benchmark::kMillisecond);

void BM_JournalAvailability30Days(benchmark::State& state) {
  const std::filesystem::path& file = BigJournal();
  std::vector<SiteKey> sites;
  for (int unit = 0; unit < kUnits; ++unit) sites.push_back({HostOf(unit), 9001});
  std::int64_t pings = 0;
  for (auto _ : state) {
    JournalReader reader(file);
    pings = 0;
    for (const SiteAvailability& site : reader.AvailabilityOf(sites, {kEnd - 30 * kDayMs, kEnd})) pings += site.pings;
  }
  state.counters["pings"] = static_cast<double>(pings);
}
BENCHMARK(BM_JournalAvailability30Days)->Iterations(1)->Unit(benchmark::kMillisecond);

// The history view of one site opened on the 10.4-million-result journal: made,
// filled and painted once, as the user sees it appear.
void BM_OpenHistoryView(benchmark::State& state) {
  bench::EnsureOffscreenApplication();
  const testing::TempDir home;
  std::filesystem::create_symlink(BigJournal(), home / kJournalFileName);
  ProgramState program(home.path());
  int unit = 4321;
  for (auto _ : state) {
    CFViewSiteHistory view(program, {ListedSite{"SITE", {HostOf(unit), 9001}}});
    view.resize(1200, 800);
    view.show();
    QCoreApplication::processEvents();
    unit = (unit + 7919) % kUnits;
  }
}
BENCHMARK(BM_OpenHistoryView)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenderlink
