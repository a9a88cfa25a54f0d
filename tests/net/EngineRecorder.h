#pragma once

#include <arpa/inet.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "core/FixedText.h"
#include "core/RuntimeParams.h"
#include "core/SiteRecord.h"
#include "net/EngineRequest.h"
#include "net/PingEngineListener.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink::testing {

using Clock = std::chrono::steady_clock;

// A listed unit at a dotted address on the default device port.
inline SiteRecord Site(const std::string& address) {
  SiteRecord site = NewSiteRecord(9001);
  SetFieldText(site.HostText, address);
  SetFieldText(site.IpByNumber, address);
  return site;
}

// One notification, with copies of what its notice referred to.
struct EngineEvent {
  int message = 0;
  std::size_t id = 0;
  int tries = 0;
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
  std::vector<std::string> engineMessages;

  std::vector<EngineEvent> EventsOf(int message) const {
    std::vector<EngineEvent> found;
    for (const EngineEvent& event : events)
      if (event.message == message) found.push_back(event);
    return found;
  }
  std::vector<int> Messages() const {
    std::vector<int> messages;
    for (const EngineEvent& event : events) messages.push_back(event.message);
    return messages;
  }

  void OnPingSent(std::size_t id, int tries) override { Add(WM_PING_SENT, id, tries); }
  void OnPingReply(std::size_t id, const ReplyNotice& notice) override { Add(WM_PING_REPLY, id, 0, &notice); }
  void OnPingTimeout(std::size_t id, int tries) override { Add(WM_PING_TIMEOUT, id, tries); }
  void OnPingFailed(std::size_t id, int tries) override { Add(WM_PING_FAILED, id, tries); }
  void OnPingStarted() override { Add(WM_PING_STARTED); }
  void OnPingFinished() override { Add(WM_PING_FINISHED); }
  void OnPingBadAddress(std::uint16_t row) override { Add(WM_PING_BAD_ADDRESS, row); }
  void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) override {
    Add(WM_RESET_CONFIRMED, row, 0, &notice);
  }
  void OnEngineMessage(const std::string& text) override {
    engineMessages.push_back(text);
    Add(0);
  }

 private:
  void Add(int message, std::size_t id = 0, int tries = 0, const ReplyNotice* notice = nullptr) {
    EngineEvent& event = events.emplace_back();
    event.message = message;
    event.id = id;
    event.tries = tries;
    if (notice) {
      event.notice = *notice;
      event.reply = *notice->reply;
      event.datagram.assign(notice->datagram.begin(), notice->datagram.end());
    }
    if (onEvent) onEvent(event);
  }
};

// Runs the engine on a worker thread as a window does, calling `meanwhile` on
// this thread. True when it finished within 20 s; a hanging engine is stopped
// so that it fails its test instead of the whole run.
inline bool RunEngine(void (*engine)(EngineRequest&), EngineRequest& request,
                      const std::function<void()>& meanwhile = {}) {
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

inline std::unique_ptr<unitsim::UnitSimulator> StartUnits(std::vector<unitsim::UnitConfig> units) {
  auto simulator = std::make_unique<unitsim::UnitSimulator>(std::move(units));
  std::string error;
  if (!simulator->Start(error)) throw std::runtime_error(error);
  return simulator;
}

// Sends a datagram as if from a unit at `fromAddress`:`fromPort`.
inline bool SendFrom(const std::string& fromAddress, std::uint16_t fromPort, const std::string& toAddress,
                     std::uint16_t toPort, std::span<const std::uint8_t> bytes) {
  const auto endpoint = [](const std::string& address, std::uint16_t port) {
    sockaddr_in socketAddress{AF_INET, htons(port), {}, {}};
    ::inet_pton(AF_INET, address.c_str(), &socketAddress.sin_addr);
    return socketAddress;
  };
  const sockaddr_in from = endpoint(fromAddress, fromPort), to = endpoint(toAddress, toPort);
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  const bool sent = ::bind(fd, reinterpret_cast<const sockaddr*>(&from), sizeof from) == 0 &&
                    ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
                        static_cast<ssize_t>(bytes.size());
  ::close(fd);
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
