#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quenderlink::cli {

// At most `limit` threads that run the work handed to them, one piece after
// another: a thread starts only when none is idle, and lives until Join, so a
// run over 65,000 addresses needs no more threads than it pings at once.
class WorkerPool {
 public:
  explicit WorkerPool(std::size_t limit);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Queues `work` for the first thread that is free. False when no thread
  // runs and none can be started: then the work was not taken. When some run
  // and no more can be started, the work waits for one of them.
  [[nodiscard]] bool Hand(std::function<void()> work);
  // Once nothing more is handed over: lets the threads finish what is queued
  // and joins them.
  void Join();

 private:
  void Serve();

  const std::size_t limit_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queued_;
  std::vector<std::thread> threads_;
  std::size_t idle_ = 0;
  bool closing_ = false;
};

}  // namespace quenderlink::cli
