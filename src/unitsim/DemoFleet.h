#pragma once

#include <vector>

#include "core/SiteRecord.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink::unitsim {

// The sites of the demonstration and the simulated units behind them, at the
// same index. The records hold what the site list would hold before any ping
// (the last known product, versions and identity, LastPing 0, no flags), and
// each unit's reply decodes to its record's identity, so a ping changes
// nothing but the ping time; each unit serves its terminal on its record's
// telnet port. Railroad NS, every product family, several
// subdivisions; a few units are silent, one is powering up and one is slow.
// After an upload a unit reports its product's current release; four Cad-2
// units stumble or fail at distinct steps of the upload.
struct DemoFleet {
  std::vector<SiteRecord> sites;
  std::vector<UnitConfig> units;
};

DemoFleet MakeDemoFleet();

}  // namespace quenderlink::unitsim
