#pragma once

#include <cstddef>

namespace quenderlink {

// A path shorter than this names no file: it is an empty or left-over setting,
// history entry or choice, for site list and program files alike.
inline constexpr std::size_t kShortestFilePath = 5;

// The program file the start-up takes from its history must be one longer.
inline constexpr std::size_t kShortestStartupProgramPath = 6;

}  // namespace quenderlink
