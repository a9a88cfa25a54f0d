#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "net/DeviceReply.h"

namespace quenderlink {

// Command codes of the device protocol.
inline constexpr std::uint8_t kCommandPing = 1;
inline constexpr std::uint8_t kCommandProgramPacket = 4;
inline constexpr std::uint8_t kCommandRunRamLoader = 5;
inline constexpr std::uint8_t kCommandReboot = 6;

// Header of a reply datagram; the identification text starts after it.
inline constexpr std::size_t kReplyHeaderSize = 8;

// Header byte 1 of a reply from a unit whose RAM loader runs.
inline constexpr std::uint8_t kProgramKindRamLoader = 3;
// A program packet: an 8-byte header, then the bytes it carries. The unit
// answers it with the packet code and, in byte 1, one of these.
inline constexpr std::size_t kProgramPacketHeaderSize = 8;
inline constexpr std::uint8_t kPacketAck = 6;
inline constexpr std::uint8_t kPacketNak = 7;
inline constexpr std::uint8_t kPacketFragmented = 10;
// The most a ping engine reads of one reply.
inline constexpr std::size_t kMaxReplyDatagram = 1024;

using ShortCommand = std::array<std::uint8_t, 8>;

// The 8-byte command datagram: the code, then seven zero bytes.
ShortCommand BuildShortCommand(std::uint8_t commandCode);

// Decodes an identification reply. A reply is untrusted: nothing is read past
// the datagram, whatever its length field says, and nothing is written past a
// field. False when the datagram is not a decodable identification reply.
// The railroad is the program's own, used by the track-name lookup.
// `requireFourSeparators` is false only for the upload transport's replies.
[[nodiscard]] bool DecodeDeviceReply(std::span<const std::uint8_t> datagram, std::string_view senderAddress,
                                     std::uint16_t senderPort, unsigned railroadCode, DeviceReply& reply,
                                     bool requireFourSeparators = true);

}  // namespace quenderlink
