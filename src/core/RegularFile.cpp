#include "core/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "core/Printf.h"

namespace quenderlink {
namespace {

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  return "something else";
}

RegularFileBytes::Failure BytesFailure(RegularFile::Failure failure) {
  switch (failure) {
    case RegularFile::Failure::None: return RegularFileBytes::Failure::None;
    case RegularFile::Failure::CannotOpen: return RegularFileBytes::Failure::CannotOpen;
    case RegularFile::Failure::NotRegular: return RegularFileBytes::Failure::NotRegular;
    case RegularFile::Failure::CannotRead: return RegularFileBytes::Failure::CannotRead;
  }
  return RegularFileBytes::Failure::CannotRead;
}

}  // namespace

RegularFile RegularFile::Open(const std::filesystem::path& path) {
  RegularFile file;
  file.path_ = path;
  // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for one.
  file.fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (file.fd_ < 0) {
    file.Fail(Failure::CannotOpen, std::string("cannot be opened: ") + std::strerror(errno));
    return file;
  }
  struct stat status {};
  if (::fstat(file.fd_, &status) != 0)
    file.Fail(Failure::CannotOpen, std::string("cannot be examined: ") + std::strerror(errno));
  else if (!S_ISREG(status.st_mode))
    file.Fail(Failure::NotRegular, std::string("is not a regular file but ") + KindOf(status.st_mode));
  else
    file.size_ = static_cast<std::uint64_t>(status.st_size);
  return file;
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : failure_(other.failure_),
      fd_(std::exchange(other.fd_, -1)),
      size_(other.size_),
      path_(std::move(other.path_)),
      reason_(std::move(other.reason_)) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
  if (this == &other) return *this;
  Close();
  failure_ = other.failure_;
  fd_ = std::exchange(other.fd_, -1);
  size_ = other.size_;
  path_ = std::move(other.path_);
  reason_ = std::move(other.reason_);
  return *this;
}

RegularFile::~RegularFile() { Close(); }

std::string RegularFile::refusal() const { return ok() ? std::string() : path_.string() + ": " + reason_; }

void RegularFile::Fail(Failure failure, std::string reason) {
  failure_ = failure;
  reason_ = std::move(reason);
  Close();
}

void RegularFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::size_t RegularFile::Read(void* data, std::size_t size) {
  std::size_t total = 0;
  while (ok() && total < size) {
    const ssize_t got = ::read(fd_, static_cast<char*>(data) + total, size - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Fail(Failure::CannotRead, std::string("cannot be read: ") + std::strerror(errno));
    if (got <= 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

RegularFileBytes ReadRegularFile(const std::filesystem::path& path, std::uint64_t largest) {
  RegularFileBytes result;
  RegularFile file = RegularFile::Open(path);
  if (file.ok() && file.size() > largest) {
    result.failure = RegularFileBytes::Failure::TooLarge;
    result.refusal = Printf("%s: is larger than %ju bytes", path.c_str(), static_cast<std::uintmax_t>(largest));
    return result;
  }
  // The size taken at the open bounds the read: a file that grows meanwhile cannot make it endless.
  if (file.ok()) {
    result.bytes.resize(static_cast<std::size_t>(file.size()));
    result.bytes.resize(file.Read(result.bytes.data(), result.bytes.size()));
  }
  result.failure = BytesFailure(file.failure());
  result.refusal = file.refusal();
  if (!result.ok()) result.bytes.clear();
  return result;
}

}  // namespace quenderlink
