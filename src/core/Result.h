#pragma once

#include <optional>
#include <string>
#include <utility>

namespace quenderlink {

// Why an operation could not do what it was asked, in the words the user is shown.
struct Failure {
  std::string reason;
};

// What an operation that can fail gives back: its value, or why there is none.
// `Result<>` is for operations that give nothing but success.
template <typename T = void>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  Result(Failure failure) : reason_(std::move(failure.reason)) {}

  explicit operator bool() const { return value_.has_value(); }
  const T& operator*() const { return *value_; }
  T& operator*() { return *value_; }
  const T* operator->() const { return &*value_; }
  // Empty on success.
  const std::string& reason() const { return reason_; }

 private:
  std::optional<T> value_;
  std::string reason_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Failure failure) : failed_(true), reason_(std::move(failure.reason)) {}

  explicit operator bool() const { return !failed_; }
  const std::string& reason() const { return reason_; }

 private:
  bool failed_ = false;
  std::string reason_;
};

}  // namespace quenderlink
