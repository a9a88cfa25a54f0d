#include "shell/ui/CMainFrame.h"

#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include "core/ErrorMessages.h"
#include "core/FixedText.h"
#include "net/EngineRecorder.h"
#include "shell/MainMenu.h"
#include "shell/SiteListColumns.h"
#include "shell/ui/CMainView.h"
#include "shell/ui/MainViewTestSupport.h"
#include "upload/ui/CDlgUploadFile.h"

namespace quenderlink {
namespace {

class CMainFrameTest : public testing::MainViewFixture {
 protected:
  void SetUp() override {
    testing::WriteSiteHome(home_.path(), {"Delta", "Alpha", "Charlie", "Bravo"}, 5);
    frame_.OpenMainView();
    frame_.show();
  }

  CMainFrame frame_{state_, prompts_, desktop_};
};

TEST_F(CMainFrameTest, TheMainViewOpensFirstAndOperationsGetTheirOwnWindows) {
  ASSERT_EQ(frame_.mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(frame_.mdiArea()->subWindowList()[0]->windowTitle().toStdString(), "NS Start Page (Ver 9.0)");
  EXPECT_EQ(state_.operations.mainView, frame_.mainView());

  state_.operations.pingSitesMode = PingMode::Reset;
  frame_.OpenView(ViewKind::kPingSites);
  const auto windows = frame_.mdiArea()->subWindowList();
  ASSERT_EQ(windows.size(), 2);
  EXPECT_EQ(windows[1]->windowTitle().toStdString(), "Reset Sites");
  EXPECT_EQ(state_.operations.viewKind, ViewKind::kPingSites);

  windows[0]->close();  // the main view stays open
  EXPECT_EQ(frame_.mdiArea()->subWindowList().size(), 2);
}

// The home's railroad (5) has every unit asked for its menu as the session begins.
TEST_F(CMainFrameTest, TheTelnetButtonOpensATerminalOnTheRowsTelnetPort) {
  unitsim::UnitConfig unit = testing::Unit("127.95.1.1");
  unit.telnetPort = 10001;
  const auto units = testing::StartUnits({unit});
  SiteRecord& site = state_.sites.records()[1];
  SetFieldText(site.HostText, "bravo-unit");
  SetFieldText(site.IpByNumber, "127.95.1.1");
  site.TelnetPort = 10001;
  frame_.mainView()->OnCellButton(1, kColTelnetButton, false);

  const auto windows = frame_.mdiArea()->subWindowList();
  ASSERT_EQ(windows.size(), 2);
  const auto received = [&] { return units->TelnetReceived("127.95.1.1", 10001).received; };
  EXPECT_TRUE(QTest::qWaitFor([&] { return received() == "*MENU*\r\n"; }, 5000)) << received();
  EXPECT_EQ(windows[1]->windowTitle().toStdString(), "Telnet bravo-unit");
  EXPECT_FALSE(windows[1]->close()) << "a connected session keeps its window";
}

TEST_F(CMainFrameTest, SingleSiteUploadOpensTheUploadDialogWithNoRowBeingModified) {
  state_.operations.rowBeingModified = 1;
  bool uploadDialog = false;
  testing::AnswerNextModal([&](QWidget& dialog) {
    uploadDialog = qobject_cast<CDlgUploadFile*>(&dialog) != nullptr;
    qobject_cast<QDialog*>(&dialog)->done(QDialog::Rejected);
  });
  frame_.OpenSingleSiteUpload((home_ / "missing.bin").string());
  EXPECT_TRUE(uploadDialog);
  EXPECT_EQ(state_.operations.rowBeingModified, kNoRow);
}

// The close and enable rules themselves are tested without a window.
TEST_F(CMainFrameTest, WhileARunLastsMenuItemsAreDisabledAndCloseIsRefusedThenTheTableIsReleased) {
  QAction* pingAll = frame_.action(menu::kPingAll);
  ASSERT_NE(pingAll, nullptr);
  QMenu& pingMenu = *qobject_cast<QMenu*>(pingAll->parent());
  state_.operations.uploadInProgress = true;
  emit pingMenu.aboutToShow();
  EXPECT_FALSE(pingAll->isEnabled());
  EXPECT_FALSE(frame_.close());

  state_.operations.uploadInProgress = false;
  emit pingMenu.aboutToShow();
  EXPECT_TRUE(pingAll->isEnabled());
  EXPECT_TRUE(frame_.close());
  EXPECT_TRUE(state_.sites.empty());
}

TEST_F(CMainFrameTest, AShutDownStopsARunningPingAndSavesNothingOfIt) {
  // Nothing answers there: the run waits until it is stopped.
  for (SiteRecord& site : state_.sites.records()) SetFieldText(site.HostText, "127.87.0.1");
  frame_.mainView()->RunCommand(menu::kPingAll);
  ASSERT_TRUE(QTest::qWaitFor([&] { return state_.operations.pingInProgress; }, 2000));
  const auto fileBefore = testing::ReadFileBytes(state_.currentSiteFile);
  frame_.ShutDown();
  EXPECT_FALSE(state_.operations.pingInProgress);
  EXPECT_TRUE(state_.sites.empty());
  EXPECT_EQ(testing::ReadFileBytes(state_.currentSiteFile), fileBefore);
}

// The height rule itself is tested without a window; it is applied again
// whenever the parameters are, as after the parameters dialog.
TEST_F(CMainFrameTest, ReduceHeightLimitsTheWindowsHeight) {
  state_.params.reduceHeight = 100;
  frame_.mainView()->RunCommand(menu::kSelectRailroad);
  EXPECT_EQ(frame_.maximumHeight(), frame_.screen()->geometry().height() - 100);
}

// After a sort, row numbers are no longer list positions, and the reload at the
// end of the run renumbers them: the view must go on listing the ticked sites.
TEST_F(CMainFrameTest, PingSelectedAfterASortListsTheTickedSites) {
  CMainView* view = frame_.mainView();
  view->RunCommand(menu::kFirstDescendSort + 1);  // by name, A to Z
  view->model().SetChecked(1, true);  // Bravo
  view->model().SetChecked(3, true);  // Delta
  view->RunCommand(menu::kPingChecked);
  const auto windows = frame_.mdiArea()->subWindowList();
  ASSERT_EQ(windows.size(), 2);
  // The sites have no address, so the run ends at once; its end saves and reloads the sorted table.
  const QWidget& pingView = *windows[1]->widget();
  ASSERT_TRUE(QTest::qWaitFor([&] { return testing::Child<QWidget>(pingView, "closeButton").isVisible(); }, 5000));
  QAbstractItemModel& listed = *testing::Child<QTableView>(pingView, "siteList").model();
  ASSERT_EQ(listed.rowCount(), 2);
  EXPECT_EQ(listed.index(0, 3).data().toString().toStdString(), "Bravo");
  EXPECT_EQ(listed.index(1, 3).data().toString().toStdString(), "Delta");
}

// A maintainer goes on working in the main window while the units answer:
// every command that would pull the list from under the run is refused, the
// sorts are not, and each unit's answer ends up in its own site's record.
TEST_F(CMainFrameTest, WhileAPingRunLastsTheListIsSortedButNotReplacedAndEveryAnswerReachesItsOwnSite) {
  std::vector<unitsim::UnitConfig> units;
  for (int unit = 1; unit <= 4; ++unit) {
    const std::string address = "127.96.0." + std::to_string(unit);
    units.push_back(testing::Unit(address, {.replyDelayMs = 600}));
    units.back().identity.milepost = "M" + std::to_string(unit);
    SetFieldText(state_.sites[static_cast<std::size_t>(unit - 1)].HostText, address);
  }
  const auto simulator = testing::StartUnits(units);
  state_.params.pingMaxWaitResponse = 5;
  const std::string other =
      testing::WriteSiteList(home_ / "other.bin", {testing::TestSite({.name = "Other", .address = "10.0.0.1"})});
  const std::string otherBytes = testing::ReadFileBytes(other);
  CMainView& view = *frame_.mainView();
  view.model().SetChecked(0, true);

  view.RunCommand(menu::kPingAll);
  ASSERT_TRUE(QTest::qWaitFor([&] { return state_.operations.pingInProgress; }, 2000));
  const std::vector<int> refused{menu::kOpenSiteFile,      menu::kNewSiteFile,         menu::kSaveSiteFileAs,
                                 menu::kAddSite,           menu::kModifySite,          menu::kDeleteSite,
                                 menu::kDeleteCheckedSites, menu::kMoveToNewFile,      menu::kMoveToExistingFile,
                                 menu::kRuntimeParams,     menu::kEraseIniFile,        menu::kSelectRailroad,
                                 menu::kPingAll};
  for (const int id : refused) view.RunCommand(id);
  for (int id = menu::kFirstAscendSort; id <= menu::kLastDescendSort; ++id) view.RunCommand(id);
  ASSERT_TRUE(state_.operations.pingInProgress) << "the run must outlast the commands";

  ASSERT_EQ(prompts_.shown.size(), refused.size());
  for (const auto& shown : prompts_.shown) EXPECT_EQ(shown.errorId, kErrorOperationInProgress) << shown.text;
  EXPECT_TRUE(prompts_.fileRequests.empty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !state_.operations.pingInProgress; }, 10000));
  EXPECT_EQ(testing::ReadFileBytes(other), otherBytes);
  const SiteTable saved = testing::LoadedSiteList(state_.currentSiteFile);
  ASSERT_EQ(saved.size(), 4u);
  for (const SiteRecord& site : saved.records()) {
    const std::string host(FieldText(site.HostText));
    EXPECT_EQ("M" + host.substr(host.rfind('.') + 1), FieldText(site.Milepost)) << host;
    EXPECT_TRUE(site.LastPing >= 1 && site.LastPing <= 250) << host << " " << int(site.LastPing);
  }
}

}  // namespace
}  // namespace quenderlink
