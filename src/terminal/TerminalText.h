#pragma once

#include <string>
#include <string_view>

namespace quenderlink {

// Turns what a unit sends into what the terminal shows and captures. Units end
// lines with CR NUL, CR LF or CR alone: each becomes one line break; NUL bytes
// are dropped, every other byte is kept as it came. A CR at the end of one
// block and the LF at the start of the next make one line break.
class TerminalText {
 public:
  std::string Feed(std::string_view received);

 private:
  bool afterCr_ = false;
};

}  // namespace quenderlink
