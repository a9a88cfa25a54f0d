#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace quenderlink::tour {

// Plays a list of moves against the running desktop program, one at a time,
// from a timer: each move waits until it is ready, then acts. Actions are
// posted, never run from the timer, so an action that opens a modal dialog
// leaves the timer running inside the dialog's event loop to answer it.
class TourRunner : public QObject {
 public:
  explicit TourRunner(std::filesystem::path pictures);

  // Posts the action (it may open a modal dialog and wait in it).
  void Do(std::string what, std::function<void()> action);
  // Waits, at most `timeoutMs`, until `done` holds.
  void WaitFor(std::string what, std::function<bool()> done, int timeoutMs = kDefaultTimeoutMs);
  // Waits for a modal dialog, then hands it to `answer` (posted as well).
  void AnswerModal(std::string what, std::function<void(QWidget&)> answer);
  // Lets the screen settle, then saves all of it as `name`.png.
  void Shoot(const std::string& name);

  // Plays the moves; `finished` is told whether every one was played.
  void Start(std::function<void(bool)> finished);

 private:
  static constexpr int kDefaultTimeoutMs = 60'000;

  struct Move {
    std::string what;
    std::function<bool()> ready;
    std::function<void()> act;
    int timeoutMs;
  };

  void Tick();
  void Finish(bool played);

  std::filesystem::path pictures_;
  std::vector<Move> moves_;
  std::size_t next_ = 0;
  QTimer ticks_;
  QElapsedTimer sinceMoveBegan_;
  std::function<void(bool)> finished_;
};

}  // namespace quenderlink::tour
