#include "net/HostAddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>

namespace quenderlink {

bool IsDottedQuad(std::string_view text) {
  if (text.empty()) return false;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; }))
    return false;
  if (std::count(text.begin(), text.end(), '.') != 3) return false;
  unsigned first = 0;
  for (char c : text.substr(0, text.find('.'))) first = (first * 10 + static_cast<unsigned>(c - '0')) % 256;
  return first != 0;
}

bool IsDottedQuadNotAllZero(std::string_view text) {
  const bool onlyDigitsAndDots =
      std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
  const bool someNumberNotZero = std::any_of(text.begin(), text.end(), [](char c) { return c >= '1' && c <= '9'; });
  return onlyDigitsAndDots && std::count(text.begin(), text.end(), '.') == 3 && someNumberNotZero;
}

std::optional<std::string> ResolveIpv4(const std::string& hostName) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (hostName.empty() || ::getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0 || !found)
    return std::nullopt;
  char text[INET_ADDRSTRLEN] = {};
  const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  const bool converted = ::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr;
  ::freeaddrinfo(found);
  if (!converted) return std::nullopt;
  return std::string(text);
}

std::optional<std::string> AddressOfHost(const std::string& host, const HostLookup& lookup) {
  if (IsDottedQuad(host)) return host;
  return lookup(host);
}

std::string AddressForHost(const std::string& host) { return AddressOfHost(host).value_or(kNoAddress); }

}  // namespace quenderlink
