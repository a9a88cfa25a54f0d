#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/SettingsKeys.h"
#include "support/RecordingOpener.h"

namespace quenderlink::testing {

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
