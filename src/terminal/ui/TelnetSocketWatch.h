#pragma once

#include <QObject>
#include <QTimer>

#include "terminal/TelnetSession.h"

class QSocketNotifier;

namespace quenderlink {

// Drives a session from the event loop: watches its socket for writing while
// it connects or while sent bytes wait, and for reading while it is connected, and tells it when the
// connect's deadline has passed. The socket changes with every connect, so the
// watch is made anew each time.
class TelnetSocketWatch : public QObject {
 public:
  explicit TelnetSocketWatch(TelnetSession& session, QObject* parent = nullptr);

  // Starts the session's connect and watches it.
  void Connect();
  // Fits the watch to the session after the owner changed it (a send, a "BYE", a close).
  void Follow();
  void Stop();

 private:
  void Writable();
  void Readable();
  void DeadlinePassed();
  void DropNotifier(QSocketNotifier*& notifier);

  TelnetSession& session_;
  QSocketNotifier* write_ = nullptr;
  QSocketNotifier* read_ = nullptr;
  QTimer deadline_;
  int watchedFd_ = -1;
};

}  // namespace quenderlink
