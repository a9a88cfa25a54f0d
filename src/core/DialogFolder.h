#pragma once

#include <string>

#include "core/ProgramState.h"

namespace quenderlink {

// Where a file dialog starts: the folder of the current site list, where the
// user keeps the files of that job, else the program folder. Never the folder
// the program happened to be started from.
std::string DialogFolder(const ProgramState& state);

}  // namespace quenderlink
