#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/Result.h"
#include "core/UserPrompts.h"

namespace quenderlink {

// "Quenderlink_Date_20240131_Time_235959.xlsx" for a local time: two exports
// within one second share the name, and the later replaces the earlier.
std::string SiteWorkbookFileName(const std::tm& localTime);
// The template in the home whose first sheet is filled when it can be read.
std::filesystem::path SiteWorkbookTemplatePath(const std::filesystem::path& programFolder);
// That template when it can be opened for reading; none means a new book.
std::optional<std::filesystem::path> HomeSiteWorkbookTemplate(const std::filesystem::path& programFolder);

struct SiteWorkbookRequest {
  const SiteTable& sites;
  unsigned railroadCode = 0;
  std::filesystem::path output;
  std::optional<std::filesystem::path> templateFile;  // none: a new book
};

// Writes the workbook under a temporary name beside the output and renames it
// onto the output once complete, so a failure leaves no partial file. A
// failure's reason is what the user is told.
Result WriteSiteWorkbook(const SiteWorkbookRequest& request);

// The main view's command: the whole site table into a time-stamped workbook in
// the home, from the home's template when there is one, opened when written.
void ExportSiteWorkbook(const ProgramState& state, UserPrompts& prompts, DesktopActions& desktop);

}  // namespace quenderlink
