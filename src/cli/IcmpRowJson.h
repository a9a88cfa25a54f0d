#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>

#include "survey/IcmpScanRun.h"

namespace quenderlink::cli {

// One scanned address: its row's numbers (null where a column holds none, as a
// failed or never-run try), the comment, the last IP status and, for the route
// method, the hop count.
nlohmann::ordered_json IcmpRowJson(const IcmpRow& row, std::uint32_t status, std::optional<std::uint8_t> hops);

}  // namespace quenderlink::cli
