#pragma once

#include <string>
#include <vector>

#include "core/SiteTable.h"

namespace quenderlink {

// The address of every site in list order: the address by number, else the
// host text (as UTF-8, as the rows show it). A host that could not be resolved keeps "0.0.0.0", which Linux
// takes for this machine: it would answer in the unit's place.
std::vector<std::string> ListedSiteAddresses(const SiteTable& sites);

}  // namespace quenderlink
