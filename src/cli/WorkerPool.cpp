#include "cli/WorkerPool.h"

#include <system_error>
#include <utility>

namespace quenderlink::cli {

WorkerPool::WorkerPool(std::size_t limit) : limit_(limit) {}

WorkerPool::~WorkerPool() { Join(); }

bool WorkerPool::Hand(std::function<void()> work) {
  const std::lock_guard lock(mutex_);
  queued_.push_back(std::move(work));
  // A thread woken but not yet at the queue still counts as idle: each takes one piece.
  if (idle_ >= queued_.size()) {
    wake_.notify_one();
    return true;
  }
  if (threads_.size() >= limit_) return true;
  try {
    threads_.emplace_back([this] { Serve(); });
  } catch (const std::system_error&) {
    if (!threads_.empty()) return true;
    queued_.pop_back();
    return false;
  }
  return true;
}

void WorkerPool::Join() {
  std::vector<std::thread> threads;
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
    threads.swap(threads_);
  }
  wake_.notify_all();
  for (std::thread& thread : threads) thread.join();
  const std::lock_guard lock(mutex_);
  closing_ = false;
}

void WorkerPool::Serve() {
  std::unique_lock lock(mutex_);
  while (true) {
    ++idle_;
    wake_.wait(lock, [this] { return !queued_.empty() || closing_; });
    --idle_;
    if (queued_.empty()) return;
    const std::function<void()> work = std::move(queued_.front());
    queued_.pop_front();
    lock.unlock();
    work();
    lock.lock();
  }
}

}  // namespace quenderlink::cli
