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

#define SKIP_WITHOUT(check)                              \
  do {                                                   \
    std::string reason;                                  \
    if (!check(reason)) GTEST_SKIP() << reason;          \
  } while (false)

TEST(IcmpRawEngine, FiveEchoRepliesFromLoopbackEvenAtTheLargestDataSize) {
  SKIP_WITHOUT(CanOpenRawIcmp);
  for (const std::uint16_t dataSize : {std::uint16_t{32}, std::uint16_t{65535}}) {
    IcmpRecorder recorder;
    const std::atomic<bool> abort{false};
    IcmpParams params;
    params.timeoutMs = 2000;
    params.dataSize = dataSize;
    params.dontFragment = 1;
    IcmpJob job = MakeIcmpJob(recorder, kLoopback, abort, params);
    PingRawThread(job);
    EXPECT_EQ(recorder.Script(), FiveTimes("raw reply 3 #{i} 127.97.0.1", "done 3 complete"))
        << "data size " << dataSize;
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(job.sequence, 45) << "one sequence number per try";
    for (const IcmpTryResult& result : recorder.results) EXPECT_LT(result.replyTimeMs, 2000u);
  }
}

TEST(IcmpLibraryEngine, FiveValidRepliesFromLoopbackEvenAtTheLargestDataSize) {
  SKIP_WITHOUT(CanOpenLibraryIcmp);
  for (const std::uint16_t dataSize : {std::uint16_t{0}, std::uint16_t{65535}}) {
    IcmpRecorder recorder;
    const std::atomic<bool> abort{false};
    IcmpParams params;
    params.timeoutMs = 2000;
    params.dataSize = dataSize;
    IcmpJob job = MakeIcmpJob(recorder, kLoopback, abort, params);
    PingLibraryThread(job);
    EXPECT_EQ(recorder.Script(), FiveTimes("try 3 Try # {n}, reply 3 #{i} 127.97.0.1", "done 3 complete"))
        << "data size " << dataSize;
    EXPECT_TRUE(recorder.messages.empty());
  }
}

TEST(IcmpRouteEngine, LoopbackIsOneHopAwayOnEveryTry) {
  SKIP_WITHOUT(CanOpenLibraryIcmp);
  IcmpRecorder recorder;
  const std::atomic<bool> abort{false};
  IcmpJob job = MakeIcmpJob(recorder, kLoopback, abort);
  PingRouteThread(job);
  EXPECT_EQ(recorder.Script(), FiveTimes("try 3 Try # {n}, reply 3 #{i} 127.97.0.1 hops 1", "done 3 complete"));
  EXPECT_EQ(job.lastError, 0u);
}

TEST(IcmpEngines, AnAbortBeforeTheFirstTrySendsOnlyTheEnd) {
  for (void (*method)(IcmpJob&) : {&PingRawThread, &PingLibraryThread, &PingRouteThread}) {
    IcmpRecorder recorder;
    const std::atomic<bool> abort{true};
    IcmpJob job = MakeIcmpJob(recorder, kLoopback, abort);
    method(job);
    EXPECT_EQ(recorder.Script(), "done 3 complete");
    EXPECT_TRUE(recorder.messages.empty());
  }
}

}  // namespace
}  // namespace quenderlink
