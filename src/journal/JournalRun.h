#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "journal/JournalQueue.h"

namespace quenderlink {

// One run's way into the journal, held by the run: its units, their results
// and its end, handed to the writer without waiting for it. Safe to call from
// the run's worker threads. A run made without a journal records nothing.
class JournalRun {
 public:
  JournalRun() = default;
  JournalRun(std::shared_ptr<JournalQueue> queue, std::uint64_t run);
  JournalRun(JournalRun&& other) noexcept;
  JournalRun& operator=(JournalRun&& other) noexcept;
  // A run dropped before its end is recorded as aborted.
  ~JournalRun();

  // The run's number for the unit, to record its results under.
  std::size_t AddUnit(JournalUnit unit);
  void Record(std::size_t unit, JournalResult result);
  // A result at a time given (milliseconds since 1970 UTC): history kept elsewhere, brought in.
  void RecordAt(std::size_t unit, std::int64_t time, JournalResult result);
  // An aborted run records "aborted" for each unit that has no result yet.
  void End(RunEnding ending, const JournalTotals& totals);
  void EndAt(RunEnding ending, const JournalTotals& totals, std::int64_t ended);
  bool Journaled() const { return queue_ != nullptr; }

 private:
  std::shared_ptr<JournalQueue> queue_;
  std::uint64_t run_ = 0;
  std::mutex mutex_;
  std::vector<char> resulted_;  // by the run's unit number
};

}  // namespace quenderlink
