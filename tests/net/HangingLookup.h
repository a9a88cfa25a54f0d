#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "net/HostAddress.h"

namespace quenderlink::testing {

// A name server that never answers while the test lasts: every look-up blocks
// until the test ends. Its state outlives the test, as the engines leave such
// look-ups behind on helpers of their own.
class HangingLookup {
 public:
  ~HangingLookup() {
    const std::lock_guard lock(state_->mutex);
    state_->released = true;
    state_->changed.notify_all();
  }

  HostLookup lookup() const {
    return [state = state_](const std::string&) -> std::optional<std::string> {
      std::unique_lock lock(state->mutex);
      ++state->asked;
      state->changed.notify_all();
      state->changed.wait(lock, [&] { return state->released; });
      return std::nullopt;
    };
  }

  // Waits until `count` names have been asked for; false after 20 s.
  bool WaitUntilAsked(int count) const {
    std::unique_lock lock(state_->mutex);
    return state_->changed.wait_for(lock, std::chrono::seconds(20), [&] { return state_->asked >= count; });
  }

  int asked() const {
    const std::lock_guard lock(state_->mutex);
    return state_->asked;
  }

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable changed;
    int asked = 0;
    bool released = false;
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace quenderlink::testing
