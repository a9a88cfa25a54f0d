#pragma once

#include <cstdint>

namespace quenderlink {

// Per cent a waiting row's bar moves on every 500 ms tick: 100 / ((2 × wait)
// modulo 256), so the bar fills in about the wait; 0 when that divisor is 0.
inline std::uint8_t ProgressStep(std::uint16_t maxWaitResponse) {
  const int divisor = (2 * maxWaitResponse) % 256;
  return divisor == 0 ? 0 : static_cast<std::uint8_t>(100 / divisor);
}

}  // namespace quenderlink
