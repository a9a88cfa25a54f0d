#pragma once

#include <filesystem>
#include <string>

#include "core/SiteTable.h"

namespace quenderlink {

enum class SiteListExportFormat { Text, Csv };

// The site list as a text or comma-separated listing in UTF-8: a header line
// (and for text a ";===" rule), then one line per record with a running count from 1.
std::string FormatSiteListExport(const SiteTable& table, SiteListExportFormat format);

// Writes the listing to the path; false (and no partial file) when it cannot be written.
[[nodiscard]] bool ExportSiteList(const SiteTable& table, SiteListExportFormat format,
                                  const std::filesystem::path& output);

}  // namespace quenderlink
