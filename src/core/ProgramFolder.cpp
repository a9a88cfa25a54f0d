#include "core/ProgramFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace quenderlink {

namespace fs = std::filesystem;

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string UserHome() {
  if (std::string home = Variable("HOME"); !home.empty()) return home;
  const passwd* user = ::getpwuid(::geteuid());
  return user && user->pw_dir ? user->pw_dir : "";
}

}  // namespace

ProgramFolderSurroundings SurroundingsOfThisProcess() {
  ProgramFolderSurroundings surroundings;
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  surroundings.executableFolder = error ? fs::current_path(error) : executable.parent_path();
  surroundings.executableFolderWritable = ::access(surroundings.executableFolder.c_str(), W_OK) == 0;
  surroundings.installed = fs::is_directory(surroundings.executableFolder / ".." / "share" / "quenderlink", error);
  surroundings.xdgDataHome = Variable("XDG_DATA_HOME");
  surroundings.userHome = UserHome();
  return surroundings;
}

fs::path ChooseProgramFolder(const std::optional<fs::path>& home, const ProgramFolderSurroundings& surroundings) {
  if (home) return *home;
  if (surroundings.executableFolderWritable && !surroundings.installed) return surroundings.executableFolder;
  // A relative data folder is to be ignored, as the desktop conventions say.
  const fs::path dataHome(surroundings.xdgDataHome);
  if (dataHome.is_absolute()) return dataHome / "quenderlink";
  if (!surroundings.userHome.empty()) return fs::path(surroundings.userHome) / ".local" / "share" / "quenderlink";
  // Without a home of the user's there is nowhere better.
  return surroundings.executableFolder;
}

fs::path ResolveProgramFolder(const std::optional<fs::path>& home, const ProgramFolderSurroundings& surroundings) {
  const fs::path chosen = ChooseProgramFolder(home, surroundings);
  std::error_code error;
  fs::create_directories(chosen, error);
  const fs::path absolute = fs::absolute(chosen, error);
  return error ? chosen : absolute;
}

fs::path ResolveProgramFolder(const std::optional<fs::path>& home) {
  return ResolveProgramFolder(home, SurroundingsOfThisProcess());
}

}  // namespace quenderlink
