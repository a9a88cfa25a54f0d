#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
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

// How a unit goes through the upload procedure: run RAM loader (command 5),
// program packets (type 4) taken by the loader, re-boot (command 6) into the
// new program. A unit restarting or re-booting answers nothing, as the real one
// does while its processor starts over.
struct UploadBehaviour {
  int ramLoaderDelayMs = 0;        // from command 5 until the RAM loader answers
  int rebootDelayMs = 0;           // from command 6 in the loader until the new program answers
  int nakEvery = 0;                // refuses every Nth program packet; 0 never
  int fragmentedAt = 0;            // answers "fragmented" once, to the Kth program packet; 0 never
  int unansweredPackets = 0;       // the first N program packets are lost: no answer, nothing stored
  bool loaderNeverStarts = false;  // after command 5 the unit never answers again
  bool silentAfterReboot = false;  // the new program never answers
  // The version the new program reports; the old one where not set. The build
  // number is replaced by `newVersionBuild` whenever a new major or minor is set.
  std::optional<int> newVersionMajor{};
  std::optional<int> newVersionMinor{};
  std::optional<int> newVersionBuild{};
};

struct UnitConfig {
  std::string address = "127.0.0.1";  // any address in 127.0.0.0/8
  std::uint16_t port = 9001;
  std::uint16_t telnetPort = 0;  // TCP port of the unit's terminal on its address; 0 serves none
  UnitIdentity identity;
  UnitFaults faults;
  UploadBehaviour upload{};
};

// What a unit is running, as the upload procedure moves it along.
enum class UnitMode {
  kProgram,     // its program: answers pings and the reset
  kRestarting,  // after command 5, until the RAM loader runs: answers nothing
  kLoader,      // the RAM loader: answers pings with program kind 3 and takes program packets
  kRebooting,   // after command 6 in the loader, until the new program runs: answers nothing
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

// What a unit's telnet port was sent, over all its connections.
struct TelnetRecord {
  int connections = 0;   // accepted
  std::string received;  // every byte, in arrival order on each connection
};

// Simulated units, each on its own loopback address and port, answering the
// ping with its identification and the reset command with "WILL RESET", and
// going through the upload procedure (see UploadBehaviour). A unit with a
// telnet port also serves its terminal there (see TerminalSession), unless it
// is silent: then a connection is refused, as by a dead unit. One thread
// serves them all; every datagram and telnet byte received is recorded.
class UnitSimulator {
 public:
  explicit UnitSimulator(std::vector<UnitConfig> units);
  ~UnitSimulator();
  UnitSimulator(const UnitSimulator&) = delete;
  UnitSimulator& operator=(const UnitSimulator&) = delete;

  // Whether received datagrams and telnet bytes are kept for Received() and
  // TelnetReceived(); on unless turned off before Start, as a simulator left
  // running by hand does.
  void KeepRecords(bool keep);

  // Binds every unit and its telnet port and starts serving; false with the
  // reason when a unit cannot be bound.
  [[nodiscard]] bool Start(std::string& error);
  void Stop();

  const std::vector<UnitConfig>& units() const;
  // Every datagram received so far, in arrival order.
  std::vector<ReceivedDatagram> Received() const;
  // Those received by one unit.
  std::vector<ReceivedDatagram> ReceivedBy(const std::string& unitAddress, std::uint16_t unitPort) const;

  // The program image a unit's RAM loader has taken, each packet's payload at
  // its offset; empty for a unit that is not simulated or never ran its loader.
  // A new command 5 starts a new image.
  std::vector<std::uint8_t> ReceivedImage(const std::string& unitAddress, std::uint16_t unitPort) const;
  // Whether that image is byte for byte the file; false when the file cannot be read.
  bool ImageMatches(const std::string& unitAddress, std::uint16_t unitPort,
                    const std::filesystem::path& expected) const;
  // What a unit's telnet port was sent; nothing for a port no unit serves.
  TelnetRecord TelnetReceived(const std::string& unitAddress, std::uint16_t telnetPort) const;
  // What the unit runs now; none for a unit that is not simulated.
  [[nodiscard]] std::optional<UnitMode> Mode(const std::string& unitAddress, std::uint16_t unitPort) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quenderlink::unitsim
