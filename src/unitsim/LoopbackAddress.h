#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quenderlink::unitsim {

// Simulated units only ever live on the loopback network, so no test or
// simulator run can send a datagram off this machine.

// The address in host byte order when the text is a dotted address in 127.0.0.0/8.
[[nodiscard]] std::optional<std::uint32_t> ParseLoopbackAddress(std::string_view text);

// Dotted text of an address in host byte order.
std::string AddressText(std::uint32_t address);

}  // namespace quenderlink::unitsim
