#include "survey/IcmpScanRun.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "core/Printf.h"
#include "support/TestSite.h"
#include "survey/IcmpScanMethod.h"
#include "survey/IcmpStatusText.h"
#include "survey/ListedSiteAddresses.h"

namespace quenderlink {
namespace {

// A scripted try: a reply time, or a failure with its error code.
struct Try {
  std::uint32_t ms = 0;
  std::uint32_t error = 0;  // not 0: the try failed
};

Try Reply(std::uint32_t ms) { return {.ms = ms}; }
Try Fail(std::uint32_t error) { return {.error = error}; }

// Records the jobs started; the test plays them after the starter returned.
struct Scan {
  // As many addresses at once as the window pings, unless told otherwise.
  explicit Scan(IcmpScanMode mode, std::optional<std::size_t> parallel = std::nullopt)
      : run(mode, parallel.value_or(IcmpWindowParallel(mode)), nullptr, [] { return IcmpParams{}; },
            [this](IcmpJob& job) { started.push_back(&job); }) {}

  // Plays the oldest started job still waiting to be played: its script reported as the
  // engines would, one try after the other, the route method's way (the job keeps the last error).
  IcmpRunChange PlayNext(const std::vector<Try>& tries) {
    IcmpJob& job = *started[played++];
    for (std::size_t i = 0; i < tries.size(); ++i) {
      run.OnText(job.index, Printf("Try # %d", static_cast<int>(i + 1)));
      IcmpTryResult result{.replyTimeMs = tries[i].ms, .tryIndex = static_cast<std::uint8_t>(i)};
      if (tries[i].error == 0) {
        run.OnReply(job.index, result);
        continue;
      }
      result.errorCode = tries[i].error;
      job.lastError = tries[i].error;
      run.OnTryFailed(job.index, result);
    }
    return run.OnDone(job.index);
  }
  std::size_t RunningNow() const { return started.size() - played; }

  std::vector<IcmpJob*> started;
  std::size_t played = 0;
  IcmpScanRun run;
};

const std::vector<Try> kFiveReplies = {Reply(1), Reply(2), Reply(3), Reply(4), Reply(5)};

TEST(IcmpScanRun, TheAverageDividesTheSumOfTheRepliesByFiveTriesAndAnAddressThatNeverAnswersKeepsTheLastError) {
  Scan scan(IcmpScanMode::RawSockets);
  scan.run.StartRange(AddressRange::FromInputs(10, 0, 0, 7, 7));
  ASSERT_EQ(scan.started.size(), 1u);
  EXPECT_EQ(scan.started[0]->address, "10.0.0.7");

  scan.PlayNext({Reply(10), Fail(5), Reply(10), Fail(5), Reply(10)});
  const IcmpRow& row = scan.run.rows()[0];
  EXPECT_EQ((std::vector<std::string>(row.tries.begin(), row.tries.end())),
            (std::vector<std::string>{"10", "---", "10", "---", "10"}));
  EXPECT_EQ(row.min + " " + row.max + " " + row.avg + " " + row.comments, "10 10 6 Done!");
  EXPECT_EQ(scan.run.TotalsText(),
            "\r\n  Total IPs    :   1\r\n  Total Pingged:   1\r\n  Total Success:   1\r\n  Total Failed :   0\r\n");

  Scan route(IcmpScanMode::RoundTrip);
  route.run.StartRange(AddressRange::FromInputs(10, 0, 0, 3, 3));
  route.PlayNext({Fail(11010), Fail(11010), Fail(11010), Fail(11010), Fail(1231)});
  const IcmpRow& silent = route.run.rows()[0];
  EXPECT_EQ(silent.comments, "Error 1231");
  EXPECT_EQ(silent.min + silent.max + silent.avg, "");
  EXPECT_EQ(route.run.totals().failed, 1);
  EXPECT_EQ(route.run.totals().success, 0);
}

TEST(IcmpScanRun, TwentyAddressesRunAtOnceAndTheRestAsSlotsFree) {
  Scan scan(IcmpScanMode::RawSockets);
  scan.run.StartRange(AddressRange::FromInputs(10, 0, 0, 1, 25));
  ASSERT_EQ(scan.started.size(), 20u);
  EXPECT_EQ(scan.run.rows()[20].comments, "..Waiting ...");
  EXPECT_EQ(scan.started[19]->sequence, 190);
  EXPECT_FALSE(scan.started[0]->continueOnFailure);

  const IcmpRunChange first = scan.PlayNext(kFiveReplies);
  ASSERT_EQ(scan.started.size(), 21u);
  EXPECT_EQ(first.rows, (std::vector<std::size_t>{0, 20}));
  // The freed slot takes the next address, its sequence numbers after the others'.
  EXPECT_EQ(scan.started[20], scan.started[0]);
  EXPECT_EQ(scan.started[20]->address, "10.0.0.21");
  EXPECT_EQ(scan.started[20]->sequence, 200);

  while (scan.RunningNow() > 1) {
    EXPECT_FALSE(scan.PlayNext(kFiveReplies).ended);
    EXPECT_LE(scan.RunningNow(), kIcmpJobSlots);
  }
  EXPECT_EQ(scan.started.size(), 25u);
  EXPECT_TRUE(scan.run.Running());
  EXPECT_TRUE(scan.PlayNext(kFiveReplies).ended);
  EXPECT_FALSE(scan.run.Running());
  EXPECT_EQ(scan.run.totals().success, 25);
}

// The command line gives every method the same count.
TEST(IcmpScanRun, EveryMethodRunsAsManyAddressesAtOnceAsItIsGiven) {
  for (const IcmpScanMode mode : {IcmpScanMode::SystemLibrary, IcmpScanMode::RawSockets, IcmpScanMode::RoundTrip}) {
    Scan scan(mode, 3);
    scan.run.StartRange(AddressRange::FromInputs(10, 0, 0, 1, 5));
    EXPECT_EQ(scan.started.size(), 3u) << static_cast<int>(mode);
    scan.PlayNext(kFiveReplies);
    EXPECT_EQ(scan.RunningNow(), 3u) << static_cast<int>(mode);
  }
}

// The first address's router answers in its stead.
TEST(IcmpScanRun, TheLibraryMethodPingsOneAddressAfterTheOtherAndAStatusReplyNamesTheReplyingAddress) {
  EXPECT_STREQ(IcmpStatusText(11019), "Unknwon???");

  Scan scan(IcmpScanMode::SystemLibrary);
  scan.run.StartRange(AddressRange::FromInputs(10, 0, 0, 1, 3));
  const std::uint8_t router[4] = {10, 0, 0, 9};
  IcmpTryResult status{.ipStatus = 11003};
  std::memcpy(&status.replyAddress, router, sizeof router);
  ASSERT_EQ(scan.started.size(), 1u);
  std::vector<std::string> order = {scan.started[0]->address};
  scan.run.OnStatus(scan.started[0]->index, status);
  scan.run.OnDone(scan.started[scan.played++]->index);
  while (scan.RunningNow() > 0) {
    EXPECT_EQ(scan.RunningNow(), 1u);
    order.push_back(scan.started[scan.played]->address);
    scan.PlayNext(kFiveReplies);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"10.0.0.1", "10.0.0.2", "10.0.0.3"}));
  EXPECT_EQ(scan.run.rows()[0].comments, "Error 11003: 10.0.0.9 says: Destination Host Unreachable");
  EXPECT_EQ(scan.run.entries()[0].state, IcmpEntryState::Failed);
  EXPECT_EQ(scan.run.totals().failed, 1);
}

// A site is pinged at its address by number, else at its whole host text; the row shows it cut.
// An unresolved host's "0.0.0.0" is never pinged: this machine would answer for the unit.
TEST(IcmpScanRun, TheListedSitesRunByAddressElseHostAndAbortMarksTheWaitingRowsAndStartsNothingMore) {
  std::vector<SiteRecord> records(22, testing::TestSite({.address = "10.0.0.1"}));
  SetFieldText(records[0].IpByNumber, "");
  SetFieldText(records[0].HostText, "a-name-longer-than-seventeen.example");
  SetFieldText(records[1].HostText, "unit.example");
  SetFieldText(records[2].IpByNumber, "0.0.0.0");
  SetFieldText(records[2].HostText, "gone.example");
  SetFieldText(records[3].IpByNumber, "");
  SetFieldText(records[3].HostText, std::string(18, '\xC9'));  // "É" in the list's Windows-1252
  SiteTable sites;
  sites.Replace(records);
  Scan scan(IcmpScanMode::ListedSites);
  scan.run.StartAddresses(ListedSiteAddresses(sites));
  EXPECT_EQ((std::vector<std::string>{scan.started[0]->address, scan.started[1]->address, scan.started[2]->address}),
            (std::vector<std::string>{"a-name-longer-than-seventeen.example", "10.0.0.1", "gone.example"}));
  EXPECT_EQ(scan.run.rows()[0].address, "a-name-longer-tha");
  std::string seventeenAccents;
  for (int n = 0; n < 17; ++n) seventeenAccents += "\xC3\x89";
  EXPECT_EQ(scan.run.rows()[3].address, seventeenAccents);
  EXPECT_TRUE(scan.started[0]->continueOnFailure);

  const IcmpRunChange aborted = scan.run.Abort();
  EXPECT_EQ(aborted.rows, (std::vector<std::size_t>{20, 21}));
  EXPECT_EQ(scan.run.rows()[21].comments, "USER ABORTED");
  EXPECT_EQ(scan.run.rows()[0].comments, "In Progress ...");
  EXPECT_TRUE(scan.started[0]->abort->load());

  while (scan.RunningNow() > 1) EXPECT_FALSE(scan.PlayNext({Reply(1)}).ended);
  EXPECT_TRUE(scan.PlayNext({Reply(1)}).ended);
  EXPECT_EQ(scan.started.size(), 20u);
  EXPECT_EQ(scan.run.totals().pinged, 20);

  // The next run starts with the abort flag cleared.
  scan.run.StartRange(AddressRange::FromInputs(10, 0, 0, 1, 1));
  EXPECT_FALSE(scan.started.back()->abort->load());
  EXPECT_EQ(scan.started.back()->sequence, 0);
}

// Each method's text names the permission it lacks.
TEST(IcmpScanMethod, ASocketThatDoesNotOpenIsExplainedByWhatLinuxNeeds) {
  EXPECT_NE(IcmpAccessFailureText(IcmpScanMode::SystemLibrary).find("ping_group_range"), std::string::npos);
  EXPECT_NE(IcmpAccessFailureText(IcmpScanMode::ListedSites).find("cap_net_raw"), std::string::npos);
}

}  // namespace
}  // namespace quenderlink
