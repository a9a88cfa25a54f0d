#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/RuntimeParams.h"
#include "core/SiteTable.h"

namespace quenderlink {

// Program-wide operation flags: single writer each, read by every view.
struct OperationState {
  bool pingInProgress = false;
  bool uploadInProgress = false;
  std::uint8_t viewKind = 0;
};

// Everything program-wide: made once by each program and handed to whatever
// needs it, so every test starts from a fresh one.
struct ProgramState {
  explicit ProgramState(std::filesystem::path folder) : programFolder(std::move(folder)) {}

  std::filesystem::path programFolder;
  RuntimeParams params;
  SiteTable sites;
  std::string currentSiteFile;
  OperationState operations;
};

}  // namespace quenderlink
