#include "terminal/ui/TelnetSocketWatch.h"

#include <QSocketNotifier>

#include <algorithm>
#include <chrono>

namespace quenderlink {

TelnetSocketWatch::TelnetSocketWatch(TelnetSession& session, QObject* parent) : QObject(parent), session_(session) {
  deadline_.setSingleShot(true);
  connect(&deadline_, &QTimer::timeout, this, &TelnetSocketWatch::DeadlinePassed);
}

void TelnetSocketWatch::Connect() {
  Stop();
  session_.Connect();
  Follow();
}

void TelnetSocketWatch::Follow() {
  const int fd = session_.fd();
  if (fd != watchedFd_) Stop();
  if (fd < 0) return;
  watchedFd_ = fd;
  if (session_.state() == TelnetSession::State::Connecting) {
    if (write_ != nullptr) return;
    write_ = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    connect(write_, &QSocketNotifier::activated, this, &TelnetSocketWatch::Writable);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(session_.connectDeadline() -
                                                                            std::chrono::steady_clock::now());
    deadline_.start(std::max(left, std::chrono::milliseconds(0)));
    return;
  }
  deadline_.stop();
  if (!session_.hasUnsent()) {
    DropNotifier(write_);
  } else if (write_ == nullptr) {
    write_ = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    connect(write_, &QSocketNotifier::activated, this, &TelnetSocketWatch::Writable);
  }
  if (read_ != nullptr) return;
  read_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  connect(read_, &QSocketNotifier::activated, this, &TelnetSocketWatch::Readable);
}

void TelnetSocketWatch::Stop() {
  DropNotifier(write_);
  DropNotifier(read_);
  deadline_.stop();
  watchedFd_ = -1;
}

void TelnetSocketWatch::DropNotifier(QSocketNotifier*& notifier) {
  if (notifier == nullptr) return;
  // It may be the one whose signal is being handled: it goes once that is done.
  notifier->setEnabled(false);
  notifier->deleteLater();
  notifier = nullptr;
}

void TelnetSocketWatch::Writable() {
  if (session_.state() == TelnetSession::State::Connecting) {
    session_.OnConnectReady();
  } else {
    session_.OnWritable();
  }
  Follow();
}

void TelnetSocketWatch::Readable() {
  session_.OnReadable();
  Follow();
}

void TelnetSocketWatch::DeadlinePassed() {
  session_.OnConnectTimeout();
  Follow();
}

}  // namespace quenderlink
