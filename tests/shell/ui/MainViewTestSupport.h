#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/IniSettingsFile.h"
#include "core/SettingsKeys.h"
#include "support/RecordingOpener.h"
#include "support/SiteListFile.h"
#include "support/TestSite.h"

namespace quenderlink::testing {

// A settings file with the railroad chosen and a site list of the named sites as its current file.
inline std::string WriteSiteHome(const std::filesystem::path& home, const std::vector<std::string>& names,
                                 std::uint8_t railroad) {
  std::vector<SiteRecord> records;
  for (const std::string& name : names) records.push_back(TestSite({.name = name, .product = 2}));
  const std::string path = WriteSiteList(home / "sites.bin", records);
  IniSettingsFile ini(home);
  ini.EnsureIniFile();
  EXPECT_TRUE(ini.WriteInt(settings::kRoad, railroad));
  EXPECT_TRUE(ini.PushSiteFile(path));
  return path;
}

}  // namespace quenderlink::testing
