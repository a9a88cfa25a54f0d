#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "unitsim/UnitSimulator.h"

namespace quenderlink::unitsim {

// The units a simulator serves, read from a site list file or from a fleet
// description in JSON. Each returns false with a one-line reason that names
// the record or the JSON element at fault; `units` is then left unchanged.

// One unit per record, at its IpByNumber and DevicePort with its TelnetPort (0
// read as the track 1 default, 10001), telling the record's
// product, version, name, milepost, track and board versions. `railroad` is the
// railroad field every unit reports; site list files do not hold it.
[[nodiscard]] bool FleetFromSiteList(const std::string& path, const std::string& railroad,
                                     std::vector<UnitConfig>& units, std::string& error);

// A JSON object with "defaults" (unit fields every unit starts from), "units"
// (one object per unit, each with its "address") and "ranges" (objects with
// "from" and "count" and unit fields, for many units on consecutive addresses;
// "{n}" in a range's "name" or "milepost" becomes the unit's number in the range).
// A unit serves its terminal on "telnetPort" where one is given.
// Comments are allowed; unknown keys are refused, so that a misspelt fault is
// never silently ignored.
[[nodiscard]] bool FleetFromJson(std::string_view json, std::vector<UnitConfig>& units, std::string& error);
// A fleet file is a few hundred units at most; a larger one is refused unread.
inline constexpr std::uint64_t kLargestFleetFile = 16u << 20;
[[nodiscard]] bool FleetFromJsonFile(const std::string& path, std::vector<UnitConfig>& units, std::string& error);

}  // namespace quenderlink::unitsim
