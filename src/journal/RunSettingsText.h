#pragma once

#include <string>
#include <string_view>

#include "core/RuntimeParams.h"

namespace quenderlink {

// The settings that shape a run, as its journal row keeps them.
std::string PingSettingsText(const RuntimeParams& params);
std::string UploadSettingsText(const RuntimeParams& params);
std::string IcmpSettingsText(const IcmpParams& params, std::string_view method);

}  // namespace quenderlink
