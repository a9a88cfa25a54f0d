#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "core/SiteFileHeader.h"
#include "core/SiteFileStamp.h"
#include "core/SiteRecord.h"
#include "core/SiteTable.h"

namespace quenderlink {

// Codes kept as the last error of a CSiteinfoClass.
inline constexpr int kSiteFileOpenFailed = 200;
inline constexpr int kSiteFileTooShort = 201;
inline constexpr int kSiteFileHeaderUnreadable = 202;
inline constexpr int kSiteFileNoSignature = 203;
inline constexpr int kSiteFileReadShort = 204;
inline constexpr int kSiteFileWriteFailed = 205;
inline constexpr int kSiteFileRecordChanged = 206;
inline constexpr int kSiteFileChangedElsewhere = 207;

// A header alone is a list of no sites, as a new blank list is written.
inline constexpr std::uint64_t kSiteFileMinimumLength = kSiteFileHeaderSize;

// One site list file operation (a load, an append, a save). Failures are kept as
// a code, never shown. While a file is checked or read others may read it but
// not write it; while it is appended to nobody else may lock it.
class CSiteinfoClass {
 public:
  CSiteinfoClass() = default;
  ~CSiteinfoClass() { Close(); }
  CSiteinfoClass(const CSiteinfoClass&) = delete;
  CSiteinfoClass& operator=(const CSiteinfoClass&) = delete;

  // 0 with the file open just after its header, or 200-203 with it closed.
  [[nodiscard]] int OpenAndCheck(const std::filesystem::path& path, bool forUpdate);
  // Reads min(capacity, records in the file) records and closes the file; then
  // numbers every slot of the capacity 1, 2, ... and gives a telnet port of 0
  // the track 1 default. The count read, or -1 (last error 204).
  [[nodiscard]] int ReadRecords(std::span<SiteRecord> destination, std::uint16_t telnetPortTrk1);
  // Writes a header stamped with the local time at the current position: 0, or 205.
  [[nodiscard]] int WriteHeader();
  // Adds one record to a site list file, creating the file when it is missing.
  // A file that is not a site list file is left alone (205).
  [[nodiscard]] bool AppendRecord(const std::filesystem::path& path, const SiteRecord& record);
  // The same for several records, written in one go.
  [[nodiscard]] bool AppendRecords(const std::filesystem::path& path, std::span<const SiteRecord> records);
  // Replaces the file with every record of the table not marked deleted; a
  // failed save leaves the old file as it was (205).
  [[nodiscard]] bool SaveAll(const std::filesystem::path& path, const SiteTable& table);
  // Replaces the file with one that holds only the header (205 on failure).
  [[nodiscard]] bool CreateBlank(const std::filesystem::path& path);
  // Rewrites the record at its place (rowNumber - 1) in the file, but only while
  // that place still holds a record with expectedOld's IpByNumber and DevicePort:
  // another program may have changed the file since it was loaded (206), and
  // its record must not be overwritten. 200-203 or 205 when it cannot be done.
  [[nodiscard]] bool WriteRecordAt(const std::filesystem::path& path, std::uint16_t rowNumber,
                                   const SiteRecord& expectedOld, const SiteRecord& record);

  // The same writes to a file this program loaded, each refused (207, nothing
  // written) unless the file still has the stamp `loaded`, taken at its load
  // or at this program's last write of it; a file removed meanwhile counts as
  // changed. Other programs' locks are waited for, and the file is held locked
  // from the check until the write is done, so no two writers interleave.
  // The file's new stamp, or nothing with the last error set.
  [[nodiscard]] std::optional<SiteFileStamp> SaveAll(const std::filesystem::path& path, const SiteTable& table,
                                                     const SiteFileStamp& loaded);
  [[nodiscard]] std::optional<SiteFileStamp> AppendRecords(const std::filesystem::path& path,
                                                           std::span<const SiteRecord> records,
                                                           const SiteFileStamp& loaded);
  [[nodiscard]] std::optional<SiteFileStamp> WriteRecordAt(const std::filesystem::path& path, std::uint16_t rowNumber,
                                                           const SiteRecord& expectedOld, const SiteRecord& record,
                                                           const SiteFileStamp& loaded);
  void Close();

  // The stamp of the file the last OpenAndCheck left open (one matching no
  // file when none is open).
  SiteFileStamp Stamp() const { return StampOfOpenFile(fd_); }
  std::uint32_t lastError() const { return lastError_; }
  // The length taken by the last OpenAndCheck.
  std::uint64_t fileLength() const { return fileLength_; }
  // Whole records in a file of that length; trailing bytes are ignored.
  std::uint64_t recordCount() const;

 private:
  [[nodiscard]] int Check(const std::filesystem::path& path, bool forUpdate);
  [[nodiscard]] bool ReadExistingHeader();
  [[nodiscard]] bool AppendToExisting(std::span<const SiteRecord> records);
  [[nodiscard]] bool AppendToNew(const std::filesystem::path& path, std::span<const SiteRecord> records);
  [[nodiscard]] bool WriteRecordsAt(std::uint64_t offset, std::span<const SiteRecord> records);
  [[nodiscard]] std::optional<SiteFileStamp> ReplaceFile(const std::filesystem::path& path,
                                                         std::span<const SiteRecord> records);
  [[nodiscard]] bool OpenUnchanged(const std::filesystem::path& path, int access, const SiteFileStamp& loaded);
  [[nodiscard]] int LockUnchanged(const std::filesystem::path& path, const SiteFileStamp& loaded);
  void StampHeaderNow();
  [[nodiscard]] int RewriteRecord(std::uint16_t rowNumber, const SiteRecord& expectedOld, const SiteRecord& record);

  std::uint32_t lastError_ = 0;
  std::uint64_t fileLength_ = 0;
  SiteFileHeader header_{};
  int fd_ = -1;
};

// A one-line meaning of a site list file error code, for people.
std::string SiteFileErrorText(std::uint32_t code);

}  // namespace quenderlink
