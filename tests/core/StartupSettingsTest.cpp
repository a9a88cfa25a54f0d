#include "core/StartupSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "core/QuietStartupView.h"
#include "support/TempDir.h"

namespace quenderlink::testing {
namespace {

class RecordingStartupView : public StartupView {
 public:
  std::uint8_t railroadAnswer = 0;
  int railroadQuestions = 0;
  std::vector<std::string> siteCaptions;
  std::vector<std::string> programCaptions;
  std::vector<bool> configButton;

  std::uint8_t AskRailroad() override {
    ++railroadQuestions;
    return railroadAnswer;
  }
  void ShowSiteFile(const std::string&, const std::string& caption) override { siteCaptions.push_back(caption); }
  void ShowProgramFile(const std::string&, const std::string& caption) override {
    programCaptions.push_back(caption);
  }
  void ShowConfigButton(bool shown) override { configButton.push_back(shown); }
};

class StartupSettingsTest : public ::testing::Test {
 protected:
  void WriteIni(const std::string& bytes) { WriteFileBytes(folder / "Quenderlink.ini", bytes); }
  void Load() { LoadStartupSettings(state, view); }

  TempDir folder;
  ProgramState state{folder.path()};
  RecordingStartupView view;
};

TEST_F(StartupSettingsTest, FirstStartReadsTheBuiltInDefaultsAndCreatesFileAndConfigFolder) {
  QuietStartupView quiet;
  LoadStartupSettings(state, quiet);
  EXPECT_EQ(state.params, RuntimeParams{});
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Config"));
  IniSettingsFile ini(folder.path());
  EXPECT_EQ(ini.ListEntries().size(), 6u);  // the creation defaults: an unanswered question writes nothing

  view.railroadAnswer = kRailroadCsx;
  for (int start = 1; start <= 2; ++start) {
    ProgramState next(folder.path());
    LoadStartupSettings(next, view);
    EXPECT_EQ(next.params.railroadCode, kRailroadCsx);
    EXPECT_EQ(next.params.railroadShortName, "CSX");
  }
  EXPECT_EQ(view.railroadQuestions, 1);  // asked once, the answer written
}

TEST_F(StartupSettingsTest, SiteFileOfAtLeastFiveCharactersBecomesCurrent) {
  WriteIni("[Railroad]\nRoad=1\n[IP Files]\nIP File 01=/s/a\n[Pgm Files]\nPgm File 01=/p/ab\n");
  Load();
  EXPECT_TRUE(view.siteCaptions.empty());
  EXPECT_TRUE(view.programCaptions.empty());

  WriteIni("[Railroad]\nRoad=1\n[IP Files]\nIP File 01=s.bin\n[Pgm Files]\nPgm File 01=/p/abc\n");
  Load();
  EXPECT_EQ(state.currentSiteFile, "s.bin");
  EXPECT_EQ(view.siteCaptions, std::vector<std::string>{"IP Address: s.bin\r\n"});
  EXPECT_EQ(view.programCaptions, std::vector<std::string>{"Program File: abc\r\n/p/"});
}

TEST_F(StartupSettingsTest, ValuesAreCutToTheirWidthsAndConfigurationManagementIsAlwaysOn) {
  WriteIni("[Railroad]\nRoad=5\n[Ping Sites]\nMax in Parallel=300\nMax Wait Response=65537\n"
           "[MISC]\nShowTWD=256\nDefault Port Num=9002abc\nCollect S918=0\n");
  Load();
  EXPECT_EQ(state.params.pingMaxInParallel, 44);
  EXPECT_EQ(state.params.pingMaxWaitResponse, 1);
  EXPECT_TRUE(state.params.showTwd);
  EXPECT_EQ(state.params.defaultPortNum, 9002);
  EXPECT_TRUE(state.params.collectS918);
  EXPECT_EQ(view.configButton, std::vector<bool>{true});

  // Railroad codes outside the named ones are "URR"; the code is kept in a byte.
  for (const auto& [road, name] : {std::pair{"6", "URR"}, {"255", "URR"}, {"258", "CPR"}}) {
    WriteIni(std::string("[Railroad]\nRoad=") + road + "\n");
    Load();
    EXPECT_EQ(state.params.railroadShortName, name) << road;
  }
  EXPECT_EQ(view.railroadQuestions, 0);
}

TEST_F(StartupSettingsTest, SavedParametersAreReadAtTheNextStart) {
  IniSettingsFile ini(folder.path());
  RuntimeParams saved;
  saved.railroadCode = kRailroadNs;
  saved.railroadShortName = "NS";
  saved.pingMaxResend = 2;
  saved.uploadMinWaitSysReboot = 11;
  saved.telnetPortTrk2 = 11002;
  saved.deviceColors.textZenthi = 0x123456;
  saved.telnetColors.textTelnet = 0x654321;
  saved.cmndsOnRight = false;
  saved.journalDays = 90;
  ASSERT_TRUE(ini.WriteInt(settings::kRoad, saved.railroadCode));
  ASSERT_TRUE(ini.SavePingSiteParams(saved));
  ASSERT_TRUE(ini.SaveUploadParams(saved));
  ASSERT_TRUE(ini.SavePorts(saved.defaultPortNum, saved.telnetPortTrk1, saved.telnetPortTrk2));
  ASSERT_TRUE(ini.SaveDeviceColors(saved.deviceColors));
  ASSERT_TRUE(ini.SaveTelnetColors(saved.telnetColors));
  ASSERT_TRUE(ini.WriteInt(settings::kCmndsOnRight, 0));
  ASSERT_TRUE(ini.WriteInt(settings::kJournalDays, saved.journalDays));

  Load();
  EXPECT_EQ(state.params, saved);
}

}  // namespace
}  // namespace quenderlink::testing
