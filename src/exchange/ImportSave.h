#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/PopupItem.h"
#include "core/SiteFileStamp.h"
#include "core/SiteRecord.h"
#include "core/SiteTable.h"

namespace quenderlink {

// The Save button's pop-up commands.
inline constexpr int kImportAppendAll = 1;
inline constexpr int kImportAppendSuccessful = 2;
inline constexpr int kImportSaveAllAs = 10;
inline constexpr int kImportSaveSuccessfulAs = 11;

// The appends are offered only when a current site list file is set.
std::vector<PopupItem> ImportSaveMenu(const std::string& currentSiteFile);

// True for the commands that keep only the rows that answered.
bool SavesSuccessfulOnly(int command);

struct ImportSaveResult {
  int written = 0;
  std::string error;                 // why nothing was written; empty on success
  std::vector<bool> alreadyListed;   // an append's record by record: skipped, its site is listed
};

// Appends the records whose address and port no listed site has, creating the
// file when it is missing; a file that is not a site list file is left alone.
// With the stamp of the file the listed sites were loaded from, nothing is
// written once another program has changed (or removed) that file since.
ImportSaveResult AppendImportedSites(const std::filesystem::path& path, std::span<const SiteRecord> records,
                                     const SiteTable& listed, const std::optional<SiteFileStamp>& loaded = {});
// Replaces the file with a new site list of every record, or leaves it as it was.
ImportSaveResult SaveImportedSitesAs(const std::filesystem::path& path, std::span<const SiteRecord> records);

}  // namespace quenderlink
