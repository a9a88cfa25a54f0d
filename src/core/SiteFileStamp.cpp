#include "core/SiteFileStamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace quenderlink {

std::uint64_t ContinueContentHash(std::uint64_t hash, const void* data, std::size_t size) {
  constexpr std::uint64_t kFnvPrime = 1099511628211ull;
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * kFnvPrime;
  return hash;
}

SiteFileStamp StampOfOpenFile(int fd) {
  struct stat status {};
  if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return {};
  SiteFileStamp stamp{true, 0, status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec, kEmptyContentHash};
  std::array<char, 65536> buffer{};
  for (;;) {
    const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), static_cast<off_t>(stamp.size));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return {};
    if (got == 0) break;
    stamp.contentHash = ContinueContentHash(stamp.contentHash, buffer.data(), static_cast<std::size_t>(got));
    stamp.size += static_cast<std::uint64_t>(got);
  }
  return stamp;
}

SiteFileStamp StampOfFile(const std::filesystem::path& path) {
  // O_NONBLOCK keeps a FIFO put in the file's place from hanging the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  const SiteFileStamp stamp = StampOfOpenFile(fd);
  if (fd >= 0) ::close(fd);
  return stamp;
}

}  // namespace quenderlink
