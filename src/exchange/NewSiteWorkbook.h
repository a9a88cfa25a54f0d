#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "exchange/SiteWorkbookRows.h"
#include "exchange/WorkbookFailure.h"

namespace quenderlink {

// A new workbook at `file`: the sheet "Detectors" with the header row, the
// column widths and one row per site. Nothing when it was written.
[[nodiscard]] std::optional<WorkbookFailure> WriteNewSiteWorkbook(const std::vector<WorkbookRow>& rows,
                                                                  const std::filesystem::path& file);

}  // namespace quenderlink
