#pragma once

#include "core/ProgramState.h"
#include "core/RunOrigin.h"
#include "core/UserPrompts.h"

namespace quenderlink {

enum class SiteFileLoad {
  kLoaded,
  kNoFile,      // the current path is too short to name a file: nothing loaded
  kNotFound,    // refused: "Not Found!" shown, history entry 01 emptied, table unchanged
  kReadFailed,  // the records could not be read: the table is left empty, no message
};

// Loads the current site list file into the table, as the main view does at
// start and after every command that rewrote the file, and stamps it. The caller refills the
// list on kLoaded, and resets the file button's caption on kNotFound.
SiteFileLoad LoadCurrentSiteFile(ProgramState& state, UserPrompts& prompts, bool clearPingAndFlags);

// At the end of a run that started on `origin`: saves the table to the current
// file and loads it again, keeping LastPing and flags. False when there is no
// current file, or, after a message, when the list is not the one the run
// started on (nothing is written into another list), or the save failed or was
// refused because another program changed the file since it was loaded: then
// the table stays as it is, so the results are not thrown away by reloading
// the old file.
[[nodiscard]] bool SaveAndReloadSiteFile(ProgramState& state, UserPrompts& prompts, const RunOrigin& origin);

}  // namespace quenderlink
