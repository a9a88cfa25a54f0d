#include "unitsim/DemoHome.h"

#include <system_error>

#include "core/CSiteinfoClass.h"
#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "core/SettingsKeys.h"
#include "core/SiteTable.h"

namespace quenderlink::unitsim {

bool PrepareDemoHome(const std::filesystem::path& home, const DemoFleet& fleet, std::string& error) {
  // A list without records is no valid site list file: the program would refuse it.
  if (fleet.sites.empty()) {
    error = "the demonstration has no sites";
    return false;
  }
  std::error_code failure;
  std::filesystem::create_directories(home, failure);
  // The history entry must name the file wherever the program is started from.
  std::filesystem::path siteList;
  if (!failure) siteList = std::filesystem::absolute(home / kDemoSiteListName, failure);
  if (failure) {
    error = home.string() + ": " + failure.message();
    return false;
  }
  SiteTable table;
  table.Replace(fleet.sites);
  CSiteinfoClass file;
  if (!file.SaveAll(siteList, table)) {
    error = siteList.string() + ": " + SiteFileErrorText(file.lastError());
    return false;
  }
  // Loopback units answer at once: short waits let the silent ones fail within seconds.
  RuntimeParams quickPings;
  quickPings.pingMaxWaitResponse = 2;
  quickPings.pingMaxResend = 2;
  IniSettingsFile settings(home);
  if (!settings.EnsureIniFile() || !settings.WriteInt(settings::kRoad, kRailroadNs) ||
      !settings.SavePingSiteParams(quickPings) || !settings.PushSiteFile(siteList.string())) {
    error = settings.Path().string() + ": the settings could not be written";
    return false;
  }
  return true;
}

}  // namespace quenderlink::unitsim
