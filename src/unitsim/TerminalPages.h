#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "unitsim/UnitIdentity.h"

namespace quenderlink::unitsim {

// What a simulated unit's telnet terminal sends. Every line ends with CR NUL,
// as the units' own terminals end them, and nothing else does; the prompt ends
// no line. The texts:
//   banner    "*** <site name>  MP <milepost>  <product short name> <version> ***"
//   menu      "1 - Status", "2 - Version", "3 - Event Log", "BYE - End Session"
//   prompt    "> "
//   version   "<product short name> VERSION <version>"
//   status    ten lines, the first "STATUS  <site name>  MP <milepost>  TRACK <track>"
//   event log "EVENT LOG  <site name>  300 EVENTS", 300 numbered lines, "END OF LOG"
inline constexpr std::string_view kLineEnd{"\r\0", 2};
inline constexpr std::string_view kPrompt = "> ";
inline constexpr int kEventLogLines = 300;

// The text followed by CR NUL.
std::string TerminalLine(std::string_view text);

std::string BannerLine(const UnitIdentity& identity);
std::string MenuLines();
std::string VersionLine(const UnitIdentity& identity);
// The train counts grow with the uptime, so that two looks a while apart differ.
std::string StatusLines(const UnitIdentity& identity, std::chrono::seconds uptime);
std::string EventLogLines(const UnitIdentity& identity);
// Exactly `bytes` bytes (at least 2) of numbered lines, each at most 64 bytes.
std::string DumpLines(std::size_t bytes);

}  // namespace quenderlink::unitsim
