#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace quenderlink {

// How a unit is sent the file: the payload of every packet (only the last is
// shorter) and how many packets that makes.
struct PacketPlan {
  std::uint32_t packetSize = 0;
  std::uint32_t totalPackets = 0;

  friend bool operator==(const PacketPlan&, const PacketPlan&) = default;
};

// The largest payload worth sending to a unit that accepts `maxDatagram` bytes:
// room is kept for the headers, a unit announcing less than 140 gets 1000, no
// payload exceeds 1370, and it is always even.
std::uint32_t MaximumPayload(std::uint32_t maxDatagram);

// The end of the program store block holding the last byte of the last 4-byte
// word (counted back from the file's end) that is neither all 0 nor all 0xFF.
// No value when the file holds no such word: there is nothing to program.
// A block size of 0 stands for 4096.
[[nodiscard]] std::optional<std::uint32_t> UsedEnd(std::span<const std::uint8_t> image, std::uint32_t blockSize);

// The plan for a unit that announced `maxDatagram` and `blockSize`; the image
// must have a used end.
PacketPlan MakePacketPlan(std::span<const std::uint8_t> image, std::uint32_t maxDatagram, std::uint32_t blockSize);

}  // namespace quenderlink
