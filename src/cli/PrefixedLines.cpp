#include "cli/PrefixedLines.h"

namespace quenderlink::cli {

void PrefixedLines::Feed(std::string_view text) {
  bool printed = false;
  for (std::size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
    partial_.append(text.substr(0, end));
    Print(partial_);
    partial_.clear();
    text.remove_prefix(end + 1);
    printed = true;
  }
  partial_.append(text);
  if (printed) out_.flush();
}

void PrefixedLines::Finish() {
  if (!partial_.empty()) Print(partial_);
  partial_.clear();
  out_.flush();
}

void PrefixedLines::Print(std::string_view line) {
  if (line.empty() && !prefix_.empty()) return;
  out_ << prefix_ << line << '\n';
}

}  // namespace quenderlink::cli
