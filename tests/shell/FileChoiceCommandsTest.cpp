#include "shell/FileChoiceCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "core/ErrorMessages.h"
#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "prompts/FileDialogFilters.h"
#include "support/ScriptedPrompts.h"
#include "support/SiteListFile.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

class FileChoiceCommandsTest : public ::testing::Test {
 protected:
  std::string SiteList(const std::string& name) {
    return testing::WriteSiteList(home_ / name, std::vector<SiteRecord>(2, NewSiteRecord(9001)));
  }

  testing::TempDir home_;
  ProgramState state_{home_.path()};
  testing::ScriptedPrompts prompts_;
  testing::RecordingDesktopActions desktop_;
  SiteListCommands commands_{state_, prompts_, desktop_};
  FileChoiceCommands choices_{state_, prompts_, commands_};
};

TEST_F(FileChoiceCommandsTest, WhileARunLastsEveryListChoiceIsRefusedBeforeAFileIsAsked) {
  state_.operations.uploadInProgress = true;
  CheckedRows checks;
  const std::vector<std::pair<const char*, std::function<ListChange()>>> choices{
      {"open", [&] { return choices_.OpenSiteFile(); }},
      {"new", [&] { return choices_.StartNewFile(); }},
      {"save as", [&] { return choices_.SaveAs(); }},
      {"site file button", [&] { return choices_.SiteFileButton(); }},
      {"move to a new file", [&] { return choices_.MoveCheckedToNewFile(checks); }},
      {"move to a file", [&] { return choices_.MoveCheckedToExistingFile(checks); }}};
  for (const auto& [name, choose] : choices) {
    prompts_.shown.clear();
    EXPECT_EQ(choose(), ListChange{}) << name;
    ASSERT_EQ(prompts_.shown.size(), 1u) << name;
    EXPECT_EQ(prompts_.shown[0].errorId, ErrorId::kOperationInProgress) << name;
  }
  EXPECT_TRUE(prompts_.fileRequests.empty());
  EXPECT_TRUE(prompts_.popupsShown.empty());
}

TEST_F(FileChoiceCommandsTest, SiteFileButtonGoesStraightToTheDialogUntilThereIsAHistory) {
  EXPECT_EQ(choices_.SiteFileButton().kind, ListChange::Kind::None);  // cancelled
  ASSERT_EQ(prompts_.fileRequests.size(), 1u);
  EXPECT_EQ(prompts_.fileRequests[0].filter, kSiteListFilter);
  EXPECT_TRUE(prompts_.popupsShown.empty());

  const std::string first = SiteList("first.bin");
  const std::string second = SiteList("second.bin");
  IniSettingsFile ini(home_.path());
  ASSERT_TRUE(ini.PushSiteFile(first));
  ASSERT_TRUE(ini.PushSiteFile(second));
  prompts_.popupAnswers = {2};  // entry 02: the file pushed first
  EXPECT_EQ(choices_.SiteFileButton().kind, ListChange::Kind::Refill);
  EXPECT_EQ(state_.currentSiteFile, first);

  EXPECT_EQ(choices_.SiteFileButton().kind, ListChange::Kind::None);  // pop-up dismissed
  EXPECT_EQ(prompts_.fileRequests.size(), 1u);
}

TEST_F(FileChoiceCommandsTest, FileDialogsStartInTheCurrentSiteListsFolderElseTheHome) {
  std::filesystem::create_directory(home_ / "job");
  state_.currentSiteFile = (home_ / "job" / "east.bin").string();
  choices_.OpenSiteFile();
  state_.currentSiteFile = (home_ / "gone" / "east.bin").string();
  choices_.ExportCsv();
  ASSERT_EQ(prompts_.fileRequests.size(), 2u);
  EXPECT_EQ(prompts_.fileRequests[0].folder, (home_ / "job").string());
  EXPECT_EQ(prompts_.fileRequests[1].folder, home_.path().string());
}

TEST_F(FileChoiceCommandsTest, ProgramFileButtonChecksTheLocatedFileWithTheRailroadsFilter) {
  state_.params.railroadCode = kRailroadCpr;
  const auto bad = home_ / "bad.bin";
  testing::WriteFileBytes(bad, std::string("\x01", 1));
  prompts_.fileAnswers = {bad.string()};
  EXPECT_FALSE(choices_.ProgramFileButton());
  EXPECT_EQ(prompts_.fileRequests.back().filter, kProgramFilterCpr);
  EXPECT_EQ(prompts_.shown.size(), 1u);  // the check's refusal

  // The menu's own item takes the file unchecked.
  prompts_.fileAnswers = {bad.string()};
  EXPECT_EQ(choices_.OpenProgramFileUnchecked(), bad.string());
  IniSettingsFile ini(home_.path());
  ini.ReadFileHistory(HistoryKind::ProgramFiles);
  EXPECT_EQ(ini.FileHistory()[0], bad.string());
}

}  // namespace
}  // namespace quenderlink
