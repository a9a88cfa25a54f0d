#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quenderlink::fuzz {

// The readers under test take a path: each input is put in a file in memory
// (no disk writes at a fuzzer's pace) and named through /proc.
class FuzzInputFile {
 public:
  FuzzInputFile() : fd_(::memfd_create("fuzz-input", MFD_CLOEXEC)) {
    if (fd_ < 0) std::abort();
  }
  ~FuzzInputFile() { ::close(fd_); }
  FuzzInputFile(const FuzzInputFile&) = delete;
  FuzzInputFile& operator=(const FuzzInputFile&) = delete;

  // The input as the file's whole contents; the path that opens it.
  std::string Hold(const std::uint8_t* data, std::size_t size) const {
    if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    return "/proc/self/fd/" + std::to_string(fd_);
  }

 private:
  int fd_;
};

// A text field that lost its NUL would let every reader run past it.
template <std::size_t... N>
void RequireTerminated(const char (&... fields)[N]) {
  if (((std::memchr(fields, '\0', N) == nullptr) || ...)) std::abort();
}

}  // namespace quenderlink::fuzz
