#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace quenderlink {

// Writes a file beside its final place and renames it over the old one only once
// every byte is on disk, so a crash or a full disk mid-write leaves the previous
// file as it was. An uncommitted writer removes its temporary file.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::filesystem::path target);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file; false when the folder cannot take it.
  [[nodiscard]] bool Open();
  [[nodiscard]] bool Write(const void* data, std::size_t size);
  [[nodiscard]] bool Write(std::string_view text) { return Write(text.data(), text.size()); }
  // Flushes, syncs and renames over the target; false (and the target untouched) on any failure.
  [[nodiscard]] bool Commit();
  // The written file's modification time in nanoseconds, taken once its bytes
  // were on disk; known after a successful Commit (0 when it could not be read).
  std::int64_t modifiedNs() const { return modifiedNs_; }

 private:
  [[nodiscard]] bool FlushBuffer();
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::string buffer_;
  int fd_ = -1;
  bool failed_ = false;
  std::int64_t modifiedNs_ = 0;
};

// The whole file in one go; false when it could not be written.
[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& target, std::string_view contents);

}  // namespace quenderlink
