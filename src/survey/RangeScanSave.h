#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/PopupItem.h"
#include "core/RuntimeParams.h"
#include "core/SiteFileStamp.h"
#include "core/SiteRecord.h"
#include "core/SiteTable.h"
#include "survey/RangeScanRun.h"

namespace quenderlink {

enum class RangeListFormat { Text, Csv };

// The Save button's pop-up; appending is offered only while a site list is open.
enum RangeSaveCommand { kRangeAppendRows = 1, kRangeSaveNewFile, kRangeSaveCsv, kRangeSaveText };
std::vector<PopupItem> RangeSaveMenu(const std::string& currentSiteFile);

// The site record a scanned row becomes: its texts and the reply's values,
// the telnet port by the scan's port (9001: track 1, else track 2).
SiteRecord SiteRecordFromRangeRow(const RangeRow& row, std::uint16_t port, const RuntimeParams& params);

// What AppendCheckedRows returns when the file is no longer the one `listed`
// was loaded from: another program changed it, and nothing was appended.
inline constexpr int kRangeFileChangedElsewhere = -2;

// Appends a record for every ticked row whose address the site table does not
// hold yet, to the file the table was loaded from (`loaded`: its stamp then;
// none for a file that was not there, which is made); the count appended, -1
// when the file could not be written, or kRangeFileChangedElsewhere.
[[nodiscard]] int AppendCheckedRows(std::span<const RangeRow> rows, std::uint16_t port, const RuntimeParams& params,
                                    const SiteTable& listed, const std::filesystem::path& file,
                                    const std::optional<SiteFileStamp>& loaded);

// Writes a new site list file with a record for every ticked row; the count
// saved, or -1 when the file could not be written.
[[nodiscard]] int SaveCheckedRows(std::span<const RangeRow> rows, std::uint16_t port, const RuntimeParams& params,
                                  const std::filesystem::path& file);

// All rows as a listing: heading, a ";===" rule, one line per row.
std::string FormatRangeList(std::span<const RangeRow> rows, std::uint16_t port, RangeListFormat format);

// What each save command tells the user: how much went to the file, or, for a
// count of -1 or a list not written, that the file could not be written.
// kRangeFileChangedElsewhere names the file another program changed.
std::string AppendedReport(int count, const std::string& path);
std::string SavedReport(int count, const std::string& path);
std::string ListSavedReport(bool written, const std::string& path);

}  // namespace quenderlink
