#include "shell/FileButtonMenus.h"

#include <algorithm>

#include "core/PathLengths.h"

namespace quenderlink {
namespace {

const PopupItem kSeparator{0, "", true};

std::size_t CountEntries(const FileHistory& history) {
  return static_cast<std::size_t>(
      std::count_if(history.begin(), history.end(), [](const std::string& entry) { return !entry.empty(); }));
}

// Entry 01 is the file in use, so the list starts at entry 02.
void AddEarlierFiles(const FileHistory& history, std::vector<PopupItem>& items) {
  for (std::size_t slot = 1; slot < history.size(); ++slot)
    if (history[slot].size() >= kShortestFilePath) items.push_back({static_cast<int>(slot + 1), history[slot], true});
}

}  // namespace

bool SiteFileButtonOpensMenu(const FileHistory& history) { return CountEntries(history) >= 1; }

std::vector<PopupItem> SiteFileButtonMenu(const FileHistory& history) {
  using namespace file_button;
  std::vector<PopupItem> items{{kOpenExisting, "Open an Existing Input File ...", true}, kSeparator,
                               {kStartNew, "Start a New (Blank) File ...", true},      kSeparator,
                               {kReload, "Reload File (Refresh)", true},               kSeparator};
  AddEarlierFiles(history, items);
  const std::size_t entries = CountEntries(history);
  if (entries > 1) items.push_back(kSeparator);
  if (entries > 0) items.push_back({kSaveAs, "Save File As ...", true});
  return items;
}

bool ProgramFileButtonOpensMenu(const FileHistory& history) { return CountEntries(history) > 1; }

std::vector<PopupItem> ProgramFileButtonMenu(const FileHistory& history) {
  std::vector<PopupItem> items{{file_button::kLocateProgram, "Locate Program File ...", true}, kSeparator};
  AddEarlierFiles(history, items);
  return items;
}

}  // namespace quenderlink
