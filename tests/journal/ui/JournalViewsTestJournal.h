#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalTime.h"
#include "journal/ListedSite.h"

namespace quenderlink::testing {

inline constexpr std::int64_t kHourMs = 60 * 60 * 1000;
inline constexpr std::int64_t kDayMs = 24 * kHourMs;

// EAST answered three days ago and an hour ago; WEST answered three days ago
// and not an hour ago, so it is down since then.
inline const std::vector<ListedSite> kEastAndWest{{"EAST", {"127.0.0.1", 9001}}, {"WEST", {"127.0.0.2", 9001}}};

inline JournalResult AnsweredIn(int replyMs) {
  JournalResult result = ResultOf(ResultOutcome::Answered);
  result.replyMs = replyMs;
  result.versionAfter = "3.12";
  return result;
}

inline void WriteEastAndWest(const std::filesystem::path& home, std::int64_t now) {
  Journal journal(home / kJournalFileName);
  const auto unit = [](const ListedSite& site) {
    JournalUnit unit;
    unit.address = unit.host = site.key.host;
    unit.port = site.key.port;
    unit.siteName = site.name;
    return unit;
  };
  const auto ping = [&](std::int64_t time, JournalResult east, JournalResult west) {
    JournalRun run = journal.StartRunAt({RunKind::Ping, "sites.bin", ""}, time);
    run.RecordAt(run.AddUnit(unit(kEastAndWest[0])), time, std::move(east));
    run.RecordAt(run.AddUnit(unit(kEastAndWest[1])), time + 1, std::move(west));
    run.EndAt(RunEnding::Finished, {2, 1, 1}, time + 2);
  };
  ping(now - 3 * kDayMs, AnsweredIn(35), AnsweredIn(80));
  ping(now - kHourMs, AnsweredIn(40), ResultOf(ResultOutcome::NoAnswer));
}

}  // namespace quenderlink::testing
