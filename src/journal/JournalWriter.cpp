#include "journal/JournalWriter.h"

#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/ProgramVersion.h"

namespace quenderlink {

namespace {

std::string LoginName() {
  if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr) return entry->pw_name;
  if (const char* name = std::getenv("USER"); name != nullptr) return name;
  return "uid " + std::to_string(geteuid());
}

std::string MachineName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace

JournalOrigin OriginOfThisProcess() { return {LoginName(), MachineName(), kProgramVersion}; }

JournalWriter::JournalWriter(SqliteConnection connection, JournalOrigin origin)
    : connection_(std::move(connection)),
      origin_(std::move(origin)),
      insertRun_(connection_,
                 "INSERT INTO runs(kind, started, user, machine, version, site_list, settings) "
                 "VALUES(?, ?, ?, ?, ?, ?, ?)"),
      endRun_(connection_, "UPDATE runs SET ended = ?, ending = ?, total = ?, succeeded = ?, failed = ? WHERE id = ?"),
      findUnit_(connection_,
                "SELECT id FROM units WHERE host = ? AND port = ? AND address = ? AND site_name = ? AND milepost = ? "
                "AND track = ? AND subdivision = ? AND site_id = ? AND product = ?"),
      insertUnit_(connection_,
                  "INSERT INTO units(host, port, address, site_name, milepost, track, subdivision, site_id, product) "
                  "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)"),
      insertResult_(connection_,
                    "INSERT OR REPLACE INTO results(unit, time, run, outcome, step, reply_ms, version_before, "
                    "version_after, boards, error) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)") {}

Result JournalWriter::Failed() {
  Result failure = Failure{connection_.ErrorText()};
  connection_.Execute("ROLLBACK");
  return failure;
}

Result JournalWriter::Write(const std::vector<JournalCommand>& batch, bool& busy) {
  busy = false;
  if (!insertRun_ || !endRun_ || !findUnit_ || !insertUnit_ || !insertResult_) {
    return Failure{connection_.ErrorText()};
  }
  // IMMEDIATE takes the write lock at once, so a busy journal waits here, in
  // the busy handler, instead of failing half-way through the batch.
  if (const int code = connection_.Execute("BEGIN IMMEDIATE"); code != SQLITE_OK) {
    busy = code == SQLITE_BUSY;
    return Failure{connection_.ErrorText()};
  }
  endedRuns_.clear();
  for (const JournalCommand& command : batch) {
    if (!std::visit([this](const auto& each) { return Apply(each); }, command)) {
      busy = sqlite3_errcode(connection_.get()) == SQLITE_BUSY;
      return Failed();
    }
  }
  if (connection_.Execute("COMMIT") != SQLITE_OK) {
    busy = sqlite3_errcode(connection_.get()) == SQLITE_BUSY;
    return Failed();
  }
  for (const std::uint64_t run : endedRuns_) runs_.erase(run);
  return {};
}

bool JournalWriter::Apply(const StartRunCommand& command) {
  insertRun_.Reset();
  insertRun_.Bind(1, static_cast<std::int64_t>(command.info.kind))
      .Bind(2, command.started)
      .Bind(3, origin_.user)
      .Bind(4, origin_.machine)
      .Bind(5, origin_.version)
      .Bind(6, command.info.siteList)
      .Bind(7, command.info.settings);
  if (insertRun_.Step() != SQLITE_DONE) return false;
  runs_[command.run] = RunRows{sqlite3_last_insert_rowid(connection_.get()), {}};
  return true;
}

bool JournalWriter::UnitRow(const JournalUnit& unit, std::int64_t& id) {
  for (SqliteStatement* statement : {&findUnit_, &insertUnit_}) {
    statement->Reset();
    statement->Bind(1, unit.host)
        .Bind(2, std::int64_t{unit.port})
        .Bind(3, unit.address)
        .Bind(4, unit.siteName)
        .Bind(5, unit.milepost)
        .Bind(6, std::int64_t{unit.track})
        .Bind(7, std::int64_t{unit.subdivision})
        .Bind(8, std::int64_t{unit.siteId})
        .Bind(9, std::int64_t{unit.product});
  }
  const int found = findUnit_.Step();
  if (found == SQLITE_ROW) {
    id = findUnit_.Integer(0);
    // Left on its row, the statement would keep its read open past the commit,
    // and once another program has written, that stale read refuses the next
    // batch's BEGIN IMMEDIATE at once as "database is locked".
    findUnit_.Reset();
    return true;
  }
  if (found != SQLITE_DONE || insertUnit_.Step() != SQLITE_DONE) return false;
  id = sqlite3_last_insert_rowid(connection_.get());
  return true;
}

bool JournalWriter::Apply(const UnitCommand& command) {
  const auto run = runs_.find(command.run);
  if (run == runs_.end()) return true;
  std::int64_t id = 0;
  if (!UnitRow(command.identity, id)) return false;
  std::vector<std::int64_t>& units = run->second.units;
  if (units.size() <= command.unit) units.resize(command.unit + 1, 0);
  units[command.unit] = id;
  return true;
}

bool JournalWriter::Apply(const ResultCommand& command) {
  const auto run = runs_.find(command.run);
  if (run == runs_.end() || command.unit >= run->second.units.size()) return true;
  const JournalResult& result = command.result;
  insertResult_.Reset();
  insertResult_.Bind(1, run->second.units[command.unit])
      .Bind(2, command.time)
      .Bind(3, run->second.id)
      .Bind(4, static_cast<std::int64_t>(result.outcome));
  if (result.step != UploadStep::None) insertResult_.Bind(5, static_cast<std::int64_t>(result.step));
  if (result.replyMs >= 0) insertResult_.Bind(6, std::int64_t{result.replyMs});
  insertResult_.BindOrNull(7, result.versionBefore)
      .BindOrNull(8, result.versionAfter)
      .BindOrNull(9, result.boards)
      .BindOrNull(10, result.error);
  return insertResult_.Step() == SQLITE_DONE;
}

bool JournalWriter::Apply(const EndRunCommand& command) {
  const auto run = runs_.find(command.run);
  if (run == runs_.end()) return true;
  endRun_.Reset();
  endRun_.Bind(1, command.ended)
      .Bind(2, static_cast<std::int64_t>(command.ending))
      .Bind(3, command.totals.total)
      .Bind(4, command.totals.succeeded)
      .Bind(5, command.totals.failed)
      .Bind(6, run->second.id);
  if (endRun_.Step() != SQLITE_DONE) return false;
  endedRuns_.push_back(command.run);
  return true;
}

}  // namespace quenderlink
