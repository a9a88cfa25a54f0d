#include "survey/ui/CFViewPingRange.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <optional>
#include <utility>

#include "controls/ui/SiteListView.h"
#include "core/IniSettingsFile.h"
#include "net/EngineRecorder.h"
#include "prompts/FileDialogFilters.h"
#include "support/DialogTesting.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedPrompts.h"
#include "support/SiteListFile.h"
#include "support/TempDir.h"
#include "support/TestSite.h"
#include "survey/RangeScanSave.h"
#include "survey/ui/RangeScanModel.h"

namespace quenderlink {
namespace {

using namespace testing;

class CFViewPingRangeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  void SetUp() override { state_.params = PingParams(1, 1); }

  // The inputs of the "last scan", which the view opens with.
  void RememberInputs(const std::string& from, const std::string& end) {
    IniSettingsFile ini(home_.path());
    ASSERT_TRUE(ini.WriteString("Ping Range", "From IP", from));
    ASSERT_TRUE(ini.WriteString("Ping Range", "End IP", end));
    ASSERT_TRUE(ini.WriteString("Ping Range", "Port Num", "9001"));
  }

  std::unique_ptr<CFViewPingRange> OpenView() {
    auto view = std::make_unique<CFViewPingRange>(state_, prompts_, desktop_, mainView_);
    CheckModelThroughout(Rows(*view));
    QObject::connect(view.get(), &CFViewPingRange::titleChanged, [this](const QString& text) { title_ = text; });
    view->show();
    return view;
  }

  bool AwaitEndOfRun() { return QTest::qWaitFor([&] { return !state_.operations.pingInProgress; }, 5000); }

  static QAbstractItemModel& Rows(const CFViewPingRange& view) {
    return *Child<SiteListView>(view, "rangeList").model();
  }
  static QString Cell(const CFViewPingRange& view, int row, int column) {
    return Rows(view).index(row, column).data().toString();
  }
  static void Tick(const CFViewPingRange& view, int row) {
    Rows(view).setData(Rows(view).index(row, kRangeColCheck), Qt::Checked, Qt::CheckStateRole);
  }
  std::string Setting(const char* key) const { return IniSettingsFile(home_.path()).ReadString("Ping Range", key, ""); }

  TempDir home_;
  ProgramState state_{home_.path()};
  ScriptedPrompts prompts_;
  RecordingDesktopActions desktop_;
  testing::RecordingMainView mainView_;
  QString title_;
};

TEST_F(CFViewPingRangeTest, ScanShowsTheUnitsFoundFailsTheSilentAddressesAndEachSaveChoiceReachesItsSave) {
  const auto simulator = StartUnits({Unit("127.86.0.1"), Unit("127.86.0.3")});
  RememberInputs("127.86.0.1", "3");
  auto view = OpenView();
  EXPECT_EQ(title_, "Ping Range of Addresses");
  EXPECT_EQ(state_.openViews.Count(), 1u);

  Click(*view, "startButton");
  EXPECT_FALSE(Child<QPushButton>(*view, "abortButton").isHidden());
  ASSERT_TRUE(AwaitEndOfRun());

  // Each row: count, address, the status's start, the site's name and whether a bar shows.
  QStringList rows;
  for (int row = 0; row < Rows(*view).rowCount(); ++row) {
    const bool bar = Rows(*view).index(row, kRangeColStatus).data(RangeScanModel::kProgressRole).isValid();
    rows << QStringList{Cell(*view, row, kRangeColCnt), Cell(*view, row, kRangeColAddress),
                        Cell(*view, row, kRangeColStatus).left(12), Cell(*view, row, kRangeColSiteName),
                        bar ? "bar" : ""}
                .join('|');
  }
  EXPECT_EQ(rows, QStringList({"1|127.86.0.1|SUCCESS:  0.|SITE 127.86.0.1|", "2|127.86.0.2|ping FAILED||",
                               "3|127.86.0.3|SUCCESS:  0.|SITE 127.86.0.3|"}));
  EXPECT_EQ(Text<QLabel>(*view, "totalsText"),
            "\n  Total IPs    :   3\n  Total Pingged:   3\n  Total Success:   2\n  Total Failed :   1\n");
  const auto& list = Child<SiteListView>(*view, "rangeList");
  for (int column : {kRangeColHidden, kRangeColSiteId, kRangeColProduct}) EXPECT_TRUE(list.isColumnHidden(column));

  const std::string siteFile = WriteSiteList(home_ / "sites.bin", {TestSite({.address = "127.86.0.1"})});
  ASSERT_EQ(LoadSiteTable(siteFile, state_.sites, 10001, state_.currentSiteFileStamp), 0);
  state_.currentSiteFile = siteFile;
  Tick(*view, 0);
  Tick(*view, 2);

  // What each save writes and reports is pinned by the core tests; here that each choice reaches its save.
  const std::string newFile = (home_ / "new.bin").string();
  const std::string listFile = (home_ / "found.csv").string();
  const std::string unwritable = (home_ / "missing" / "found.txt").string();
  struct Choice {
    int item;
    std::optional<std::string> file;
    std::string report;
  };
  const Choice choices[] = {
      {kRangeAppendRows, std::nullopt, AppendedReport(1, siteFile)},
      {kRangeSaveNewFile, newFile, SavedReport(2, newFile)},
      {kRangeSaveCsv, listFile, ListSavedReport(true, listFile)},
      {kRangeSaveText, unwritable, ListSavedReport(false, unwritable)},
  };
  for (const Choice& choice : choices) {
    SCOPED_TRACE(choice.item);
    prompts_.popupAnswers = {choice.item};
    if (choice.file) prompts_.fileAnswers = {*choice.file};
    Click(*view, "saveButton");
    EXPECT_EQ(prompts_.Last().kind, ScriptedPrompts::Shown::Message);
    EXPECT_EQ(prompts_.Last().text, choice.report);
  }
  EXPECT_EQ(mainView_.filesWritten,
            (std::vector<std::pair<bool, std::string>>{{false, siteFile}, {true, newFile}}));
  EXPECT_EQ(prompts_.fileRequests.at(0).filter, kSiteListFilter);
  EXPECT_EQ(prompts_.fileRequests.at(1).filter, kCsvExportFilter);
  EXPECT_NE(ReadFileBytes(listFile).find("\n1,127.86.0.1,9001,"), std::string::npos);
  EXPECT_EQ(desktop_.openedInEditor, std::vector<std::filesystem::path>{listFile});
}

// The range rules themselves are tested without a window: 300 is taken as 44. A dotted
// address typed into the first box or pasted into any fills the four boxes.
TEST_F(CFViewPingRangeTest, TheTypedOrPastedRangeIsScannedAndRememberedAbortReachesTheRunAndClosingStops) {
  const auto simulator = StartUnits({Unit("127.86.1.43")});
  state_.params = PingParams(2, 3);
  RememberInputs("10.9.9.9", "5");
  auto view = OpenView();
  view->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  const auto boxes = [&] {
    QStringList texts;
    for (const char* box : {"fromAddress0", "fromAddress1", "fromAddress2", "fromAddress3"})
      texts << Text<QLineEdit>(*view, box);
    return texts.join('|').toStdString();
  };
  QGuiApplication::clipboard()->setText(" 10.1.2.3\n");
  QTest::keyClick(&Child<QLineEdit>(*view, "fromAddress3"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(boxes(), "10|1|2|3");
  // Clicked into, a box's number is replaced by what is typed; it takes 0 to 255 only and says so.
  auto& first = Child<QLineEdit>(*view, "fromAddress0");
  QTest::mouseClick(&first, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.selectedText() == "10"; }, 5000));
  QTest::keyClicks(&first, "777");
  EXPECT_EQ(first.text(), "77");
  EXPECT_EQ(QToolTip::text(), "A number from 0 to 255");
  first.setFocus();
  first.selectAll();
  // Typed where the focus is, as a user does: it moves from box to box.
  QTest::keyClicks(static_cast<QWidget*>(nullptr), "127.86.1.43");
  EXPECT_EQ(boxes(), "127|86|1|43");

  Child<QLineEdit>(*view, "lastNumberEdit").setText("300");
  Click(*view, "startButton");
  ASSERT_EQ(Rows(*view).rowCount(), 2);
  EXPECT_EQ(Setting("From IP"), "127.86.1.43");
  EXPECT_EQ(Setting("End IP"), "44");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Cell(*view, 0, kRangeColStatus).startsWith("SUCCESS"); }, 2000));
  EXPECT_TRUE(Rows(*view).index(1, kRangeColStatus).data(RangeScanModel::kProgressRole).isValid());
  Click(*view, "abortButton");
  ASSERT_TRUE(AwaitEndOfRun());
  EXPECT_EQ(Cell(*view, 1, kRangeColStatus), "USER ABORT");
  EXPECT_FALSE(Child<QPushButton>(*view, "startButton").isHidden());

  // Destroyed while its engine waits for the silent address: it stops and joins it.
  Click(*view, "startButton");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Cell(*view, 1, kRangeColStatus).startsWith("PING 1 of 3"); }, 2000));
  view.reset();
  EXPECT_FALSE(state_.operations.pingInProgress);
  EXPECT_EQ(state_.openViews.Count(), 0u);
}

}  // namespace
}  // namespace quenderlink
