#pragma once

#include <QObject>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>

namespace quenderlink::bench {

// A 10 ms timer on the user-interface thread: the longest gap between two of
// its firings is the longest the event loop was held up. `onBeat` runs at each firing.
class LoopHeartbeat {
 public:
  explicit LoopHeartbeat(std::function<void()> onBeat = {}) : onBeat_(std::move(onBeat)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kIntervalMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const auto now = std::chrono::steady_clock::now();
      longestGapMs_ = std::max(longestGapMs_, std::chrono::duration<double, std::milli>(now - last_).count());
      last_ = now;
      if (onBeat_) onBeat_();
    });
  }

  void Start() {
    last_ = std::chrono::steady_clock::now();
    timer_.start();
  }
  void Stop() { timer_.stop(); }
  double longestGapMs() const { return longestGapMs_; }

 private:
  static constexpr int kIntervalMs = 10;

  std::function<void()> onBeat_;
  QTimer timer_;
  std::chrono::steady_clock::time_point last_;
  double longestGapMs_ = 0;
};

}  // namespace quenderlink::bench
