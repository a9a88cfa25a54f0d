#include "cli/InterruptibleRun.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <thread>

#include "cli/StopSignals.h"

namespace quenderlink::cli {

bool RunInterruptibly(const std::function<void()>& work, const std::function<void()>& interrupt) {
  const sigset_t stopping = StopSignalSet();
  sigset_t previous;
  // Blocked before the worker starts, so the worker inherits the mask and the
  // signals wait here for sigtimedwait.
  pthread_sigmask(SIG_BLOCK, &stopping, &previous);

  std::atomic<bool> done{false};
  std::thread worker([&] {
    work();
    done = true;
  });
  bool interrupted = false;
  const timespec tick{0, 100'000'000};
  while (!done) {
    if (sigtimedwait(&stopping, nullptr, &tick) > 0) {
      interrupted = true;
      interrupt();
    }
  }
  worker.join();
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return interrupted;
}

}  // namespace quenderlink::cli
