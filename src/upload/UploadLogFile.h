#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace quenderlink {

// Where the single-site upload dialog saves its log: the Temp folder of the
// program folder, named after the local time of saving,
// "Upload_<hour><minute><second>_<month><day><year>.txt".
std::filesystem::path UploadLogFilePath(const std::filesystem::path& programFolder, const std::tm& localTime);

// Appends the log to the file, making its folder when missing. Nothing when it
// was written; otherwise what the user is told: the file and the reason.
[[nodiscard]] std::optional<std::string> SaveUploadLog(const std::filesystem::path& file, const std::string& text);

}  // namespace quenderlink
