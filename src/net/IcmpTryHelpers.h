#pragma once

#include <arpa/inet.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "net/HostAddress.h"
#include "net/IcmpJob.h"

namespace quenderlink {

// "Try # %d", 1-based.
inline std::string IcmpTryText(int tryNumber) {
  char text[32];
  std::snprintf(text, sizeof text, "Try # %d", tryNumber);
  return text;
}

// The job's address in network order, a name resolved.
inline std::optional<std::uint32_t> IcmpJobAddress(const IcmpJob& job) {
  const std::optional<std::string> dotted = AddressOfHost(job.address);
  in_addr address{};
  if (!dotted || ::inet_pton(AF_INET, dotted->c_str(), &address) != 1) return std::nullopt;
  return address.s_addr;
}

inline bool IcmpAborted(const IcmpJob& job) { return job.abort && job.abort->load(); }

}  // namespace quenderlink
