#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "unitsim/UnitIdentity.h"

namespace quenderlink::unitsim {

struct UnitFaults {
  bool silent = false;           // answers nothing
  double dropProbability = 0.0;  // each reply is lost with this probability
  int replyDelayMs = 0;          // each reply waits this long
  bool garbageReplies = false;   // replies with bytes that are no identification reply
  int duplicateReplies = 0;      // each reply is sent this many extra times
};

struct UnitConfig {
  std::string address = "127.0.0.1";  // any address in 127.0.0.0/8
  std::uint16_t port = 9001;
  UnitIdentity identity;
  UnitFaults faults;
};

// A datagram a simulated unit received, as it came.
struct ReceivedDatagram {
  std::chrono::steady_clock::time_point at;
  std::string unitAddress;
  std::uint16_t unitPort = 0;
  std::string fromAddress;
  std::uint16_t fromPort = 0;
  std::vector<std::uint8_t> bytes;
};

// Simulated units, each on its own loopback address and port, answering the
// ping with its identification and the reset command with "WILL RESET". One
// thread serves them all; every datagram received is recorded.
class UnitSimulator {
 public:
  explicit UnitSimulator(std::vector<UnitConfig> units);
  ~UnitSimulator();
  UnitSimulator(const UnitSimulator&) = delete;
  UnitSimulator& operator=(const UnitSimulator&) = delete;

  // Whether received datagrams are kept for Received(); on unless turned off
  // before Start, as a simulator left running by hand does.
  void KeepRecords(bool keep);

  // Binds every unit and starts serving; false with the reason when a unit cannot be bound.
  bool Start(std::string& error);
  void Stop();

  const std::vector<UnitConfig>& units() const;
  // Every datagram received so far, in arrival order.
  std::vector<ReceivedDatagram> Received() const;
  // Those received by one unit.
  std::vector<ReceivedDatagram> ReceivedBy(const std::string& unitAddress, std::uint16_t unitPort) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quenderlink::unitsim
