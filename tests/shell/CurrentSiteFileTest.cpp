#include "shell/CurrentSiteFile.h"

#include <gtest/gtest.h>

#include "core/ErrorMessages.h"
#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/SiteListLoader.h"
#include "support/ScriptedPrompts.h"
#include "support/SiteListFile.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

class CurrentSiteFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state_.currentSiteFile = testing::WriteSiteList(
        home_ / "sites.bin", std::vector<SiteRecord>(3, testing::TestSite({.lastPing = 12, .flags = kFlagMarked})));
    ASSERT_TRUE(IniSettingsFile(home_.path()).PushSiteFile(state_.currentSiteFile));
  }

  testing::TempDir home_;
  ProgramState state_{home_.path()};
  testing::ScriptedPrompts prompts_;
};

TEST_F(CurrentSiteFileTest, AFileThatIsNotThereIsReportedAndLeavesTheHistory) {
  ASSERT_EQ(LoadCurrentSiteFile(state_, prompts_, true), SiteFileLoad::kLoaded);
  std::filesystem::remove(state_.currentSiteFile);
  EXPECT_EQ(LoadCurrentSiteFile(state_, prompts_, true), SiteFileLoad::kNotFound);
  EXPECT_EQ(state_.sites.size(), 3u);  // the list still shows the rows
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].text, "File\r\n" + state_.currentSiteFile + "\r\nNot Found!");
  IniSettingsFile ini(home_.path());
  ini.ReadFileHistory(HistoryKind::SiteFiles);
  EXPECT_EQ(ini.FileHistory()[0], "");

  state_.currentSiteFile = "a.bi";  // one character short of a path
  EXPECT_EQ(LoadCurrentSiteFile(state_, prompts_, true), SiteFileLoad::kNoFile);
}

TEST_F(CurrentSiteFileTest, AFailedOrRefusedSaveKeepsTheRunsResultsInTheTable) {
  ASSERT_EQ(LoadCurrentSiteFile(state_, prompts_, true), SiteFileLoad::kLoaded);
  state_.sites[1].LastPing = 33;
  ASSERT_TRUE(SaveAndReloadSiteFile(state_, prompts_, RunOriginOf(state_)));
  EXPECT_EQ(state_.sites[1].LastPing, 33);

  // Another program saved the file during the run.
  const std::string others =
      testing::ReadFileBytes(testing::WriteSiteList(state_.currentSiteFile, {testing::TestSite({.name = "other"})}));
  state_.sites[1].LastPing = 44;
  EXPECT_FALSE(SaveAndReloadSiteFile(state_, prompts_, RunOriginOf(state_)));
  EXPECT_EQ(testing::ReadFileBytes(state_.currentSiteFile), others);
  EXPECT_EQ(state_.sites.size(), 3u);
  EXPECT_EQ(state_.sites[1].LastPing, 44);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].text, SiteFileChangedText(state_.currentSiteFile) +
                                        "\r\n\r\nThe results of this run stay in the list; they are not in the file.");

  // The save's temporary file gets a name too long for the file system.
  std::string longName(240, 'n');
  longName += ".bin";
  state_.currentSiteFile = (home_ / longName).string();
  std::filesystem::copy_file(home_ / "sites.bin", state_.currentSiteFile);
  SiteTable loaded;
  ASSERT_EQ(LoadSiteTable(state_.currentSiteFile, loaded, 0, state_.currentSiteFileStamp), 0);
  EXPECT_FALSE(SaveAndReloadSiteFile(state_, prompts_, RunOriginOf(state_)));
  EXPECT_EQ(state_.sites[1].LastPing, 44);
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_NE(prompts_.shown[1].text.find("Could not be saved!"), std::string::npos);
}

TEST_F(CurrentSiteFileTest, TheSiteBeingModifiedKeepsItsRecordThroughASortedSaveAndReload) {
  ASSERT_EQ(LoadCurrentSiteFile(state_, prompts_, true), SiteFileLoad::kLoaded);
  SetFieldText(state_.sites[0].SiteName, "First");
  std::vector<SiteRecord> sorted(state_.sites.records().rbegin(), state_.sites.records().rend());
  state_.sites.Replace(sorted);  // row numbers 3, 2, 1
  state_.operations.rowBeingModified = 1;
  ASSERT_TRUE(SaveAndReloadSiteFile(state_, prompts_, RunOriginOf(state_)));
  ASSERT_EQ(state_.operations.rowBeingModified, 3);
  EXPECT_EQ(FieldText(state_.sites.FindByRow(3)->SiteName), "First");
}

TEST_F(CurrentSiteFileTest, ARunsEndSavesNothingIntoAListOpenedOrReloadedSinceItStarted) {
  ASSERT_EQ(LoadCurrentSiteFile(state_, prompts_, true), SiteFileLoad::kLoaded);
  const RunOrigin origin = RunOriginOf(state_);
  const std::string started = testing::ReadFileBytes(state_.currentSiteFile);
  const std::string other =
      testing::WriteSiteList(home_ / "other.bin", {testing::TestSite({.name = "Other", .address = "10.0.0.9"})});
  const std::string otherBytes = testing::ReadFileBytes(other);

  for (const std::string& opened : {other, state_.currentSiteFile}) {
    SCOPED_TRACE(opened);
    state_.currentSiteFile = opened;
    ASSERT_EQ(LoadCurrentSiteFile(state_, prompts_, false), SiteFileLoad::kLoaded);
    state_.sites[0].LastPing = 77;
    prompts_.shown.clear();

    EXPECT_FALSE(SaveAndReloadSiteFile(state_, prompts_, origin));

    EXPECT_EQ(testing::ReadFileBytes(other), otherBytes);
    EXPECT_EQ(testing::ReadFileBytes(home_ / "sites.bin"), started);
    EXPECT_EQ(state_.sites[0].LastPing, 77);  // kept in the table, as with any save that does not happen
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_NE(prompts_.shown[0].text.find(origin.siteFile), std::string::npos) << prompts_.shown[0].text;
  }
}

}  // namespace
}  // namespace quenderlink
