#pragma once

#include <cstdint>
#include <string>

#include "core/ProgramState.h"

namespace quenderlink {

// The site list a run started on: its file and the load of the table. A run's
// end saves its results only into that list, never into one opened since.
struct RunOrigin {
  std::string siteFile;
  std::uint64_t tableGeneration = 0;

  bool operator==(const RunOrigin&) const = default;
};

inline RunOrigin RunOriginOf(const ProgramState& state) { return {state.currentSiteFile, state.sites.generation()}; }

}  // namespace quenderlink
