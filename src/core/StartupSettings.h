#pragma once

#include <string>

#include "core/ProgramState.h"
#include "core/StartupView.h"

namespace quenderlink {

// Fills the runtime parameters from the settings file when the main view is
// first shown: creates a missing file, asks for the railroad while none is
// chosen, takes entry 01 of the site list history as the current file, shows
// the file captions and creates the Config folder.
void LoadStartupSettings(ProgramState& state, StartupView& view);

// The file buttons' captions: "IP Address: name\r\nfolder/" and "Program File: name\r\nfolder/".
std::string SiteFileCaption(const std::string& path);
std::string ProgramFileCaption(const std::string& path);

}  // namespace quenderlink
