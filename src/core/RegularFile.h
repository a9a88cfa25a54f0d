#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quenderlink {

// A file opened for reading only once it is known to be a regular file (a
// symbolic link to one is followed). A folder, device, FIFO or socket is
// refused: reading /dev/zero or a FIFO would never end or never begin.
class RegularFile {
 public:
  enum class Failure { None, CannotOpen, NotRegular, CannotRead };

  [[nodiscard]] static RegularFile Open(const std::filesystem::path& path);

  RegularFile(RegularFile&& other) noexcept;
  RegularFile& operator=(RegularFile&& other) noexcept;
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;
  ~RegularFile();

  bool ok() const { return failure_ == Failure::None; }
  Failure failure() const { return failure_; }
  // Why, without the path: "is not a regular file but a FIFO"; empty when ok.
  const std::string& reason() const { return reason_; }
  // The reason after the path, as the user is told it; empty when ok.
  std::string refusal() const;
  int fd() const { return fd_; }
  // The size when it was opened.
  std::uint64_t size() const { return size_; }
  // Fills the buffer unless the file ends first; the bytes that came. A read
  // error closes the file and leaves its reason in refusal().
  [[nodiscard]] std::size_t Read(void* data, std::size_t size);

 private:
  RegularFile() = default;
  void Fail(Failure failure, std::string reason);
  void Close();

  Failure failure_ = Failure::None;
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::filesystem::path path_;
  std::string reason_;
};

// A whole regular file, or why it was not read. Files larger than `largest`
// are refused (TooLarge) before any byte is read.
struct RegularFileBytes {
  enum class Failure { None, CannotOpen, NotRegular, CannotRead, TooLarge };

  std::string bytes;
  Failure failure = Failure::None;
  std::string refusal;  // the path and the reason

  bool ok() const { return failure == Failure::None; }
};
[[nodiscard]] RegularFileBytes ReadRegularFile(const std::filesystem::path& path, std::uint64_t largest);

}  // namespace quenderlink
