#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/Result.h"
#include "journal/Sqlite.h"

namespace quenderlink {

// The journal's file name in the program folder.
inline constexpr char kJournalFileName[] = "journal.sqlite";

// How long a connection waits for another program's write before it is told
// the journal is busy: the desktop program and command-line jobs write at once.
inline constexpr std::chrono::milliseconds kJournalBusyWait{10000};

// Results are kept by day: the day of a time is its milliseconds since 1970 UTC over a day's.
inline constexpr std::int64_t kJournalDayMs = 24LL * 60 * 60 * 1000;
constexpr std::int64_t JournalDayOf(std::int64_t ms) { return ms >= 0 ? ms / kJournalDayMs : (ms + 1) / kJournalDayMs - 1; }

// The schema version this build writes; older journals are brought up to it.
int JournalSchemaVersion();

struct OpenedJournal {
  SqliteConnection connection;
  Result result;
  // Where a damaged journal was moved to; empty when none was.
  std::filesystem::path movedAside;
};

// Opens the journal for writing, created when missing, in WAL mode and with its
// schema brought up to date. A file that is not a database, or a damaged one,
// is moved aside as "journal.sqlite.damaged-<time>" and a new journal started.
OpenedJournal OpenJournalForWriting(const std::filesystem::path& file);

// Opens the journal read-only for the history and the reports; a journal that
// does not exist yet is an empty one (a connection to an empty database).
OpenedJournal OpenJournalForReading(const std::filesystem::path& file);


}  // namespace quenderlink
