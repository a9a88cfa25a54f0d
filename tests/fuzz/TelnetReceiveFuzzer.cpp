#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/PrefixedLines.h"
#include "terminal/TerminalText.h"

// What a unit sends, block by block, as the terminal shows it and the command
// line tool prints it: the blocks' boundaries must not change what is shown.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quenderlink;
  TerminalText blockwise;
  std::ostringstream plain;
  std::ostringstream prefixed;
  cli::PrefixedLines plainLines(plain, "");
  cli::PrefixedLines prefixedLines(prefixed, "[row 1] ");
  std::string shown;
  std::string sent;
  // The input as the blocks a socket hands over: each block is a length byte and
  // up to that many bytes, so the fuzzer also chooses where CR and LF are split.
  for (std::string_view input(reinterpret_cast<const char*>(data), size); !input.empty();) {
    const std::string_view block = input.substr(1, static_cast<unsigned char>(input.front()));
    input.remove_prefix(1 + block.size());
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
  // Every printed line starts with the unit's prefix, so units never share a line.
  const std::string printed = prefixed.str();
  for (std::string_view rest = printed; !rest.empty();) {
    if (!rest.starts_with("[row 1] ")) std::abort();
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) std::abort();
    rest.remove_prefix(end + 1);
  }
  return 0;
}
