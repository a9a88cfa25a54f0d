#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quenderlink {

// What a site record keeps as its address when its host has none.
inline constexpr char kNoAddress[] = "0.0.0.0";

// True when the text is not empty, holds only digits and '.', has exactly three
// '.', and its first number (taken modulo 256) is not 0.
bool IsDottedQuad(std::string_view text);

// Like IsDottedQuad, but only four numbers that are all 0 are refused: the upload
// sends to any such text as it is, without a look-up, a first number 0 too.
bool IsDottedQuadNotAllZero(std::string_view text);

// Turns a host name into its first IPv4 address in dotted form.
using HostLookup = std::function<std::optional<std::string>(const std::string& hostName)>;

// The first IPv4 address the name resolves to, as dotted text. Blocks.
[[nodiscard]] std::optional<std::string> ResolveIpv4(const std::string& hostName);

// The address a host text stands for: the text itself when it is a dotted quad,
// else the first address the look-up gives; none when that fails.
std::optional<std::string> AddressOfHost(const std::string& host, const HostLookup& lookup = ResolveIpv4);

// The address a site record keeps for a host: its AddressOfHost, else kNoAddress.
std::string AddressForHost(const std::string& host);

}  // namespace quenderlink
