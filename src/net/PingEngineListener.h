#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "net/ReplyNotice.h"

namespace quenderlink {

// Message numbers of the engine notifications, for logs and JSON output.
inline constexpr int WM_PING_SENT = 1374;
inline constexpr int WM_PING_REPLY = 1375;
inline constexpr int WM_PING_TIMEOUT = 1376;
inline constexpr int WM_PING_FAILED = 1377;
inline constexpr int WM_PING_STARTED = 1378;
inline constexpr int WM_PING_FINISHED = 1379;
inline constexpr int WM_PING_BAD_ADDRESS = 1381;
inline constexpr int WM_RESET_CONFIRMED = 1382;

// What a ping engine reports, called on the engine's worker thread; each call
// returns only when the receiver has handled it, so the receiver may write into
// the site table there. `id` is the entry's row for the site engine and the
// entry's index in the range table for the range engine.
class PingEngineListener {
 public:
  virtual ~PingEngineListener() = default;

  virtual void OnPingSent(std::size_t id, int tries) = 0;
  virtual void OnPingReply(std::size_t id, const ReplyNotice& notice) = 0;
  virtual void OnPingTimeout(std::size_t id, int tries) = 0;
  virtual void OnPingFailed(std::size_t id, int tries) = 0;
  virtual void OnPingStarted() = 0;
  virtual void OnPingFinished() = 0;
  virtual void OnPingBadAddress(std::uint16_t row) = 0;
  virtual void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) = 0;
  // A socket could not be set up ("ERROR CREATE", "ZEBUL ASYNC ERROR 1"); shown as a message box.
  virtual void OnEngineMessage(const std::string& text) = 0;
};

}  // namespace quenderlink
