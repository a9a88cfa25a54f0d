#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenderlink {

// True when the text is not empty, holds only digits and '.', has exactly three
// '.', and its first number (taken modulo 256) is not 0.
bool IsDottedQuad(std::string_view text);

// The first IPv4 address the name resolves to, as dotted text. Blocks.
[[nodiscard]] std::optional<std::string> ResolveIpv4(const std::string& hostName);

// The address a site record keeps for a host: the host itself when dotted,
// else its first resolved address, else "0.0.0.0".
std::string AddressForHost(const std::string& host);

}  // namespace quenderlink
