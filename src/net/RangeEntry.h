#pragma once

#include <atomic>
#include <cstdint>

namespace quenderlink {

class COurAsyncSocketSHORT;

// One address of a range scan. The view owns the table and writes the address;
// the engine writes the rest. The view's timer reads tries and done and
// advances progress while the engine runs, so those are atomic.
struct RangeEntry {
  char address[18] = {};
  std::atomic<std::uint8_t> done{0};
  std::atomic<std::uint8_t> tries{0};
  std::atomic<std::int8_t> result{-2};  // -2 waiting, -1 given up, 1..250 tenths
  std::atomic<std::uint8_t> progress{0};
  std::uint32_t lastSend = 0;
  std::uint32_t firstSend = 0;
  COurAsyncSocketSHORT* socket = nullptr;
};

}  // namespace quenderlink
