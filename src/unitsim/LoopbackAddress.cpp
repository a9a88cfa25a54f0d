#include "unitsim/LoopbackAddress.h"

#include <arpa/inet.h>

namespace quenderlink::unitsim {

std::optional<std::uint32_t> ParseLoopbackAddress(std::string_view text) {
  const std::string copy(text);
  in_addr parsed{};
  if (::inet_pton(AF_INET, copy.c_str(), &parsed) != 1) return std::nullopt;
  const std::uint32_t address = ntohl(parsed.s_addr);
  if ((address >> 24) != 127) return std::nullopt;
  return address;
}

std::string AddressText(std::uint32_t address) {
  in_addr raw{htonl(address)};
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &raw, text, sizeof text);
  return text;
}

}  // namespace quenderlink::unitsim
