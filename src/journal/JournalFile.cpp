#include "journal/JournalFile.h"

#include <sqlite3.h>

#include <array>
#include <ctime>
#include <system_error>

namespace quenderlink {

namespace {

// Each step brings the schema from its index to the next version.
//  - A result refers to its run, its unit and its texts by number: a unit's
//    identity, a version or an error text is stored once, not with every result.
//  - Results are kept in the order of their day, then unit and time. A run
//    writes into today's part of the table only, however big the journal has
//    grown; one unit's history is one short range a day; a period's
//    availability is one pass over its days; and pruning takes whole days off
//    the front. No second index doubles the table's size.
constexpr std::array kMigrations{
    R"sql(
CREATE TABLE runs(
  id INTEGER PRIMARY KEY,
  kind INTEGER NOT NULL,
  started INTEGER NOT NULL,
  ended INTEGER,
  user TEXT NOT NULL,
  machine TEXT NOT NULL,
  version TEXT NOT NULL,
  site_list TEXT NOT NULL,
  settings TEXT NOT NULL,
  total INTEGER NOT NULL DEFAULT 0,
  succeeded INTEGER NOT NULL DEFAULT 0,
  failed INTEGER NOT NULL DEFAULT 0,
  ending INTEGER NOT NULL DEFAULT 0);
CREATE INDEX runs_started ON runs(started);
CREATE TABLE units(
  id INTEGER PRIMARY KEY,
  address TEXT NOT NULL,
  port INTEGER NOT NULL,
  host TEXT NOT NULL,
  site_name TEXT NOT NULL,
  milepost TEXT NOT NULL,
  track INTEGER NOT NULL,
  subdivision INTEGER NOT NULL,
  site_id INTEGER NOT NULL,
  product INTEGER NOT NULL,
  UNIQUE(host, port, address, site_name, milepost, track, subdivision, site_id, product));
CREATE INDEX units_address ON units(address);
CREATE TABLE texts(
  id INTEGER PRIMARY KEY,
  text TEXT NOT NULL UNIQUE);
CREATE TABLE results(
  day INTEGER NOT NULL,
  unit INTEGER NOT NULL,
  time INTEGER NOT NULL,
  run INTEGER NOT NULL,
  outcome INTEGER NOT NULL,
  step INTEGER,
  reply_ms INTEGER,
  version_before INTEGER,
  version_after INTEGER,
  boards INTEGER,
  error INTEGER,
  PRIMARY KEY(day, unit, time, run, outcome)) WITHOUT ROWID;
)sql",
};

bool IsDamage(int code) { return code == SQLITE_NOTADB || code == SQLITE_CORRUPT; }

struct Attempt {
  SqliteConnection connection;
  int code = SQLITE_OK;
  std::string error;
};

Attempt Fail(SqliteConnection connection, int code) {
  Attempt attempt{std::move(connection), code, {}};
  attempt.error = attempt.connection.ErrorText();
  attempt.connection = SqliteConnection();
  return attempt;
}

int ReadSchemaVersion(const SqliteConnection& connection, int& version) {
  SqliteStatement statement(connection, "PRAGMA user_version");
  if (!statement) return sqlite3_errcode(connection.get());
  const int code = statement.Step();
  if (code != SQLITE_ROW) return code;
  version = static_cast<int>(statement.Integer(0));
  return SQLITE_OK;
}

int Migrate(const SqliteConnection& connection) {
  int version = 0;
  if (const int code = ReadSchemaVersion(connection, version); code != SQLITE_OK) return code;
  if (version >= JournalSchemaVersion()) return SQLITE_OK;
  // Under the write lock, so that two programs starting at once migrate once.
  if (const int code = connection.Execute("BEGIN IMMEDIATE"); code != SQLITE_OK) return code;
  int code = ReadSchemaVersion(connection, version);
  for (; code == SQLITE_OK && version < JournalSchemaVersion(); ++version) {
    code = connection.Execute(kMigrations[static_cast<std::size_t>(version)]);
    if (code == SQLITE_OK) {
      code = connection.Execute(("PRAGMA user_version = " + std::to_string(version + 1)).c_str());
    }
  }
  if (code != SQLITE_OK) {
    connection.Execute("ROLLBACK");
    return code;
  }
  return connection.Execute("COMMIT");
}

Attempt TryOpenForWriting(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  const int opened = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  SqliteConnection connection(db);
  if (opened != SQLITE_OK) return Fail(std::move(connection), opened);
  sqlite3_extended_result_codes(db, 0);
  sqlite3_busy_timeout(db, static_cast<int>(kJournalBusyWait.count()));
  // WAL: readers never wait for the writer; NORMAL: a commit survives a crash
  // of the program, and only the last ones could be lost to a power cut.
  for (const char* setup : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL", "PRAGMA foreign_keys=OFF"}) {
    SqliteStatement statement(connection, setup);
    if (!statement) return Fail(std::move(connection), sqlite3_errcode(db));
    const int code = statement.Step();
    if (code != SQLITE_ROW && code != SQLITE_DONE) return Fail(std::move(connection), code);
  }
  if (const int code = Migrate(connection); code != SQLITE_OK) return Fail(std::move(connection), code);
  return Attempt{std::move(connection), SQLITE_OK, {}};
}

std::string Reason(const std::filesystem::path& file, const std::string& error) {
  return file.string() + ": " + error;
}

// "journal.sqlite.damaged-20261208T041226Z" beside the journal, for the time given.
std::filesystem::path DamagedJournalName(const std::filesystem::path& file,
                                         std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
  return file.string() + ".damaged-" + stamp;
}

}  // namespace

int JournalSchemaVersion() { return static_cast<int>(kMigrations.size()); }

OpenedJournal OpenJournalForWriting(const std::filesystem::path& file) {
  Attempt attempt = TryOpenForWriting(file);
  if (attempt.code == SQLITE_OK) return {std::move(attempt.connection), {}, {}};
  if (!IsDamage(attempt.code)) return {{}, Failure{Reason(file, attempt.error)}, {}};

  const std::filesystem::path aside = DamagedJournalName(file, std::chrono::system_clock::now());
  std::error_code error;
  std::filesystem::rename(file, aside, error);
  if (error) return {{}, Failure{Reason(file, attempt.error + "; it could not be moved aside: " + error.message())}, {}};
  // The damaged journal's log and index belong to it, not to the new one.
  for (const char* suffix : {"-wal", "-shm"}) {
    std::filesystem::rename(file.string() + suffix, aside.string() + suffix, error);
  }
  Attempt fresh = TryOpenForWriting(file);
  if (fresh.code != SQLITE_OK) return {{}, Failure{Reason(file, fresh.error)}, aside};
  return {std::move(fresh.connection), {}, aside};
}

OpenedJournal OpenJournalForReading(const std::filesystem::path& file) {
  if (std::filesystem::exists(file)) {
    sqlite3* db = nullptr;
    // A reader is used by one thread at a time and needs no locking of its own.
    const int opened = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    SqliteConnection connection(db);
    if (opened != SQLITE_OK) return {{}, Failure{Reason(file, connection.ErrorText())}, {}};
    sqlite3_busy_timeout(db, static_cast<int>(kJournalBusyWait.count()));
    int version = 0;
    if (ReadSchemaVersion(connection, version) != SQLITE_OK) return {{}, Failure{Reason(file, connection.ErrorText())}, {}};
    if (version > JournalSchemaVersion()) {
      return {{}, Failure{Reason(file, "written by a newer version of the program")}, {}};
    }
    if (version == JournalSchemaVersion()) return {std::move(connection), {}, {}};
  }
  // No journal yet (or one never written to): an empty one in memory answers every question.
  sqlite3* db = nullptr;
  const int opened = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
  SqliteConnection connection(db);
  if (opened != SQLITE_OK || Migrate(connection) != SQLITE_OK) {
    return {{}, Failure{Reason(file, connection.ErrorText())}, {}};
  }
  return {std::move(connection), {}, {}};
}

}  // namespace quenderlink
