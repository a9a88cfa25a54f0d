#pragma once

#include <cstdint>
#include <string>

#include "core/ProgramState.h"

namespace quenderlink::cli {

// Loads the site list file a command names into the state's table; it becomes
// the state's current file, stamped. The exit code: kExitOk, or kExitBadInput
// with the file's error code and its meaning printed.
[[nodiscard]] int LoadSiteListArgument(const std::string& file, ProgramState& state);

// Saves the table over the file it was loaded from, unless another program has
// changed that file since. kExitOk, or kExitFailed with the reason printed.
[[nodiscard]] int SaveLoadedSiteList(const std::string& file, const ProgramState& state);

// The same, then gives the rows written like "1,3-5" (every row when the text
// is empty) the operation's flags, all other records none.
[[nodiscard]] int LoadAndMarkRows(const std::string& file, const std::string& rows, std::uint8_t flags,
                                  ProgramState& state);

// The path a command saves to: absolute, so that a short relative name is not
// taken for "no file chosen" (paths under 5 characters).
std::string SiteListPath(const std::string& file);

}  // namespace quenderlink::cli
