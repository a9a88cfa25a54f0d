#include "shell/ui/QuitSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace quenderlink {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

// Written by the handler, read by the UI thread; a signal handler can reach nothing but statics.
int pipeEnds[2] = {-1, -1};

void WriteSignalNumber(int signalNumber) {
  const int savedErrno = errno;
  const auto byte = static_cast<unsigned char>(signalNumber);
  [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
  errno = savedErrno;
}

void SetHandler(int signalNumber, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signalNumber, &action, nullptr);
}

}  // namespace

QuitSignals::QuitSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0) return;
  notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::TakeSignal);
  for (const int signalNumber : kSignals) SetHandler(signalNumber, WriteSignalNumber);
}

QuitSignals::~QuitSignals() {
  if (notifier_ == nullptr) return;
  for (const int signalNumber : kSignals) SetHandler(signalNumber, SIG_DFL);
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
  pipeEnds[0] = pipeEnds[1] = -1;
}

void QuitSignals::TakeSignal() {
  unsigned char byte = 0;
  while (::read(pipeEnds[0], &byte, 1) == 1) onSignal_(byte);
}

}  // namespace quenderlink
