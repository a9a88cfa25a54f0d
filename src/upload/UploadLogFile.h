#pragma once

#include <ctime>
#include <filesystem>

namespace quenderlink {

// Where the single-site upload dialog saves its log: the Temp folder of the
// program folder, named after the local time of saving,
// "Upload_<hour><minute><second>_<month><day><year>.txt".
std::filesystem::path UploadLogFilePath(const std::filesystem::path& programFolder, const std::tm& localTime);

}  // namespace quenderlink
