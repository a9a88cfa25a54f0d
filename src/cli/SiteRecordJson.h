#pragma once

#include <nlohmann/json.hpp>

#include "core/SiteRecord.h"
#include "core/SiteTable.h"

namespace quenderlink::cli {

// One object keyed by exactly the record's field names: texts as strings,
// integers as numbers.
nlohmann::ordered_json SiteRecordJson(const SiteRecord& record);
nlohmann::ordered_json SiteTableJson(const SiteTable& table);

}  // namespace quenderlink::cli
