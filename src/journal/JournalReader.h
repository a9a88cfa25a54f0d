#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/Result.h"
#include "journal/JournalRecords.h"
#include "journal/Sqlite.h"

namespace quenderlink {

// A listed site's units in the journal: every unit seen at its host text and
// port, so its history goes on when its name or milepost is changed.
struct SiteKey {
  std::string host;
  std::uint16_t port = 0;
};

struct JournalPeriod {
  std::int64_t since = std::numeric_limits<std::int64_t>::min();
  std::int64_t until = std::numeric_limits<std::int64_t>::max();  // first millisecond not included
};

struct HistoryEntry {
  std::int64_t time = 0;
  RunKind kind = RunKind::Ping;
  JournalResult result;
  std::string user;
  std::string machine;
  JournalUnit unit;
};

// A site's device pings over a period.
struct SiteAvailability {
  std::int64_t pings = 0;
  std::int64_t answered = 0;
  std::optional<std::int64_t> lastAnswer;
  // The first failed ping after the last answer; none while the last ping answered.
  std::optional<std::int64_t> downSince;

  // Answered pings out of all, 0..1; none without pings.
  std::optional<double> Share() const;
};

// The last time a site's unit answered, with what it said.
struct LastAnswer {
  std::int64_t time = 0;
  std::string version;
  std::string boards;
};

// The journal read for the history and the reports, on a read-only connection
// of its own: a writer is never waited for and never held up.
class JournalReader {
 public:
  explicit JournalReader(const std::filesystem::path& file);
  // Why the journal cannot be read; success when it can (a missing one reads empty).
  const Result& opened() const { return opened_; }

  // Newest first; all kinds unless one is given.
  std::vector<HistoryEntry> HistoryOfSite(const SiteKey& site, const JournalPeriod& period,
                                          std::optional<RunKind> kind = std::nullopt);
  // The units whose host text or address is `host`, on any port.
  std::vector<HistoryEntry> HistoryOfHost(const std::string& host, const JournalPeriod& period,
                                          std::optional<RunKind> kind = std::nullopt);
  // Each site's figures, in the order given: a whole list in one pass over the period.
  std::vector<SiteAvailability> AvailabilityOf(const std::vector<SiteKey>& sites, const JournalPeriod& period);
  std::optional<LastAnswer> LastAnswerOf(const SiteKey& site);

 private:
  std::vector<std::int64_t> UnitsOf(const SiteKey& site);
  std::vector<HistoryEntry> HistoryOfUnits(const std::vector<std::int64_t>& units, const JournalPeriod& period,
                                           std::optional<RunKind> kind);
  // The days the journal has results on within the period, newest last; none when it has none.
  bool DaysWithin(const JournalPeriod& period, std::int64_t& first, std::int64_t& last);

  SqliteConnection connection_;
  Result opened_;
  SqliteStatement unitsOfSite_;
  SqliteStatement unitsOfHost_;
  SqliteStatement unit_;
  SqliteStatement firstDay_;
  SqliteStatement lastDay_;
  SqliteStatement history_;
  SqliteStatement unitPings_;
  SqliteStatement periodPings_;
  SqliteStatement lastAnswer_;
};

}  // namespace quenderlink
