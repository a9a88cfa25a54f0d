#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quenderlink {

// What the choice of the program folder depends on besides --home.
struct ProgramFolderSurroundings {
  std::filesystem::path executableFolder;
  bool executableFolderWritable = false;
  // The program's shared files lie beside it ("../share/quenderlink"): it was installed.
  bool installed = false;
  std::string xdgDataHome;  // $XDG_DATA_HOME, empty when unset
  std::string userHome;     // $HOME, else the user's home from the password database
};

// The surroundings of this process: its executable's folder (the working folder when
// that cannot be read), whether this user may write there, and its environment.
ProgramFolderSurroundings SurroundingsOfThisProcess();

// The folder that holds Quenderlink.ini, IP_History.ini, the default site list and
// the Config, Capture and Temp folders: the given home; else the executable's folder
// when writable and not an installed program's (a program run from its build tree or
// an unpacked folder); else "quenderlink" in the user's data folder ($XDG_DATA_HOME, by
// default ~/.local/share). An installed program never writes beside itself, even for root.
[[nodiscard]] std::filesystem::path ChooseProgramFolder(const std::optional<std::filesystem::path>& home,
                                                        const ProgramFolderSurroundings& surroundings);

// The folder chosen from the given surroundings, made absolute and created when missing
// (one that cannot be created is still returned, as a --home folder always was).
std::filesystem::path ResolveProgramFolder(const std::optional<std::filesystem::path>& home,
                                           const ProgramFolderSurroundings& surroundings);
// The same for this process.
std::filesystem::path ResolveProgramFolder(const std::optional<std::filesystem::path>& home);

}  // namespace quenderlink
