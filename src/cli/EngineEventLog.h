#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

#include "net/PingEngineListener.h"

namespace quenderlink::cli {

// One engine event as a JSON line: {"ms", "msg", "row", "value"} (ms since
// `start`), with "text" when a text comes with the event.
std::string EngineEventJson(std::chrono::steady_clock::time_point start, int message, std::size_t id, long long value,
                            const std::string& text = {});

// Prints every engine notification as a JSON line {"ms", "msg", "row", "value"}
// (ms since the run started; value = tries, or the reply's tenths), then hands
// it on to the run that acts on it.
class EngineEventLog : public PingEngineListener {
 public:
  EngineEventLog(PingEngineListener& next, std::ostream& out);

  void OnPingSent(std::size_t id, int tries) override;
  void OnPingReply(std::size_t id, const ReplyNotice& notice) override;
  void OnPingTimeout(std::size_t id, int tries) override;
  void OnPingFailed(std::size_t id, int tries) override;
  void OnPingStarted() override;
  void OnPingFinished() override;
  void OnPingBadAddress(std::uint16_t row) override;
  void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) override;
  void OnEngineMessage(const std::string& text) override;

 private:
  void Print(int message, std::size_t id, long long value);

  PingEngineListener& next_;
  std::ostream& out_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace quenderlink::cli
