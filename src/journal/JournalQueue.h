#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "journal/JournalRecords.h"

namespace quenderlink {

struct StartRunCommand {
  std::uint64_t run = 0;
  std::int64_t started = 0;
  JournalRunInfo info;
};

struct UnitCommand {
  std::uint64_t run = 0;
  std::size_t unit = 0;
  JournalUnit identity;
};

struct ResultCommand {
  std::uint64_t run = 0;
  std::size_t unit = 0;
  std::int64_t time = 0;
  JournalResult result;
};

struct EndRunCommand {
  std::uint64_t run = 0;
  std::int64_t ended = 0;
  RunEnding ending = RunEnding::Finished;
  JournalTotals totals;
};

using JournalCommand = std::variant<StartRunCommand, UnitCommand, ResultCommand, EndRunCommand>;

// What the runs hand the journal's writer thread. A run only appends under the
// lock and wakes the writer when it finds the queue empty; the writer takes all
// that has come at once and commits it in one transaction. Once the journal has
// failed, nothing more is kept.
class JournalQueue {
 public:
  void Push(JournalCommand command);
  // Waits for commands or the stop; empty once stopped and drained.
  std::vector<JournalCommand> TakeAll();
  // The writer has committed (or given up) what it took.
  void Done(std::size_t count);
  void Stop();
  // The journal cannot be written: drops what is queued and what comes.
  void Fail(std::string reason);
  // Waits until everything pushed so far is committed or dropped.
  void WaitDrained();
  // "Journal not written: <reason>" the first time after a failure, empty otherwise.
  std::string TakeUntoldFailure();
  std::uint64_t NextRun();

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable drained_;
  std::vector<JournalCommand> pending_;
  std::uint64_t pushed_ = 0;
  std::uint64_t handled_ = 0;
  std::uint64_t nextRun_ = 1;
  bool stopping_ = false;
  bool failed_ = false;
  bool told_ = false;
  std::string failure_;
};

}  // namespace quenderlink
