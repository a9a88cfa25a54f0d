#include "journal/ui/CFViewAvailability.h"

#include <QComboBox>
#include <QTableView>
#include <QTest>

#include "journal/AvailabilityRows.h"
#include "journal/ui/JournalViewsTestJournal.h"
#include "support/DialogTesting.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

using namespace testing;

TEST(CFViewAvailability, CountsOnAWorkerSortsByAHeaderAndExportsWhatItShows) {
  EnsureApplication();
  const TempDir home;
  WriteEastAndWest(home.path(), JournalNow());
  ProgramState state(home.path());
  ScriptedPrompts prompts;
  RecordingDesktopActions desktop;
  CFViewAvailability view(state, prompts, desktop, kEastAndWest);
  QTableView& list = Child<QTableView>(view, "availabilityList");
  QAbstractItemModel& model = *list.model();
  CheckModelThroughout(model);
  ASSERT_TRUE(QTest::qWaitFor([&view] { return !view.counting(); }));

  ASSERT_EQ(model.rowCount(), 2);
  const auto cell = [&model](int row, int column) { return model.index(row, column).data().toString(); };
  EXPECT_EQ(cell(0, kAvailColSite), "EAST");
  EXPECT_EQ(cell(1, kAvailColShare), "50.0");
  EXPECT_NE(cell(1, kAvailColDownSince), "-");
  list.sortByColumn(kAvailColShare, Qt::AscendingOrder);
  EXPECT_EQ(cell(0, kAvailColSite), "WEST");

  // The day holds one ping of each; the sort stays.
  Child<QComboBox>(view, "periodBox").setCurrentText("Day");
  ASSERT_TRUE(QTest::qWaitFor([&view] { return !view.counting(); }));
  EXPECT_EQ(cell(0, kAvailColSite), "WEST");
  EXPECT_EQ(cell(0, kAvailColPings), "1");
  EXPECT_EQ(cell(0, kAvailColShare), "0.0");

  const std::filesystem::path csv = home / "availability.csv";
  prompts.fileAnswers.push_back(csv.string());
  Click(view, "exportButton");
  const std::string written = ReadFileBytes(csv);
  EXPECT_EQ(written.substr(0, written.find('\n')), "Site,Host,Port,Pings,Answered %,Last answer,Down since");
  EXPECT_NE(written.find("\nWEST,127.0.0.2,9001,1,0.0,-,"), std::string::npos) << written;
  EXPECT_EQ(desktop.openedWithDefaultApp, (std::vector<std::filesystem::path>{csv}));
}

}  // namespace
}  // namespace quenderlink
