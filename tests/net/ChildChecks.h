#pragma once

#include <iostream>
#include <string>

namespace quenderlink::testing {

// What the checks in a forked child found; the child's exit code says whether all held.
class ChildChecks {
 public:
  void Equal(const std::string& actual, const std::string& expected, const char* what) {
    if (actual == expected) return;
    std::cerr << what << ":\n  got:  " << actual << "\n  want: " << expected << "\n";
    failed_ = true;
  }
  void True(bool condition, const char* what) {
    if (condition) return;
    std::cerr << what << "\n";
    failed_ = true;
  }
  [[nodiscard]] int ExitCode() const { return failed_ ? 1 : 0; }

 private:
  bool failed_ = false;
};

}  // namespace quenderlink::testing
