#pragma once

#include <cstdint>

namespace quenderlink {

inline constexpr std::uint32_t kIcmpStatusNoResources = 11006;
inline constexpr std::uint32_t kIcmpStatusBadOption = 11007;
inline constexpr std::uint32_t kIcmpStatusTimedOut = 11010;
inline constexpr std::uint32_t kIcmpStatusTimeExceededInTransit = 11013;
inline constexpr std::uint32_t kIcmpStatusBadDestination = 11018;
inline constexpr std::uint32_t kIcmpStatusGeneralFailure = 11050;

// The status (11001-11050) an ICMP error message stands for.
[[nodiscard]] std::uint32_t IcmpErrorStatus(std::uint8_t type, std::uint8_t code);

// The status for a send this machine refused (an errno), e.g. for want of a route.
[[nodiscard]] std::uint32_t LocalErrorStatus(int error);

}  // namespace quenderlink
