#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/IniSettingsFile.h"
#include "core/PopupItem.h"

namespace quenderlink {

// Pop-up menu ids of the two file buttons; a history entry k (2..16) has id k.
namespace file_button {
inline constexpr int kOpenExisting = 100;
inline constexpr int kSaveAs = 101;
inline constexpr int kReload = 105;
inline constexpr int kStartNew = 110;
inline constexpr int kLocateProgram = 100;
}  // namespace file_button

using FileHistory = std::array<std::string, kFileHistorySize>;

// The site file button opens its pop-up once the history holds a file;
// otherwise it goes straight to the open dialog.
bool SiteFileButtonOpensMenu(const FileHistory& history);
std::vector<PopupItem> SiteFileButtonMenu(const FileHistory& history);

// The program file button needs more than one file in its history for a pop-up.
bool ProgramFileButtonOpensMenu(const FileHistory& history);
std::vector<PopupItem> ProgramFileButtonMenu(const FileHistory& history);

}  // namespace quenderlink
