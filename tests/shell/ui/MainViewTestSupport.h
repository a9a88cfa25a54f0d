#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/IniSettingsFile.h"
#include "core/SettingsKeys.h"
#include "support/DialogTesting.h"
#include "support/RecordingOpener.h"
#include "support/ScriptedPrompts.h"
#include "support/SiteListFile.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink::testing {

// A settings file with the railroad chosen and a site list of these sites as its current file.
inline std::string WriteSiteHomeOf(const std::filesystem::path& home, const std::vector<SiteRecord>& records,
                                   std::uint8_t railroad) {
  const std::string path = WriteSiteList(home / "sites.bin", records);
  IniSettingsFile ini(home);
  ini.EnsureIniFile();
  EXPECT_TRUE(ini.WriteInt(settings::kRoad, railroad));
  EXPECT_TRUE(ini.PushSiteFile(path));
  return path;
}

// The same with sites that have only a name.
inline std::string WriteSiteHome(const std::filesystem::path& home, const std::vector<std::string>& names,
                                 std::uint8_t railroad) {
  std::vector<SiteRecord> records;
  for (const std::string& name : names) records.push_back(TestSite({.name = name, .product = 2}));
  return WriteSiteHomeOf(home, records, railroad);
}

// A home, the program state on it, and what the desktop program would ask, start and open, recorded.
class MainViewFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  TempDir home_;
  ProgramState state_{home_.path()};
  ScriptedPrompts prompts_;
  RecordingDesktopActions desktop_;
  RecordingOpener opener_;
};

}  // namespace quenderlink::testing
