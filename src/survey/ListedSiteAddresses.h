#pragma once

#include <string>
#include <vector>

#include "core/SiteTable.h"

namespace quenderlink {

// The address of every site in list order, as the main list shows it: the
// address by number, else the host text.
std::vector<std::string> ListedSiteAddresses(const SiteTable& sites);

}  // namespace quenderlink
