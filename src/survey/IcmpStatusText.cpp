#include "survey/IcmpStatusText.h"

#include <array>
#include <cstring>

#include "core/Printf.h"

namespace quenderlink {

const char* IcmpStatusText(std::uint32_t status) {
  switch (status) {
    case 0: return "Success";
    case 11001: return "Buffer Too Small";
    case 11002: return "Destination Net Unreachable";
    case 11003: return "Destination Host Unreachable";
    case 11004: return "Destination Protocol Unreachable";
    case 11005: return "Destination Port Unreachable";
    case 11006: return "No Resources";
    case 11007: return "Bad Option";
    case 11008: return "Hardware Error";
    case 11009: return "Packet Too Big";
    case 11010: return "Request Timed Out";
    case 11011: return "Bad Request";
    case 11012: return "Bad Route";
    case 11013: return "TimeToLive Expired Transit";
    case 11014: return "TimeToLive Expired Reassembly";
    case 11015: return "Parameter Problem";
    case 11016: return "Source Quench";
    case 11017: return "Option Too Big";
    case 11018: return "Bad Destination";
    case 11032: return "Negotiating IPSEC";
    case 11050: return "General Failure";
    default: return "Unknwon???";
  }
}

std::string IcmpStatusComment(std::uint32_t status, std::uint32_t replyAddress) {
  // Network order: the first number of the dotted text is the first byte in memory.
  std::array<std::uint8_t, 4> bytes{};
  std::memcpy(bytes.data(), &replyAddress, bytes.size());
  const std::string dotted = Printf("%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
  return Printf("Error %d: %s says: %s", static_cast<int>(status), dotted.c_str(), IcmpStatusText(status));
}

}  // namespace quenderlink
