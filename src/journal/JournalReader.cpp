#include "journal/JournalReader.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

#include "journal/JournalFile.h"

namespace quenderlink {

namespace {

constexpr char kUnitColumns[] = "address, port, host, site_name, milepost, track, subdivision, site_id, product";

JournalUnit UnitAt(const SqliteStatement& statement, int first) {
  JournalUnit unit;
  unit.address = statement.Text(first);
  unit.port = static_cast<std::uint16_t>(statement.Integer(first + 1));
  unit.host = statement.Text(first + 2);
  unit.siteName = statement.Text(first + 3);
  unit.milepost = statement.Text(first + 4);
  unit.track = static_cast<int>(statement.Integer(first + 5));
  unit.subdivision = static_cast<int>(statement.Integer(first + 6));
  unit.siteId = static_cast<int>(statement.Integer(first + 7));
  unit.product = static_cast<int>(statement.Integer(first + 8));
  return unit;
}

}  // namespace

std::optional<double> SiteAvailability::Share() const {
  if (pings == 0) return std::nullopt;
  return static_cast<double>(answered) / static_cast<double>(pings);
}

JournalReader::JournalReader(const std::filesystem::path& file) {
  OpenedJournal opened = OpenJournalForReading(file);
  connection_ = std::move(opened.connection);
  opened_ = std::move(opened.result);
  if (!opened_) return;
  unitsOfSite_ = SqliteStatement(connection_, "SELECT id FROM units WHERE host = ? AND port = ?");
  unitsOfHost_ = SqliteStatement(connection_, "SELECT id FROM units WHERE host = ?1 UNION SELECT id FROM units WHERE address = ?1");
  unit_ = SqliteStatement(connection_, (std::string("SELECT ") + kUnitColumns + " FROM units WHERE id = ?").c_str());
  history_ = SqliteStatement(connection_,
                             "SELECT r.time, runs.kind, r.outcome, r.step, r.reply_ms, r.version_before, "
                             "r.version_after, r.boards, r.error, runs.user, runs.machine "
                             "FROM results r JOIN runs ON runs.id = r.run "
                             "WHERE r.unit = ? AND r.time >= ? AND r.time < ? ORDER BY r.time DESC");
  // The device pings are outcomes 1 to 3; the key's order gives them by time.
  pings_ = SqliteStatement(connection_,
                           "SELECT time, outcome FROM results WHERE unit = ? AND time >= ? AND time < ? "
                           "AND outcome <= 3 ORDER BY time");
  lastAnswer_ = SqliteStatement(connection_,
                                "SELECT time, version_after, boards FROM results WHERE unit = ? AND outcome IN (1, 6) "
                                "AND version_after IS NOT NULL ORDER BY time DESC LIMIT 1");
  if (!unitsOfSite_ || !unitsOfHost_ || !unit_ || !history_ || !pings_ || !lastAnswer_) {
    opened_ = Failure{file.string() + ": " + connection_.ErrorText()};
  }
}

std::vector<std::int64_t> JournalReader::UnitsOf(const SiteKey& site) {
  std::vector<std::int64_t> units;
  if (!opened_) return units;
  unitsOfSite_.Reset();
  unitsOfSite_.Bind(1, site.host).Bind(2, std::int64_t{site.port});
  while (unitsOfSite_.Step() == SQLITE_ROW) units.push_back(unitsOfSite_.Integer(0));
  return units;
}

std::vector<HistoryEntry> JournalReader::HistoryOfUnits(const std::vector<std::int64_t>& units,
                                                        const JournalPeriod& period, std::optional<RunKind> kind) {
  std::vector<HistoryEntry> entries;
  for (const std::int64_t id : units) {
    unit_.Reset();
    unit_.Bind(1, id);
    if (unit_.Step() != SQLITE_ROW) continue;
    const JournalUnit unit = UnitAt(unit_, 0);
    history_.Reset();
    history_.Bind(1, id).Bind(2, period.since).Bind(3, period.until);
    while (history_.Step() == SQLITE_ROW) {
      const auto runKind = static_cast<RunKind>(history_.Integer(1));
      if (kind && *kind != runKind) continue;
      HistoryEntry entry;
      entry.time = history_.Integer(0);
      entry.kind = runKind;
      entry.result.outcome = static_cast<ResultOutcome>(history_.Integer(2));
      entry.result.step = static_cast<UploadStep>(history_.Integer(3));
      entry.result.replyMs = history_.IsNull(4) ? -1 : static_cast<int>(history_.Integer(4));
      entry.result.versionBefore = history_.Text(5);
      entry.result.versionAfter = history_.Text(6);
      entry.result.boards = history_.Text(7);
      entry.result.error = history_.Text(8);
      entry.user = history_.Text(9);
      entry.machine = history_.Text(10);
      entry.unit = unit;
      entries.push_back(std::move(entry));
    }
  }
  if (units.size() > 1) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const HistoryEntry& a, const HistoryEntry& b) { return a.time > b.time; });
  }
  return entries;
}

std::vector<HistoryEntry> JournalReader::HistoryOfSite(const SiteKey& site, const JournalPeriod& period,
                                                       std::optional<RunKind> kind) {
  return HistoryOfUnits(UnitsOf(site), period, kind);
}

std::vector<HistoryEntry> JournalReader::HistoryOfHost(const std::string& host, const JournalPeriod& period,
                                                       std::optional<RunKind> kind) {
  std::vector<std::int64_t> units;
  if (!opened_) return {};
  unitsOfHost_.Reset();
  unitsOfHost_.Bind(1, host);
  while (unitsOfHost_.Step() == SQLITE_ROW) units.push_back(unitsOfHost_.Integer(0));
  return HistoryOfUnits(units, period, kind);
}

SiteAvailability JournalReader::AvailabilityOf(const SiteKey& site, const JournalPeriod& period) {
  std::vector<std::pair<std::int64_t, bool>> pings;  // time, answered
  const std::vector<std::int64_t> units = UnitsOf(site);
  for (const std::int64_t id : units) {
    pings_.Reset();
    pings_.Bind(1, id).Bind(2, period.since).Bind(3, period.until);
    while (pings_.Step() == SQLITE_ROW) {
      pings.emplace_back(pings_.Integer(0), static_cast<ResultOutcome>(pings_.Integer(1)) == ResultOutcome::Answered);
    }
  }
  if (units.size() > 1) std::stable_sort(pings.begin(), pings.end());
  SiteAvailability availability;
  for (const auto& [time, answered] : pings) {
    ++availability.pings;
    if (answered) {
      ++availability.answered;
      availability.lastAnswer = time;
      availability.downSince.reset();
    } else if (!availability.downSince) {
      availability.downSince = time;
    }
  }
  return availability;
}

std::optional<LastAnswer> JournalReader::LastAnswerOf(const SiteKey& site) {
  std::optional<LastAnswer> last;
  for (const std::int64_t id : UnitsOf(site)) {
    lastAnswer_.Reset();
    lastAnswer_.Bind(1, id);
    if (lastAnswer_.Step() != SQLITE_ROW) continue;
    if (!last || lastAnswer_.Integer(0) > last->time) {
      last = LastAnswer{lastAnswer_.Integer(0), lastAnswer_.Text(1), lastAnswer_.Text(2)};
    }
  }
  return last;
}

}  // namespace quenderlink
