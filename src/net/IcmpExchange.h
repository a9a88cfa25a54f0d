#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "net/IcmpSocket.h"

namespace quenderlink {

// The largest echo data an IPv4 packet carries besides its IP and ICMP headers.
inline constexpr std::size_t kMaxEchoData = 65535 - 20 - 8;

enum class EchoOutcomeKind { Reply, IcmpError, TimedOut, SendFailed, WaitFailed };

struct EchoOutcome {
  EchoOutcomeKind kind = EchoOutcomeKind::TimedOut;
  std::uint32_t status = 0;  // IcmpError and SendFailed: the 11001-11050 status
  std::uint8_t type = 0;     // IcmpError: the ICMP type
  std::uint32_t from = 0;    // network order: who answered
  std::uint32_t timeMs = 0;  // from the send to the answer
  std::vector<std::uint8_t> data;  // Reply: the echoed data
};

// Sends one echo request of `dataSize` bytes of `fill` to `address` (network
// order) and waits at most `timeoutMs` for its reply or an ICMP error about it,
// skipping everything else the socket sees.
[[nodiscard]] EchoOutcome ExchangeEcho(const IcmpSocket& socket, std::uint32_t address, std::size_t dataSize,
                                       std::uint8_t fill, std::uint16_t sequence, std::uint32_t timeoutMs);

}  // namespace quenderlink
