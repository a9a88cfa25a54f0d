#include "terminal/TerminalText.h"

namespace quenderlink {

std::string TerminalText::Feed(std::string_view received) {
  std::string shown;
  shown.reserve(received.size());
  for (const char byte : received) {
    if (byte == '\0') continue;
    if (byte == '\n' && afterCr_) {
      afterCr_ = false;
      continue;
    }
    afterCr_ = byte == '\r';
    shown += afterCr_ ? '\n' : byte;
  }
  return shown;
}

}  // namespace quenderlink
