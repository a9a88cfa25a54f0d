#pragma once

#include <algorithm>
#include <cstdint>

namespace quenderlink {

// Per cent a waiting row's bar moves on every 500 ms tick: 100 / ((2 × wait)
// modulo 256), so the bar fills in about the wait; 0 when that divisor is 0.
inline std::uint8_t ProgressStep(std::uint16_t maxWaitResponse) {
  const int divisor = (2 * maxWaitResponse) % 256;
  return divisor == 0 ? 0 : static_cast<std::uint8_t>(100 / divisor);
}

// A waiting row's bar after one tick: moved on by the step, never past full.
inline std::uint8_t AdvancedProgress(std::uint8_t progress, std::uint8_t step) {
  return static_cast<std::uint8_t>(std::min(100, progress + step));
}

}  // namespace quenderlink
