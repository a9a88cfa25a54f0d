#pragma once

#include <string>
#include <utility>

namespace quenderlink {

// Why an operation could not do what it was asked, in the words the user is shown.
struct Failure {
  std::string reason;
};

// What an operation that can fail gives back: success, or why not.
class [[nodiscard]] Result {
 public:
  Result() = default;
  Result(Failure failure) : failed_(true), reason_(std::move(failure.reason)) {}

  explicit operator bool() const { return !failed_; }
  // Empty on success.
  const std::string& reason() const { return reason_; }

 private:
  bool failed_ = false;
  std::string reason_;
};

}  // namespace quenderlink
