#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quenderlink {

inline constexpr std::uint8_t kIcmpEchoReply = 0;
inline constexpr std::uint8_t kIcmpEchoRequest = 8;
inline constexpr std::size_t kIcmpHeaderBytes = 8;
// The raw method's data stops here, so request and IP header fit its 65532-byte receive buffer.
inline constexpr std::size_t kMaxRawEchoData = 65500;

// The Internet checksum (RFC 1071) of the bytes, in host order.
[[nodiscard]] std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes);

// The low 16 bits of the process id, which marks this program's raw echo requests.
[[nodiscard]] std::uint16_t ProcessIcmpIdentifier();

// The raw method's request: the header, the 32-bit millisecond tick, then
// `dataSize` bytes of 'F' (at most kMaxRawEchoData).
[[nodiscard]] std::vector<std::uint8_t> BuildRawEchoRequest(std::size_t dataSize, std::uint16_t sequence,
                                                            std::uint16_t identifier, std::uint32_t tick);

// A request carrying `dataSize` bytes of `fill` after the header.
[[nodiscard]] std::vector<std::uint8_t> BuildEchoRequest(std::size_t dataSize, std::uint8_t fill,
                                                         std::uint16_t sequence, std::uint16_t identifier);

// Which answers are ours.
struct EchoExpectation {
  bool withIpHeader = true;      // raw sockets hand over the IP header, datagram ones do not
  std::size_t minimumIcmpBytes = 12;
  bool checkIdentifier = true;   // the kernel checks it for datagram sockets
  std::uint16_t identifier = 0;
  std::uint16_t sequence = 0;
  std::uint32_t peer = 0;        // network order; 0 takes any sender
};

enum class EchoAnswerKind {
  TooShort,
  NotOurs,    // another program's, another request's, or our own request seen on loopback
  EchoReply,
  IcmpError,  // an ICMP error about our request, matched by the header it quotes
};

struct EchoAnswer {
  EchoAnswerKind kind = EchoAnswerKind::NotOurs;
  std::uint8_t type = 0;
  std::uint8_t code = 0;
  std::span<const std::uint8_t> data;  // an echo reply's bytes after its header
};

[[nodiscard]] EchoAnswer DecodeEchoAnswer(std::span<const std::uint8_t> received, const EchoExpectation& expected);

}  // namespace quenderlink
