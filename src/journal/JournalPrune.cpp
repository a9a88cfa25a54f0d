#include "journal/JournalPrune.h"

#include <sqlite3.h>


#include "journal/JournalFile.h"

namespace quenderlink {

namespace {

Result Failed(const SqliteConnection& connection) {
  Result failure = Failure{connection.ErrorText()};
  connection.Execute("ROLLBACK");
  return failure;
}

}  // namespace

PruneOutcome PruneJournal(const std::filesystem::path& file, int days, std::int64_t now) {
  if (!std::filesystem::exists(file)) return {};
  OpenedJournal opened = OpenJournalForWriting(file);
  if (!opened.result) return {std::move(opened.result), 0};
  const SqliteConnection& connection = opened.connection;
  const std::int64_t cutoff = now - static_cast<std::int64_t>(days) * kJournalDayMs;
  const std::int64_t cutoffDay = JournalDayOf(cutoff);

  std::int64_t firstDay = cutoffDay;
  {
    SqliteStatement first(connection, "SELECT min(day) FROM results");
    if (first.Step() == SQLITE_ROW && !first.IsNull(0)) firstDay = first.Integer(0);
  }
  // A day a transaction: the front of the table, so that the runs writing
  // meanwhile wait for it no longer than a moment.
  SqliteStatement removeDay(connection, "DELETE FROM results WHERE day = ? AND time < ?");
  if (!removeDay) return {Failure{connection.ErrorText()}, 0};
  PruneOutcome outcome;
  for (std::int64_t day = firstDay; day <= cutoffDay; ++day) {
    if (connection.Execute("BEGIN IMMEDIATE") != SQLITE_OK) return {Failure{connection.ErrorText()}, outcome.resultsRemoved};
    removeDay.Reset();
    removeDay.Bind(1, day).Bind(2, cutoff);
    if (removeDay.Step() != SQLITE_DONE) return {Failed(connection), outcome.resultsRemoved};
    outcome.resultsRemoved += sqlite3_changes(connection.get());
    if (connection.Execute("COMMIT") != SQLITE_OK) return {Failed(connection), outcome.resultsRemoved};
  }
  // A run's results all come after its start, so a run that ended before the
  // cut-off has none left. Units stay: a run going on in another program may
  // hold one that has no result yet, and each identity is one small row.
  SqliteStatement removeRuns(connection, "DELETE FROM runs WHERE COALESCE(ended, started) < ?");
  removeRuns.Bind(1, cutoff);
  if (removeRuns.Step() != SQLITE_DONE) return {Failure{connection.ErrorText()}, outcome.resultsRemoved};
  return outcome;
}

}  // namespace quenderlink
