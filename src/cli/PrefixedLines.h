#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace quenderlink::cli {

// Prints a unit's shown text ('\n' line breaks) as whole lines, each after the
// unit's prefix, so units running at once never share a line. A line waits
// until its end arrives. With a prefix, empty lines are left out: they would
// only say which unit was silent.
class PrefixedLines {
 public:
  PrefixedLines(std::ostream& out, std::string prefix) : out_(out), prefix_(std::move(prefix)) {}

  void Feed(std::string_view text);
  // Prints the line still waiting for its end.
  void Finish();

 private:
  void Print(std::string_view line);

  std::ostream& out_;
  std::string prefix_;
  std::string partial_;
};

}  // namespace quenderlink::cli
