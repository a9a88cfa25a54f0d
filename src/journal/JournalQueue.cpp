#include "journal/JournalQueue.h"

namespace quenderlink {

void JournalQueue::Push(JournalCommand command) {
  bool wasEmpty = false;
  {
    std::lock_guard lock(mutex_);
    if (failed_) return;
    wasEmpty = pending_.empty();
    pending_.push_back(std::move(command));
    ++pushed_;
  }
  if (wasEmpty) wake_.notify_one();
}

std::vector<JournalCommand> JournalQueue::TakeAll() {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return !pending_.empty() || stopping_; });
  std::vector<JournalCommand> taken;
  taken.swap(pending_);
  return taken;
}

void JournalQueue::Done(std::size_t count) {
  {
    std::lock_guard lock(mutex_);
    handled_ += count;
  }
  drained_.notify_all();
}

void JournalQueue::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
}

void JournalQueue::Fail(std::string reason) {
  {
    std::lock_guard lock(mutex_);
    if (!failed_) failure_ = std::move(reason);
    failed_ = true;
    handled_ += pending_.size();
    pending_.clear();
  }
  drained_.notify_all();
}

void JournalQueue::WaitDrained() {
  std::unique_lock lock(mutex_);
  const std::uint64_t target = pushed_;
  drained_.wait(lock, [&] { return handled_ >= target; });
}

std::string JournalQueue::TakeUntoldFailure() {
  std::lock_guard lock(mutex_);
  if (!failed_ || told_) return {};
  told_ = true;
  return "Journal not written: " + failure_;
}

std::uint64_t JournalQueue::NextRun() {
  std::lock_guard lock(mutex_);
  return nextRun_++;
}

}  // namespace quenderlink
