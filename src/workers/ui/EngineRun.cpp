#include "workers/ui/EngineRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>

#include <algorithm>
#include <system_error>

#include "workers/ui/UiThreadCalls.h"

namespace quenderlink {

EngineRun::EngineRun(QObject* window, OperationState& operations, BusyFlag busy, std::function<void()> stop)
    : window_(window), operations_(operations), busy_(busy), stop_(std::move(stop)) {}

EngineRun::~EngineRun() { Stop(); }

bool EngineRun::Launch(std::function<void()> work) {
  JoinReturned();
  Worker& worker = workers_.emplace_back();
  try {
    worker.thread = std::thread([this, &worker, work = std::move(work)] {
      work();
      worker.returned = true;
      // Wakes a Stop() waiting for events; dropped when no one waits.
      PostToThreadOf(window_, [] {});
    });
  } catch (const std::system_error&) {
    workers_.pop_back();
    return false;
  }
  if (!running_) {
    running_ = true;
    operations_.*busy_ = true;
  }
  return true;
}

void EngineRun::RequestStop() {
  if (stop_) stop_();
}

void EngineRun::Finish() {
  if (!running_) return;
  running_ = false;
  operations_.*busy_ = false;
}

void EngineRun::Stop() {
  if (!workers_.empty()) RequestStop();
  Join();
}

void EngineRun::Join() {
  // A worker blocked in a call to this thread cannot end: its calls are served
  // until it has returned. Each call, and each return, arrives as an event.
  while (std::any_of(workers_.begin(), workers_.end(), [](const Worker& worker) { return !worker.returned; }))
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
  JoinReturned();
  Finish();
}

void EngineRun::JoinReturned() {
  for (auto worker = workers_.begin(); worker != workers_.end();) {
    if (!worker->returned) {
      ++worker;
      continue;
    }
    worker->thread.join();
    worker = workers_.erase(worker);
  }
}

}  // namespace quenderlink
