#pragma once

#include <filesystem>
#include <optional>

namespace quenderlink {

// The folder that holds Quenderlink.ini, IP_History.ini, the default site list
// and the Config, Capture and Temp folders: the given home (created when
// missing), else the folder of the running executable.
std::filesystem::path ResolveProgramFolder(const std::optional<std::filesystem::path>& home);

}  // namespace quenderlink
