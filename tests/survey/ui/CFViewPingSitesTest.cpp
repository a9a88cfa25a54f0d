#include "survey/ui/CFViewPingSites.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "core/FixedText.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalTestRows.h"
#include "net/EngineRecorder.h"
#include "support/DialogTesting.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "survey/PingSitesColumns.h"
#include "survey/ui/PingSitesModel.h"

namespace quenderlink {
namespace {

using namespace testing;

QAbstractItemModel& ListOf(const QWidget& view) { return *Child<QTableView>(view, "siteList").model(); }

QVariant Cell(const QWidget& view, int row, int column, int role = Qt::DisplayRole) {
  QAbstractItemModel& list = ListOf(view);
  return list.data(list.index(row, column), role);
}

QString Results(const QWidget& view, int row) { return Cell(view, row, kPingColResults).toString(); }

class CFViewPingSitesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  // Marked sites on the addresses, rows 1.. in order; that unmarked ones stay off the list is the run's test.
  void ListSites(const std::vector<std::string>& addresses, int maxWaitResponse, int maxResend) {
    std::vector<SiteRecord> records;
    for (const std::string& address : addresses)
      records.push_back(Site(address, static_cast<std::uint16_t>(records.size() + 1), kFlagMarked));
    state_.sites.Replace(std::move(records));
    state_.params = PingParams(maxWaitResponse, maxResend);
  }

  std::unique_ptr<CFViewPingSites> OpenView(PingMode mode = PingMode::Ping) {
    auto view = std::make_unique<CFViewPingSites>(state_, prompts_, mainView_, mode);
    CheckModelThroughout(ListOf(*view));
    view->resize(1200, 500);
    view->show();
    return view;
  }

  // The buttons of the idle view come back when the run has ended.
  static bool AwaitRunEnd(const QWidget& view) {
    return QTest::qWaitFor([&] { return Shown(view, "closeButton"); }, 5000);
  }

  ProgramState state_{"."};
  ScriptedPrompts prompts_;
  testing::RecordingMainView mainView_;
};

// What each notification does to a row is pinned by the ping run's own tests; here only the wiring.
TEST_F(CFViewPingSitesTest, PingRunWritesRepliesAndFailuresRePingFailedListsOnlyTheSilentSiteAndAResetRunIsNamedForIt) {
  const auto simulator = StartUnits({Unit("127.85.1.1"), Unit("127.85.1.2", {.silent = true})});
  ListSites({"127.85.1.1", "127.85.1.2"}, 1, 1);
  auto view = OpenView();
  QSignalSpy titles(view.get(), &CFViewPingSites::titleChanged);

  ASSERT_TRUE(AwaitRunEnd(*view));
  EXPECT_TRUE(Results(*view, 0).startsWith("SUCCESS:  0.")) << Results(*view, 0).toStdString();
  EXPECT_EQ(Results(*view, 1), "FAILED");
  EXPECT_TRUE(Text<QLabel>(*view, "totalsText").contains("Success =   1"));
  EXPECT_EQ(mainView_.runsFinished, 1);
  ASSERT_EQ(titles.count(), 1);
  EXPECT_EQ(titles[0][0].toString(), "Ping Cadmarins");
  EXPECT_FALSE(Shown(*view, "abortButton") || Shown(*view, "statusText"));
  EXPECT_TRUE(Shown(*view, "rePingAllButton") && Child<QPushButton>(*view, "rePingFailedButton").isEnabled());

  Click(*view, "rePingFailedButton");
  ASSERT_EQ(ListOf(*view).rowCount(), 1);
  EXPECT_TRUE(state_.operations.pingInProgress);
  EXPECT_EQ(Text<QLabel>(*view, "statusText"), "Ping in Progress!  Wait ...");
  // A wait of 1 s moves the bar by half at each 500 ms tick.
  EXPECT_TRUE(QTest::qWaitFor([&] { return Cell(*view, 0, kPingColResults, PingSitesModel::kProgressRole) == 50; },
                              1500));

  // Destroyed while its engine still waits for the silent unit.
  const auto start = std::chrono::steady_clock::now();
  view.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(state_.openViews.Count(), 0U);

  // A reset run is named for it and never asks the main view to save.
  const int runsFinished = mainView_.runsFinished;
  ListSites({"127.85.1.1"}, 2, 2);
  view = OpenView(PingMode::Reset);
  QSignalSpy resetTitles(view.get(), &CFViewPingSites::titleChanged);
  EXPECT_EQ(Text<QLabel>(*view, "statusText"), "Reset Cadmarin in Progress ...");
  ASSERT_TRUE(AwaitRunEnd(*view));
  EXPECT_TRUE(Results(*view, 0).startsWith("Cadmarin was Reset:  0.")) << Results(*view, 0).toStdString();
  EXPECT_FALSE(Child<QPushButton>(*view, "rePingFailedButton").isEnabled());
  EXPECT_EQ(mainView_.runsFinished, runsFinished);
  ASSERT_EQ(resetTitles.count(), 1);
  EXPECT_EQ(resetTitles[0][0].toString(), "Reset Cadmarins");
}

TEST_F(CFViewPingSitesTest, AbortEndsTheRunNoRePingStartsBesideAnotherRunAndMainWindowClosingEmptiesTheList) {
  const auto simulator = StartUnits({Unit("127.85.2.1", {.silent = true})});
  ListSites({"127.85.2.1"}, 2, 2);
  auto view = OpenView();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Results(*view, 0) == "PING 1 of 2"; }, 2000));

  Click(*view, "abortButton");
  ASSERT_TRUE(AwaitRunEnd(*view));
  EXPECT_EQ(Results(*view, 0), "USER ABORT");
  EXPECT_FALSE(Cell(*view, 0, kPingColResults, PingSitesModel::kProgressRole).isValid());

  // Another run has started meanwhile: neither re-ping may start beside it.
  state_.operations.uploadInProgress = true;
  Click(*view, "rePingAllButton");
  Click(*view, "rePingFailedButton");
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[1].errorId, ErrorId::kOperationInProgress);
  EXPECT_TRUE(Shown(*view, "closeButton"));
  state_.operations.uploadInProgress = false;

  // The main view has released the site table when its window closes; that a run stops then and
  // nothing is saved is checked where the main window shuts down.
  state_.openViews.NotifyMainWindowClosing();
  EXPECT_EQ(ListOf(*view).rowCount(), 0);
}

// What the recorder writes is the journal's own test; here only that the view's runs reach the program's journal.
TEST_F(CFViewPingSitesTest, ARunLeavesItsRunAndItsResultsInTheProgramsJournal) {
  const auto simulator = StartUnits({Unit("127.85.3.1"), Unit("127.85.3.2", {.silent = true})});
  ListSites({"127.85.3.1", "127.85.3.2"}, 1, 1);
  state_.currentSiteFile = "/fleet/east.bin";
  TempDir folder;
  const std::filesystem::path file = folder / kJournalFileName;
  Journal journal(file);
  state_.journal = &journal;
  auto view = OpenView();
  ASSERT_TRUE(AwaitRunEnd(*view));
  journal.Flush();

  EXPECT_EQ(JournalRows(file, "SELECT kind, ending, total, succeeded, failed, site_list, settings FROM runs"),
            std::vector<std::string>{"1|1|2|1|1|/fleet/east.bin|Max Wait Response=1; Max Resend=1; Max in Parallel=100"});
  EXPECT_EQ(JournalRows(file, "SELECT host, outcome FROM results JOIN units ON units.id = unit ORDER BY host"),
            (std::vector<std::string>{"127.85.3.1|1", "127.85.3.2|2"}));
}

TEST_F(CFViewPingSitesTest, AJournalThatCannotBeWrittenIsToldOfOnceAndTheRunsGoOn) {
  const auto simulator = StartUnits({Unit("127.85.4.1")});
  ListSites({"127.85.4.1"}, 1, 1);
  TempDir folder;
  Journal journal(folder / "no such folder" / kJournalFileName);
  state_.journal = &journal;
  auto view = OpenView();
  ASSERT_TRUE(AwaitRunEnd(*view));
  // The failure is the writer thread's: by now it has been found, whether the first run's end saw it or not.
  journal.Flush();
  Click(*view, "rePingAllButton");
  ASSERT_TRUE(AwaitRunEnd(*view));

  EXPECT_TRUE(Results(*view, 0).startsWith("SUCCESS:")) << Results(*view, 0).toStdString();
  EXPECT_EQ(mainView_.runsFinished, 2);
  const auto told = std::count_if(prompts_.shown.begin(), prompts_.shown.end(), [](const ScriptedPrompts::Shown& shown) {
    return shown.kind == ScriptedPrompts::Shown::Message && shown.text.starts_with("Journal not written: ");
  });
  EXPECT_EQ(told, 1) << prompts_.Last().text;
}

}  // namespace
}  // namespace quenderlink
