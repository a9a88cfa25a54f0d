#include "unitsim/UnitLifecycle.h"

#include <algorithm>
#include <cstddef>

#include "net/DeviceDatagram.h"

namespace quenderlink::unitsim {
namespace {

// A unit's program store is far smaller; a packet reaching past this is refused
// instead of making the simulator allocate what a stray offset asks for.
constexpr std::size_t kLargestImage = 16 * 1024 * 1024;

std::vector<std::uint8_t> PacketAnswer(std::uint8_t code) { return {kCommandProgramPacket, code, 0, 0, 0, 0, 0, 0}; }

std::optional<std::chrono::milliseconds> Delay(int milliseconds) {
  return std::chrono::milliseconds(std::max(0, milliseconds));
}

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes) {
  std::uint32_t value = 0;
  for (std::size_t index = bytes.size(); index > 0; --index) value = (value << 8) | bytes[index - 1];
  return value;
}

}  // namespace

UnitIdentity NewProgramIdentity(const UnitIdentity& identity, const UploadBehaviour& behaviour) {
  UnitIdentity next = identity;
  if (!behaviour.newVersionMajor && !behaviour.newVersionMinor) return next;
  next.versionMajor = behaviour.newVersionMajor.value_or(identity.versionMajor);
  next.versionMinor = behaviour.newVersionMinor.value_or(identity.versionMinor);
  next.versionBuild = behaviour.newVersionBuild;
  return next;
}

UnitLifecycle::UnitLifecycle(const UnitIdentity& identity, const UploadBehaviour& behaviour)
    : identity_(identity), behaviour_(behaviour) {}

UnitMode UnitLifecycle::Mode(Clock::time_point now) const {
  if (now < modeEndsAt_) return mode_;
  switch (mode_) {
    case UnitMode::kRestarting: return UnitMode::kLoader;
    case UnitMode::kRebooting: return UnitMode::kProgram;
    default: return mode_;
  }
}

std::vector<std::uint8_t> UnitLifecycle::Answer(std::span<const std::uint8_t> datagram, Clock::time_point now) {
  mode_ = Mode(now);
  if (datagram.empty() || silent_) return {};
  switch (mode_) {
    case UnitMode::kProgram: return ProgramAnswer(datagram[0], now);
    case UnitMode::kLoader: return LoaderAnswer(datagram, now);
    default: return {};
  }
}

std::vector<std::uint8_t> UnitLifecycle::ProgramAnswer(std::uint8_t command, Clock::time_point now) {
  switch (command) {
    case kCommandPing: return EncodeIdentificationReply(identity_);
    case kCommandReboot: return EncodeResetConfirmation();
    case kCommandRunRamLoader:
      image_.clear();
      packets_ = 0;
      Restart(UnitMode::kRestarting, behaviour_.loaderNeverStarts ? std::nullopt : Delay(behaviour_.ramLoaderDelayMs),
              now);
      return {};
    default: return {};
  }
}

std::vector<std::uint8_t> UnitLifecycle::LoaderAnswer(std::span<const std::uint8_t> datagram, Clock::time_point now) {
  switch (datagram[0]) {
    case kCommandPing: {
      UnitIdentity loader = identity_;
      loader.programKind = kProgramKindRamLoader;
      return EncodeIdentificationReply(loader);
    }
    case kCommandProgramPacket: return TakePacket(datagram);
    case kCommandReboot:
      identity_ = NewProgramIdentity(identity_, behaviour_);
      silent_ = behaviour_.silentAfterReboot;
      Restart(UnitMode::kRebooting, Delay(behaviour_.rebootDelayMs), now);
      return {};
    default: return {};
  }
}

std::vector<std::uint8_t> UnitLifecycle::TakePacket(std::span<const std::uint8_t> packet) {
  ++packets_;
  if (packets_ <= static_cast<std::uint32_t>(behaviour_.unansweredPackets)) return {};
  if (behaviour_.fragmentedAt > 0 && packets_ == static_cast<std::uint32_t>(behaviour_.fragmentedAt))
    return PacketAnswer(kPacketFragmented);
  if (behaviour_.nakEvery > 0 && packets_ % static_cast<std::uint32_t>(behaviour_.nakEvery) == 0)
    return PacketAnswer(kPacketNak);
  if (packet.size() <= kProgramPacketHeaderSize) return PacketAnswer(kPacketNak);
  const std::size_t length = LittleEndian(packet.subspan(2, 2));
  const std::size_t offset = LittleEndian(packet.subspan(4, 4));
  // A packet whose length field disagrees with what arrived was cut or padded on the way.
  if (length != packet.size() - kProgramPacketHeaderSize || offset > kLargestImage - length) return PacketAnswer(kPacketNak);
  if (image_.size() < offset + length) image_.resize(offset + length);
  std::copy(packet.begin() + kProgramPacketHeaderSize, packet.end(), image_.begin() + static_cast<std::ptrdiff_t>(offset));
  return PacketAnswer(kPacketAck);
}

// Without a delay the mode never ends.
void UnitLifecycle::Restart(UnitMode mode, std::optional<std::chrono::milliseconds> delay, Clock::time_point now) {
  mode_ = mode;
  modeEndsAt_ = delay ? now + *delay : Clock::time_point::max();
}


}  // namespace quenderlink::unitsim
