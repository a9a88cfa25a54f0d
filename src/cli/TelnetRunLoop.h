#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "cli/TelnetUnit.h"

namespace quenderlink::cli {

// Runs the units in order, at most `maxParallel` at a time, all in one poll()
// loop on this thread that waits no longer than the next unit's deadline.
// `finished` is called as each unit ends. Ctrl-C (or SIGTERM) starts no more
// units and says "BYE" to the connected ones; true when that happened.
[[nodiscard]] bool RunTelnetUnits(const std::vector<std::unique_ptr<TelnetUnit>>& units, std::size_t maxParallel,
                                  const std::function<void(const TelnetUnit&)>& finished);

}  // namespace quenderlink::cli
