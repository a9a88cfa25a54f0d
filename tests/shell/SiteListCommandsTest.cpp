#include "shell/SiteListCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/ErrorMessages.h"
#include "core/IniSettingsFile.h"
#include "support/ScriptedPrompts.h"
#include "support/SiteListFile.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::TestSite;

using Kind = ListChange::Kind;
using Names = std::vector<std::string>;

// Sites named by the letters, at 10.0.0.1 onwards.
std::vector<SiteRecord> Sites(std::string_view names) {
  std::vector<SiteRecord> sites;
  for (const char name : names) {
    const std::string address = "10.0.0." + std::to_string(sites.size() + 1);
    sites.push_back(TestSite({.name = std::string_view(&name, 1), .address = address}));
  }
  return sites;
}

Names NamesIn(const std::filesystem::path& path) { return testing::SiteNames(testing::LoadedSiteList(path)); }

CheckedRows Checked(std::size_t rows, std::initializer_list<std::size_t> checked) {
  CheckedRows checks;
  checks.Reset(rows);
  for (std::size_t row : checked) checks.SetChecked(row, true);
  return checks;
}

class SiteListCommandsTest : public ::testing::Test {
 protected:
  void OpenSites(std::vector<SiteRecord> sites) {
    testing::WriteSiteList(current_, std::move(sites));
    ASSERT_EQ(commands_.OpenSiteFile(current_).kind, Kind::Refill);
  }
  std::string SiteHistoryFirst() const {
    IniSettingsFile ini(home_.path());
    ini.ReadFileHistory(HistoryKind::SiteFiles);
    return ini.FileHistory()[0];
  }
  std::string LastShown() const { return prompts_.Last().text; }

  testing::TempDir home_;
  std::string current_ = (home_ / "sites.bin").string();
  ProgramState state_{home_.path()};
  testing::ScriptedPrompts prompts_;
  testing::RecordingDesktopActions desktop_;
  SiteListCommands commands_{state_, prompts_, desktop_};
};

TEST_F(SiteListCommandsTest, OpeningRefusesOtherFilesAndClearsPingAndFlagsWhichAReloadKeeps) {
  testing::WriteFileBytes(current_, "not a site list");
  EXPECT_EQ(commands_.OpenSiteFile(current_), ListChange{});
  EXPECT_EQ(LastShown(), "SELECTED FILE IS NOT A VALID IP ADDRS FILE (1)");
  EXPECT_EQ(state_.currentSiteFile, "");

  testing::WriteSiteList(current_, {});  // a new blank list: a header alone
  EXPECT_EQ(commands_.OpenSiteFile(current_), (ListChange{Kind::Refill, -1, true, false}));
  EXPECT_TRUE(state_.sites.empty());

  testing::WriteSiteList(current_, {TestSite({.name = "A", .address = "10.0.0.1", .lastPing = 12, .flags = kFlagMarked})});
  EXPECT_EQ(commands_.OpenSiteFile(current_), (ListChange{Kind::Refill, -1, true, false}));
  EXPECT_EQ(SiteHistoryFirst(), current_);
  EXPECT_EQ(state_.sites[0].LastPing, 0);
  EXPECT_EQ(state_.sites[0].SiteFlags, 0);

  EXPECT_EQ(commands_.Reload().kind, Kind::Refill);
  EXPECT_EQ(state_.sites[0].LastPing, 0);
  EXPECT_EQ(state_.sites[0].SiteFlags, kFlagMarked);
}

TEST_F(SiteListCommandsTest, SaveAsAddsBinUnlessTheNameHasAThreeLetterExtension) {
  OpenSites(Sites("ABC"));
  const std::string bytes = testing::ReadFileBytes(current_);
  const std::pair<const char*, const char*> names[] = {
      {"copy", "copy.bin"}, {"copy.b", "copy.b.bin"}, {"copy.bi", "copy.bi.bin"}, {"copy.txt", "copy.txt"}};
  for (const auto& [chosen, written] : names) {
    EXPECT_TRUE(commands_.SaveAs((home_ / chosen).string()).siteFileShown);
    EXPECT_EQ(state_.currentSiteFile, (home_ / written).string());
    EXPECT_EQ(testing::ReadFileBytes(home_ / written), bytes);
  }
  EXPECT_EQ(SiteHistoryFirst(), (home_ / "copy.txt").string());

  const std::string unwritable = (home_ / "no-folder" / "copy.bin").string();
  EXPECT_EQ(commands_.SaveAs(unwritable), ListChange{});
  EXPECT_EQ(LastShown(), "FAILED TO WRITE\r\n" + unwritable);
  EXPECT_EQ(state_.currentSiteFile, (home_ / "copy.txt").string());
}

TEST_F(SiteListCommandsTest, SitesAreAddedToANewBlankFileOrTheDefaultOne) {
  EXPECT_EQ(commands_.StoreSitePinged(false, TestSite({.name = "A", .address = "10.0.0.1"})),
            (ListChange{Kind::AppendRow, 0, true, false}));
  const std::string defaultFile = (home_ / "UploaderSites.bin").string();
  EXPECT_EQ(SiteHistoryFirst(), defaultFile);

  const std::string fresh = (home_ / "fresh.bin").string();
  EXPECT_EQ(commands_.StartNewFile(fresh), (ListChange{Kind::Clear, -1, true, false}));
  EXPECT_EQ(commands_.StoreSiteSaved(false, TestSite({.name = "B", .address = "10.0.0.2"})),
            (ListChange{Kind::AppendRow, 0}));
  EXPECT_EQ(commands_.StoreSiteSaved(false, TestSite({.name = "C", .address = "10.0.0.3"})),
            (ListChange{Kind::AppendRow, 1}));
  // A sorted list no longer shows the file's order.
  std::swap(state_.sites[0], state_.sites[1]);
  EXPECT_EQ(commands_.StoreSiteSaved(false, TestSite({.name = "D", .address = "10.0.0.4"})).kind, Kind::Refill);
  EXPECT_EQ(testing::SiteNames(state_.sites), (Names{"B", "C", "D"}));
  EXPECT_EQ(NamesIn(defaultFile), Names{"A"});
}

TEST_F(SiteListCommandsTest, DeletingAsksFirstAndRewritesTheFileDownToABlankOneThatStaysCurrent) {
  OpenSites(Sites("ABCD"));
  EXPECT_EQ(commands_.DeleteSite(-1), ListChange{});
  EXPECT_TRUE(prompts_.shown.empty());

  prompts_.confirmAnswers = {false, true, true, true};
  EXPECT_EQ(commands_.DeleteSite(1), ListChange{});
  EXPECT_EQ(commands_.DeleteSite(1).kind, Kind::Refill);
  EXPECT_EQ(prompts_.shown[0].mode, ConfirmMode::Delete);
  EXPECT_EQ(prompts_.shown[0].text, "Confirm to delete Cadmarin @\r\n\r\n10.0.0.2  (Port 9001)");
  EXPECT_EQ(NamesIn(current_), (Names{"A", "C", "D"}));

  EXPECT_EQ(commands_.DeleteCheckedSites(Checked(3, {0, 2})).kind, Kind::Refill);
  EXPECT_EQ(LastShown(), "Confirm to delete 2 Cadmarin Rows");
  EXPECT_EQ(NamesIn(current_), Names{"C"});

  EXPECT_EQ(commands_.DeleteSite(0), (ListChange{Kind::Refill, -1, false, false}));
  EXPECT_EQ(std::filesystem::file_size(current_), 60u);
  EXPECT_TRUE(state_.sites.empty());
  EXPECT_EQ(state_.currentSiteFile, current_);
}

TEST_F(SiteListCommandsTest, AFailedSaveAfterADeleteOrMoveOrAFailedNewListKeepsEverySite) {
  // The save's temporary file gets a name too long for the file system; the file itself loads.
  testing::WriteSiteList(home_ / "short.bin", Sites("ABC"));
  std::string longName(240, 'n');
  longName += ".bin";  // appended, not added: GCC 12 sees a false bounds fault in the sum
  current_ = (home_ / longName).string();
  std::filesystem::copy_file(home_ / "short.bin", current_);
  ASSERT_EQ(commands_.OpenSiteFile(current_).kind, Kind::Refill);

  EXPECT_EQ(commands_.StartNewFile(current_), ListChange{});
  EXPECT_EQ(LastShown(), "FAILED TO CREATE FILE");
  prompts_.confirmAnswers = {true};
  EXPECT_EQ(commands_.DeleteSite(0).kind, Kind::Refill);
  EXPECT_NE(LastShown().find("Could not be saved!\r\n\r\nthe file could neither be opened for writing nor created"),
            std::string::npos);
  EXPECT_EQ(commands_.MoveCheckedToNewFile(Checked(3, {1}), (home_ / "new.bin").string()).kind, Kind::Refill);
  EXPECT_NE(LastShown().find("No site was removed from it."), std::string::npos);
  EXPECT_EQ(testing::SiteNames(state_.sites), (Names{"A", "B", "C"}));
}

TEST_F(SiteListCommandsTest, MovedSitesGoToTheTargetInOrderAndCopiesAreNotWrittenTwice) {
  OpenSites(Sites("ABCDE"));
  const std::string fresh = (home_ / "new.bin").string();
  EXPECT_EQ(commands_.MoveCheckedToNewFile(Checked(5, {0, 2}), fresh).kind, Kind::Refill);
  EXPECT_EQ(NamesIn(fresh), (Names{"A", "C"}));
  EXPECT_EQ(prompts_.Last().kind, testing::ScriptedPrompts::Shown::Error);
  EXPECT_EQ(LastShown(), "\r\nTotal of 2 records were moved to\r\n\r\n" + fresh);

  const std::string other = (home_ / "other.bin").string();
  testing::WriteSiteList(other, {TestSite({.name = "B elsewhere", .address = "10.0.0.2"})});
  EXPECT_EQ(commands_.MoveCheckedToExistingFile(Checked(3, {0, 1}), other).kind, Kind::Refill);
  EXPECT_EQ(NamesIn(other), (Names{"B elsewhere", "D"}));
  EXPECT_EQ(LastShown(), "\r\nTotal of 1 records were moved to\r\n\r\n" + other + "\r\n1 copies found.");
  EXPECT_EQ(testing::SiteNames(state_.sites), Names{"E"});
}

TEST_F(SiteListCommandsTest, NoSiteIsRemovedWhenTheMoveTargetCannotTakeThemAndNoListIsReplacedWhileARunLasts) {
  OpenSites(Sites("ABC"));
  const std::string before = testing::ReadFileBytes(current_);
  const std::string notes = (home_ / "notes.txt").string();
  testing::WriteFileBytes(notes, "not a site list\n");
  const CheckedRows checks = Checked(3, {0});

  EXPECT_EQ(commands_.MoveCheckedToNewFile(checks, (home_ / "no-folder" / "new.bin").string()), ListChange{});
  EXPECT_EQ(LastShown(), "FAILED TO CREATE FILE");
  EXPECT_EQ(commands_.MoveCheckedToExistingFile(checks, notes), ListChange{});
  EXPECT_EQ(LastShown(), "FAILED TO OPEN FILE");
  // Into the file the sites come from: written there, then saved without them.
  EXPECT_EQ(commands_.MoveCheckedToNewFile(checks, current_), ListChange{});
  EXPECT_EQ(commands_.MoveCheckedToExistingFile(checks, current_), ListChange{});

  state_.operations.pingInProgress = true;
  prompts_.confirmAnswers = {true, true};
  const std::size_t shownBefore = prompts_.shown.size();
  const std::string other = (home_ / "other.bin").string();
  const std::string another = testing::WriteSiteList(home_ / "another.bin", Sites("XY"));
  const std::uint64_t generation = state_.sites.generation();
  EXPECT_EQ(commands_.DeleteSite(0), ListChange{});
  EXPECT_EQ(commands_.DeleteCheckedSites(checks), ListChange{});
  EXPECT_EQ(commands_.MoveCheckedToNewFile(checks, other), ListChange{});
  EXPECT_EQ(commands_.MoveCheckedToExistingFile(checks, other), ListChange{});
  EXPECT_EQ(commands_.OpenSiteFile(another), ListChange{});
  EXPECT_EQ(commands_.Reload(), ListChange{});
  EXPECT_EQ(commands_.StartNewFile(other), ListChange{});
  EXPECT_EQ(commands_.SaveAs(other), ListChange{});
  ASSERT_EQ(prompts_.shown.size(), shownBefore + 8);
  for (std::size_t i = shownBefore; i < prompts_.shown.size(); ++i)
    EXPECT_EQ(prompts_.shown[i].errorId, ErrorId::kOperationInProgress) << prompts_.shown[i].text;
  EXPECT_EQ(LastShown(), "Another Ping is in progress!\r\n\r\nPlease wait until it is completed");
  EXPECT_FALSE(std::filesystem::exists(other));
  EXPECT_EQ(state_.currentSiteFile, current_);
  EXPECT_EQ(state_.sites.generation(), generation);

  EXPECT_EQ(testing::ReadFileBytes(current_), before);
  EXPECT_EQ(state_.sites.FindByRow(1)->RowNumber, 1);
}

TEST_F(SiteListCommandsTest, DialogResultsGoToTheRecordBeingModifiedElseToTheirAddressElseAreAdded) {
  OpenSites(Sites("ABC"));
  SiteRecord reply = TestSite({.name = "A at C's address", .address = "10.0.0.3"});
  reply.LastPing = 15;
  state_.operations.rowBeingModified = 1;
  EXPECT_EQ(commands_.StoreSiteSaved(false, reply), (ListChange{Kind::RewriteRow, 0}));
  EXPECT_EQ(state_.sites[0].LastPing, 0);
  SetFieldText(reply.IpByNumber, "10.0.0.6");  // moved to an address no record has: still the same site
  EXPECT_EQ(commands_.StoreSiteSaved(false, reply), (ListChange{Kind::RewriteRow, 0}));
  EXPECT_EQ(FieldText(state_.sites[0].IpByNumber), "10.0.0.6");
  SetFieldText(reply.IpByNumber, "10.0.0.9");
  state_.operations.rowBeingModified = 2;
  EXPECT_EQ(commands_.StoreSitePinged(false, reply), (ListChange{Kind::RewriteRow, 1}));
  EXPECT_EQ(state_.sites[1].LastPing, 15);

  state_.operations.rowBeingModified = kNoRow;
  SetFieldText(reply.SiteName, "Powering up");
  EXPECT_EQ(commands_.StoreSitePinged(true, reply), (ListChange{Kind::RewriteRow, 1}));
  EXPECT_EQ(commands_.StoreSiteRefreshed(false, TestSite({.name = "Unknown", .address = "10.0.0.8"})), ListChange{});
  SetFieldText(reply.IpByNumber, "10.0.0.7");
  EXPECT_EQ(commands_.StoreSitePinged(false, reply), (ListChange{Kind::AppendRow, 3}));
  EXPECT_EQ(NamesIn(current_), (Names{"A at C's address", "A at C's address", "C", "Powering up"}));
}

TEST_F(SiteListCommandsTest, AnUpdateRewritesOnlyItsRecord) {
  OpenSites(Sites("ABC"));
  const std::string before = testing::ReadFileBytes(current_);
  SiteRecord reply = TestSite({.name = "B", .address = "10.0.0.2"});
  reply.VersionMajor = 4;
  EXPECT_EQ(commands_.StoreSiteRefreshed(false, reply), (ListChange{Kind::RewriteRow, 1}));
  std::string expected = before;
  expected.replace(60 + 143, 143, reinterpret_cast<const char*>(&state_.sites[1]), 143);
  EXPECT_EQ(testing::ReadFileBytes(current_), expected);
}

// Another program (here a second set of commands on a state of its own) saved
// the file after this one loaded it: nothing this one does may overwrite that,
// and its own edits stay in its table until "Save As" keeps them.
TEST_F(SiteListCommandsTest, EditsOfAFileAnotherProgramChangedAreRefusedAndKeptForSaveAs) {
  OpenSites(Sites("ABCD"));
  ProgramState otherState{home_.path()};
  testing::ScriptedPrompts otherPrompts;
  SiteListCommands other{otherState, otherPrompts, desktop_};
  ASSERT_EQ(other.OpenSiteFile(current_).kind, Kind::Refill);
  otherPrompts.confirmAnswers = {true};
  ASSERT_EQ(other.DeleteSite(0).kind, Kind::Refill);
  const std::string othersFile = testing::ReadFileBytes(current_);
  ASSERT_EQ(NamesIn(current_), (Names{"B", "C", "D"}));

  const std::string refused = SiteFileChangedText(current_);
  EXPECT_EQ(commands_.StoreSiteSaved(false, TestSite({.name = "B mine", .address = "10.0.0.2"})),
            (ListChange{Kind::RewriteRow, 1}));
  EXPECT_EQ(LastShown(), refused);
  prompts_.confirmAnswers = {true};
  EXPECT_EQ(commands_.DeleteSite(2), ListChange{});
  EXPECT_EQ(LastShown(), refused + "\r\n\r\nNo site was removed from it.");
  EXPECT_EQ(commands_.StoreSiteSaved(false, TestSite({.name = "E", .address = "10.0.0.5"})),
            (ListChange{Kind::AppendRow, 4}));
  EXPECT_EQ(LastShown(), refused);
  EXPECT_EQ(testing::ReadFileBytes(current_), othersFile);
  EXPECT_EQ(testing::SiteNames(state_.sites), (Names{"A", "B mine", "C", "D", "E"}));
  EXPECT_EQ(state_.sites[2].RowNumber, kNoRow);

  const std::string mine = (home_ / "mine.bin").string();
  EXPECT_EQ(commands_.SaveAs(current_), ListChange{});
  EXPECT_EQ(LastShown(), refused);
  EXPECT_EQ(commands_.SaveAs(mine), (ListChange{Kind::Refill, -1, true, false}));
  EXPECT_EQ(NamesIn(mine), (Names{"A", "B mine", "D", "E"}));
  EXPECT_EQ(state_.currentSiteFile, mine);
  EXPECT_EQ(testing::ReadFileBytes(current_), othersFile);
}

TEST_F(SiteListCommandsTest, ExportsWriteTheListingSayWhereAndOpenIt) {
  OpenSites(Sites("ABC"));
  const std::string text = (home_ / "sites.txt").string();
  const std::string csv = (home_ / "sites.csv").string();
  commands_.ExportText(text);
  EXPECT_EQ(LastShown(), "The file was saved to\r\n" + text);
  desktop_.canOpen = false;
  commands_.ExportCsv(csv);
  EXPECT_EQ(LastShown(), "The file was saved to\r\n" + csv +
                             "\r\n\r\nNo program on this computer opens this kind of file: open it with a program "
                             "of your choice.");
  EXPECT_EQ(testing::ReadFileBytes(text), FormatSiteListExport(state_.sites, SiteListExportFormat::Text));
  EXPECT_EQ(testing::ReadFileBytes(csv), FormatSiteListExport(state_.sites, SiteListExportFormat::Csv));

  const std::string unwritable = (home_ / "no-folder" / "sites.txt").string();
  commands_.ExportText(unwritable);
  EXPECT_EQ(prompts_.Last().kind, testing::ScriptedPrompts::Shown::Error);
  EXPECT_EQ(LastShown(), "Failed to create file!\r\n\r\n" + unwritable);
  EXPECT_EQ(desktop_.openedWithDefaultApp, (std::vector<std::filesystem::path>{text, csv}));
}

}  // namespace
}  // namespace quenderlink
