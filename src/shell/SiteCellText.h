#pragma once

#include <string>

#include "core/RuntimeParams.h"
#include "core/SiteRecord.h"

namespace quenderlink {

// The text (UTF-8) the main site list shows in a column of a site's row; empty
// for the check box column and for a number that is no column.
std::string SiteCellText(const SiteRecord& site, int column, const RuntimeParams& params);

}  // namespace quenderlink
