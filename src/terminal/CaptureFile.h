#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/Result.h"
#include "core/SiteRecord.h"

namespace quenderlink {

// Where a session's capture goes: the "Capture" folder of the program folder,
// "<MM>_<DD>_<YYYY> <hh>_<mm> MP_<milepost>.txt", with "_T<track>" before the
// extension when the site's track is not 0. The milepost is its first whole number.
std::filesystem::path CaptureFilePath(const std::filesystem::path& programFolder, const SiteRecord& site,
                                      const std::tm& localTime);

// A file that gets everything the terminal shows, written as it arrives (no
// buffering, so nothing waits to be flushed). Opening makes the folder when
// missing and adds to a file of that name: a second session within the same
// minute must not wipe out the first one's capture.
class CaptureFile {
 public:
  CaptureFile() = default;
  ~CaptureFile();
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;

  // A failure's reason is what the terminal tells: the file and why.
  Result Open(const std::filesystem::path& file);
  // Writes when open; a failed write closes the file and fails once.
  Result Write(std::string_view text);
  void Close();

  bool isOpen() const { return fd_ >= 0; }
  const std::filesystem::path& path() const { return path_; }

 private:
  int fd_ = -1;
  std::filesystem::path path_;
};

}  // namespace quenderlink
