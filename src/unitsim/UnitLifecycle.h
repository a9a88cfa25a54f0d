#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "unitsim/UnitIdentity.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink::unitsim {

// The identity a unit reports after re-booting into the program it was sent.
UnitIdentity NewProgramIdentity(const UnitIdentity& identity, const UploadBehaviour& behaviour);

// One unit over time: the program it runs, the RAM loader it is told to run,
// the image that loader takes and the new program it re-boots into; and what
// it answers to each datagram on the way. Time is passed in, so that the
// restarts need no timer: a mode ends when a datagram or a query finds its time past.
class UnitLifecycle {
 public:
  using Clock = std::chrono::steady_clock;

  UnitLifecycle(const UnitIdentity& identity, const UploadBehaviour& behaviour);

  // The answer to a datagram arriving at `now`; empty when the unit gives none.
  std::vector<std::uint8_t> Answer(std::span<const std::uint8_t> datagram, Clock::time_point now);

  UnitMode Mode(Clock::time_point now) const;
  const std::vector<std::uint8_t>& image() const { return image_; }
  // Of its program; from command 6 in the loader on, of the new program.
  const UnitIdentity& identity() const { return identity_; }

 private:
  std::vector<std::uint8_t> ProgramAnswer(std::uint8_t command, Clock::time_point now);
  std::vector<std::uint8_t> LoaderAnswer(std::span<const std::uint8_t> datagram, Clock::time_point now);
  std::vector<std::uint8_t> TakePacket(std::span<const std::uint8_t> packet);
  void Restart(UnitMode mode, std::optional<std::chrono::milliseconds> delay, Clock::time_point now);

  UnitIdentity identity_;  // of the program the unit runs
  UploadBehaviour behaviour_;
  UnitMode mode_ = UnitMode::kProgram;
  Clock::time_point modeEndsAt_;  // of restarting and re-booting
  bool silent_ = false;           // the new program of a unit that is silent after its re-boot
  std::uint32_t packets_ = 0;     // program packets the current loader was sent
  std::vector<std::uint8_t> image_;
};

}  // namespace quenderlink::unitsim
