#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "core/RuntimeParams.h"
#include "core/SiteRecord.h"
#include "core/SiteTable.h"
#include "survey/RangeScanRun.h"

namespace quenderlink {

enum class RangeListFormat { Text, Csv };

// The site record a scanned row becomes: its texts read back from the columns,
// the telnet port by the scan's port (9001: track 1, else track 2).
SiteRecord SiteRecordFromRangeRow(const RangeRow& row, std::uint16_t port, const RuntimeParams& params);

// Appends a record for every ticked row whose address the site table does not
// hold yet; the count appended, or -1 when the file could not be written.
[[nodiscard]] int AppendCheckedRows(std::span<const RangeRow> rows, std::uint16_t port, const RuntimeParams& params,
                                    const SiteTable& listed, const std::filesystem::path& file);

// Writes a new site list file with a record for every ticked row; the count
// saved, or -1 when the file could not be written.
[[nodiscard]] int SaveCheckedRows(std::span<const RangeRow> rows, std::uint16_t port, const RuntimeParams& params,
                                  const std::filesystem::path& file);

// All rows as a listing: heading, a ";===" rule, one line per row.
std::string FormatRangeList(std::span<const RangeRow> rows, std::uint16_t port, RangeListFormat format);

// What each save command tells the user: how much went to the file, or, for a
// count of -1 or a list not written, that the file could not be written.
std::string AppendedReport(int count, const std::string& path);
std::string SavedReport(int count, const std::string& path);
std::string ListSavedReport(bool written, const std::string& path);

}  // namespace quenderlink
