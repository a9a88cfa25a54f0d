#include "unitsim/TerminalSession.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "unitsim/TerminalPages.h"

namespace quenderlink::unitsim {
namespace {

// A line that never ends is answered in pieces of this size, so that what waits stays small.
constexpr std::size_t kLongestLine = 256;

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper;
}

// The byte count of "DUMP <n>"; none when the line is no dump or asks for too little or too much.
std::optional<std::size_t> DumpSize(std::string_view command) {
  constexpr std::string_view kDump = "DUMP ";
  if (!command.starts_with(kDump)) return std::nullopt;
  const std::string_view count = Trimmed(command.substr(kDump.size()));
  std::size_t bytes = 0;
  const auto [end, failure] = std::from_chars(count.data(), count.data() + count.size(), bytes);
  if (failure != std::errc{} || end != count.data() + count.size() || bytes < kLineEnd.size() || bytes > kLargestDump)
    return std::nullopt;
  return bytes;
}

}  // namespace

std::string TerminalSession::Greeting(const UnitIdentity& identity) {
  return BannerLine(identity) + MenuLines() + std::string(kPrompt);
}

void TerminalSession::Take(std::string_view bytes) {
  if (afterCr_ && !bytes.empty()) {
    if (bytes.front() == '\n' || bytes.front() == '\0') bytes.remove_prefix(1);
    afterCr_ = false;
  }
  inbox_ += bytes;
}

std::optional<std::string> TerminalSession::NextLine() {
  const std::size_t end = inbox_.find_first_of("\r\n");
  if (end == std::string::npos) {
    if (inbox_.size() < kLongestLine) return std::nullopt;
    std::string piece = inbox_.substr(0, kLongestLine);
    inbox_.erase(0, kLongestLine);
    return piece;
  }
  std::string line = inbox_.substr(0, end);
  const bool endedByCr = inbox_[end] == '\r';
  inbox_.erase(0, end + 1);
  if (endedByCr && inbox_.empty()) afterCr_ = true;
  else if (endedByCr && (inbox_.front() == '\n' || inbox_.front() == '\0')) inbox_.erase(0, 1);
  // A stray NUL would end an answer's line early on the other side.
  std::erase(line, '\0');
  return line;
}

std::optional<std::string> TerminalSession::NextAnswer(const UnitIdentity& identity, std::chrono::seconds uptime) {
  if (ended_) return std::nullopt;
  const std::optional<std::string> line = NextLine();
  if (!line) return std::nullopt;
  return Answer(*line, identity, uptime);
}

std::string TerminalSession::Answer(const std::string& line, const UnitIdentity& identity,
                                    std::chrono::seconds uptime) {
  const std::string_view text = Trimmed(line);
  const std::string command = Upper(text);
  const std::string prompt(kPrompt);
  if (command.empty()) return prompt;
  if (command == "1" || command == "STATUS") return StatusLines(identity, uptime) + prompt;
  if (command == "2" || command == "VERSION") return VersionLine(identity) + prompt;
  if (command == "3" || command == "LOG") return EventLogLines(identity) + prompt;
  if (command == "*MENU*") return MenuLines() + prompt;
  if (command == "BYE") {
    ended_ = true;
    return TerminalLine("GOODBYE");
  }
  if (const std::optional<std::size_t> bytes = DumpSize(command)) return DumpLines(*bytes) + prompt;
  return TerminalLine("?? UNKNOWN COMMAND: " + std::string(text)) + prompt;
}

}  // namespace quenderlink::unitsim
