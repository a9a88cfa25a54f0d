#include "shell/ui/CMainFrame.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "core/ErrorMessages.h"
#include "core/FixedText.h"
#include "core/Printf.h"
#include "net/EngineRecorder.h"
#include "net/IcmpJob.h"
#include "shell/MainMenu.h"
#include "shell/SiteListColumns.h"
#include "shell/ui/CMainView.h"
#include "shell/ui/MainViewTestSupport.h"
#include "exchange/ui/CFViewImportSitesFromFile.h"
#include "survey/ui/CFViewPingRange.h"
#include "upload/ui/CDlgUploadFile.h"

namespace quenderlink {
namespace {

class CMainFrameTest : public testing::MainViewFixture {
 protected:
  void SetUp() override {
    testing::WriteSiteHome(home_.path(), {"Delta", "Alpha", "Charlie", "Bravo"}, 5);
    testing::CheckModelThroughout(frame_.OpenMainView()->model());
    frame_.show();
  }

  CMainFrame frame_{state_, prompts_, desktop_};
};

TEST_F(CMainFrameTest, TheMainViewOpensFirstAndOperationsGetTheirOwnWindows) {
  ASSERT_EQ(frame_.mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(frame_.mdiArea()->subWindowList()[0]->windowTitle().toStdString(), "NS Start Page (Ver 9.0)");

  frame_.OpenView({.kind = ViewKind::kPingSites, .pingMode = PingMode::Reset});
  const auto windows = frame_.mdiArea()->subWindowList();
  ASSERT_EQ(windows.size(), 2);
  EXPECT_EQ(windows[1]->windowTitle().toStdString(), "Reset Sites");

  windows[0]->close();  // the main view stays open
  EXPECT_EQ(frame_.mdiArea()->subWindowList().size(), 2);
}

// The home's railroad (5) has every unit asked for its menu as the session begins.
TEST_F(CMainFrameTest, TheWindowMenuListsAndArrangesTheWindowsAndRestoringAnotherLeavesTheMainListMaximised) {
  frame_.OpenView({.kind = ViewKind::kPingRange});
  const auto windows = frame_.mdiArea()->subWindowList();
  ASSERT_EQ(windows.size(), 2);
  ASSERT_TRUE(windows[1]->isMaximized()) << "opens as large as the list";
  windows[1]->showNormal();
  EXPECT_TRUE(windows[0]->isMaximized());
  EXPECT_FALSE(windows[1]->isMaximized());

  auto& menu = testing::Child<QMenu>(frame_, "windowMenu");
  emit menu.aboutToShow();
  emit menu.aboutToShow();  // the list is made anew each time, not added to
  QStringList items;
  for (const QAction* item : menu.actions())
    items << (item->isSeparator() ? "-" : item->text() + (item->isChecked() ? " [x]" : ""));
  EXPECT_EQ(items, QStringList({"&Cascade", "&Tile", "-", "&1 NS Start Page (Ver 9.0)",
                                "&2 Ping Range of Addresses [x]"}));
  menu.actions()[3]->trigger();
  EXPECT_EQ(frame_.mdiArea()->activeSubWindow(), windows[0]);
  menu.actions()[1]->trigger();
  EXPECT_FALSE(windows[0]->isMaximized()) << "tiled";
}

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

// What starting a run may use: the run's four units are at 127.110.<kind>.1 to
// .4 on a port of the kind's own, as the kinds' tests run side by side and the
// upload engine binds its port.
struct RunStart {
  CMainFrame& frame;
  ProgramState& state;
  testing::ScriptedPrompts& prompts;
  std::string programFile;
  std::string subnet;  // "127.110.<kind>."
  std::uint16_t port;
  // The user's steps during the run: a modal kind's start takes them into
  // its window's own event loop; the others' run after the start.
  std::function<void()> whileRunning;
};

// A maintainer goes on working in the main window while a run lasts: every
// command that would pull the list from under the run is refused, the sorts
// are not, and each unit's answer ends up in its own site's record.
struct RunKind {
  int number;
  const char* name;
  bool OperationState::*busy;
  // What the run saves of unit n into its site at its end ("" when it saves nothing).
  std::string (*savedOf)(const SiteRecord& site);
  std::string (*expectedOf)(int unit);
  std::function<void(const RunStart&)> start;
  // Whether the kind can run on this machine, and why not; none: it always can.
  Result (*canRun)() = nullptr;
  bool modal = false;
  // Its results stay in the table (the list on disk is left as it was).
  bool keptInTable = false;
};

void PrintTo(const RunKind& kind, std::ostream* out) { *out << kind.name; }

template <typename View>
View& LastView(CMainFrame& frame) {
  auto* view = qobject_cast<View*>(frame.mdiArea()->subWindowList().back()->widget());
  if (!view) throw std::runtime_error("the run's window did not open");
  return *view;
}

void MarkAll(ProgramState& state, std::uint8_t flag) {
  for (SiteRecord& site : state.sites.records()) site.SiteFlags |= flag;
}

void OpenUpload(const RunStart& run, ViewKind kind) {
  MarkAll(run.state, kFlagHighlighted);
  run.frame.OpenView({.kind = kind});
  ProgramFileTarget* target =
      kind == ViewKind::kUploadBoxes ? run.state.operations.uploadBoxesView : run.state.operations.uploadView;
  ASSERT_NE(target, nullptr);
  target->ReceiveProgramFile(run.programFile);
}

// Each unit has its own milepost, and its new program its own minor version.
std::string MilepostOf(const SiteRecord& site) { return std::string(FieldText(site.Milepost)); }
std::string UnitMilepost(int unit) { return "M" + std::to_string(unit); }
std::string VersionOf(const SiteRecord& site) { return Printf("%d.%d", site.VersionMajor, site.VersionMinor); }
std::string NewUnitVersion(int unit) { return "2." + std::to_string(unit); }

std::string SubnetOf(int kind) { return "127.110." + std::to_string(kind) + "."; }
std::uint16_t PortOf(int kind) { return static_cast<std::uint16_t>(47900 + kind); }

// The modal kinds work on the first unit only.
std::string FirstUnitMilepost(int unit) { return unit == 1 ? UnitMilepost(unit) : MilepostOf(NewSiteRecord(0)); }
std::string FirstUnitNewVersion(int unit) { return unit == 1 ? NewUnitVersion(unit) : VersionOf(NewSiteRecord(0)); }

constexpr int kDnsKind = 10;
std::string AddressOf(const SiteRecord& site) { return std::string(FieldText(site.IpByNumber)); }
std::string DnsUnitAddress(int unit) { return SubnetOf(kDnsKind) + std::to_string(unit); }

// A modal window starts its run from an event posted when it shows: the
// steps are posted after that, so they come round in its loop once the run
// has started and before the run can have handed back any result.
void DuringNextModalRun(std::function<void(QWidget& window)> steps) {
  testing::AnswerNextModal([steps = std::move(steps)](QWidget& window) {
    QTimer::singleShot(0, &window, [steps, &window] { steps(window); });
  });
}

const RunKind kRunKinds[] = {
    {1, "PingSites", &OperationState::pingInProgress, MilepostOf, UnitMilepost,
     [](const RunStart& run) { run.frame.mainView()->RunCommand(menu::kPingAll); }},
    {2, "ResetRun", &OperationState::pingInProgress, nullptr, nullptr,
     [](const RunStart& run) {
       for (int row = 0; row < 4; ++row) run.frame.mainView()->model().SetChecked(row, true);
       run.frame.mainView()->RunCommand(menu::kResetSite);
     }},
    {3, "UploadList", &OperationState::uploadInProgress, VersionOf, NewUnitVersion,
     [](const RunStart& run) { OpenUpload(run, ViewKind::kUploadList); }},
    {4, "UploadBoxes", &OperationState::uploadInProgress, VersionOf, NewUnitVersion,
     [](const RunStart& run) { OpenUpload(run, ViewKind::kUploadBoxes); }},
    {5, "RangeScan", &OperationState::pingInProgress, nullptr, nullptr,
     [](const RunStart& run) {
       IniSettingsFile ini(run.state.programFolder);
       ASSERT_TRUE(ini.WriteString("Ping Range", "From IP", run.subnet + "1"));
       ASSERT_TRUE(ini.WriteString("Ping Range", "End IP", "4"));
       ASSERT_TRUE(ini.WriteString("Ping Range", "Port Num", std::to_string(run.port)));
       run.frame.mainView()->RunCommand(menu::kPingRange);
       testing::Click(LastView<CFViewPingRange>(run.frame), "startButton");
     }},
    {6, "ImportPing", &OperationState::pingInProgress, nullptr, nullptr,
     [](const RunStart& run) {
       const auto csv = run.state.programFolder / "units.csv";
       std::string lines;
       for (int unit = 1; unit <= 3; ++unit) lines += run.subnet + std::to_string(unit) + "," + std::to_string(run.port) + "\r\n";
       testing::WriteFileBytes(csv, lines);
       run.frame.OpenView({.kind = ViewKind::kImport});
       auto& view = LastView<CFViewImportSitesFromFile>(run.frame);
       run.prompts.fileAnswers.push_back(csv.string());
       testing::Click(view, "browseButton");
       testing::Child<QComboBox>(view, "ipColumn").setCurrentIndex(1);
       testing::Child<QComboBox>(view, "portColumn").setCurrentIndex(2);
       testing::Click(view, "importButton");
       testing::Click(view, "pingAllButton");
       run.prompts.fileRequests.clear();
     }},
    {7, "IcmpListedSites", &OperationState::pingInProgress, nullptr, nullptr,
     [](const RunStart& run) { run.frame.mainView()->RunCommand(menu::kIcmpListedSites); }, CanOpenRawIcmp},
    {8, "RePing", &OperationState::pingInProgress, MilepostOf, UnitMilepost,
     [](const RunStart& run) {
       run.frame.mainView()->RunCommand(menu::kPingAll);
       const QWidget& pingView = *run.frame.mdiArea()->subWindowList().back()->widget();
       ASSERT_TRUE(QTest::qWaitFor([&] { return testing::Shown(pingView, "closeButton"); }, 10000));
       testing::Click(pingView, "rePingAllButton");
     }},
    {9, "ManualPing", &OperationState::pingInProgress, MilepostOf, FirstUnitMilepost,
     [](const RunStart& run) {
       testing::AnswerNextModal([run](QWidget& dialog) {
         testing::Child<QLineEdit>(dialog, "hostEdit").setText(QString::fromStdString(run.subnet + "1"));
         testing::Child<QLineEdit>(dialog, "portEdit").setText(QString::number(run.port));
         DuringNextModalRun([run](QWidget&) { run.whileRunning(); });
         testing::Click(dialog, "pingButton");
         testing::Click(dialog, "saveButton");
         dialog.close();
       });
       run.frame.mainView()->RunCommand(menu::kPingManual);
     }, nullptr, true},
    {kDnsKind, "DnsConversion", &OperationState::pingInProgress, AddressOf, DnsUnitAddress,
     [](const RunStart& run) {
       // Each site's address is an old one, in the same order, which the conversion replaces.
       for (SiteRecord& site : run.state.sites.records()) {
         const std::string host(FieldText(site.HostText));
         SetFieldText(site.IpByNumber, "10.0.0." + host.substr(host.rfind('.') + 1));
       }
       DuringNextModalRun([run](QWidget&) { run.whileRunning(); });
       run.frame.mainView()->RunRowMenuCommand(menu::kRowDnsRedo);
     }, nullptr, true, true},
    {11, "SingleSiteUpload", &OperationState::uploadInProgress, VersionOf, FirstUnitNewVersion,
     [](const RunStart& run) {
       run.state.sites.records()[0].SiteFlags |= kFlagHighlighted;
       DuringNextModalRun([run](QWidget& dialog) {
         run.whileRunning();
         dialog.close();
       });
       run.frame.OpenSingleSiteUpload(run.programFile);
     }, nullptr, true},
};

// Four sites, each a simulated unit.
class ImpatientUserTest : public testing::MainViewFixture, public ::testing::WithParamInterface<RunKind> {
 protected:
  void SetUp() override {
    std::vector<SiteRecord> sites;
    for (int unit = 1; unit <= 4; ++unit) {
      const std::string address = SubnetOf(GetParam().number) + std::to_string(unit);
      const std::uint16_t port = PortOf(GetParam().number);
      sites.push_back(testing::TestSite({.name = "Site", .address = address, .port = port, .product = 2}));
      units_.push_back(testing::UploadUnit(address, port));
      units_.back().identity.milepost = UnitMilepost(unit);
      units_.back().upload.newVersionMinor = unit;
    }
    testing::WriteSiteHomeOf(home_.path(), sites, 5);
    testing::CheckModelThroughout(frame_.OpenMainView()->model());
    frame_.show();
    state_.params.pingMaxWaitResponse = 5;
    state_.params.uploadMinWaitRamLoader = 0;
    state_.params.uploadMinWaitSysReboot = 0;
  }

  std::vector<unitsim::UnitConfig> units_;
  CMainFrame frame_{state_, prompts_, desktop_};
};

TEST_P(ImpatientUserTest, TheListIsSortedButNotReplacedAndEveryResultReachesItsOwnSite) {
  const RunKind& kind = GetParam();
  if (const Result can = kind.canRun ? kind.canRun() : Result(); !can) GTEST_SKIP() << can.reason();
  // A ping answered after a while lasts while the user works; an upload lasts
  // anyway, and a late answer there would be taken for a later step's.
  for (unitsim::UnitConfig& unit : units_) unit.faults.replyDelayMs = kind.busy == &OperationState::pingInProgress ? 300 : 0;
  const auto simulator = testing::StartUnits(units_);
  const std::string programFile = (home_ / "program.bin").string();
  testing::WriteFileBytes(programFile, "\xC3" + std::string(2500, 'Z'));
  const std::string other =
      testing::WriteSiteList(home_ / "other.bin", {testing::TestSite({.name = "Other", .address = "10.0.0.1"})});
  const std::string otherBytes = testing::ReadFileBytes(other);
  const std::string ownBytes = testing::ReadFileBytes(state_.currentSiteFile);
  CMainView& view = *frame_.mainView();

  const auto workDuringTheRun = [&] {
    ASSERT_TRUE(QTest::qWaitFor([&] { return state_.operations.*kind.busy; }, 5000));
    prompts_.shown.clear();
    const std::vector<int> refused{menu::kOpenSiteFile,      menu::kNewSiteFile,         menu::kSaveSiteFileAs,
                                   menu::kAddSite,           menu::kModifySite,          menu::kDeleteSite,
                                   menu::kDeleteCheckedSites, menu::kMoveToNewFile,      menu::kMoveToExistingFile,
                                   menu::kRuntimeParams,     menu::kEraseIniFile,        menu::kSelectRailroad,
                                   menu::kPingAll};
    for (const int id : refused) view.RunCommand(id);
    testing::Click(view, "siteFileButton");
    for (int id = menu::kFirstAscendSort; id <= menu::kLastDescendSort; ++id) view.RunCommand(id);
    // Last, by address from the highest: no site is where the run found it.
    view.RunCommand(menu::kFirstDescendSort + 3);
    ASSERT_EQ(FieldText(state_.sites[0].HostText), SubnetOf(kind.number) + "4");
    frame_.close();
    ASSERT_TRUE(state_.operations.*kind.busy) << "the run must outlast the commands";

    EXPECT_TRUE(frame_.isVisible());
    ASSERT_EQ(prompts_.shown.size(), refused.size() + 2);
    for (const auto& shown : prompts_.shown)
      EXPECT_TRUE(shown.errorId == ErrorId::kOperationInProgress || shown.errorId == ErrorId::kUploadInProgress)
          << shown.text;
    EXPECT_TRUE(prompts_.fileRequests.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(state_.operations.*kind.busy); }, 60000));
  };
  kind.start({frame_, state_, prompts_, programFile, SubnetOf(kind.number), PortOf(kind.number), workDuringTheRun});
  if (!kind.modal) workDuringTheRun();
  if (HasFatalFailure()) return;

  EXPECT_EQ(testing::ReadFileBytes(other), otherBytes);
  if (!kind.savedOf || kind.keptInTable) {
    EXPECT_EQ(testing::ReadFileBytes(state_.currentSiteFile), ownBytes);
  }
  if (!kind.savedOf) return;
  const SiteTable results = kind.keptInTable ? state_.sites : testing::LoadedSiteList(state_.currentSiteFile);
  ASSERT_EQ(results.size(), 4u);
  for (const SiteRecord& site : results.records()) {
    const std::string host(FieldText(site.HostText));
    EXPECT_EQ(kind.savedOf(site), kind.expectedOf(std::stoi(host.substr(host.rfind('.') + 1)))) << host;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryRunKind, ImpatientUserTest, ::testing::ValuesIn(kRunKinds),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quenderlink
