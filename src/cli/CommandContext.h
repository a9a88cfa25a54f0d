#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "cli/ExitCodes.h"
#include "core/ProgramState.h"

namespace quenderlink::cli {

// What every command shares: the global options and the exit code it sets.
struct CommandContext {
  std::optional<std::filesystem::path> home;
  int exitCode = kExitOk;

  // The program state as the programs start it: settings file ensured and read.
  ProgramState LoadProgramState() const;
};

// Prints a one-line reason on the error stream; returns kExitBadInput.
[[nodiscard]] int BadInput(const std::string& reason);
// Prints a one-line reason on the error stream; returns kExitFailed.
[[nodiscard]] int Failed(const std::string& reason);

}  // namespace quenderlink::cli
