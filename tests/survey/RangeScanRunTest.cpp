#include "survey/RangeScanRun.h"

#include <gtest/gtest.h>

#include "core/FixedText.h"

namespace quenderlink {
namespace {

// Reported on as the range engine does: it writes a reply's time into the
// range table the request hands it, then notifies.
TEST(RangeScanRun, ARowShowsItsTriesThenTheFirstAnswerOrTheFailureAndAnAbortEndsOnlyTheRowsWithoutAnOutcome) {
  RuntimeParams params;
  params.pingMaxResend = 2;
  RangeScanRun run(*AddressRange::Parse("10.0.0.1-3"), 9001, params);
  EngineRequest request;
  run.PrepareRequest(request);
  ASSERT_EQ(request.ranges.size(), 3u);
  DeviceReply reply{};
  SetFieldText(reply.SiteName, "Cr\xEAte");  // a unit's Windows-1252, shown in UTF-8
  reply.SiteId = 42;
  reply.VersionMajor = 3;
  reply.VersionMinor = 7;
  ReplyNotice notice;
  notice.reply = &reply;

  run.OnPingSent(0, 1);
  run.OnPingSent(1, 1);
  run.OnPingSent(1, 2);
  EXPECT_EQ(run.rows()[1].status, "PING 2 of 2");
  request.ranges[0].result = 4;
  run.OnPingReply(0, notice);
  request.ranges[0].result = 9;
  run.OnPingReply(0, notice);  // a late second reply changes nothing
  run.OnPingFailed(1, 2);
  run.Abort(request);
  EXPECT_EQ(request.stop, 1);
  run.OnPingFinished();

  const RangeRow& found = run.rows()[0];
  EXPECT_EQ((std::vector<std::string>{found.status, found.siteId, found.siteName, found.version}),
            (std::vector<std::string>{"SUCCESS:  0.4 sec", "00042", "Cr\u00EAte", "3.7"}));
  EXPECT_EQ(run.rows()[1].status, "ping FAILED");
  EXPECT_EQ(run.rows()[2].status, "USER ABORT");
  const ScanTotals& totals = run.totals();
  EXPECT_EQ((std::vector<int>{totals.total, totals.pinged, totals.success, totals.failed}),
            (std::vector<int>{3, 2, 1, 1}));
}

}  // namespace
}  // namespace quenderlink
