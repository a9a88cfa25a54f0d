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
#include "core/FixedText.h"
#include "unitsim/UnitIdentity.h"

namespace quenderlink {
namespace {

using namespace std::chrono_literals;
using namespace testing;
using Messages = std::vector<int>;

SiteRecord Site(int row, const std::string& host) {
  SiteRecord site = NewSiteRecord(9001);
  SetFieldText(site.HostText, host);
  site.RowNumber = static_cast<std::uint16_t>(row);
  site.SiteFlags = kFlagMarked;
  return site;
}

std::string Address(int group, int unit) { return "127.60." + std::to_string(group) + "." + std::to_string(unit); }

class SiteEngineTest : public ::testing::Test {
 protected:
  // Sites 1..count on 127.60.`group`.1..count, the first `units` of them with a unit of the given faults.
  void UnitsAndSites(int group, int count, unitsim::UnitFaults faults = {}, int units = -1) {
    std::vector<unitsim::UnitConfig> configs;
    std::vector<SiteRecord> records;
    for (int i = 1; i <= count; ++i) {
      if (units < 0 || i <= units) configs.push_back(Unit(Address(group, i), faults));
      records.push_back(Site(i, Address(group, i)));
    }
    simulator_ = StartUnits(configs);
    sites_.Replace(records);
  }

  void Run(const RuntimeParams& params, const std::function<void()>& meanwhile = {}) {
    params_ = params;
    request_.listener = &recorder_;
    request_.sites = &sites_;
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
  sites_.Replace({Site(9, "bad name!"), sites_[0], sites_[1]});
  Run(PingParams(2, 2));

  EXPECT_EQ(recorder_.Messages(),
            (Messages{WM_PING_BAD_ADDRESS, WM_PING_STARTED, WM_PING_SENT, WM_PING_REPLY, WM_PING_FINISHED}));
  EXPECT_EQ(recorder_.events[0].id, 9u);
  const EngineEvent reply = recorder_.EventsOf(WM_PING_REPLY).at(0);
  EXPECT_EQ(reply.id, 1u);
  EXPECT_EQ(reply.notice.row, 1);
  EXPECT_EQ(FieldText(reply.notice.host), "127.60.1.1");
  EXPECT_EQ(FieldText(reply.notice.senderAddress), "127.60.1.1");
  EXPECT_EQ(reply.notice.senderPort, 9001);
  // A loopback reply comes within a tenth; its reply time still reads 1, since 0 means "never".
  EXPECT_EQ(reply.notice.tenths, 0);
  EXPECT_EQ(reply.reply.ReplyTenths, 1);
  EXPECT_EQ(reply.reply.RowNumber, 1);
  EXPECT_EQ(FieldText(reply.reply.HostText), "127.60.1.1");
  EXPECT_EQ(FieldText(reply.reply.SiteName), "SITE 127.60.1.1");
  EXPECT_EQ(simulator_->ReceivedBy("127.60.1.1", 9001).at(0).bytes,
            (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(simulator_->ReceivedBy("127.60.1.2", 9001).empty());
}

TEST_F(SiteEngineTest, NoMarkedSiteGivesOnlyStartedAndFinished) {
  sites_.Replace({NewSiteRecord(9001)});
  Run(PingParams(2, 2));
  EXPECT_EQ(recorder_.Messages(), (Messages{WM_PING_STARTED, WM_PING_FINISHED}));
}

TEST_F(SiteEngineTest, SilentUnitIsResentAfterEachWaitAndGivenUpInThePassOfItsLastTimeout) {
  UnitsAndSites(2, 1, {.silent = true});
  Run(PingParams(0, 3));

  EXPECT_EQ(recorder_.Messages(), (Messages{WM_PING_STARTED, WM_PING_SENT, WM_PING_TIMEOUT, WM_PING_SENT,
                                            WM_PING_TIMEOUT, WM_PING_SENT, WM_PING_TIMEOUT, WM_PING_FAILED,
                                            WM_PING_FINISHED}));
  const std::vector<EngineEvent>& events = recorder_.events;
  std::vector<int> tries;
  for (std::size_t i = 1; i <= 7; ++i) tries.push_back(events[i].tries);
  EXPECT_EQ(tries, (std::vector<int>{1, 1, 2, 2, 3, 3, 3}));
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

  EXPECT_EQ(recorder_.Messages(), (Messages{WM_PING_STARTED, WM_PING_FAILED, WM_PING_FAILED, WM_PING_FINISHED}));
  for (const EngineEvent& failed : recorder_.EventsOf(WM_PING_FAILED)) EXPECT_EQ(failed.tries, 0);
  std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(simulator_->Received().empty());
}

TEST_F(SiteEngineTest, MaxInParallelFiveSendsToThreeEntriesInTheFirstPass) {
  UnitsAndSites(4, 8);
  // A stop during the first pass lets only that pass finish.
  recorder_.onEvent = [this](const EngineEvent& event) {
    if (event.message == WM_PING_SENT) request_.stop = 1;
  };
  Run(PingParams(2, 2, 5));

  std::vector<std::size_t> sentTo;
  for (const EngineEvent& sent : recorder_.EventsOf(WM_PING_SENT)) sentTo.push_back(sent.id);
  EXPECT_EQ(sentTo, (std::vector<std::size_t>{1, 2, 3}));
  EXPECT_EQ(recorder_.Messages().back(), WM_PING_FINISHED);
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

  EXPECT_EQ(recorder_.Messages(), (Messages{WM_PING_STARTED, WM_PING_SENT, WM_RESET_CONFIRMED, WM_PING_FINISHED}));
  const EngineEvent confirmed = recorder_.EventsOf(WM_RESET_CONFIRMED).at(0);
  EXPECT_EQ(confirmed.notice.row, 1);
  EXPECT_EQ(confirmed.reply.ReplyTenths, 1);
  EXPECT_EQ(confirmed.reply.RowNumber, 1);
  EXPECT_EQ(FieldText(confirmed.reply.SiteName), "");
  EXPECT_EQ(confirmed.datagram, unitsim::EncodeResetConfirmation());
  EXPECT_EQ(simulator_->Received().at(0).bytes, (std::vector<std::uint8_t>{6, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SiteEngineTest, RepliesFromAnotherPortOrAddressOrWithGarbageAreIgnored) {
  UnitsAndSites(7, 2, {.garbageReplies = true});
  sites_[0].DevicePort = 9002;  // no unit listens there
  Run(PingParams(0, 1), [this] {
    // From the site's address on another port, and from the site's port on another address.
    const auto pinged = AwaitReceived(*simulator_, "127.60.7.2", 1);
    const auto identity = unitsim::EncodeIdentificationReply({});
    EXPECT_TRUE(SendFrom("127.60.7.1", 9003, pinged.at(0).fromAddress, pinged[0].fromPort, identity));
    EXPECT_TRUE(SendFrom("127.60.7.3", 9002, pinged[0].fromAddress, pinged[0].fromPort, identity));
  });

  EXPECT_TRUE(recorder_.EventsOf(WM_PING_REPLY).empty());
  EXPECT_EQ(recorder_.EventsOf(WM_PING_FAILED).size(), 2u);
}

TEST_F(SiteEngineTest, SettingsChangedDuringARunTakeEffectOnTheNextPass) {
  UnitsAndSites(8, 1, {.silent = true});
  recorder_.onEvent = [this](const EngineEvent& event) {
    if (event.message == WM_PING_SENT) params_.pingMaxResend = 1;
  };
  Run(PingParams(0, 5));
  EXPECT_EQ(recorder_.Messages(),
            (Messages{WM_PING_STARTED, WM_PING_SENT, WM_PING_TIMEOUT, WM_PING_FAILED, WM_PING_FINISHED}));
}

TEST_F(SiteEngineTest, StopWhileWaitingEndsTheRunPromptly) {
  UnitsAndSites(9, 1, {.silent = true});
  Clock::time_point stoppedAt;
  Run(PingParams(5, 2), [&] {
    AwaitReceived(*simulator_, "127.60.9.1", 1);
    std::this_thread::sleep_for(200ms);
    stoppedAt = Clock::now();
    request_.stop = 1;
  });

  EXPECT_EQ(recorder_.Messages(), (Messages{WM_PING_STARTED, WM_PING_SENT, WM_PING_FINISHED}));
  // Far sooner than the six seconds the wait would last.
  EXPECT_LT(MillisecondsBetween(stoppedAt, recorder_.events.back().at), 1500.0);
}

// In a child process that has no descriptor left for the engine's socket.
TEST_F(SiteEngineTest, ASocketThatCannotBeCreatedIsReportedAndItsSiteStillFails) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers' own checks need descriptors this test takes away";
#endif
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto pingWithoutDescriptors = [this] {
    sites_.Replace({Site(1, Address(11, 1))});
    const rlimit limit{256, 256};
    ::setrlimit(RLIMIT_NOFILE, &limit);
    std::vector<int> taken;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;) taken.push_back(fd);
    Run(PingParams(0, 1));
    for (const int fd : taken) ::close(fd);
    const bool told = recorder_.engineMessages == std::vector<std::string>{"ERROR CREATE"} &&
                      recorder_.EventsOf(WM_PING_FAILED).size() == 1;
    std::_Exit(told ? 0 : 1);
  };
  EXPECT_EXIT(pingWithoutDescriptors(), ::testing::ExitedWithCode(0), "");
}

// A spin detector, not a benchmark: an engine polling in a tight loop would
// use a whole core. The late datagram sits on a socket that no entry waits on
// any more and must not wake the engine either.
TEST_F(SiteEngineTest, WaitingForSilentUnitsUsesLittleProcessorTime) {
  UnitsAndSites(10, 7, {}, 1);
  const auto processorSeconds = [] { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; };
  const double cpuBefore = processorSeconds();
  const Clock::time_point wallBefore = Clock::now();
  Run(PingParams(5, 1), [this] {
    const auto pinged = AwaitReceived(*simulator_, Address(10, 1), 1);
    std::this_thread::sleep_for(100ms);
    const std::vector<std::uint8_t> late = {1, 2, 3};
    EXPECT_TRUE(SendFrom(Address(10, 1), 9003, pinged.at(0).fromAddress, pinged[0].fromPort, late));
    std::this_thread::sleep_for(1900ms);
    request_.stop = 1;
  });
  const double wallSeconds = MillisecondsBetween(wallBefore, Clock::now()) / 1000.0;
  const double cpuSeconds = processorSeconds() - cpuBefore;

  EXPECT_EQ(recorder_.EventsOf(WM_PING_REPLY).size(), 1u);
  EXPECT_TRUE(recorder_.EventsOf(WM_PING_FAILED).empty());
  EXPECT_LT(cpuSeconds, 0.2 * wallSeconds) << cpuSeconds << " s of processor time in " << wallSeconds << " s";
}

}  // namespace
}  // namespace quenderlink
