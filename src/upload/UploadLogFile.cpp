#include "upload/UploadLogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "core/ErrorMessages.h"
#include "core/PosixIo.h"
#include "core/Printf.h"

namespace quenderlink {
namespace {

std::string Failure(const std::filesystem::path& path, const std::error_code& reason) {
  return WriteFailedText(path.string()) + "\r\n\r\n" + reason.message();
}

std::error_code LastError() { return {errno, std::generic_category()}; }

}  // namespace

std::filesystem::path UploadLogFilePath(const std::filesystem::path& programFolder, const std::tm& localTime) {
  return programFolder / "Temp" /
         Printf("Upload_%02d%02d%02d_%02d%02d%4d.txt", localTime.tm_hour, localTime.tm_min, localTime.tm_sec,
                localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_year + 1900);
}

std::optional<std::string> SaveUploadLog(const std::filesystem::path& file, const std::string& text) {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (error) return Failure(file.parent_path(), error);
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return Failure(file, LastError());
  const bool written = WriteAll(fd, text.data(), text.size());
  const std::error_code writeError = LastError();
  // A full disk may only show when the file is closed.
  const bool closed = ::close(fd) == 0;
  if (written && closed) return std::nullopt;
  return Failure(file, written ? LastError() : writeError);
}

}  // namespace quenderlink
