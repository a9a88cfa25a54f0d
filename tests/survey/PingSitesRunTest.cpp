#include "survey/PingSitesRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::TestSite;

class PingSitesRunTest : public ::testing::Test {
 protected:
  // Delta is not part of the run.
  PingSitesRunTest() {
    sites.Replace({TestSite({.name = "Alpha", .row = 1, .lastPing = 17, .flags = kFlagMarked}),
                   TestSite({.name = "Bravo", .row = 2, .lastPing = 17, .flags = kFlagMarked}),
                   TestSite({.name = "Charlie", .row = 3, .lastPing = 17, .flags = kFlagMarked}),
                   TestSite({.name = "Delta", .row = 4, .lastPing = 17})});
    SetFieldText(reply.SiteName, "Reported");
  }

  ReplyNotice NoticeFor(std::uint16_t row, std::uint8_t tenths) {
    reply.ReplyTenths = tenths;
    ReplyNotice notice;
    notice.row = row;
    notice.reply = &reply;
    return notice;
  }
  // Every record's name and last ping (Delta's included), then the list's rows.
  std::string Summary(const PingSitesRun& run) {
    std::string summary;
    for (const SiteRecord& site : sites.records())
      summary += std::string(FieldText(site.SiteName)) + " " + std::to_string(site.LastPing) + ", ";
    for (const PingSiteRow& row : run.rows()) summary += "| " + std::to_string(row.rowNumber) + " " + row.results + " ";
    return summary;
  }

  SiteTable sites;
  RuntimeParams params;
  DeviceReply reply{};
};

TEST_F(PingSitesRunTest, OutcomesWriteResultsTextsRecordsAndTotalsAndTheListKeepsItsOwnCopiesOfTheSites) {
  PingSitesRun run(sites, params, PingMode::Ping);
  run.FillList();
  // "User Abort" until an outcome replaces it.
  EXPECT_EQ(Summary(run), "Alpha 254, Bravo 254, Charlie 254, Delta 17, | 1  | 2  | 3  ");
  run.OnPingStarted();
  run.OnPingSent(1, 1);
  run.OnPingSent(2, 1);
  run.OnPingSent(2, 2);
  EXPECT_EQ(run.rows()[1].results, "PING 2 of 6");

  run.OnPingReply(1, NoticeFor(1, 23));
  // A second reply for a row that already succeeded changes nothing.
  run.OnPingReply(1, NoticeFor(1, 99));
  run.OnPingTimeout(2, 2);
  run.OnPingFailed(2, 2);
  run.OnPingBadAddress(3);
  run.OnPingFinished();
  EXPECT_EQ(Summary(run), "Reported 23, Bravo 255, Charlie 253, Delta 17, "
                          "| 1 SUCCESS:  2.3 sec | 2 FAILED | 3 FAILED: Bad IP ");
  EXPECT_EQ(run.TotalsText(), " Total Sites =   3       Success =   1\r\n Pingged     =   2       Failed  =   2");
  EXPECT_TRUE(run.canRePingFailed());

  // The main view saves and reloads the table at the end of a run, which renumbers
  // a sorted table's records: the list keeps showing the sites it ran over.
  std::vector<SiteRecord> reloaded(sites.records().rbegin(), sites.records().rend());
  for (std::size_t at = 0; at < reloaded.size(); ++at) reloaded[at].RowNumber = static_cast<std::uint16_t>(at + 1);
  sites.Replace(reloaded);
  EXPECT_EQ(std::string(FieldText(run.rows()[0].site.SiteName)) + " " + std::to_string(run.rows()[0].site.LastPing),
            "Reported 23");
  EXPECT_EQ(FieldText(run.rows()[1].site.SiteName), "Bravo");
}

TEST_F(PingSitesRunTest, TheEngineGetsACopyAndResultsFindTheirOwnRecordsAfterASortButNotASiteChangedMeanwhile) {
  PingSitesRun run(sites, params, PingMode::Ping);
  run.FillList();
  EngineRequest request;
  run.PrepareRequest(request);
  ASSERT_EQ(request.sites.size(), 3u);
  EXPECT_EQ(request.sites[2].row, 3);

  std::vector<SiteRecord> sorted(sites.records().rbegin(), sites.records().rend());
  std::copy(sorted.begin(), sorted.end(), sites.records().begin());
  SetFieldText(sites.FindByRow(2)->HostText, "10.1.1.1");
  run.OnPingReply(1, NoticeFor(1, 23));
  run.OnPingReply(2, NoticeFor(2, 24));
  run.OnPingBadAddress(3);

  EXPECT_EQ(Summary(run), "Delta 17, Charlie 253, Bravo 254, Reported 23, "
                          "| 1 SUCCESS:  2.3 sec | 2 SUCCESS:  2.4 sec | 3 FAILED: Bad IP ");
  EXPECT_EQ(run.unplacedResults(), 1u);
}

TEST_F(PingSitesRunTest, ResetConfirmationsStoreOnlyTheAnswerTime) {
  // That the request asks for resets is checked by the reset view's run against a unit.
  PingSitesRun run(sites, params, PingMode::Reset);
  run.FillList();
  run.OnPingSent(1, 1);
  EXPECT_EQ(run.rows()[0].results, "Send RESET 1 of 6");
  run.OnResetConfirmed(1, NoticeFor(1, 3));
  run.OnResetConfirmed(1, NoticeFor(1, 7));
  // Answered: neither "User Abort" nor a candidate for "Re-Ping Failed".
  EXPECT_EQ(Summary(run), "Alpha 3, Bravo 254, Charlie 254, Delta 17, | 1 Cadmarin was Reset:  0.3 | 2  | 3  ");
  EXPECT_EQ(run.totals().success, 1);
}

TEST_F(PingSitesRunTest, AbortEndsWaitingRowsAsUserAbortAndKeepsCounters) {
  PingSitesRun run(sites, params, PingMode::Ping);
  run.FillList();
  EngineRequest request;
  run.PrepareRequest(request);
  run.OnPingSent(1, 1);
  run.OnPingReply(1, NoticeFor(1, 4));
  run.OnPingSent(2, 1);
  run.Abort(request);
  EXPECT_EQ(request.stop, 1);
  run.OnPingFinished();
  EXPECT_EQ(Summary(run), "Reported 4, Bravo 254, Charlie 254, Delta 17, "
                          "| 1 SUCCESS:  0.4 sec | 2 USER ABORT | 3 USER ABORT ");
  EXPECT_EQ(run.totals().success, 1);
  EXPECT_EQ(run.totals().failed, 0);
}

TEST_F(PingSitesRunTest, RePingFailedKeepsOnlyTheFailedSites) {
  PingSitesRun run(sites, params, PingMode::Ping);
  run.FillList();
  for (std::uint16_t row = 1; row <= 3; ++row) run.OnPingReply(row, NoticeFor(row, 4));
  EXPECT_FALSE(run.canRePingFailed());
  EXPECT_FALSE(run.KeepOnlyFailedSites());
  EXPECT_EQ(run.rows().size(), 3u);

  // Nothing was unmarked: re-pinging all still lists every site.
  run.Restart();
  ASSERT_EQ(run.rows().size(), 3u);
  run.OnPingReply(1, NoticeFor(1, 4));
  run.OnPingFailed(3, 6);
  ASSERT_TRUE(run.KeepOnlyFailedSites());
  EXPECT_EQ(sites.FindByRow(1)->SiteFlags, 0);
  // Bravo never answered and Charlie failed: both are listed again, waiting.
  EXPECT_EQ(Summary(run), "Reported 4, Reported 254, Reported 254, Delta 17, | 2  | 3  ");
  EXPECT_EQ(run.totals().success, 0);
}

TEST_F(PingSitesRunTest, ProgressMovesByTheStepAndRestartsAtEachSend) {
  params.pingMaxWaitResponse = 12;
  PingSitesRun run(sites, params, PingMode::Ping);
  run.FillList();
  run.OnPingSent(1, 1);
  for (int tick = 0; tick < 24; ++tick) run.AdvanceProgress();
  EXPECT_EQ(run.rows()[0].progress, 96);
  for (int tick = 0; tick < 5; ++tick) run.AdvanceProgress();
  EXPECT_EQ(run.rows()[0].progress, 100);
  run.OnPingSent(1, 2);
  EXPECT_EQ(run.rows()[0].progress, 0);
  EXPECT_FALSE(run.rows()[1].progress.has_value());

  params.pingMaxWaitResponse = 128;  // 256 modulo 256 is 0: the bar never moves
  PingSitesRun still(sites, params, PingMode::Ping);
  still.FillList();
  still.OnPingSent(1, 1);
  still.AdvanceProgress();
  EXPECT_EQ(still.rows()[0].progress, 0);
}

}  // namespace
}  // namespace quenderlink
