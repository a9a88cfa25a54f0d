#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <thread>

#include "core/ErrorMessages.h"
#include "core/ProgramState.h"

class QObject;

namespace quenderlink {

// One run of an engine, owned by the window that shows it: the busy flag that
// keeps a second run and the commands that would pull the site table from
// under this one away, the worker threads, the stop, and the join that serves
// the workers' calls. The window copies what its engine needs before it
// launches it; no worker touches the site table.
class EngineRun {
 public:
  using BusyFlag = bool OperationState::*;

  // `window` is where the workers' calls are served; `stop` asks the engine to
  // stop after its current pass (its request's stop flag).
  EngineRun(QObject* window, OperationState& operations, BusyFlag busy, std::function<void()> stop);
  // A run still going is stopped and its workers waited for.
  ~EngineRun();
  EngineRun(const EngineRun&) = delete;
  EngineRun& operator=(const EngineRun&) = delete;

  // Starts `work` on a worker of its own; the first worker of a run raises the
  // busy flag. Workers that have returned are joined first, so a run that
  // launches one per job keeps only the live ones. False when no thread could
  // be started: then nothing runs, and a run not yet raised stays so; the
  // window tells kNoWorkerText.
  [[nodiscard]] bool Launch(std::function<void()> work);
  // Asks the engine to stop; its workers end on their own.
  void RequestStop();
  // The window has handled the engine's last event: the busy flag comes down,
  // once for each run.
  void Finish();
  // Serves the workers' calls until every one has returned, joins them and
  // finishes the run.
  void Join();
  // Stops the engine, then joins it.
  void Stop();

  bool running() const { return running_; }

 private:
  struct Worker {
    std::thread thread;
    std::atomic<bool> returned{false};
  };

  void JoinReturned();

  QObject* window_;
  OperationState& operations_;
  BusyFlag busy_;
  std::function<void()> stop_;
  std::list<Worker> workers_;
  bool running_ = false;
};

}  // namespace quenderlink
