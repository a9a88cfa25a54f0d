#include "core/DialogFolder.h"

#include <filesystem>
#include <system_error>

namespace quenderlink {

std::string DialogFolder(const ProgramState& state) {
  if (!state.currentSiteFile.empty()) {
    const std::filesystem::path folder = std::filesystem::path(state.currentSiteFile).parent_path();
    std::error_code error;
    if (!folder.empty() && std::filesystem::is_directory(folder, error)) return folder.string();
  }
  return state.programFolder.string();
}

}  // namespace quenderlink
