#include "shell/CurrentSiteFile.h"

#include "core/CSiteinfoClass.h"
#include "core/ErrorMessages.h"
#include "core/IniSettingsFile.h"
#include "core/PathLengths.h"
#include "core/Printf.h"
#include "core/SiteListLoader.h"

namespace quenderlink {
namespace {

constexpr int kReadFailed = 204;
constexpr char kResultsKept[] = "\r\n\r\nThe results of this run stay in the list; they are not in the file.";

// The file is written in table order without the deleted records, and a load
// numbers the records by their place: the new row number of a record.
std::uint16_t RowNumberAfterSave(const SiteTable& sites, std::uint16_t rowNumber) {
  std::uint16_t kept = 0;
  for (const SiteRecord& record : sites.records()) {
    if (record.RowNumber == kNoRow) continue;
    ++kept;
    if (record.RowNumber == rowNumber) return kept;
  }
  return kNoRow;
}

}  // namespace

SiteFileLoad LoadCurrentSiteFile(ProgramState& state, UserPrompts& prompts, bool clearPingAndFlags) {
  // Whatever the load's outcome, the stamp of an earlier file must not let a save through.
  state.currentSiteFileStamp = {};
  const int result =
      LoadSiteTable(state.currentSiteFile, state.sites, state.params.telnetPortTrk1, state.currentSiteFileStamp);
  if (result == kSiteListNoPath) return SiteFileLoad::kNoFile;
  if (result == kReadFailed) return SiteFileLoad::kReadFailed;
  if (result != 0) {
    prompts.ShowMessage(Printf("File\r\n%s\r\nNot Found!", state.currentSiteFile.c_str()));
    IniSettingsFile ini(state.programFolder);
    if (!ini.DropFirstSiteFile()) prompts.ShowMessage(WriteFailedText(ini.Path().string()));
    return SiteFileLoad::kNotFound;
  }
  if (clearPingAndFlags) {
    state.sites.ClearLastPing();
    state.sites.ClearFlags();
  }
  return SiteFileLoad::kLoaded;
}

bool SaveAndReloadSiteFile(ProgramState& state, UserPrompts& prompts, const RunOrigin& origin) {
  if (state.currentSiteFile.size() < kShortestFilePath) return false;
  if (RunOriginOf(state) != origin) {
    prompts.ShowMessage(Printf("The results of the run were not saved:\r\nthe site list\r\n%s\r\nwas replaced while it ran.",
                               origin.siteFile.c_str()));
    return false;
  }
  CSiteinfoClass file;
  if (!file.SaveAll(state.currentSiteFile, state.sites, state.currentSiteFileStamp)) {
    prompts.ShowMessage(file.lastError() == kSiteFileChangedElsewhere
                            ? SiteFileChangedText(state.currentSiteFile) + kResultsKept
                            : Printf("File\r\n%s\r\nCould not be saved!\r\n\r\n%s", state.currentSiteFile.c_str(),
                                     SiteFileErrorText(file.lastError()).c_str()));
    return false;
  }
  // A modify dialog may be open while a run ends: it must go on storing into its own site.
  std::uint16_t& modified = state.operations.rowBeingModified;
  if (modified != kNoRow) modified = RowNumberAfterSave(state.sites, modified);
  state.sites.Release();
  return LoadCurrentSiteFile(state, prompts, false) == SiteFileLoad::kLoaded;
}

}  // namespace quenderlink
