#include "upload/UploadLogFile.h"

#include "core/Printf.h"

namespace quenderlink {

std::filesystem::path UploadLogFilePath(const std::filesystem::path& programFolder, const std::tm& localTime) {
  return programFolder / "Temp" /
         Printf("Upload_%02d%02d%02d_%02d%02d%4d.txt", localTime.tm_hour, localTime.tm_min, localTime.tm_sec,
                localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_year + 1900);
}

}  // namespace quenderlink
