#pragma once

#include <cstdint>
#include <string>

namespace quenderlink {

// What an ICMP library status means; "Unknwon???" for a status it does not name.
const char* IcmpStatusText(std::uint32_t status);

// A row's comment for a reply with an IP status: "Error %d: %s says: %s" with
// the status, the replying address (network order) as dotted text and the status text.
std::string IcmpStatusComment(std::uint32_t status, std::uint32_t replyAddress);

}  // namespace quenderlink
