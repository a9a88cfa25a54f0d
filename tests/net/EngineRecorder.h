#pragma once

#include <arpa/inet.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <sstream>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "core/FixedText.h"
#include "core/RuntimeParams.h"
#include "core/SiteRecord.h"
#include "net/EngineRequest.h"
#include "net/PingEngineListener.h"
#include "support/TestSite.h"
#include "unitsim/LoopbackTestSocket.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink::testing {

using Clock = std::chrono::steady_clock;

// A listed unit at a dotted address.
inline SiteRecord Site(const std::string& address, std::uint16_t row = 0, std::uint8_t flags = 0,
                       std::uint16_t port = 9001) {
  return TestSite({.address = address, .port = port, .row = row, .flags = flags});
}

// One notification, with copies of what its notice referred to.
struct EngineEvent {
  int message = 0;
  std::string step;  // as Script() shows it
  Clock::time_point at = Clock::now();
  ReplyNotice notice;
  DeviceReply reply{};
  std::vector<std::uint8_t> datagram;
};

// Records every notification in order; `onEvent` runs on the engine's thread
// after each one, as a window's handler would. Read `events` once the engine's
// thread is joined.
class EngineRecorder : public PingEngineListener {
 public:
  std::function<void(const EngineEvent&)> onEvent;
  std::vector<EngineEvent> events;

  std::vector<EngineEvent> EventsOf(int message) const {
    std::vector<EngineEvent> found;
    for (const EngineEvent& event : events)
      if (event.message == message) found.push_back(event);
    return found;
  }
  // Every notification on one line, e.g. "started, sent 1/1, reply 1, finished" (id/tries).
  std::string Script() const {
    std::string script;
    for (const EngineEvent& event : events) script += (script.empty() ? "" : ", ") + event.step;
    return script;
  }

  void OnPingSent(std::size_t id, int tries) override { Add(WM_PING_SENT, "sent " + Tries(id, tries)); }
  void OnPingReply(std::size_t id, const ReplyNotice& notice) override {
    Add(WM_PING_REPLY, "reply " + std::to_string(id), &notice);
  }
  void OnPingTimeout(std::size_t id, int tries) override { Add(WM_PING_TIMEOUT, "timeout " + Tries(id, tries)); }
  void OnPingFailed(std::size_t id, int tries) override { Add(WM_PING_FAILED, "failed " + Tries(id, tries)); }
  void OnPingStarted() override { Add(WM_PING_STARTED, "started"); }
  void OnPingFinished() override { Add(WM_PING_FINISHED, "finished"); }
  void OnPingBadAddress(std::uint16_t row) override { Add(WM_PING_BAD_ADDRESS, "bad " + std::to_string(row)); }
  void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) override {
    Add(WM_RESET_CONFIRMED, "confirmed " + std::to_string(row), &notice);
  }
  void OnEngineMessage(const std::string& text) override { Add(0, text); }

 private:
  static std::string Tries(std::size_t id, int tries) { return std::to_string(id) + "/" + std::to_string(tries); }

  void Add(int message, std::string step, const ReplyNotice* notice = nullptr) {
    EngineEvent& event = events.emplace_back();
    event.message = message;
    event.step = std::move(step);
    if (notice) {
      event.notice = *notice;
      event.reply = *notice->reply;
      event.datagram.assign(notice->datagram.begin(), notice->datagram.end());
    }
    if (onEvent) onEvent(event);
  }
};

// What a reply or confirmation carried, on one line: the notice's row, host
// and sender | the reply's tenths, row, host, address and site name.
inline std::string Summary(const EngineEvent& e) {
  std::ostringstream line;
  line << e.notice.row << " '" << FieldText(e.notice.host) << "' from " << FieldText(e.notice.senderAddress) << ":"
       << e.notice.senderPort << " | " << int{e.reply.ReplyTenths} << " "
       << e.reply.RowNumber << " '" << FieldText(e.reply.HostText) << "' " << FieldText(e.reply.IpText) << " '"
       << FieldText(e.reply.SiteName) << "'";
  return line.str();
}

// Runs an engine (ping or upload) on a worker thread as a window does, calling
// `meanwhile` on this thread. True when it finished within 20 s; a hanging
// engine is stopped so that it fails its test instead of the whole run.
template <typename Request>
bool RunEngine(void (*engine)(Request&), Request& request, const std::function<void()>& meanwhile = {}) {
  std::thread worker(engine, std::ref(request));
  if (meanwhile) meanwhile();
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (request.finished.load() == 0 && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  const bool finished = request.finished.load() != 0;
  request.stop = 1;
  worker.join();
  return finished;
}

inline RuntimeParams PingParams(int maxWaitResponse, int maxResend, int maxInParallel = 100) {
  RuntimeParams params;
  params.pingMaxWaitResponse = static_cast<std::uint16_t>(maxWaitResponse);
  params.pingMaxResend = static_cast<std::uint8_t>(maxResend);
  params.pingMaxInParallel = static_cast<std::uint8_t>(maxInParallel);
  return params;
}

inline unitsim::UnitConfig Unit(const std::string& address, unitsim::UnitFaults faults = {}, std::uint16_t port = 9001) {
  unitsim::UnitConfig unit;
  unit.address = address;
  unit.port = port;
  unit.faults = faults;
  unit.identity.siteName = "SITE " + address;
  return unit;
}

constexpr std::uint16_t kTelnetPort = 10001;

// A unit with a terminal on the telnet port.
inline unitsim::UnitConfig TelnetUnit(const std::string& address) {
  unitsim::UnitConfig unit = Unit(address);
  unit.telnetPort = kTelnetPort;
  return unit;
}

// A unit that goes through the upload procedure; its new program reports version 2.
inline unitsim::UnitConfig UploadUnit(const std::string& address, std::uint16_t port,
                                      unitsim::UploadBehaviour upload = {}) {
  unitsim::UnitConfig unit = Unit(address, {}, port);
  unit.upload = upload;
  unit.upload.newVersionMajor = 2;
  return unit;
}

inline std::unique_ptr<unitsim::UnitSimulator> StartUnits(std::vector<unitsim::UnitConfig> units) {
  auto simulator = std::make_unique<unitsim::UnitSimulator>(std::move(units));
  std::string error;
  if (!simulator->Start(error)) throw std::runtime_error(error);
  return simulator;
}

// Sends a datagram as if from a unit at `fromAddress`:`fromPort` to where
// `to` came from (the engine's socket).
inline bool SendFrom(const std::string& fromAddress, std::uint16_t fromPort, const unitsim::ReceivedDatagram& to,
                     std::span<const std::uint8_t> bytes) {
  const int fd = unitsim::BoundSocket(fromAddress, fromPort);
  const sockaddr_in back = unitsim::SocketAddress(to.fromAddress, to.fromPort);
  const bool sent = fd >= 0 && ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&back),
                                        sizeof back) == static_cast<ssize_t>(bytes.size());
  if (fd >= 0) ::close(fd);
  return sent;
}

// What the unit received once it has `count` datagrams, or after 5 s.
inline std::vector<unitsim::ReceivedDatagram> AwaitReceived(const unitsim::UnitSimulator& simulator,
                                                            const std::string& address, std::size_t count,
                                                            std::uint16_t port = 9001) {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  auto received = simulator.ReceivedBy(address, port);
  for (; received.size() < count && Clock::now() < deadline; received = simulator.ReceivedBy(address, port))
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  return received;
}

inline double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace quenderlink::testing
