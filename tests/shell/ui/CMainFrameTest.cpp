#include "shell/ui/CMainFrame.h"

#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QMenu>
#include <QTableView>
#include <QTest>

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

}  // namespace
}  // namespace quenderlink
