#include "journal/ui/CFViewSiteHistory.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QTableView>
#include <QXYSeries>

#include "journal/HistoryRows.h"
#include "journal/ui/JournalViewsTestJournal.h"
#include "support/DialogTesting.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

using namespace testing;

std::int64_t ChartStart(const QWidget& view) {
  const QChart* chart = Child<QChartView>(view, "replyChart").chart();
  const auto* axis = qobject_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).value(0));
  return axis ? axis->min().toMSecsSinceEpoch() : 0;
}

// The points of each series: EAST's line, WEST's line, the failures.
std::vector<qsizetype> PointsOfSeries(const QWidget& view) {
  std::vector<qsizetype> points;
  for (QAbstractSeries* series : Child<QChartView>(view, "replyChart").chart()->series())
    points.push_back(static_cast<QXYSeries*>(series)->count());
  return points;
}

TEST(CFViewSiteHistory, ListsTheSitesResultsNewestFirstAndChartsThePeriodChosen) {
  EnsureApplication();
  const TempDir home;
  const std::int64_t now = JournalNow();
  WriteEastAndWest(home.path(), now);
  ProgramState state(home.path());
  CFViewSiteHistory view(state, kEastAndWest);
  QAbstractItemModel& model = *Child<QTableView>(view, "historyList").model();
  CheckModelThroughout(model);
  view.Reload();

  ASSERT_EQ(model.rowCount(), 4);
  const auto cell = [&model](int row, int column) { return model.index(row, column).data().toString(); };
  EXPECT_EQ(cell(0, kHistColSite), "WEST");
  EXPECT_EQ(cell(0, kHistColOutcome), "no answer");
  EXPECT_EQ(cell(1, kHistColReply), "40 ms");
  EXPECT_EQ(cell(3, kHistColReply), "35 ms");

  // A week by default: both pings, WEST's failure marked.
  EXPECT_NEAR(static_cast<double>(ChartStart(view)), static_cast<double>(now - 7 * kDayMs), 60'000.0);
  EXPECT_EQ(PointsOfSeries(view), (std::vector<qsizetype>{2, 1, 1}));
  Child<QComboBox>(view, "periodBox").setCurrentText("Day");
  EXPECT_NEAR(static_cast<double>(ChartStart(view)), static_cast<double>(now - kDayMs), 60'000.0);
  EXPECT_EQ(PointsOfSeries(view), (std::vector<qsizetype>{1, 0, 1}));
}

}  // namespace
}  // namespace quenderlink
