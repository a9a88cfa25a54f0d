#include "core/TextFileAppend.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "core/ErrorMessages.h"
#include "core/PosixIo.h"

namespace quenderlink {
namespace {

std::string FailureText(const std::filesystem::path& path, const std::error_code& reason) {
  return WriteFailedText(path.string()) + "\r\n\r\n" + reason.message();
}

std::error_code LastError() { return {errno, std::generic_category()}; }

}  // namespace

Result AppendToTextFile(const std::filesystem::path& file, const std::string& text) {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (error) return Failure{FailureText(file.parent_path(), error)};
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return Failure{FailureText(file, LastError())};
  struct stat before {};
  const bool sized = ::fstat(fd, &before) == 0;
  const bool written = WriteAll(fd, text.data(), text.size());
  const std::error_code writeError = LastError();
  // A text cut short by a full disk goes again, so the file ends as it was.
  const bool whole = written || (sized && ::ftruncate(fd, before.st_size) == 0);
  // A full disk may only show when the file is closed.
  const bool closed = ::close(fd) == 0;
  if (written && closed) return {};
  std::string failure = FailureText(file, written ? LastError() : writeError);
  if (!whole) failure += "\r\nThe file ends with part of the text.";
  return Failure{failure};
}

}  // namespace quenderlink
