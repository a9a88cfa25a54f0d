#include "unitsim/DemoHome.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <utility>
#include <vector>

#include "core/CSiteinfoClass.h"
#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "core/ProgramFileIdentification.h"
#include "core/SettingsKeys.h"
#include "core/SiteTable.h"
#include "journal/JournalFile.h"
#include "journal/JournalTime.h"
#include "unitsim/DemoHistory.h"

namespace quenderlink::unitsim {
namespace {

namespace fs = std::filesystem;

std::string FailureText(const fs::path& path, const std::error_code& failure) {
  return path.string() + ": " + failure.message();
}

[[nodiscard]] bool WriteSiteList(const fs::path& siteList, const DemoFleet& fleet, std::string& error) {
  SiteTable table;
  table.Replace(fleet.sites);
  CSiteinfoClass file;
  if (file.SaveAll(siteList, table)) return true;
  error = siteList.string() + ": " + SiteFileErrorText(file.lastError());
  return false;
}

// Where a program file stands in the pop-up: most demo units are Cad-2, so its
// file comes first, then the others by product type.
int ListPlace(std::uint8_t productType) { return productType == kProductCad2 ? 0 : productType; }

// Copies every file of `source` into `target`; `listed` gets the copies the
// program identifies, in the order the program file pop-up should show them.
[[nodiscard]] bool CopyPrograms(const fs::path& source, const fs::path& target, std::vector<fs::path>& listed,
                                std::string& error) {
  std::error_code failure;
  if (!fs::is_directory(source, failure)) return true;
  std::vector<std::pair<int, fs::path>> identified;
  fs::create_directories(target, failure);
  if (failure) {
    error = FailureText(target, failure);
    return false;
  }
  for (fs::directory_iterator entry(source, failure), end; !failure && entry != end; entry.increment(failure)) {
    const bool regular = entry->is_regular_file(failure);
    if (failure) break;
    if (!regular) continue;
    const fs::path copy = target / entry->path().filename();
    if (!fs::copy_file(entry->path(), copy, fs::copy_options::overwrite_existing, failure)) {
      error = FailureText(copy, failure);
      return false;
    }
    if (const std::uint8_t productType = IdentifyProgramFile(copy); productType != 0)
      identified.emplace_back(ListPlace(productType), copy);
  }
  if (failure) {
    error = FailureText(source, failure);
    return false;
  }
  std::sort(identified.begin(), identified.end());
  for (auto& [place, copy] : identified) listed.push_back(std::move(copy));
  return true;
}

}  // namespace

std::optional<fs::path> FindDemoPrograms(const fs::path& programFolder) {
  for (const fs::path& candidate :
       {programFolder / "demo-programs", programFolder / ".." / "share" / "quenderlink" / "demo-programs"}) {
    std::error_code failure;
    if (fs::is_directory(candidate, failure)) return candidate.lexically_normal();
  }
  return std::nullopt;
}

bool PrepareDemoHome(const fs::path& home, const DemoFleet& fleet, const fs::path& programs, std::string& error) {
  // A list without records is no valid site list file: the program would refuse it.
  if (fleet.sites.empty()) {
    error = "the demonstration has no sites";
    return false;
  }
  std::error_code failure;
  fs::create_directories(home, failure);
  // The history entries must name the files wherever the program is started from.
  fs::path absoluteHome;
  if (!failure) absoluteHome = fs::absolute(home, failure);
  if (failure) {
    error = FailureText(home, failure);
    return false;
  }
  const fs::path siteList = absoluteHome / kDemoSiteListName;
  std::vector<fs::path> programFiles;
  if (!WriteSiteList(siteList, fleet, error) ||
      !CopyPrograms(programs, absoluteHome / kDemoProgramsName, programFiles, error))
    return false;
  // Loopback units answer at once: short waits let the silent ones fail within seconds.
  RuntimeParams quickPings;
  quickPings.pingMaxWaitResponse = 2;
  quickPings.pingMaxResend = 2;
  IniSettingsFile settings(home);
  bool written = settings.EnsureIniFile() && settings.WriteInt(settings::kRoad, kRailroadNs) &&
                 settings.SavePingSiteParams(quickPings) && settings.PushSiteFile(siteList.string());
  // Each push makes its file the first entry, so the last pushed heads the pop-up.
  for (auto file = programFiles.rbegin(); written && file != programFiles.rend(); ++file)
    written = settings.PushProgramFile(file->string());
  if (!written) {
    error = settings.Path().string() + ": the settings could not be written";
    return false;
  }
  // A second start in the same home keeps the history it has.
  const fs::path journalFile = absoluteHome / kJournalFileName;
  if (fs::exists(journalFile, failure)) return true;
  Journal journal(journalFile);
  WriteDemoHistory(journal, fleet, JournalNow());
  journal.Flush();
  error = journal.TakeUntoldFailure();
  return error.empty();
}

}  // namespace quenderlink::unitsim
