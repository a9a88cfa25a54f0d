#include "journal/JournalReader.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

#include "journal/JournalFile.h"

namespace quenderlink {

namespace {

// Up to this many units a list's availability seeks each unit's results day by
// day; a longer list is served by one pass over all the period's results.
constexpr std::size_t kUnitsSoughtOneByOne = 64;

constexpr char kUnitQuery[] =
    "SELECT address, port, host, site_name, milepost, track, subdivision, site_id, product FROM units WHERE id = ?";

JournalUnit UnitAt(const SqliteStatement& statement) {
  JournalUnit unit;
  unit.address = statement.Text(0);
  unit.port = static_cast<std::uint16_t>(statement.Integer(1));
  unit.host = statement.Text(2);
  unit.siteName = statement.Text(3);
  unit.milepost = statement.Text(4);
  unit.track = static_cast<int>(statement.Integer(5));
  unit.subdivision = static_cast<int>(statement.Integer(6));
  unit.siteId = static_cast<int>(statement.Integer(7));
  unit.product = static_cast<int>(statement.Integer(8));
  return unit;
}

// A site's pings as they come, in any order of its units: the failures after
// the latest answer so far are kept until the end decides which came first.
class AvailabilityTally {
 public:
  void Add(std::int64_t time, bool answered) {
    ++figures_.pings;
    const bool latest = !figures_.lastAnswer || time > *figures_.lastAnswer;
    if (!answered) {
      if (latest) failuresSinceAnswer_.push_back(time);
      return;
    }
    ++figures_.answered;
    if (!latest) return;
    figures_.lastAnswer = time;
    std::erase_if(failuresSinceAnswer_, [time](std::int64_t failure) { return failure < time; });
  }
  SiteAvailability Figures() const {
    SiteAvailability figures = figures_;
    if (!failuresSinceAnswer_.empty()) {
      figures.downSince = *std::min_element(failuresSinceAnswer_.begin(), failuresSinceAnswer_.end());
    }
    return figures;
  }

 private:
  SiteAvailability figures_;
  std::vector<std::int64_t> failuresSinceAnswer_;
};

// One read of the journal for a whole question: its queries see one state of
// it, and take the file's read lock once instead of once each.
class ReadTransaction {
 public:
  explicit ReadTransaction(const SqliteConnection& connection) : connection_(connection) {
    begun_ = connection_ && connection_.Execute("BEGIN") == SQLITE_OK;
  }
  ~ReadTransaction() {
    if (begun_) connection_.Execute("COMMIT");
  }
  ReadTransaction(const ReadTransaction&) = delete;
  ReadTransaction& operator=(const ReadTransaction&) = delete;

 private:
  const SqliteConnection& connection_;
  bool begun_ = false;
};

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
  unitsOfHost_ =
      SqliteStatement(connection_, "SELECT id FROM units WHERE host = ?1 UNION SELECT id FROM units WHERE address = ?1");
  unit_ = SqliteStatement(connection_, kUnitQuery);
  firstDay_ = SqliteStatement(connection_, "SELECT min(day) FROM results");
  lastDay_ = SqliteStatement(connection_, "SELECT max(day) FROM results");
  history_ = SqliteStatement(connection_,
                             "SELECT r.time, runs.kind, r.outcome, r.step, r.reply_ms, vb.text, va.text, b.text, e.text, "
                             "runs.user, runs.machine FROM results r JOIN runs ON runs.id = r.run "
                             "LEFT JOIN texts vb ON vb.id = r.version_before LEFT JOIN texts va ON va.id = r.version_after "
                             "LEFT JOIN texts b ON b.id = r.boards LEFT JOIN texts e ON e.id = r.error "
                             "WHERE r.day = ? AND r.unit = ? AND r.time >= ? AND r.time < ? ORDER BY r.time DESC");
  // The device pings are outcomes 1 to 3.
  unitPings_ = SqliteStatement(connection_,
                               "SELECT time, outcome FROM results WHERE day = ? AND unit = ? AND time >= ? AND time < ? "
                               "AND outcome <= 3");
  periodPings_ = SqliteStatement(connection_,
                                 "SELECT unit, time, outcome FROM results WHERE day >= ? AND day <= ? AND time >= ? "
                                 "AND time < ? AND outcome <= 3");
  lastAnswer_ = SqliteStatement(connection_,
                                "SELECT r.time, va.text, b.text FROM results r JOIN texts va ON va.id = r.version_after "
                                "LEFT JOIN texts b ON b.id = r.boards WHERE r.day = ? AND r.unit = ? "
                                "AND r.outcome IN (1, 6) ORDER BY r.time DESC LIMIT 1");
  if (!unitsOfSite_ || !unitsOfHost_ || !unit_ || !firstDay_ || !lastDay_ || !history_ || !unitPings_ ||
      !periodPings_ || !lastAnswer_) {
    opened_ = Failure{file.string() + ": " + connection_.ErrorText()};
  }
}

bool JournalReader::DaysWithin(const JournalPeriod& period, std::int64_t& first, std::int64_t& last) {
  if (!opened_) return false;
  firstDay_.Reset();
  lastDay_.Reset();
  const bool any = firstDay_.Step() == SQLITE_ROW && !firstDay_.IsNull(0) && lastDay_.Step() == SQLITE_ROW;
  if (any) {
    first = std::max(firstDay_.Integer(0), JournalDayOf(period.since));
    last = std::min(lastDay_.Integer(0), JournalDayOf(period.until - 1));
  }
  // Each statement is reset once read, so that no read transaction outlives
  // the question and holds the writers' log from being folded back.
  firstDay_.Reset();
  lastDay_.Reset();
  return any && first <= last;
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
  const ReadTransaction read(connection_);
  std::vector<HistoryEntry> entries;
  std::int64_t firstDay = 0, lastDay = 0;
  if (!DaysWithin(period, firstDay, lastDay)) return entries;
  for (const std::int64_t id : units) {
    unit_.Reset();
    unit_.Bind(1, id);
    const bool found = unit_.Step() == SQLITE_ROW;
    const JournalUnit unit = found ? UnitAt(unit_) : JournalUnit{};
    unit_.Reset();
    if (!found) continue;
    for (std::int64_t day = lastDay; day >= firstDay; --day) {
      history_.Reset();
      history_.Bind(1, day).Bind(2, id).Bind(3, period.since).Bind(4, period.until);
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

std::vector<SiteAvailability> JournalReader::AvailabilityOf(const std::vector<SiteKey>& sites,
                                                            const JournalPeriod& period) {
  const ReadTransaction read(connection_);
  std::vector<AvailabilityTally> tallies(sites.size());
  std::vector<std::pair<std::int64_t, std::size_t>> units;  // unit, site
  for (std::size_t site = 0; site < sites.size(); ++site) {
    for (const std::int64_t unit : UnitsOf(sites[site])) units.emplace_back(unit, site);
  }
  std::int64_t firstDay = 0, lastDay = 0;
  if (!units.empty() && DaysWithin(period, firstDay, lastDay)) {
    if (units.size() <= kUnitsSoughtOneByOne) {
      for (const auto& [unit, site] : units) {
        for (std::int64_t day = firstDay; day <= lastDay; ++day) {
          unitPings_.Reset();
          unitPings_.Bind(1, day).Bind(2, unit).Bind(3, period.since).Bind(4, period.until);
          while (unitPings_.Step() == SQLITE_ROW) {
            tallies[site].Add(unitPings_.Integer(0),
                              static_cast<ResultOutcome>(unitPings_.Integer(1)) == ResultOutcome::Answered);
          }
        }
      }
    } else {
      constexpr std::size_t kNoSite = static_cast<std::size_t>(-1);
      std::int64_t highest = 0;
      for (const auto& entry : units) highest = std::max(highest, entry.first);
      std::vector<std::size_t> siteOfUnit(static_cast<std::size_t>(highest) + 1, kNoSite);
      for (const auto& [unit, site] : units) siteOfUnit[static_cast<std::size_t>(unit)] = site;
      periodPings_.Reset();
      periodPings_.Bind(1, firstDay).Bind(2, lastDay).Bind(3, period.since).Bind(4, period.until);
      while (periodPings_.Step() == SQLITE_ROW) {
        const std::int64_t unit = periodPings_.Integer(0);
        if (unit < 0 || unit > highest || siteOfUnit[static_cast<std::size_t>(unit)] == kNoSite) continue;
        tallies[siteOfUnit[static_cast<std::size_t>(unit)]].Add(
            periodPings_.Integer(1), static_cast<ResultOutcome>(periodPings_.Integer(2)) == ResultOutcome::Answered);
      }
    }
  }
  std::vector<SiteAvailability> figures;
  figures.reserve(tallies.size());
  for (const AvailabilityTally& tally : tallies) figures.push_back(tally.Figures());
  return figures;
}

std::optional<LastAnswer> JournalReader::LastAnswerOf(const SiteKey& site) {
  const ReadTransaction read(connection_);
  const std::vector<std::int64_t> units = UnitsOf(site);
  std::int64_t firstDay = 0, lastDay = 0;
  if (units.empty() || !DaysWithin({}, firstDay, lastDay)) return std::nullopt;
  // Newest day first: the first day any of the site's units answered on has its last answer.
  for (std::int64_t day = lastDay; day >= firstDay; --day) {
    std::optional<LastAnswer> last;
    for (const std::int64_t unit : units) {
      lastAnswer_.Reset();
      lastAnswer_.Bind(1, day).Bind(2, unit);
      if (lastAnswer_.Step() == SQLITE_ROW && (!last || lastAnswer_.Integer(0) > last->time)) {
        last = LastAnswer{lastAnswer_.Integer(0), lastAnswer_.Text(1), lastAnswer_.Text(2)};
      }
      lastAnswer_.Reset();
    }
    if (last) return last;
  }
  return std::nullopt;
}

}  // namespace quenderlink
