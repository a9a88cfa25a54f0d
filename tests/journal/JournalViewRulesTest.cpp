#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/AvailabilityRows.h"
#include "journal/HistoryRows.h"
#include "journal/ReplyChart.h"

namespace quenderlink {
namespace {

HistoryEntry Entry(std::int64_t time, ResultOutcome outcome, int replyMs, UploadStep step = UploadStep::None) {
  HistoryEntry entry;
  entry.time = time;
  entry.kind = outcome == ResultOutcome::UploadFailed ? RunKind::Upload : RunKind::Ping;
  entry.result = ResultOf(outcome, step);
  entry.result.replyMs = replyMs;
  entry.unit.siteName = "IRON BRIDGE";
  entry.unit.track = 11;
  entry.user = "maint";
  return entry;
}

std::string Cells(const HistoryRow& row) {
  std::string text;
  for (int column = kHistColSite; column < kHistoryColumnCount; ++column)
    text += row[static_cast<std::size_t>(column)] + "|";
  return text;
}

TEST(HistoryRows, ShowTheTrackTheUploadStepAndNoReplyTimeWhereThereIsNone) {
  EXPECT_EQ(Cells(HistoryRowOf(Entry(0, ResultOutcome::Answered, 42))), "IRON BRIDGE Main 1|ping|answered|42 ms||||maint|");
  EXPECT_EQ(Cells(HistoryRowOf(Entry(0, ResultOutcome::UploadFailed, -1, UploadStep::Packets))),
            "IRON BRIDGE Main 1|upload|upload failed at packets|||||maint|");
  EXPECT_EQ(Cells(HistoryRowOf(Entry(0, ResultOutcome::NoAnswer, -1))), "IRON BRIDGE Main 1|ping|no answer|||||maint|");

  const std::vector<HistoryEntry> merged =
      NewestFirst({{Entry(30, ResultOutcome::Answered, 1), Entry(10, ResultOutcome::Answered, 1)},
                   {Entry(20, ResultOutcome::Answered, 1)}});
  ASSERT_EQ(merged.size(), 3u);
  EXPECT_EQ(merged[0].time, 30);
  EXPECT_EQ(merged[1].time, 20);
  EXPECT_EQ(merged[2].time, 10);
}

TEST(ReplyChart, DrawsAnswersOldestFirstMarksFailuresAndAveragesSpansBeyondItsPoints) {
  // Newest first, as the journal gives them; the first lies after the period.
  const std::vector<HistoryEntry> entries{
      Entry(1000, ResultOutcome::Answered, 99),     Entry(900, ResultOutcome::UploadFailed, -1),
      Entry(800, ResultOutcome::Answered, 30),      Entry(700, ResultOutcome::BadAddress, -1),
      Entry(600, ResultOutcome::ResetConfirmed, -1), Entry(500, ResultOutcome::NoAnswer, -1),
      Entry(200, ResultOutcome::Answered, 20),      Entry(100, ResultOutcome::Answered, 10)};
  const JournalPeriod period{0, 1000};
  const SiteChart chart = ReplyChartOf("A", entries, period);
  ASSERT_EQ(chart.replies.size(), 3u);
  EXPECT_EQ(chart.replies[0].time, 100);
  EXPECT_EQ(chart.replies[2].replyMs, 30);
  EXPECT_EQ(chart.failures, (std::vector<std::int64_t>{500, 700, 900}));

  // Two spans of 500 ms: 10 and 20 in the first, 30 alone in the second.
  const SiteChart averaged = ReplyChartOf("A", entries, period, 2);
  ASSERT_EQ(averaged.replies.size(), 2u);
  EXPECT_EQ(averaged.replies[0].time, 250);
  EXPECT_EQ(averaged.replies[0].replyMs, 15);
  EXPECT_EQ(averaged.replies[1].time, 750);
  EXPECT_EQ(averaged.replies[1].replyMs, 30);
}

AvailabilityRow Row(const char* name, std::uint16_t port, std::int64_t pings, std::int64_t answered,
                    std::optional<std::int64_t> downSince = std::nullopt) {
  AvailabilityRow row{{name, {"10.0.0.1", port}}, {}};
  row.figures.pings = pings;
  row.figures.answered = answered;
  row.figures.downSince = downSince;
  return row;
}

std::string Names(const std::vector<AvailabilityRow>& rows) {
  std::string names;
  for (const AvailabilityRow& row : rows) names += row.site.name;
  return names;
}

TEST(AvailabilityRows, SortByValueWithSitesWithoutOneLastEitherWay) {
  std::vector<AvailabilityRow> rows{Row("A", 10000, 4, 2), Row("B", 900, 0, 0), Row("C", 9001, 4, 4),
                                    Row("D", 9001, 4, 1, 5000)};
  SortAvailabilityRows(rows, kAvailColShare, true);
  EXPECT_EQ(Names(rows), "DACB");
  SortAvailabilityRows(rows, kAvailColShare, false);
  EXPECT_EQ(Names(rows), "CADB");
  // Ports as numbers, equal ones in the order they had.
  SortAvailabilityRows(rows, kAvailColPort, true);
  EXPECT_EQ(Names(rows), "BCDA");
  SortAvailabilityRows(rows, kAvailColDownSince, false);
  EXPECT_EQ(Names(rows), "DBCA");
}

TEST(AvailabilityRows, CsvQuotesNamesAndWritesNoneAsADash) {
  const std::vector<AvailabilityRow> rows{Row("ASHBY \"EAST\", CREEK", 9001, 3, 2), Row("QUIET", 9001, 0, 0)};
  EXPECT_EQ(AvailabilityCsv(rows),
            "Site,Host,Port,Pings,Answered %,Last answer,Down since\n"
            "\"ASHBY \"\"EAST\"\", CREEK\",10.0.0.1,9001,3,66.7,-,-\n"
            "QUIET,10.0.0.1,9001,0,-,-,-\n");
}

}  // namespace
}  // namespace quenderlink
