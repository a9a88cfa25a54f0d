#pragma once

#include <poll.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/PrefixedLines.h"
#include "core/SiteRecord.h"
#include "terminal/TelnetCommandList.h"
#include "terminal/TelnetSession.h"

namespace quenderlink::cli {

using TelnetClock = std::chrono::steady_clock;

// What every unit of a run does alike.
struct TelnetRunPlan {
  std::vector<TelnetCommandStep> steps;
  // How long the unit may still answer after the last command.
  std::chrono::milliseconds answerWait{2000};
  std::uint8_t railroadCode = 0;
  // The program folder whose "Capture" folder gets a file per unit; none: no capture.
  std::optional<std::filesystem::path> captureHome;
  // Whether the shown text is printed (not with --json).
  bool printText = true;
};

// One unit: its site list row (none for a unit named on the command line), the
// record that names its capture file, and where to connect (an empty address:
// its host did not resolve).
struct TelnetUnitTarget {
  std::optional<std::uint16_t> row;
  SiteRecord site{};
  TelnetTarget target;
};

// One unit's session driven by the owner's poll() loop: connect, the command
// list with its pauses as deadlines, the wait for the answer, "BYE", up to a
// second for the unit's close, then the close.
class TelnetUnit : private TelnetSessionListener {
 public:
  TelnetUnit(TelnetUnitTarget unit, const TelnetRunPlan& plan, std::ostream& out);

  void Start(TelnetClock::time_point now);
  // Ctrl-C: a connected unit is told "BYE" and closed as at the end; any other ends now.
  void Stop(TelnetClock::time_point now);

  // What to watch; the fd is -1 when nothing.
  pollfd watch() const;
  TelnetClock::time_point deadline() const;
  // The watched descriptor is ready.
  void OnReady(TelnetClock::time_point now);
  // Carries out whatever is due by `now`.
  void Advance(TelnetClock::time_point now);

  bool done() const { return phase_ == Phase::Done; }
  const TelnetUnitTarget& unit() const { return unit_; }
  bool connected() const { return everConnected_; }
  // Every command of the list went out.
  bool commandsSent() const { return commandsSent_; }
  // Why the unit did not connect; empty when it did.
  const std::string& error() const { return error_; }
  std::uint64_t bytesReceived() const { return session_.bytesReceived(); }
  std::optional<std::filesystem::path> capturePath() const;

 private:
  enum class Phase { Waiting, Connecting, Sending, Answering, Closing, Done };

  void OnTerminalText(const std::string& text) override;
  // The loop reads the session's state instead.
  void OnConnectionChanged(bool) override {}

  void StartCommands(TelnetClock::time_point now);
  void StartCapture();
  void Finish();

  TelnetUnitTarget unit_;
  const TelnetRunPlan& plan_;
  PrefixedLines lines_;
  TelnetSession session_;
  Phase phase_ = Phase::Waiting;
  TelnetClock::time_point due_{};
  std::size_t nextStep_ = 0;
  bool everConnected_ = false;
  bool commandsSent_ = false;
  std::string error_;
};

}  // namespace quenderlink::cli
