#include "core/AtomicFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "core/PosixIo.h"

namespace quenderlink {
namespace {

constexpr std::size_t kBufferLimit = 1 << 16;

// Hidden, beside the target (a rename never crosses file systems), and unlikely
// to meet another writer's; creation with O_EXCL settles any clash.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target) {
  std::random_device random;
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%d.%08x.tmp", static_cast<int>(::getpid()), random());
  std::filesystem::path temporary = target;
  temporary.replace_filename("." + target.filename().string() + suffix);
  return temporary;
}

void SyncFolderOf(const std::filesystem::path& file) {
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

bool AtomicFileWriter::Open() {
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    temporary_ = TemporaryPathFor(target_);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    temporary_.clear();
    failed_ = true;
    return false;
  }
  // A replaced file keeps its permissions.
  struct stat existing {};
  if (::stat(target_.c_str(), &existing) == 0) ::fchmod(fd_, existing.st_mode & 07777);
  return true;
}

bool AtomicFileWriter::Write(const void* data, std::size_t size) {
  if (fd_ < 0 || failed_) return false;
  buffer_.append(static_cast<const char*>(data), size);
  if (buffer_.size() >= kBufferLimit) return FlushBuffer();
  return true;
}

bool AtomicFileWriter::FlushBuffer() {
  if (!WriteAll(fd_, buffer_.data(), buffer_.size())) failed_ = true;
  buffer_.clear();
  return !failed_;
}

bool AtomicFileWriter::Commit() {
  if (fd_ < 0 || failed_ || !FlushBuffer() || ::fsync(fd_) != 0) {
    Discard();
    return false;
  }
  // Neither the close nor the rename changes it.
  struct stat written {};
  if (::fstat(fd_, &written) == 0) modifiedNs_ = written.st_mtim.tv_sec * 1'000'000'000LL + written.st_mtim.tv_nsec;
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  SyncFolderOf(target_);
  return true;
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  buffer_.clear();
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view contents) {
  AtomicFileWriter writer(target);
  return writer.Open() && writer.Write(contents) && writer.Commit();
}

}  // namespace quenderlink
