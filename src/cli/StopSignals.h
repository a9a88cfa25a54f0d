#pragma once

#include <signal.h>

namespace quenderlink::cli {

// Ctrl-C (SIGINT) and SIGTERM: the signals that stop a run.
sigset_t StopSignalSet();

// Ctrl-C (SIGINT) and SIGTERM as a descriptor for a poll() loop: while this
// lives the signals do not end the program, they make fd() readable. Any other
// thread of the program must have them blocked, or it could take them.
class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  int fd() const { return fd_; }
  // Takes the signals that came; true when there was one.
  bool Take();

 private:
  sigset_t previous_{};
  int fd_ = -1;
};

}  // namespace quenderlink::cli
