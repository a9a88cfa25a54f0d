#pragma once

#include <cstdint>
#include <string>

#include "core/LogClass.h"
#include "core/RuntimeParams.h"
#include "core/SiteRecord.h"
#include "net/COurAsyncSocketSHORT.h"

namespace quenderlink {

// Tells one unit to reset itself and waits, one 100 ms tick at a time, for its
// confirmation. The reset dialog drives it from a timer and the command-line
// tool from a loop; both show the log lines it writes.
class ResetWait {
 public:
  enum class State { Idle, Waiting, Confirmed, NoResponse };

  static constexpr int kTickMs = 100;

  // Keeps the site's HostText, IpByNumber and DevicePort and opens the socket.
  // When it cannot be opened the owner says "ERROR CREATE" (see socketReady),
  // and every wait then ends without a response.
  ResetWait(const SiteRecord& site, const RuntimeParams& params, LogSink log);

  // Starts a wait from tick 0, for "Max Wait Response" seconds, and sends the
  // reset. Also what "Resend Reset" does.
  void SendReset();

  // One tick of the wait: takes at most one datagram and tells how the wait stands.
  State Tick();

  // False when the socket could not be opened.
  bool socketReady() const { return socketReady_; }
  State state() const { return state_; }
  std::uint32_t tickCount() const { return tickCount_; }
  std::uint32_t maxTicks() const { return maxTicks_; }

 private:
  bool IsConfirmation(const std::uint8_t* datagram, int length) const;

  std::string hostText_;
  std::string ipByNumber_;
  std::uint16_t devicePort_;
  const RuntimeParams& params_;
  LogSink log_;
  COurAsyncSocketSHORT socket_;
  bool socketReady_;
  State state_ = State::Idle;
  std::uint32_t tickCount_ = 0;
  std::uint32_t maxTicks_ = 0;
};

}  // namespace quenderlink
