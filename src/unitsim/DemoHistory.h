#pragma once

#include <cstdint>

#include "journal/Journal.h"
#include "unitsim/DemoFleet.h"

namespace quenderlink::unitsim {

// The demo site whose unit stopped answering a day ago.
inline constexpr char kDemoDownSite[] = "SLATE RUN";
// The demo site whose upload failed at the packets three days ago.
inline constexpr char kDemoFailedUploadSite[] = "IRON BRIDGE";

// Writes the week of history before `now` (journal milliseconds) a maintainer
// of the demo fleet would have: four pings of every unit a day with reply
// times that vary, the silent units never answering, a few pings lost,
// SLATE RUN down since a day ago, and an upload three days ago, one unit
// updated and IRON BRIDGE Main 1 failing at the packets.
void WriteDemoHistory(Journal& journal, const DemoFleet& fleet, std::int64_t now);

}  // namespace quenderlink::unitsim
