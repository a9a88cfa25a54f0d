#pragma once

#include <array>
#include <string_view>

#include "core/RuntimeParams.h"
#include "exchange/SiteImport.h"

namespace quenderlink {

// The header text of an import list column.
std::string_view ImportColumnHeader(int column);

// Column widths in pixels, 0 hiding a column: before a ping only what the file
// gave is shown; once a ping starts, what the units report too.
std::array<int, kImportColumnCount> ImportColumnWidths(const RuntimeParams& params, bool pinging);

}  // namespace quenderlink
