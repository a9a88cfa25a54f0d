#include "shell/LaunchRules.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "support/RecordingOpener.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::ScriptedPrompts;
using testing::TempDir;

class ProgramFileReceiver : public ProgramFileTarget {
 public:
  std::string received;
  void ReceiveProgramFile(const std::string& path) override { received = path; }
};

class LaunchRulesTest : public ::testing::Test {
 protected:
  void SetUp() override { Fill(std::vector<std::uint8_t>(4, kProductCad2)); }

  void Fill(const std::vector<std::uint8_t>& productTypes) {
    std::vector<SiteRecord> records;
    for (std::size_t i = 0; i < productTypes.size(); ++i)
      records.push_back(testing::TestSite(
          {.name = "S" + std::to_string(i), .row = static_cast<std::uint16_t>(i + 1), .product = productTypes[i]}));
    state_.sites.Replace(records);
    checks_.Reset(records.size());
  }
  void Check(std::initializer_list<std::size_t> rows) {
    for (const std::size_t row : rows) checks_.SetChecked(row, true);
  }
  std::filesystem::path UseProgramFile() {
    const auto file = home_ / "cad2.s19";
    testing::WriteFileBytes(file, "S0");
    EXPECT_TRUE(IniSettingsFile(home_.path()).PushProgramFile(file.string()));
    return file;
  }
  std::vector<std::uint8_t> Flags() const {
    std::vector<std::uint8_t> flags;
    for (const SiteRecord& record : state_.sites.records()) flags.push_back(record.SiteFlags);
    return flags;
  }
  ErrorId LastErrorId() const { return prompts_.Last().errorId; }

  TempDir home_;
  ProgramState state_{home_.path()};
  ScriptedPrompts prompts_;
  testing::RecordingOpener opener_;
  CheckedRows checks_;
  LaunchRules rules_{state_, prompts_, opener_};
};

TEST_F(LaunchRulesTest, BusyRefusesEveryPingAndResetButNotTheIcmpScans) {
  Check({0, 1});
  state_.operations.uploadInProgress = true;
  rules_.PingChecked(checks_);
  rules_.PingAll();
  rules_.PingManual();
  rules_.PingRange();
  rules_.PingOneSite(0);
  rules_.Reset(checks_, 0);
  rules_.ManySitesReset(checks_);
  ASSERT_EQ(prompts_.shown.size(), 7u);
  for (const auto& shown : prompts_.shown) EXPECT_EQ(shown.errorId, ErrorId::kOperationInProgress);
  EXPECT_TRUE(opener_.opened.empty());

  rules_.IcmpScan(IcmpScanMode::ListedSites);
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"view 6"});
  EXPECT_EQ(opener_.viewRequests.back().icmpMode, IcmpScanMode::ListedSites);
}

TEST_F(LaunchRulesTest, PingCheckedMarksTickedRowsAndPicksDialogOrView) {
  rules_.PingChecked(checks_);
  EXPECT_EQ(LastErrorId(), ErrorId::kNoSiteChecked);

  Check({2});
  rules_.PingChecked(checks_);
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"site ping S2"});

  Check({0});
  rules_.PingChecked(checks_);
  EXPECT_EQ(opener_.opened.back(), "view 2");
  EXPECT_EQ(opener_.viewRequests.back().pingMode, PingMode::Ping);
  EXPECT_EQ(Flags(), (std::vector<std::uint8_t>{3, 0, 3, 0}));

  rules_.PingAll();
  EXPECT_EQ(Flags(), (std::vector<std::uint8_t>{2, 2, 2, 2}));
}

// The names the journal views are asked for, in the order given.
std::string SiteNames(const ViewRequest& request) {
  std::string names;
  for (const ListedSite& site : request.sites) names += site.name + " ";
  return names;
}

TEST_F(LaunchRulesTest, HistoryAndAvailabilityTakeTheTickedSitesElseTheHighlightedOneOrAll) {
  rules_.History(checks_, 1);
  rules_.Availability(checks_);
  Check({0, 3});
  state_.operations.pingInProgress = true;  // reading the journal waits for no run
  rules_.History(checks_, 1);
  rules_.Availability(checks_);
  ASSERT_EQ(opener_.opened, (std::vector<std::string>{"view 8", "view 9", "view 8", "view 9"}));
  EXPECT_EQ(SiteNames(opener_.viewRequests[0]), "S1 ");
  EXPECT_EQ(SiteNames(opener_.viewRequests[1]), "S0 S1 S2 S3 ");
  EXPECT_EQ(SiteNames(opener_.viewRequests[2]), "S0 S3 ");
  EXPECT_EQ(SiteNames(opener_.viewRequests[3]), "S0 S3 ");
  EXPECT_EQ(Flags(), (std::vector<std::uint8_t>{0, 0, 0, 0})) << "the sites' marks are left alone";
}

TEST_F(LaunchRulesTest, OneSitePingOfAMissingRowReportsTheInternalError) {
  state_.sites[1].RowNumber = kNoRow;  // deleted in memory
  rules_.PingOneSite(1);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].text, "Internal Error\nPLEASE Notify Brindlemar\n\nError Code = 991\nRow = 1\nTWD = 65535");
  EXPECT_TRUE(opener_.opened.empty());
}

TEST_F(LaunchRulesTest, UploadRefusalsComeInTheirOrder) {
  rules_.Upload(checks_, false);  // no Ctrl, nothing checked: still the Ctrl message
  EXPECT_EQ(prompts_.Last().text.substr(0, 31), "You must\nhold down the \"Ctrl\" k");

  state_.operations.uploadInProgress = true;
  rules_.Upload(checks_, true);
  EXPECT_EQ(prompts_.Last().text, "ANOTHER UPLOAD IN PROCESS.  WAIT UNTGIL DONE");
  state_.operations.uploadInProgress = false;

  rules_.Upload(checks_, true);
  EXPECT_EQ(LastErrorId(), ErrorId::kNoProgramFile);

  UseProgramFile();
  rules_.Upload(checks_, true);
  EXPECT_EQ(LastErrorId(), ErrorId::kNoSiteSelected);

  Fill({kProductCad2, kProductCad1});
  Check({0, 1});
  rules_.Upload(checks_, true);
  EXPECT_EQ(LastErrorId(), ErrorId::kDifferentProducts);
  EXPECT_EQ(Flags(), (std::vector<std::uint8_t>{5, 5}));
  EXPECT_TRUE(opener_.opened.empty());
}

TEST_F(LaunchRulesTest, UploadPicksTheWindowBySiteCountAndUploadToRowHighlightsThatRowAlone) {
  const auto file = UseProgramFile().string();
  ProgramFileReceiver boxes, list;
  state_.operations.uploadBoxesView = &boxes;
  state_.operations.uploadView = &list;

  state_.sites[0].SiteFlags = kFlagHighlighted;
  rules_.UploadToRow(3);
  EXPECT_EQ(Flags(), (std::vector<std::uint8_t>{0, 0, 0, 4}));
  rules_.UploadToRow(7);  // no such row: nothing highlighted, nothing opened
  Check({1});
  rules_.Upload(checks_, true);
  EXPECT_EQ(opener_.opened, (std::vector<std::string>{"upload " + file, "upload " + file}));

  Fill(std::vector<std::uint8_t>(17, kProductCad2));
  for (std::size_t row = 0; row < 16; ++row) checks_.SetChecked(row, true);
  rules_.Upload(checks_, true);
  EXPECT_EQ(opener_.opened.back(), "view 4");
  EXPECT_EQ(boxes.received, file);

  checks_.SetChecked(16, true);
  rules_.Upload(checks_, true);
  EXPECT_EQ(opener_.opened.back(), "view 3");
  EXPECT_EQ(list.received, file);
}

TEST_F(LaunchRulesTest, ResetUsesTheSelectedRowForOneCheckedSite) {
  rules_.Reset(checks_, 0);
  EXPECT_EQ(prompts_.Last().text, "Internal Error\nPLEASE Notify Brindlemar\n\nYou must select at least one Cadmarin\n");

  Check({1});
  rules_.Reset(checks_, 3);
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"reset S3"});
  rules_.Reset(checks_, -1);  // nothing selected: nothing happens
  EXPECT_EQ(opener_.opened.size(), 1u);

  Check({2});
  rules_.Reset(checks_, 3);
  EXPECT_EQ(opener_.opened.back(), "view 2");
  EXPECT_EQ(opener_.viewRequests.back().pingMode, PingMode::Reset);

  checks_.Reset(4);
  rules_.ManySitesReset(checks_);
  EXPECT_EQ(LastErrorId(), ErrorId::kNoSiteChecked);
}

TEST_F(LaunchRulesTest, TelnetOnCprRefreshesTheAddressOrStopsWithError900) {
  state_.params.railroadCode = kRailroadCpr;
  SetFieldText(state_.sites[0].HostText, "127.0.0.9");
  rules_.Telnet(0);
  EXPECT_EQ(FieldText(opener_.viewRequests.back().site.IpByNumber), "127.0.0.9");
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"view 7"});

  SetFieldText(state_.sites[1].HostText, "bad name!");
  rules_.Telnet(1);
  EXPECT_EQ(FieldText(state_.sites[1].IpByNumber), "0.0.0.0");
  EXPECT_EQ(LastErrorId(), ErrorId::kDnsConversion);
  EXPECT_EQ(prompts_.Last().text, "\r\nFailed to convert DNS\nbad name!\nto an IP address.");
  EXPECT_EQ(opener_.opened.size(), 1u);
}

}  // namespace
}  // namespace quenderlink
