#include "survey/ui/CFViewPingRangeICMP.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

#include "controls/ui/SiteListView.h"
#include "core/IniSettingsFile.h"
#include "support/DialogTesting.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/TestSite.h"
#include "survey/IcmpScanMethod.h"
#include "survey/ui/IcmpScanModel.h"

namespace quenderlink {
namespace {

using namespace testing;

// Every address pinged is on loopback, which answers echo on all of 127/8.
class CFViewPingRangeICMPTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  void SetUp() override {
    IniSettingsFile ini(home_.path());
    ASSERT_TRUE(ini.WriteString("Ping Range", "ICMP Timeout", "1000"));
  }

  void SkipWithoutRawSockets() {
    std::string reason;
    if (!CanOpenRawIcmp(reason)) GTEST_SKIP() << reason;
  }

  void RememberRange(const std::string& from, const std::string& end) {
    IniSettingsFile ini(home_.path());
    ASSERT_TRUE(ini.WriteString("Ping Range", "ICMP From IP", from));
    ASSERT_TRUE(ini.WriteString("Ping Range", "ICMP End IP", end));
  }

  std::unique_ptr<CFViewPingRangeICMP> OpenView(IcmpScanMode mode) {
    state_.operations.icmpScanMode = mode;
    auto view = std::make_unique<CFViewPingRangeICMP>(state_, prompts_, desktop_);
    QObject::connect(view.get(), &CFViewPingRangeICMP::titleChanged, [this](const QString& text) { title_ = text; });
    view->show();
    return view;
  }

  bool AwaitEndOfRun(const CFViewPingRangeICMP& view) {
    return QTest::qWaitFor(
        [&] { return !state_.operations.pingInProgress && Child<QPushButton>(view, "abortButton").isHidden(); },
        10000);
  }

  static QAbstractItemModel& Rows(const CFViewPingRangeICMP& view) {
    return *Child<SiteListView>(view, "icmpList").model();
  }
  static QString Cell(const CFViewPingRangeICMP& view, int row, int column) {
    return Rows(view).index(row, column).data().toString();
  }
  static void ExpectFiveReplies(const CFViewPingRangeICMP& view, int row) {
    for (int column = kIcmpColTry1; column <= kIcmpColAvg; ++column) {
      bool number = false;
      Cell(view, row, column).toInt(&number);
      EXPECT_TRUE(number) << "row " << row << " column " << column;
    }
    EXPECT_EQ(Cell(view, row, kIcmpColComments), "Done!") << row;
  }

  TempDir home_;
  ProgramState state_{home_.path()};
  ScriptedPrompts prompts_;
  RecordingDesktopActions desktop_;
  QString title_;
};

TEST_F(CFViewPingRangeICMPTest, RawSocketsPingTheRangeRememberItAndSaveTheChosenRows) {
  SkipWithoutRawSockets();
  RememberRange("127.98.0.1", "250");
  auto view = OpenView(IcmpScanMode::RawSockets);
  EXPECT_EQ(title_, "ICMP Use Raw Socket");
  EXPECT_EQ(state_.openViews.Count(), 1u);

  Child<QLineEdit>(*view, "lastNumberEdit").setText("3");
  Click(*view, "startButton");
  EXPECT_TRUE(state_.operations.pingInProgress);
  EXPECT_EQ(Text<QLabel>(*view, "statusText"), "RUNNING Ping!\nPlease Wait...");
  ASSERT_TRUE(AwaitEndOfRun(*view));

  ASSERT_EQ(Rows(*view).rowCount(), 3);
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(Cell(*view, row, kIcmpColCnt), QString::number(row + 1));
    EXPECT_EQ(Cell(*view, row, kIcmpColAddress), QString("127.98.0.%1").arg(row + 1));
    ExpectFiveReplies(*view, row);
  }
  EXPECT_EQ(Text<QLabel>(*view, "totalsText"),
            "\n  Total IPs    :   3\n  Total Pingged:   3\n  Total Success:   3\n  Total Failed :   0\n");
  const IniSettingsFile ini(home_.path());
  EXPECT_EQ(ini.ReadString("Ping Range", "ICMP From IP", ""), "127.98.0.1");
  EXPECT_EQ(ini.ReadString("Ping Range", "ICMP End IP", ""), "3");

  Rows(*view).setData(Rows(*view).index(1, kIcmpColCheck), Qt::Checked, Qt::CheckStateRole);
  const auto csv = home_ / "ticked.csv";
  const auto text = home_ / "all.txt";
  prompts_.popupAnswers = {CFViewPingRangeICMP::kSaveTickedCsv, CFViewPingRangeICMP::kSaveAllText};
  prompts_.fileAnswers = {csv.string(), text.string()};
  Click(*view, "saveButton");
  Click(*view, "saveButton");
  ASSERT_EQ(prompts_.popupsShown.size(), 2u);
  EXPECT_EQ(prompts_.popupsShown[0].size(), 4u);
  EXPECT_EQ(prompts_.fileRequests.at(0).defaultExtension, "csv");
  EXPECT_EQ(prompts_.fileRequests.at(1).defaultExtension, "txt");
  const std::string ticked = ReadFileBytes(csv);
  EXPECT_EQ(std::count(ticked.begin(), ticked.end(), '\n'), 2) << ticked;
  EXPECT_NE(ticked.find("\n2,127.98.0.2,"), std::string::npos) << ticked;
  const std::string all = ReadFileBytes(text);
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 4) << all;
  EXPECT_EQ(desktop_.openedInEditor, (std::vector<std::filesystem::path>{csv, text}));

  view.reset();
  EXPECT_EQ(state_.openViews.Count(), 0u);
}

TEST_F(CFViewPingRangeICMPTest, DatagramSocketsPingOneAddressAtATime) {
  std::string reason;
  if (!CanOpenLibraryIcmp(reason)) GTEST_SKIP() << reason;
  RememberRange("127.98.1.1", "4");
  auto view = OpenView(IcmpScanMode::SystemLibrary);
  EXPECT_EQ(title_, "ICMP Use Datagram Sockets");
  // Whatever the list shows at any moment, at most one address is under way.
  int mostUnderWay = 0;
  QObject::connect(&Rows(*view), &QAbstractItemModel::dataChanged, [&] {
    int underWay = 0;
    for (int row = 0; row < Rows(*view).rowCount(); ++row) {
      const QString comment = Cell(*view, row, kIcmpColComments);
      underWay += !comment.startsWith("..") && comment != "Done!";
    }
    mostUnderWay = std::max(mostUnderWay, underWay);
  });
  Click(*view, "startButton");
  ASSERT_TRUE(AwaitEndOfRun(*view));
  EXPECT_EQ(mostUnderWay, 1);
  for (int row = 0; row < 4; ++row) ExpectFiveReplies(*view, row);
}

TEST_F(CFViewPingRangeICMPTest, AbortLeavesTheWaitingAddressesAndClosingMidRunWaitsForEveryThread) {
  SkipWithoutRawSockets();
  RememberRange("127.98.2.1", "25");
  auto view = OpenView(IcmpScanMode::RawSockets);
  // Twenty addresses start at once; the other five wait for a free slot.
  Click(*view, "startButton");
  Click(*view, "abortButton");
  ASSERT_TRUE(AwaitEndOfRun(*view));
  for (int row = 20; row < 25; ++row) EXPECT_EQ(Cell(*view, row, kIcmpColComments), "USER ABORTED") << row;
  EXPECT_TRUE(Text<QLabel>(*view, "totalsText").contains("Total Pingged:  20"));
  EXPECT_FALSE(Child<QPushButton>(*view, "startButton").isHidden());

  Click(*view, "startButton");
  ASSERT_TRUE(state_.operations.pingInProgress);
  view.reset();
  EXPECT_FALSE(state_.operations.pingInProgress);
}

TEST_F(CFViewPingRangeICMPTest, TheListedSitesArePingedAsSoonAsTheViewOpens) {
  SkipWithoutRawSockets();
  SiteRecord byHostOnly = TestSite({.address = "127.98.3.2"});
  SetFieldText(byHostOnly.IpByNumber, "");
  state_.sites.Replace({TestSite({.address = "127.98.3.1"}), byHostOnly});
  auto view = OpenView(IcmpScanMode::ListedSites);
  EXPECT_EQ(title_, "ICMP Cadmarin's");
  EXPECT_TRUE(Child<QWidget>(*view, "startButton").isHidden());
  ASSERT_TRUE(QTest::qWaitFor([&] { return state_.operations.pingInProgress; }, 2000));
  ASSERT_TRUE(AwaitEndOfRun(*view));
  ASSERT_EQ(Rows(*view).rowCount(), 2);
  EXPECT_EQ(Cell(*view, 1, kIcmpColAddress), "127.98.3.2");
  for (int row = 0; row < 2; ++row) ExpectFiveReplies(*view, row);
}

TEST_F(CFViewPingRangeICMPTest, AMethodThatCannotPingHereSaysWhatLinuxNeedsAndClosesTheView) {
  for (const IcmpScanMode mode : {IcmpScanMode::SystemLibrary, IcmpScanMode::ListedSites}) {
    state_.operations.icmpScanMode = mode;
    CFViewPingRangeICMP view(state_, prompts_, desktop_, [](IcmpScanMode) { return false; });
    QSignalSpy closing(&view, &CFViewPingRangeICMP::closeRequested);
    view.show();
    ASSERT_FALSE(prompts_.shown.empty());
    EXPECT_EQ(prompts_.shown.back().text, IcmpAccessFailureText(mode));
    EXPECT_TRUE(closing.wait(1000));
    EXPECT_FALSE(state_.operations.pingInProgress);
  }
  EXPECT_EQ(prompts_.shown.at(0).text,
            "ERROR:\nFAILED to open an ICMP socket.\nPlease start the program as root\n"
            "or set net.ipv4.ping_group_range to include your group\n");
  EXPECT_EQ(prompts_.shown.at(1).text,
            "ERROR:\nFAILED to open Raw Socket.\nPlease start the program as root\n"
            "or give it the cap_net_raw capability\n");
}

}  // namespace
}  // namespace quenderlink
