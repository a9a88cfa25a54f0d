#include "journal/JournalPrune.h"

#include <sqlite3.h>

#include <vector>

#include "journal/JournalFile.h"

namespace quenderlink {

namespace {

constexpr std::size_t kUnitsPerTransaction = 500;
constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;

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
  const std::int64_t cutoff = now - static_cast<std::int64_t>(days) * kDayMs;

  std::vector<std::int64_t> units;
  {
    SqliteStatement all(connection, "SELECT id FROM units");
    while (all.Step() == SQLITE_ROW) units.push_back(all.Integer(0));
  }
  SqliteStatement removeResults(connection, "DELETE FROM results WHERE unit = ? AND time < ?");
  if (!removeResults) return {Failure{connection.ErrorText()}, 0};
  PruneOutcome outcome;
  for (std::size_t first = 0; first < units.size(); first += kUnitsPerTransaction) {
    if (connection.Execute("BEGIN IMMEDIATE") != SQLITE_OK) return {Failure{connection.ErrorText()}, outcome.resultsRemoved};
    for (std::size_t index = first; index < units.size() && index < first + kUnitsPerTransaction; ++index) {
      removeResults.Reset();
      removeResults.Bind(1, units[index]).Bind(2, cutoff);
      if (removeResults.Step() != SQLITE_DONE) return {Failed(connection), outcome.resultsRemoved};
      outcome.resultsRemoved += sqlite3_changes(connection.get());
    }
    if (connection.Execute("COMMIT") != SQLITE_OK) return {Failed(connection), outcome.resultsRemoved};
  }
  // A run's results all come after its start, so a run that ended before the
  // cut-off has none left; nor has a unit no result refers to.
  SqliteStatement removeRuns(connection, "DELETE FROM runs WHERE COALESCE(ended, started) < ?");
  removeRuns.Bind(1, cutoff);
  if (removeRuns.Step() != SQLITE_DONE ||
      connection.Execute("DELETE FROM units WHERE NOT EXISTS (SELECT 1 FROM results WHERE unit = units.id)") !=
          SQLITE_OK) {
    return {Failure{connection.ErrorText()}, outcome.resultsRemoved};
  }
  return outcome;
}

}  // namespace quenderlink
