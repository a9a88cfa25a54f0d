#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/PrefixedLines.h"
#include "terminal/TerminalText.h"

namespace {

using namespace quenderlink;

// The input as the blocks a socket hands over: each block is a length byte and
// up to that many bytes, so the fuzzer also chooses where CR and LF are split.
std::vector<std::string_view> Blocks(std::string_view input) {
  std::vector<std::string_view> blocks;
  while (!input.empty()) {
    const std::size_t length = static_cast<unsigned char>(input.front());
    input.remove_prefix(1);
    blocks.push_back(input.substr(0, length));
    input.remove_prefix(blocks.back().size());
  }
  return blocks;
}

// Every printed line starts with the unit's prefix, so units never share a line.
void RequirePrefixed(const std::string& printed, std::string_view prefix) {
  std::string_view rest = printed;
  while (!rest.empty()) {
    if (!rest.starts_with(prefix)) std::abort();
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) std::abort();
    rest.remove_prefix(end + 1);
  }
}

}  // namespace

// What a unit sends, block by block, as the terminal shows it and the command
// line tool prints it: the blocks' boundaries must not change what is shown.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TerminalText blockwise;
  std::ostringstream plain;
  std::ostringstream prefixed;
  cli::PrefixedLines plainLines(plain, "");
  cli::PrefixedLines prefixedLines(prefixed, "[row 1] ");
  std::string shown;
  std::string sent;
  for (const std::string_view block : Blocks(input)) {
    sent.append(block);
    const std::string text = blockwise.Feed(block);
    if (text.find_first_of(std::string_view("\r\0", 2)) != std::string::npos) std::abort();
    shown += text;
    plainLines.Feed(text);
    prefixedLines.Feed(text);
  }
  plainLines.Finish();
  prefixedLines.Finish();
  if (TerminalText().Feed(sent) != shown) std::abort();
  if (plain.str() != (shown.empty() || shown.ends_with('\n') ? shown : shown + '\n')) std::abort();
  RequirePrefixed(prefixed.str(), "[row 1] ");
  return 0;
}
