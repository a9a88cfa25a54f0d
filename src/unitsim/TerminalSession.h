#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "unitsim/UnitIdentity.h"

namespace quenderlink::unitsim {

// The largest burst "DUMP <n>" asks for.
inline constexpr std::size_t kLargestDump = 4 * 1024 * 1024;

// One telnet session with a simulated unit, without its socket: what arrives
// is split into command lines (ended by CR LF, CR NUL, CR or LF), which are
// answered one at a time, so that a caller may hold the next command back
// until the last answer is sent. Nothing received is echoed. Commands, in any
// case, with spaces around them ignored:
//   "1" or "STATUS"   the status page        "2" or "VERSION"  the version line
//   "3" or "LOG"      the event log          "*MENU*"          the menu again
//   "DUMP <n>"        n bytes of numbered lines, n from 2 to kLargestDump
//   "BYE"             "GOODBYE", then the session has ended
//   an empty line     the prompt again
//   anything else     "?? UNKNOWN COMMAND: <text>"
// Every answer but the goodbye ends with the prompt.
class TerminalSession {
 public:
  // What a unit sends when a connection opens: the banner, the menu and the prompt.
  static std::string Greeting(const UnitIdentity& identity);

  void Take(std::string_view bytes);
  // The answer to the next whole command line taken; none while no line is whole or after "BYE".
  [[nodiscard]] std::optional<std::string> NextAnswer(const UnitIdentity& identity, std::chrono::seconds uptime);

  bool ended() const { return ended_; }
  // Bytes taken and not yet answered.
  std::size_t waiting() const { return inbox_.size(); }

 private:
  std::optional<std::string> NextLine();
  std::string Answer(const std::string& line, const UnitIdentity& identity, std::chrono::seconds uptime);

  std::string inbox_;
  bool afterCr_ = false;  // an LF or NUL right after a CR belongs to the line the CR ended
  bool ended_ = false;
};

}  // namespace quenderlink::unitsim
