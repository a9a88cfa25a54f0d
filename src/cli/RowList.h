#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "core/Result.h"
#include "core/SiteTable.h"

namespace quenderlink::cli {

// Row numbers written like "1,3-5"; nothing when the text is not of that form.
[[nodiscard]] std::optional<std::set<std::uint16_t>> ParseRowList(std::string_view text);

// Clears every record's flags, then gives the chosen rows (every row when none
// are given) the operation's flags; fails, changing nothing, when a chosen row
// is not in the table.
Result MarkRows(SiteTable& table, const std::optional<std::set<std::uint16_t>>& rows, std::uint8_t flags);

}  // namespace quenderlink::cli
