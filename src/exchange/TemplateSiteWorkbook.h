#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "exchange/SiteWorkbookRows.h"
#include "exchange/WorkbookFailure.h"

namespace quenderlink {

// A template holds a header row and formats; a larger file is no template.
inline constexpr std::uint64_t kLargestTemplateFile = 64u << 20;

// The template's package copied to `file` with the site rows in its first sheet
// and the row formats in its styles; every other part stays byte for byte. A
// template that cannot be read or changed is refused before anything is written,
// as is one that is not a regular file or is larger than kLargestTemplateFile.
[[nodiscard]] std::optional<WorkbookFailure> WriteTemplateSiteWorkbook(const std::filesystem::path& templateFile,
                                                                       const std::vector<WorkbookRow>& rows,
                                                                       const std::filesystem::path& file);

}  // namespace quenderlink
