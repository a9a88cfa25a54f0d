#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "unitsim/DemoFleet.h"

namespace quenderlink::unitsim {

inline constexpr std::string_view kDemoSiteListName = "DemoSites.bin";

// Makes `home` a program folder that opens the demonstration at start: the
// fleet's site list in DemoSites.bin at the head of the site file history, and
// railroad NS in the settings, so that nothing is asked. The folder is created
// when missing; false with a one-line reason when a step fails.
[[nodiscard]] bool PrepareDemoHome(const std::filesystem::path& home, const DemoFleet& fleet, std::string& error);

}  // namespace quenderlink::unitsim
