#include "core/ProgramFolder.h"

#include <system_error>

namespace quenderlink {

std::filesystem::path ResolveProgramFolder(const std::optional<std::filesystem::path>& home) {
  std::error_code error;
  if (home) {
    std::filesystem::create_directories(*home, error);
    return std::filesystem::absolute(*home, error);
  }
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error);
  return executable.parent_path();
}

}  // namespace quenderlink
