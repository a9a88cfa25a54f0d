#include "upload/ResetWait.h"

#include <array>
#include <cstring>
#include <string_view>
#include <utility>

#include "core/FixedText.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "net/DeviceDatagram.h"

namespace quenderlink {

namespace {

// The most one tick takes of a datagram.
constexpr std::size_t kReceiveSize = 1020;

}  // namespace

ResetWait::ResetWait(const SiteRecord& site, const RuntimeParams& params, LogSink log)
    : hostText_(FieldText(site.HostText)),
      ipByNumber_(FieldText(site.IpByNumber)),
      devicePort_(site.DevicePort),
      params_(params),
      log_(std::move(log)),
      socketReady_(socket_.Create()) {}

void ResetWait::SendReset() {
  const unsigned maxWait = params_.pingMaxWaitResponse;
  maxTicks_ = maxWait * 10;
  tickCount_ = 0;
  state_ = State::Waiting;
  log_(LogClass::Progress, Printf("*** Sending RESET command to %s\n", Utf8FromRecordText(hostText_).c_str()));
  log_(LogClass::Progress, Printf("    Will wait %d seconds for response. PLEASE WAIT ...\n", static_cast<int>(maxWait)));
  socket_.SendCommand(hostText_, devicePort_, kCommandReboot);
}

ResetWait::State ResetWait::Tick() {
  if (state_ != State::Waiting) return state_;
  ++tickCount_;
  std::array<std::uint8_t, kReceiveSize> datagram{};
  const int length = socket_.Receive(datagram.data(), datagram.size());
  if (IsConfirmation(datagram.data(), length)) {
    log_(LogClass::Success, "*** SUCCESS: The Unit is resetting\n\n");
    state_ = State::Confirmed;
  } else if (tickCount_ > maxTicks_) {
    log_(LogClass::Caution, Printf("*** CAUTION: No Response from %s\n\n", Utf8FromRecordText(hostText_).c_str()));
    state_ = State::NoResponse;
  }
  return state_;
}

// The unit must answer from the very address and port the site lists; the
// text is searched only within the bytes received.
bool ResetWait::IsConfirmation(const std::uint8_t* datagram, int length) const {
  if (length <= 1 || socket_.sourcePort != devicePort_ || FieldText(socket_.sourceAddress) != ipByNumber_ ||
      datagram[0] != kCommandReboot || static_cast<std::size_t>(length) <= kReplyHeaderSize)
    return false;
  const auto* text = reinterpret_cast<const char*>(datagram + kReplyHeaderSize);
  const std::size_t textSize = static_cast<std::size_t>(length) - kReplyHeaderSize;
  const std::string_view confirmation(text, ::strnlen(text, textSize));
  return confirmation.find("WILL RESET") != std::string_view::npos;
}

}  // namespace quenderlink
