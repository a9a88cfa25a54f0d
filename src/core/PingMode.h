#pragma once

#include <cstdint>

namespace quenderlink {

// What a ping sites run does to the marked sites.
enum class PingMode : std::uint8_t { Ping, Reset };

}  // namespace quenderlink
