#include "core/CSiteinfoClass.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "core/AtomicFileWriter.h"
#include "core/FixedText.h"
#include "core/PosixIo.h"

namespace quenderlink {

int CSiteinfoClass::OpenAndCheck(const std::filesystem::path& path, bool forUpdate) {
  Close();
  const int code = Check(path, forUpdate);
  lastError_ = static_cast<std::uint32_t>(code);
  if (code != 0) Close();
  return code;
}

int CSiteinfoClass::Check(const std::filesystem::path& path, bool forUpdate) {
  // O_NONBLOCK keeps a FIFO put in the file's place from hanging the open.
  fd_ = ::open(path.c_str(), (forUpdate ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0 || ::flock(fd_, LOCK_SH | LOCK_NB) != 0) return kSiteFileOpenFailed;
  struct stat status {};
  if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) return kSiteFileOpenFailed;
  fileLength_ = static_cast<std::uint64_t>(status.st_size);
  if (fileLength_ < kSiteFileMinimumLength) return kSiteFileTooShort;
  if (ReadUpTo(fd_, &header_, sizeof header_) != sizeof header_) return kSiteFileHeaderUnreadable;
  if (!HasSiteFileSignature(header_)) return kSiteFileNoSignature;
  return 0;
}

int CSiteinfoClass::ReadRecords(std::span<SiteRecord> destination, std::uint16_t telnetPortTrk1) {
  if (fd_ < 0) {
    lastError_ = kSiteFileReadShort;
    return -1;
  }
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(destination.size(), recordCount()));
  const std::size_t wanted = count * kSiteRecordSize;
  const std::size_t got = ReadUpTo(fd_, destination.data(), wanted);
  Close();
  if (got < wanted) {
    lastError_ = kSiteFileReadShort;
    return -1;
  }
  // Row numbers are positions, so slots beyond 65535 wrap as the field does.
  for (std::size_t i = 0; i < destination.size(); ++i) {
    destination[i].RowNumber = static_cast<std::uint16_t>(i + 1);
    if (destination[i].TelnetPort == 0) destination[i].TelnetPort = telnetPortTrk1;
  }
  return static_cast<int>(count);
}

int CSiteinfoClass::WriteHeader() {
  StampHeaderNow();
  if (fd_ < 0 || !WriteAll(fd_, &header_, sizeof header_)) {
    lastError_ = kSiteFileWriteFailed;
    return kSiteFileWriteFailed;
  }
  return 0;
}

bool CSiteinfoClass::AppendRecord(const std::filesystem::path& path, const SiteRecord& record) {
  return AppendRecords(path, std::span(&record, 1));
}

bool CSiteinfoClass::AppendRecords(const std::filesystem::path& path, std::span<const SiteRecord> records) {
  Close();
  fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  const bool appended = fd_ >= 0 ? AppendToExisting(records) : errno == ENOENT && AppendToNew(path, records);
  Close();
  if (!appended) lastError_ = kSiteFileWriteFailed;
  return appended;
}

bool CSiteinfoClass::AppendToExisting(std::span<const SiteRecord> records) {
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 || !ReadExistingHeader()) return false;
  // After the last whole record, so bytes left by a broken earlier append are
  // overwritten instead of shifting these records out of step.
  const std::uint64_t end = kSiteFileHeaderSize + recordCount() * kSiteRecordSize;
  const bool written = WriteRecordsAt(end, records);
  // Records reported as not added must not turn up at the next load.
  if (!written && ::ftruncate(fd_, static_cast<off_t>(fileLength_)) != 0) return false;
  return written;
}

// Appending to anything but a site list file would damage someone else's data.
bool CSiteinfoClass::ReadExistingHeader() {
  struct stat status {};
  if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) return false;
  fileLength_ = static_cast<std::uint64_t>(status.st_size);
  return fileLength_ >= kSiteFileHeaderSize && ReadUpTo(fd_, &header_, sizeof header_) == sizeof header_ &&
         HasSiteFileSignature(header_);
}

bool CSiteinfoClass::AppendToNew(const std::filesystem::path& path, std::span<const SiteRecord> records) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) return false;
  const bool written =
      ::flock(fd_, LOCK_EX | LOCK_NB) == 0 && WriteHeader() == 0 && WriteRecordsAt(kSiteFileHeaderSize, records);
  if (written) return true;
  // A file without its header would refuse every later append.
  ::unlink(path.c_str());
  return false;
}

bool CSiteinfoClass::WriteRecordsAt(std::uint64_t offset, std::span<const SiteRecord> records) {
  const auto end = static_cast<off_t>(offset + records.size_bytes());
  return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0 &&
         WriteAll(fd_, records.data(), records.size_bytes()) &&
         ::ftruncate(fd_, end) == 0 && ::fsync(fd_) == 0;
}

bool CSiteinfoClass::SaveAll(const std::filesystem::path& path, const SiteTable& table) {
  return ReplaceFile(path, table.records()).has_value();
}

bool CSiteinfoClass::CreateBlank(const std::filesystem::path& path) { return ReplaceFile(path, {}).has_value(); }

bool CSiteinfoClass::WriteRecordAt(const std::filesystem::path& path, std::uint16_t rowNumber,
                                   const SiteRecord& expectedOld, const SiteRecord& record) {
  if (OpenAndCheck(path, true) != 0) return false;
  const int code = RewriteRecord(rowNumber, expectedOld, record);
  Close();
  lastError_ = static_cast<std::uint32_t>(code);
  return code == 0;
}

int CSiteinfoClass::RewriteRecord(std::uint16_t rowNumber, const SiteRecord& expectedOld, const SiteRecord& record) {
  if (rowNumber == 0 || rowNumber > recordCount()) return kSiteFileRecordChanged;
  // Nobody may read a half-written record.
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) return kSiteFileWriteFailed;
  const auto offset = static_cast<off_t>(kSiteFileHeaderSize + (rowNumber - 1u) * kSiteRecordSize);
  SiteRecord stored{};
  if (::pread(fd_, &stored, sizeof stored, offset) != static_cast<ssize_t>(sizeof stored))
    return kSiteFileWriteFailed;
  const std::uint16_t storedPort = stored.DevicePort;
  const std::uint16_t expectedPort = expectedOld.DevicePort;
  if (FieldText(stored.IpByNumber) != FieldText(expectedOld.IpByNumber) || storedPort != expectedPort)
    return kSiteFileRecordChanged;
  if (::pwrite(fd_, &record, sizeof record, offset) != static_cast<ssize_t>(sizeof record) || ::fsync(fd_) != 0)
    return kSiteFileWriteFailed;
  return 0;
}

std::optional<SiteFileStamp> CSiteinfoClass::SaveAll(const std::filesystem::path& path, const SiteTable& table,
                                                     const SiteFileStamp& loaded) {
  std::optional<SiteFileStamp> written;
  // The old file stays locked until the new one has been renamed over it.
  if (OpenUnchanged(path, O_RDONLY, loaded)) written = ReplaceFile(path, table.records());
  Close();
  return written;
}

std::optional<SiteFileStamp> CSiteinfoClass::AppendRecords(const std::filesystem::path& path,
                                                           std::span<const SiteRecord> records,
                                                           const SiteFileStamp& loaded) {
  std::optional<SiteFileStamp> written;
  if (OpenUnchanged(path, O_RDWR, loaded)) {
    if (AppendToExisting(records)) {
      written = StampOfOpenFile(fd_);
    } else {
      lastError_ = kSiteFileWriteFailed;
    }
  }
  Close();
  return written;
}

std::optional<SiteFileStamp> CSiteinfoClass::WriteRecordAt(const std::filesystem::path& path, std::uint16_t rowNumber,
                                                           const SiteRecord& expectedOld, const SiteRecord& record,
                                                           const SiteFileStamp& loaded) {
  std::optional<SiteFileStamp> written;
  if (OpenUnchanged(path, O_RDWR, loaded)) {
    lastError_ = static_cast<std::uint32_t>(RewriteRecord(rowNumber, expectedOld, record));
    if (lastError_ == 0) written = StampOfOpenFile(fd_);
  }
  Close();
  return written;
}

// True with the file open and locked; else false with the last error set.
bool CSiteinfoClass::OpenUnchanged(const std::filesystem::path& path, int access, const SiteFileStamp& loaded) {
  Close();
  // O_NONBLOCK keeps a FIFO put in the file's place from hanging the open.
  fd_ = ::open(path.c_str(), access | O_CLOEXEC | O_NONBLOCK);
  const int code = fd_ >= 0 ? LockUnchanged(path, loaded)
                   : errno == ENOENT ? kSiteFileChangedElsewhere
                                     : kSiteFileWriteFailed;
  lastError_ = static_cast<std::uint32_t>(code);
  if (code != 0) Close();
  return code == 0;
}

int CSiteinfoClass::LockUnchanged(const std::filesystem::path& path, const SiteFileStamp& loaded) {
  while (::flock(fd_, LOCK_EX) != 0)
    if (errno != EINTR) return kSiteFileWriteFailed;
  // Another writer may have renamed a new file over this one while the lock was awaited.
  struct stat locked {}, named {};
  if (::fstat(fd_, &locked) != 0 || ::stat(path.c_str(), &named) != 0 || locked.st_dev != named.st_dev ||
      locked.st_ino != named.st_ino)
    return kSiteFileChangedElsewhere;
  const SiteFileStamp now = StampOfOpenFile(fd_);
  if (!now.exists || now != loaded) return kSiteFileChangedElsewhere;
  fileLength_ = now.size;
  return 0;
}

// The new file is written beside the old one and renamed over it only when
// complete, so a crash or a full disk never costs the sites already saved.
// Its stamp comes from what was written, not from reading the file again,
// which another program could have changed by then.
std::optional<SiteFileStamp> CSiteinfoClass::ReplaceFile(const std::filesystem::path& path,
                                                         std::span<const SiteRecord> records) {
  StampHeaderNow();
  AtomicFileWriter writer(path);
  SiteFileStamp stamp{true, sizeof header_, 0, ContinueContentHash(kEmptyContentHash, &header_, sizeof header_)};
  bool written = writer.Open() && writer.Write(&header_, sizeof header_);
  for (const SiteRecord& record : records) {
    if (!written || record.RowNumber == kNoRow) continue;
    written = writer.Write(&record, sizeof record);
    stamp.size += sizeof record;
    stamp.contentHash = ContinueContentHash(stamp.contentHash, &record, sizeof record);
  }
  if (written && writer.Commit()) {
    stamp.modifiedNs = writer.modifiedNs();
    return stamp;
  }
  lastError_ = kSiteFileWriteFailed;
  return std::nullopt;
}

void CSiteinfoClass::StampHeaderNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  const bool known = now != static_cast<std::time_t>(-1) && ::localtime_r(&now, &local) != nullptr;
  header_ = MakeSiteFileHeader(known ? &local : nullptr);
}

void CSiteinfoClass::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::uint64_t CSiteinfoClass::recordCount() const {
  return fileLength_ < kSiteFileHeaderSize ? 0 : (fileLength_ - kSiteFileHeaderSize) / kSiteRecordSize;
}

std::string SiteFileErrorText(std::uint32_t code) {
  switch (code) {
    case 0: return "no error";
    case kSiteFileOpenFailed: return "the file could not be opened";
    case kSiteFileTooShort: return "the file is shorter than its 60-byte header";
    case kSiteFileHeaderUnreadable: return "the 60-byte header could not be read";
    case kSiteFileNoSignature: return "the signature is missing";
    case kSiteFileReadShort: return "fewer record bytes came than asked";
    case kSiteFileWriteFailed: return "the file could neither be opened for writing nor created";
    case kSiteFileRecordChanged: return "the record was changed in the file by someone else";
    case kSiteFileChangedElsewhere: return "the file was changed by another program since it was opened";
    default: return "unknown site list file error " + std::to_string(code);
  }
}

}  // namespace quenderlink
