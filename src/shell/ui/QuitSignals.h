#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace quenderlink {

// SIGTERM and SIGINT delivered to the program as a call on the UI thread, so
// that a stop asked for from outside ends the program as "Exit" does instead
// of killing it mid-run. The handler only writes the signal's number into a
// pipe: nothing else is safe inside a signal handler. One at a time.
class QuitSignals : public QObject {
  Q_OBJECT

 public:
  explicit QuitSignals(std::function<void(int signalNumber)> onSignal, QObject* parent = nullptr);
  // The default handlers are back afterwards.
  ~QuitSignals() override;

  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

 private:
  void TakeSignal();

  std::function<void(int)> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quenderlink
