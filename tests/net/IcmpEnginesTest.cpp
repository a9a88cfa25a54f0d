#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "net/IcmpJob.h"
#include "net/IcmpRecorder.h"

namespace quenderlink {
namespace {

using testing::FiveTimes;
using testing::IcmpRecorder;
using testing::MakeIcmpJob;

// The machine answers echo on all of 127/8; this stretch is the tests' own.
constexpr char kLoopback[] = "127.97.0.1";

// The route method's replies and hops: the icmp command's test (on loopback) and IcmpTopology's (past a router).
TEST(IcmpEngines, AnAbortBeforeTheFirstTrySendsOnlyTheEndAndEachEchoMethodHasFiveRepliesEvenAtTheLargestDataSize) {
  for (void (*method)(IcmpJob&) : {&PingRawThread, &PingLibraryThread, &PingRouteThread}) {
    IcmpRecorder recorder;
    const std::atomic<bool> abort{true};
    IcmpJob job = MakeIcmpJob(recorder, kLoopback, abort);
    method(job);
    EXPECT_EQ(recorder.Script(), "done 3 complete");
    EXPECT_TRUE(recorder.messages.empty());
  }

  struct Case {
    void (*method)(IcmpJob&);
    Result (*canOpen)();
    std::uint16_t dataSize;
    std::string script;
    int sequence = 40;  // the raw method takes a sequence number per try
  };
  const std::string raw = FiveTimes("raw reply 3 #{i} 127.97.0.1", "done 3 complete");
  const std::string library = FiveTimes("try 3 Try # {n}, reply 3 #{i} 127.97.0.1", "done 3 complete");
  const Case cases[] = {
      {&PingRawThread, &CanOpenRawIcmp, 65535, raw, 45},
      {&PingLibraryThread, &CanOpenLibraryIcmp, 0, library},
      {&PingLibraryThread, &CanOpenLibraryIcmp, 65535, library},
  };
  std::string reason;
  int ran = 0;
  for (const Case& c : cases) {
    if (const Result open = c.canOpen(); !open) {
      reason = open.reason();
      continue;
    }
    ++ran;
    SCOPED_TRACE(c.script.substr(0, 20) + ", data size " + std::to_string(c.dataSize));
    IcmpRecorder recorder;
    const std::atomic<bool> abort{false};
    IcmpJob job = MakeIcmpJob(recorder, kLoopback, abort, testing::IcmpSettings(2000, 10, c.dataSize));
    c.method(job);
    EXPECT_EQ(recorder.Script(), c.script);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(job.sequence, c.sequence);
    EXPECT_EQ(job.lastError, 0u);
    for (const IcmpTryResult& result : recorder.results) EXPECT_LT(result.replyTimeMs, 2000u);
  }
  if (ran == 0) GTEST_SKIP() << reason;
}

}  // namespace
}  // namespace quenderlink
