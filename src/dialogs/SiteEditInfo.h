#pragma once

#include <cstdint>
#include <string>

#include "net/DeviceReply.h"

namespace quenderlink {

// The info panel of the add / modify site dialog on opening: what a ping will
// collect, which on NS includes the site id and name.
std::string InitialSiteEditInfo(std::uint8_t railroadCode);

// The info panel after the unit answered: timing, state, address, milepost,
// version, site name, track and the lines its product type reports.
std::string PingSuccessInfo(const DeviceReply& reply);

}  // namespace quenderlink
