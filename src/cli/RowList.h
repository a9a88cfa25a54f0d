#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string_view>

namespace quenderlink::cli {

// Row numbers written like "1,3-5"; nothing when the text is not of that form.
std::optional<std::set<std::uint16_t>> ParseRowList(std::string_view text);

}  // namespace quenderlink::cli
