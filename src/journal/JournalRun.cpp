#include "journal/JournalRun.h"

#include "journal/JournalTime.h"

namespace quenderlink {

JournalRun::JournalRun(std::shared_ptr<JournalQueue> queue, std::uint64_t run) : queue_(std::move(queue)), run_(run) {}

JournalRun::JournalRun(JournalRun&& other) noexcept
    : queue_(std::move(other.queue_)), run_(other.run_), resulted_(std::move(other.resulted_)) {}

JournalRun& JournalRun::operator=(JournalRun&& other) noexcept {
  if (this != &other) {
    if (queue_) End(RunEnding::Aborted, {});
    queue_ = std::move(other.queue_);
    run_ = other.run_;
    resulted_ = std::move(other.resulted_);
  }
  return *this;
}

JournalRun::~JournalRun() {
  if (queue_) End(RunEnding::Aborted, {});
}

std::size_t JournalRun::AddUnit(JournalUnit unit) {
  if (!queue_) return 0;
  std::size_t index = 0;
  {
    std::lock_guard lock(mutex_);
    index = resulted_.size();
    resulted_.push_back(0);
  }
  queue_->Push(UnitCommand{run_, index, std::move(unit)});
  return index;
}

void JournalRun::Record(std::size_t unit, JournalResult result) { RecordAt(unit, JournalNow(), std::move(result)); }

void JournalRun::RecordAt(std::size_t unit, std::int64_t time, JournalResult result) {
  if (!queue_) return;
  {
    std::lock_guard lock(mutex_);
    if (unit >= resulted_.size()) return;
    resulted_[unit] = 1;
  }
  queue_->Push(ResultCommand{run_, unit, time, std::move(result)});
}

void JournalRun::End(RunEnding ending, const JournalTotals& totals) { EndAt(ending, totals, JournalNow()); }

void JournalRun::EndAt(RunEnding ending, const JournalTotals& totals, std::int64_t ended) {
  if (!queue_) return;
  if (ending == RunEnding::Aborted) {
    std::vector<std::size_t> unfinished;
    {
      std::lock_guard lock(mutex_);
      for (std::size_t unit = 0; unit < resulted_.size(); ++unit) {
        if (resulted_[unit] == 0) unfinished.push_back(unit);
      }
    }
    for (const std::size_t unit : unfinished) RecordAt(unit, ended, ResultOf(ResultOutcome::Aborted));
  }
  queue_->Push(EndRunCommand{run_, ended, ending, totals});
  queue_.reset();
}

}  // namespace quenderlink
