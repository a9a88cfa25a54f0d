#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "unitsim/DemoFleet.h"

namespace quenderlink::unitsim {

inline constexpr std::string_view kDemoSiteListName = "DemoSites.bin";
inline constexpr std::string_view kDemoProgramsName = "Programs";

// The folder of the demo's sample program files for a desktop program in
// `programFolder`: "demo-programs" beside it as built, else
// "../share/quenderlink/demo-programs" as installed; none when neither is there.
std::optional<std::filesystem::path> FindDemoPrograms(const std::filesystem::path& programFolder);

// Makes `home` a program folder that opens the demonstration at start: the
// fleet's site list in DemoSites.bin at the head of the site file history, and
// railroad NS in the settings, so that nothing is asked. The files of
// `programs` are copied into its "Programs" folder and those the program
// identifies go on the program file history, the Cad-2 file at its head; a
// missing `programs` folder leaves the home without programs. The folder is
// created when missing; false with a one-line reason when a step fails. Its
// journal holds a week of the fleet's history, so that the history has
// something to show the first time.
[[nodiscard]] bool PrepareDemoHome(const std::filesystem::path& home, const DemoFleet& fleet,
                                   const std::filesystem::path& programs, std::string& error);

}  // namespace quenderlink::unitsim
