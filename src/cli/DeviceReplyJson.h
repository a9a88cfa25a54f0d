#pragma once

#include <nlohmann/json.hpp>

#include "net/DeviceReply.h"

namespace quenderlink::cli {

// One object keyed by exactly the reply's field names, in their order.
nlohmann::ordered_json DeviceReplyJson(const DeviceReply& reply);

}  // namespace quenderlink::cli
