#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalPrune.h"
#include "journal/JournalReader.h"
#include "journal/JournalTestRows.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

using testing::TempDir;

constexpr std::int64_t kHour = 3600 * 1000LL;
constexpr std::int64_t kDay = 24 * kHour;
constexpr std::int64_t kNow = 1'800'000'000'000LL;

JournalUnit UnitAt(std::string host, std::string name) {
  JournalUnit unit;
  unit.host = std::move(host);
  unit.address = unit.host;
  unit.port = 9001;
  unit.siteName = std::move(name);
  return unit;
}

JournalResult Pinged(bool answered) {
  JournalResult result = ResultOf(answered ? ResultOutcome::Answered : ResultOutcome::NoAnswer);
  if (answered) result.replyMs = 300;
  return result;
}

SiteAvailability AvailabilityOfOne(JournalReader& reader, const SiteKey& site, const JournalPeriod& period) {
  return reader.AvailabilityOf(std::vector<SiteKey>{site}, period).front();
}

class JournalReaderTest : public ::testing::Test {
 protected:
  // One ping run a day for a week: EAST answers until two days ago; WEST
  // always answers, and was renamed (a new unit) three days ago.
  void SetUp() override {
    Journal journal(dir / kJournalFileName);
    for (int day = 7; day >= 1; --day) {
      const std::int64_t at = kNow - day * kDay;
      JournalRun run = journal.StartRunAt({RunKind::Ping, "north.dat", ""}, at);
      const std::size_t east = run.AddUnit(UnitAt("10.0.0.1", "EAST"));
      const std::size_t west = run.AddUnit(UnitAt("10.0.0.2", day > 3 ? "WEST" : "WEST YARD"));
      run.RecordAt(east, at + 1000, Pinged(day > 2));
      run.RecordAt(west, at + 2000, Pinged(true));
      run.EndAt(RunEnding::Finished, {2, 1, 1}, at + 3000);
    }
    JournalRun upload = journal.StartRunAt({RunKind::Upload, "north.dat", ""}, kNow - kHour);
    upload.RecordAt(upload.AddUnit(UnitAt("10.0.0.1", "EAST")), kNow - kHour,
                    ResultOf(ResultOutcome::UploadFailed, UploadStep::Identification));
    upload.EndAt(RunEnding::Finished, {1, 0, 1}, kNow - kHour);
  }

  TempDir dir;
};

TEST_F(JournalReaderTest, HistoryIsNewestFirstWithinThePeriodAndKind) {
  JournalReader reader(dir / kJournalFileName);
  ASSERT_TRUE(reader.opened()) << reader.opened().reason();
  const std::vector<HistoryEntry> all = reader.HistoryOfSite({"10.0.0.1", 9001}, {});
  ASSERT_EQ(all.size(), 8u);
  EXPECT_EQ(all[0].kind, RunKind::Upload);
  EXPECT_EQ(all[0].result.step, UploadStep::Identification);
  EXPECT_EQ(all[1].result.outcome, ResultOutcome::NoAnswer);
  EXPECT_EQ(all.back().time, kNow - 7 * kDay + 1000);

  const auto pings = reader.HistoryOfSite({"10.0.0.1", 9001}, {kNow - 3 * kDay, kNow}, RunKind::Ping);
  ASSERT_EQ(pings.size(), 3u);
  EXPECT_EQ(pings[2].time, kNow - 3 * kDay + 1000);
  EXPECT_TRUE(reader.HistoryOfSite({"10.0.0.1", 9002}, {}).empty());
  // A renamed site's history goes on: both its units are found by host and port, or by address.
  EXPECT_EQ(reader.HistoryOfSite({"10.0.0.2", 9001}, {}).size(), 7u);
  EXPECT_EQ(reader.HistoryOfHost("10.0.0.2", {}).size(), 7u);
}

TEST_F(JournalReaderTest, AvailabilityCountsDevicePingsAndTheDownSince) {
  JournalReader reader(dir / kJournalFileName);
  const SiteAvailability east = AvailabilityOfOne(reader, {"10.0.0.1", 9001}, {});
  EXPECT_EQ(east.pings, 7);  // the upload is no ping
  EXPECT_EQ(east.answered, 5);
  EXPECT_EQ(east.lastAnswer, kNow - 3 * kDay + 1000);
  EXPECT_EQ(east.downSince, kNow - 2 * kDay + 1000);

  const SiteAvailability west = AvailabilityOfOne(reader, {"10.0.0.2", 9001}, {kNow - 5 * kDay, kNow});
  EXPECT_EQ(west.pings, 5);
  EXPECT_EQ(west.Share(), 1.0);
  EXPECT_FALSE(west.downSince);
  EXPECT_FALSE(AvailabilityOfOne(reader, {"10.9.9.9", 9001}, {}).Share());
}

TEST_F(JournalReaderTest, PruneKeepsOnlyWhatIsNewerThanItsDays) {
  const PruneOutcome pruned = PruneJournal(dir / kJournalFileName, 4, kNow);
  ASSERT_TRUE(pruned.result) << pruned.result.reason();
  EXPECT_EQ(pruned.resultsRemoved, 6);  // days 7, 6 and 5 of both units
  JournalReader reader(dir / kJournalFileName);
  EXPECT_EQ(reader.HistoryOfSite({"10.0.0.1", 9001}, {}).size(), 5u);
  EXPECT_EQ(testing::JournalCount(dir / kJournalFileName, "SELECT count(*) FROM runs"), 5);
  // A day back keeps the last day's pings, a moment inside it, and the upload.
  EXPECT_EQ(PruneJournal(dir / kJournalFileName, 1, kNow).resultsRemoved, 6);
  // Units are kept, as a run going on elsewhere may hold one with no result yet.
  EXPECT_EQ(testing::JournalCount(dir / kJournalFileName, "SELECT count(*) FROM units"), 3);
}

TEST(JournalReaderEmptyTest, AMissingJournalReadsEmpty) {
  TempDir dir;
  JournalReader reader(dir / kJournalFileName);
  ASSERT_TRUE(reader.opened());
  EXPECT_TRUE(reader.HistoryOfHost("10.0.0.1", {}).empty());
  EXPECT_FALSE(std::filesystem::exists(dir / kJournalFileName));
}

}  // namespace
}  // namespace quenderlink
