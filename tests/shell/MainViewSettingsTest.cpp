#include "shell/MainViewSettings.h"

#include <gtest/gtest.h>

#include "core/IniSettingsFile.h"
#include "core/SettingsKeys.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

TEST(MainViewSettings, ChoicesGoIntoTheParametersAndTheSettingsFileAndAFailedWriteNamesIt) {
  testing::TempDir home;
  ProgramState state(home.path());
  testing::ScriptedPrompts prompts;
  MainViewSettings settings(state, prompts);
  const IniSettingsFile ini(home.path());

  settings.ShowIndexColumn(true);
  prompts.railroadAnswers = {3};
  settings.ChooseRailroad();
  EXPECT_TRUE(state.params.showTwd);
  EXPECT_EQ(state.params.railroadShortName, "CSX");
  EXPECT_EQ(ini.ReadInt(settings::kShowTwd), 1u);
  EXPECT_EQ(ini.ReadInt(settings::kRoad), 3u);
  EXPECT_TRUE(prompts.shown.empty());

  std::filesystem::remove(ini.Path());
  std::filesystem::create_symlink(ini.Path(), ini.Path());  // a link to itself: neither read nor replaced
  settings.ShowIndexColumn(false);
  EXPECT_FALSE(state.params.showTwd) << "the choice holds for this run";
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "FAILED TO WRITE\r\n" + ini.Path().string());
}

}  // namespace
}  // namespace quenderlink
