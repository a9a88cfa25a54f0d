#include "cli/CommandContext.h"

#include <iostream>

#include "core/ProgramFolder.h"
#include "core/QuietStartupView.h"
#include "core/StartupSettings.h"

namespace quenderlink::cli {

ProgramState CommandContext::LoadProgramState() const {
  ProgramState state(ResolveProgramFolder(home));
  QuietStartupView quiet;
  LoadStartupSettings(state, quiet);
  return state;
}

int BadInput(const std::string& reason) {
  std::cerr << "quenderlink-cli: " << reason << '\n';
  return kExitBadInput;
}

int Failed(const std::string& reason) {
  std::cerr << "quenderlink-cli: " << reason << '\n';
  return kExitFailed;
}

}  // namespace quenderlink::cli
