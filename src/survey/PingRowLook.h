#pragma once

#include <string_view>

namespace quenderlink {

// How a listed site's row is coloured, read from its Results text.
enum class PingRowLook { Plain, Sending, Success, Failed };

inline PingRowLook PingRowLookOf(std::string_view results) {
  if (results.starts_with("SUCCESS") || results.starts_with("Cadmarin was Reset")) return PingRowLook::Success;
  if (results.starts_with("FAILED")) return PingRowLook::Failed;
  if (results.starts_with("PING") || results.starts_with("Send RESET")) return PingRowLook::Sending;
  return PingRowLook::Plain;
}

}  // namespace quenderlink
