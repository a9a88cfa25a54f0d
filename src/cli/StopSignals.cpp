#include "cli/StopSignals.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace quenderlink::cli {

sigset_t StopSignalSet() {
  sigset_t stopping;
  sigemptyset(&stopping);
  sigaddset(&stopping, SIGINT);
  sigaddset(&stopping, SIGTERM);
  return stopping;
}

StopSignals::StopSignals() {
  const sigset_t stopping = StopSignalSet();
  // Blocked signals stay pending for the descriptor instead of ending the program.
  pthread_sigmask(SIG_BLOCK, &stopping, &previous_);
  fd_ = ::signalfd(-1, &stopping, SFD_NONBLOCK | SFD_CLOEXEC);
}

StopSignals::~StopSignals() {
  if (fd_ >= 0) ::close(fd_);
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

bool StopSignals::Take() {
  bool came = false;
  signalfd_siginfo signal{};
  while (::read(fd_, &signal, sizeof signal) == static_cast<ssize_t>(sizeof signal)) came = true;
  return came;
}

}  // namespace quenderlink::cli
