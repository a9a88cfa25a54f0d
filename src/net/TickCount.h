#pragma once

#include <chrono>
#include <cstdint>

namespace quenderlink {

// A millisecond tick that never goes backwards; it wraps after 49 days, so
// differences are taken in unsigned arithmetic.
inline std::uint32_t TickCount() {
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

}  // namespace quenderlink
