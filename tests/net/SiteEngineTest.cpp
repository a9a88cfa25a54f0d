#include "net/SiteEngine.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <set>

#include "EngineRecorder.h"
#include "HangingLookup.h"
#include "unitsim/UnitIdentity.h"

namespace quenderlink {
namespace {

using namespace std::chrono_literals;
using namespace testing;

std::string Address(int group, int unit) { return "127.60." + std::to_string(group) + "." + std::to_string(unit); }

class SiteEngineTest : public ::testing::Test {
 protected:
  // Marked sites 1..count on 127.60.`group`.1..count, the first `units` of them with a unit of the given faults.
  void UnitsAndSites(int group, int count, unitsim::UnitFaults faults = {}, int units = -1) {
    std::vector<unitsim::UnitConfig> configs;
    std::vector<SiteRecord> records;
    for (int i = 1; i <= count; ++i) {
      if (units < 0 || i <= units) configs.push_back(Unit(Address(group, i), faults));
      records.push_back(Site(Address(group, i), static_cast<std::uint16_t>(i), kFlagMarked));
    }
    simulator_ = StartUnits(configs);
    sites_.Replace(records);
  }

  void Run(const RuntimeParams& params, const std::function<void()>& meanwhile = {}) {
    params_ = params;
    request_.listener = &recorder_;
    request_.sites = CopyRunSites(sites_, kFlagMarked);
    request_.params = &params_;
    ASSERT_TRUE(RunEngine(SiteEngine, request_, meanwhile));
  }

  std::unique_ptr<unitsim::UnitSimulator> simulator_;
  SiteTable sites_;
  RuntimeParams params_;
  EngineRequest request_;
  EngineRecorder recorder_;
};

TEST_F(SiteEngineTest, ReportsBadAddressesBeforeStartingAndRepliesWithTheSiteIdentity) {
  UnitsAndSites(1, 2);
  sites_[1].SiteFlags = 0;
  sites_.Replace({Site("bad name!", 9, kFlagMarked), sites_[0], sites_[1]});
  Run(PingParams(2, 2));

  EXPECT_EQ(recorder_.Script(), "bad 9, started, sent 1/1, reply 1, finished");
  const EngineEvent reply = recorder_.EventsOf(WM_PING_REPLY).at(0);
  EXPECT_EQ(Summary(reply), "1 '127.60.1.1' from 127.60.1.1:9001 | 1 1 '127.60.1.1' 127.60.1.1 'SITE 127.60.1.1'");
  // A loopback reply comes within a tenth; its reply time still reads 1 (above), since 0 means "never".
  EXPECT_EQ(reply.notice.tenths, 0);
}

// A dead name server must not hold up an abort, nor closing the window that waits for the engine.
TEST_F(SiteEngineTest, AStopWhileANameIsLookedUpEndsTheRunWithoutTheAnswerAndAsksForNoFurtherName) {
  testing::HangingLookup nameServer;
  request_.lookup = nameServer.lookup();
  sites_.Replace({Site("east.example", 1, kFlagMarked), Site("west.example", 2, kFlagMarked)});

  Run(PingParams(2, 2), [&] {
    ASSERT_TRUE(nameServer.WaitUntilAsked(1));
    request_.stop = 1;
  });

  EXPECT_EQ(recorder_.Script(), "started, finished");
  EXPECT_EQ(nameServer.asked(), 1);
}

TEST_F(SiteEngineTest, NoMarkedSiteGivesOnlyStartedAndFinished) {
  sites_.Replace({NewSiteRecord(9001)});
  Run(PingParams(2, 2));
  EXPECT_EQ(recorder_.Script(), "started, finished");
}

// The send and receive passes are shared with the range engine (PingLoop), so
// their rules are tested here only.
TEST_F(SiteEngineTest, SilentUnitIsResentAfterEachWaitAndGivenUpInThePassOfItsLastTimeout) {
  UnitsAndSites(2, 1, {.silent = true});
  Run(PingParams(0, 3));

  EXPECT_EQ(recorder_.Script(), "started, sent 1/1, timeout 1/1, sent 1/2, timeout 1/2, sent 1/3, timeout 1/3, "
                                "failed 1/3, finished");
  const std::vector<EngineEvent>& events = recorder_.events;
  for (std::size_t sent : {1u, 3u, 5u}) {
    // The tick counts whole milliseconds, so a wait may read a fraction short.
    EXPECT_GE(MillisecondsBetween(events[sent].at, events[sent + 1].at), 998.0);
    EXPECT_LT(MillisecondsBetween(events[sent].at, events[sent + 1].at), 4000.0);
  }
  // Given up before another wait could have passed.
  EXPECT_LT(MillisecondsBetween(events[6].at, events[7].at), 900.0);
  EXPECT_EQ(simulator_->Received().size(), 3u);
}

TEST_F(SiteEngineTest, MaxResendZeroGivesEveryEntryUpAtOnceWithoutSending) {
  UnitsAndSites(3, 2);
  Run(PingParams(2, 0));
  EXPECT_EQ(recorder_.Script(), "started, failed 1/0, failed 2/0, finished");
}

TEST_F(SiteEngineTest, MaxInParallelFiveSendsToThreeEntriesInTheFirstPass) {
  UnitsAndSites(4, 8, {.silent = true});  // no reply can race the stop
  // A stop during the first pass lets only that pass finish.
  recorder_.onEvent = [this](const EngineEvent& event) {
    if (event.message == WM_PING_SENT) request_.stop = 1;
  };
  Run(PingParams(2, 2, 5));
  EXPECT_EQ(recorder_.Script(), "started, sent 1/1, sent 2/1, sent 3/1, finished");
}

TEST_F(SiteEngineTest, MaxInParallelFiveKeepsSixWaitingAndTakesEachReplyOnce) {
  UnitsAndSites(5, 12, {.replyDelayMs = 300, .duplicateReplies = 2});
  Run(PingParams(5, 1, 5));

  int waiting = 0, mostWaiting = 0;
  for (const EngineEvent& event : recorder_.events) {
    if (event.message == WM_PING_SENT) mostWaiting = std::max(mostWaiting, ++waiting);
    if (event.message == WM_PING_REPLY) --waiting;
  }
  EXPECT_EQ(mostWaiting, 6);
  const std::vector<EngineEvent> replies = recorder_.EventsOf(WM_PING_REPLY);
  EXPECT_EQ(replies.size(), 12u);
  for (const EngineEvent& reply : replies) {
    EXPECT_GE(reply.notice.tenths, 3);
    EXPECT_LE(reply.notice.tenths, 15);
    EXPECT_EQ(reply.reply.ReplyTenths, reply.notice.tenths);
  }
  // Twelve entries share ten sockets: entry i uses socket i modulo 10.
  std::set<std::uint16_t> sockets;
  for (const auto& datagram : simulator_->Received()) sockets.insert(datagram.fromPort);
  EXPECT_EQ(sockets.size(), 10u);
  EXPECT_EQ(simulator_->ReceivedBy(Address(5, 1), 9001).at(0).fromPort,
            simulator_->ReceivedBy(Address(5, 11), 9001).at(0).fromPort);
}

TEST_F(SiteEngineTest, ResetModeTakesConfirmationsWithoutDecodingThem) {
  UnitsAndSites(6, 1);
  request_.ping = 0;
  request_.command = 6;
  Run(PingParams(2, 2));

  EXPECT_EQ(recorder_.Script(), "started, sent 1/1, confirmed 1, finished");
  const EngineEvent confirmed = recorder_.EventsOf(WM_RESET_CONFIRMED).at(0);
  EXPECT_EQ(Summary(confirmed), "1 '127.60.6.1' from 127.60.6.1:9001 | 1 1 '127.60.6.1'  ''");
  EXPECT_EQ(confirmed.datagram, unitsim::EncodeResetConfirmation());
}

TEST_F(SiteEngineTest, RepliesFromAnotherPortOrAddressOrWithGarbageAreIgnored) {
  UnitsAndSites(7, 2, {.garbageReplies = true});
  sites_[0].DevicePort = 9002;  // no unit listens there
  Run(PingParams(0, 1), [this] {
    // From the site's address on another port, and from the site's port on another address.
    const auto pinged = AwaitReceived(*simulator_, "127.60.7.2", 1).at(0);
    const auto identity = unitsim::EncodeIdentificationReply({});
    EXPECT_TRUE(SendFrom("127.60.7.1", 9003, pinged, identity));
    EXPECT_TRUE(SendFrom("127.60.7.3", 9002, pinged, identity));
  });
  EXPECT_EQ(recorder_.Script(), "started, sent 1/1, sent 2/1, timeout 1/1, failed 1/1, timeout 2/1, failed 2/1, "
                                "finished");
}

TEST_F(SiteEngineTest, SettingsChangedDuringARunTakeEffectOnTheNextPass) {
  UnitsAndSites(8, 1, {.silent = true});
  recorder_.onEvent = [this](const EngineEvent& event) {
    if (event.message == WM_PING_SENT) params_.pingMaxResend = 1;
  };
  Run(PingParams(0, 5));
  EXPECT_EQ(recorder_.Script(), "started, sent 1/1, timeout 1/1, failed 1/1, finished");
}

// In a child process that has no descriptor left for the engine's socket.
TEST_F(SiteEngineTest, ASocketThatCannotBeCreatedIsReportedAndItsSiteStillFails) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers' own checks need descriptors this test takes away";
#endif
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto pingWithoutDescriptors = [this] {
    sites_.Replace({Site(Address(11, 1), 1, kFlagMarked)});
    const rlimit limit{256, 256};
    ::setrlimit(RLIMIT_NOFILE, &limit);
    std::vector<int> taken;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;) taken.push_back(fd);
    Run(PingParams(0, 1));
    for (const int fd : taken) ::close(fd);
    std::_Exit(recorder_.Script() == "ERROR CREATE, started, sent 1/1, timeout 1/1, failed 1/1, finished" ? 0 : 1);
  };
  EXPECT_EXIT(pingWithoutDescriptors(), ::testing::ExitedWithCode(0), "");
}

// A spin detector, not a benchmark: an engine polling in a tight loop would
// use a whole core. The late datagram sits on a socket that no entry waits on
// any more and must not wake the engine either; the stop must, long before the wait ends.
TEST_F(SiteEngineTest, WaitingForSilentUnitsUsesLittleProcessorTimeAndAStopEndsTheWaitPromptly) {
  UnitsAndSites(10, 7, {}, 1);
  const auto processorSeconds = [] { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; };
  const double cpuBefore = processorSeconds();
  const Clock::time_point wallBefore = Clock::now();
  Clock::time_point stoppedAt;
  Run(PingParams(5, 1), [&] {
    const auto pinged = AwaitReceived(*simulator_, Address(10, 1), 1).at(0);
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(SendFrom(Address(10, 1), 9003, pinged, std::vector<std::uint8_t>{1, 2, 3}));
    std::this_thread::sleep_for(1900ms);
    stoppedAt = Clock::now();
    request_.stop = 1;
  });
  const double wallSeconds = MillisecondsBetween(wallBefore, Clock::now()) / 1000.0;
  const double cpuSeconds = processorSeconds() - cpuBefore;

  EXPECT_EQ(recorder_.Script(), "started, sent 1/1, sent 2/1, sent 3/1, sent 4/1, sent 5/1, sent 6/1, sent 7/1, "
                                "reply 1, finished");
  EXPECT_LT(cpuSeconds, 0.2 * wallSeconds) << cpuSeconds << " s of processor time in " << wallSeconds << " s";
  // Far sooner than the six seconds the wait would last.
  EXPECT_LT(MillisecondsBetween(stoppedAt, recorder_.events.back().at), 1500.0);
}

}  // namespace
}  // namespace quenderlink
