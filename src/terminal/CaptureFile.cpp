#include "terminal/CaptureFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/FixedText.h"
#include "core/PosixIo.h"
#include "core/Printf.h"

namespace quenderlink {
namespace {

Failure CaptureFailure(const std::filesystem::path& path, int error) {
  return {"Capture file " + path.string() + ": " + std::strerror(error)};
}

long FirstWholeNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && !std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
  long number = 0;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
    number = number * 10 + (text[at] - '0');
  return number;
}

}  // namespace

std::filesystem::path CaptureFilePath(const std::filesystem::path& programFolder, const SiteRecord& site,
                                      const std::tm& localTime) {
  const std::string prefix = Printf("%02d_%02d_%04d %02d_%02d ", localTime.tm_mon + 1, localTime.tm_mday,
                                    localTime.tm_year + 1900, localTime.tm_hour, localTime.tm_min);
  const long milepost = FirstWholeNumber(FieldText(site.Milepost));
  const std::string name = site.TrackIndex == 0 ? Printf("%sMP_%ld.txt", prefix.c_str(), milepost)
                                                : Printf("%sMP_%ld_T%d.txt", prefix.c_str(), milepost, site.TrackIndex);
  return programFolder / "Capture" / name;
}

CaptureFile::~CaptureFile() { Close(); }

Result CaptureFile::Open(const std::filesystem::path& file) {
  Close();
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (error) return CaptureFailure(file.parent_path(), error.value());
  fd_ = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd_ < 0) return CaptureFailure(file, errno);
  path_ = file;
  return {};
}

Result CaptureFile::Write(std::string_view text) {
  if (fd_ < 0 || text.empty() || WriteAll(fd_, text.data(), text.size())) return {};
  const int error = errno;
  Close();
  return CaptureFailure(path_, error);
}

void CaptureFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace quenderlink
