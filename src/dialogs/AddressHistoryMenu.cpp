#include "dialogs/AddressHistoryMenu.h"

#include <algorithm>

#include "core/IniSettingsFile.h"

namespace quenderlink {
namespace {

// Shorter entries cannot be a usable address or name.
constexpr std::size_t kShortestListedEntry = 9;

}  // namespace

std::vector<PopupItem> AddressHistoryItems(std::span<const std::string> slots, int count) {
  if (count == 0) return {PopupItem{}, PopupItem{0, "No history yet!", false}, PopupItem{}};
  std::vector<PopupItem> items;
  const int listed = std::min(count, static_cast<int>(slots.size()));
  for (int slot = 1; slot <= listed; ++slot) {
    const std::string& text = slots[static_cast<std::size_t>(slot - 1)];
    if (text.size() >= kShortestListedEntry) items.push_back({slot, text});
  }
  return items;
}

std::optional<std::string> ChooseHistoryAddress(const std::filesystem::path& programFolder, UserPrompts& prompts) {
  IniSettingsFile settings(programFolder);
  const int count = settings.ReadIpHistory();
  const int chosen = prompts.ChooseFromPopup(AddressHistoryItems(settings.IpHistory(), count));
  if (chosen < 1 || chosen > count) return std::nullopt;
  return settings.IpHistory()[static_cast<std::size_t>(chosen - 1)];
}

}  // namespace quenderlink
