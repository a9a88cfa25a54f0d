#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Result.h"
#include "journal/JournalQueue.h"
#include "journal/Sqlite.h"

namespace quenderlink {

// Who and where the runs were made, stored with each run.
struct JournalOrigin {
  std::string user;
  std::string machine;
  std::string version;
};

// This process's login name, machine name and program version.
JournalOrigin OriginOfThisProcess();

// The writer thread's side: turns the queued commands into rows, one
// transaction a batch, on a connection only it uses.
class JournalWriter {
 public:
  JournalWriter(SqliteConnection connection, JournalOrigin origin);
  // Writes a batch; a failure leaves nothing of it written. `busy` tells a
  // failure that another program's long write caused, which may be tried again.
  Result Write(const std::vector<JournalCommand>& batch, bool& busy);

 private:
  struct RunRows {
    std::int64_t id = 0;
    std::vector<std::int64_t> units;  // the run's unit index to its unit row
  };

  bool Apply(const StartRunCommand& command);
  bool Apply(const UnitCommand& command);
  bool Apply(const ResultCommand& command);
  bool Apply(const EndRunCommand& command);
  bool UnitRow(const JournalUnit& unit, std::int64_t& id);
  // The text's number, stored when new; 0 for an empty text, which is stored as none.
  bool TextRow(const std::string& text, std::int64_t& id);
  Result Failed();

  SqliteConnection connection_;
  JournalOrigin origin_;
  SqliteStatement insertRun_;
  SqliteStatement endRun_;
  SqliteStatement findUnit_;
  SqliteStatement insertUnit_;
  SqliteStatement insertResult_;
  SqliteStatement findText_;
  SqliteStatement insertText_;
  // Texts are never removed, so a number once known stays right; forgotten
  // with a batch that was rolled back.
  std::unordered_map<std::string, std::int64_t> texts_;
  std::map<std::uint64_t, RunRows> runs_;
  // Runs ended in a batch that was rolled back are only forgotten once it commits.
  std::vector<std::uint64_t> endedRuns_;
};

}  // namespace quenderlink
