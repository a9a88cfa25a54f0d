#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/SettingsKeys.h"
#include "shell/OperationOpener.h"

namespace quenderlink::testing {

// Records what the main view opens.
class RecordingOpener : public OperationOpener {
 public:
  std::vector<std::string> opened;

  void OpenView(ViewKind kind) override { opened.push_back("view " + std::to_string(static_cast<int>(kind))); }
  void OpenSitePing(const SiteRecord& site) override { opened.push_back("site ping " + std::string(FieldText(site.SiteName))); }
  void OpenManualPing() override { opened.push_back("manual ping"); }
  void OpenSingleSiteUpload(const std::string& programFile) override { opened.push_back("upload " + programFile); }
  void OpenResetDialog(const SiteRecord& site) override { opened.push_back("reset " + std::string(FieldText(site.SiteName))); }
  void OpenDnsConversion() override { opened.push_back("dns"); }
};

// A settings file with the railroad chosen and a site list of the named sites as its current file.
inline std::string WriteSiteHome(const std::filesystem::path& home, const std::vector<std::string>& names,
                                 std::uint8_t railroad) {
  std::vector<SiteRecord> records;
  for (const std::string& name : names) {
    SiteRecord record = NewSiteRecord(9001);
    SetFieldText(record.SiteName, name);
    record.ProductType = 2;
    records.push_back(record);
  }
  SiteTable table;
  table.Replace(records);
  const std::string path = (home / "sites.bin").string();
  EXPECT_TRUE(CSiteinfoClass().SaveAll(path, table));
  IniSettingsFile ini(home);
  ini.EnsureIniFile();
  EXPECT_TRUE(ini.WriteInt(settings::kRoad, railroad));
  EXPECT_TRUE(ini.PushSiteFile(path));
  return path;
}

}  // namespace quenderlink::testing
