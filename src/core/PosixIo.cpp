#include "core/PosixIo.h"

#include <unistd.h>

#include <cerrno>

namespace quenderlink {

std::size_t ReadUpTo(int fd, void* data, std::size_t size) {
  std::size_t total = 0;
  while (total < size) {
    const ssize_t got = ::read(fd, static_cast<char*>(data) + total, size - total);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
  std::size_t total = 0;
  while (total < size) {
    const ssize_t written = ::write(fd, static_cast<const char*>(data) + total, size - total);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    total += static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace quenderlink
