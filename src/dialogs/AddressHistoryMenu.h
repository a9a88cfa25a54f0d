#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/PopupItem.h"
#include "core/UserPrompts.h"

namespace quenderlink {

// The pop-up of recent addresses: slots 1..count, each with its slot number as
// id, leaving out texts of 8 characters or fewer; with no history a greyed
// "No history yet!" between separators.
std::vector<PopupItem> AddressHistoryItems(std::span<const std::string> slots, int count);

// Offers the program folder's address history; the address chosen, if any.
[[nodiscard]] std::optional<std::string> ChooseHistoryAddress(const std::filesystem::path& programFolder,
                                                              UserPrompts& prompts);

}  // namespace quenderlink
