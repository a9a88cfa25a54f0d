#include "survey/ui/CFViewPingRangeICMP.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

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

  std::unique_ptr<CFViewPingRangeICMP> OpenView(IcmpScanMode mode) {
    auto view = std::make_unique<CFViewPingRangeICMP>(state_, prompts_, desktop_, mode);
    CheckModelThroughout(*Child<SiteListView>(*view, "icmpList").model());
    QObject::connect(view.get(), &CFViewPingRangeICMP::titleChanged, [this](const QString& text) { title_ = text; });
    view->show();
    return view;
  }

  bool AwaitEndOfRun(const CFViewPingRangeICMP& view) {
    return QTest::qWaitFor(
        [&] { return !state_.operations.pingInProgress && Child<QPushButton>(view, "abortButton").isHidden(); },
        10000);
  }

  static void ExpectAllDone(const CFViewPingRangeICMP& view, int rows) {
    const QAbstractItemModel& list = *Child<SiteListView>(view, "icmpList").model();
    ASSERT_EQ(list.rowCount(), rows);
    for (int row = 0; row < rows; ++row) EXPECT_EQ(list.index(row, kIcmpColComments).data().toString(), "Done!") << row;
  }
  TempDir home_;
  ProgramState state_{home_.path()};
  ScriptedPrompts prompts_;
  RecordingDesktopActions desktop_;
  QString title_;
};

// The scan's rules and file formats are pinned by the core tests; here only the wiring.
TEST_F(CFViewPingRangeICMPTest, StartRunsTheRangeSaveWritesAFileClosingWaitsForTheThreadsAndListedSitesRunAtOnce) {
  if (const Result can = CanOpenRawIcmp(); !can) GTEST_SKIP() << can.reason();
  IniSettingsFile ini(home_.path());
  ASSERT_TRUE(ini.WriteString("Ping Range", "ICMP From IP", "127.98.0.1"));
  ASSERT_TRUE(ini.WriteString("Ping Range", "ICMP End IP", "250"));
  auto view = OpenView(IcmpScanMode::RawSockets);
  EXPECT_EQ(title_.toStdString(), IcmpScanTitle(IcmpScanMode::RawSockets));
  EXPECT_EQ(state_.openViews.Count(), 1u);

  // More addresses than job slots: the later ones start on the threads of those that ended.
  Child<QLineEdit>(*view, "lastNumberEdit").setText("25");
  Click(*view, "startButton");
  ASSERT_TRUE(AwaitEndOfRun(*view));
  ExpectAllDone(*view, 25);
  EXPECT_EQ(IniSettingsFile(home_.path()).ReadString("Ping Range", "ICMP End IP", ""), "25");

  const auto text = home_ / "all.txt";
  prompts_.popupAnswers = {kIcmpSaveAllText};
  prompts_.fileAnswers = {text.string()};
  Click(*view, "saveButton");
  EXPECT_NE(ReadFileBytes(text).find("127.98.0.3"), std::string::npos);
  EXPECT_EQ(desktop_.openedInEditor, (std::vector<std::filesystem::path>{text}));

  Click(*view, "startButton");
  ASSERT_TRUE(state_.operations.pingInProgress);
  view.reset();
  EXPECT_FALSE(state_.operations.pingInProgress);
  EXPECT_EQ(state_.openViews.Count(), 0u);

  SiteRecord byHostOnly = TestSite({.address = "127.98.3.2"});
  SetFieldText(byHostOnly.IpByNumber, "");
  state_.sites.Replace({TestSite({.address = "127.98.3.1"}), byHostOnly});
  view = OpenView(IcmpScanMode::ListedSites);
  EXPECT_TRUE(Child<QWidget>(*view, "startButton").isHidden());
  ASSERT_TRUE(QTest::qWaitFor([&] { return state_.operations.pingInProgress; }, 2000));
  ASSERT_TRUE(AwaitEndOfRun(*view));
  ExpectAllDone(*view, 2);
}

TEST_F(CFViewPingRangeICMPTest, AMethodThatCannotPingHereSaysWhatLinuxNeedsAndClosesTheView) {
  for (const IcmpScanMode mode : {IcmpScanMode::SystemLibrary, IcmpScanMode::ListedSites}) {
    CFViewPingRangeICMP view(state_, prompts_, desktop_, mode, [](IcmpScanMode) { return false; });
    QSignalSpy closing(&view, &CFViewPingRangeICMP::closeRequested);
    view.show();
    EXPECT_TRUE(closing.wait(1000));
    EXPECT_FALSE(state_.operations.pingInProgress);
  }
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[0].text, IcmpAccessFailureText(IcmpScanMode::SystemLibrary));
  EXPECT_EQ(prompts_.shown[1].text, IcmpAccessFailureText(IcmpScanMode::ListedSites));
}

}  // namespace
}  // namespace quenderlink
