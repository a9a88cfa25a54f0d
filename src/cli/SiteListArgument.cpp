#include "cli/SiteListArgument.h"

#include <filesystem>

#include "cli/CommandContext.h"
#include "cli/RowList.h"
#include "core/CSiteinfoClass.h"
#include "core/SiteListLoader.h"

namespace quenderlink::cli {

std::string SiteListPath(const std::string& file) { return std::filesystem::absolute(file).string(); }

int LoadSiteListArgument(const std::string& file, ProgramState& state) {
  state.currentSiteFile = SiteListPath(file);
  const int code =
      LoadSiteTable(state.currentSiteFile, state.sites, state.params.telnetPortTrk1, state.currentSiteFileStamp);
  if (code != 0) return BadInput(file + ": error " + std::to_string(code) + ": " + SiteFileErrorText(code));
  return kExitOk;
}

int SaveLoadedSiteList(const std::string& file, const ProgramState& state) {
  CSiteinfoClass list;
  if (list.SaveAll(state.currentSiteFile, state.sites, state.currentSiteFileStamp)) return kExitOk;
  if (list.lastError() == kSiteFileChangedElsewhere)
    return Failed(file + ": " + SiteFileErrorText(kSiteFileChangedElsewhere) + "; the results were not saved");
  return Failed(file + ": the results could not be saved");
}

int LoadAndMarkRows(const std::string& file, const std::string& rows, std::uint8_t flags, ProgramState& state) {
  std::optional<std::set<std::uint16_t>> chosen;
  if (!rows.empty()) {
    chosen = ParseRowList(rows);
    if (!chosen) return BadInput("--rows takes row numbers like 1,3-5");
  }
  if (const int loaded = LoadSiteListArgument(file, state); loaded != kExitOk) return loaded;
  if (const Result marked = MarkRows(state.sites, chosen, flags); !marked) return BadInput(marked.reason());
  return kExitOk;
}

}  // namespace quenderlink::cli
