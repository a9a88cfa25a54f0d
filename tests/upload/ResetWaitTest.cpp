#include "upload/ResetWait.h"

#include <gtest/gtest.h>

#include "core/FixedText.h"
#include "net/EngineRecorder.h"
#include "unitsim/UnitIdentity.h"

namespace quenderlink {
namespace {

using namespace std::chrono_literals;
using namespace testing;
using State = ResetWait::State;
using LogLine = std::pair<LogClass, std::string>;

RuntimeParams MaxWait(int seconds) { return PingParams(seconds, 1); }

State TickUntilDone(ResetWait& wait) {
  State state = State::Waiting;
  for (int tick = 0; tick < 100 && state == State::Waiting; ++tick, std::this_thread::sleep_for(5ms))
    state = wait.Tick();
  return state;
}

class ResetWaitTest : public ::testing::Test {
 protected:
  LogSink Sink() {
    return [this](LogClass logClass, const std::string& text) { log_.emplace_back(logClass, text); };
  }
  std::vector<LogLine> log_;
};

TEST_F(ResetWaitTest, ConfirmationEndsTheWaitAndResendStartsAgainFromTickZero) {
  const auto simulator = StartUnits({Unit("127.64.1.1")});
  const RuntimeParams params = MaxWait(2);
  ResetWait wait(Site("127.64.1.1"), params, Sink());
  for (int round = 1; round <= 2; ++round) {
    wait.SendReset();
    EXPECT_EQ(wait.tickCount(), 0u);
    EXPECT_EQ(wait.maxTicks(), 20u);
    EXPECT_EQ(TickUntilDone(wait), State::Confirmed);
  }
  ASSERT_EQ(log_.size(), 6u);
  EXPECT_EQ(log_[0], LogLine(LogClass::Progress, "*** Sending RESET command to 127.64.1.1\n"));
  EXPECT_EQ(log_[1], LogLine(LogClass::Progress, "    Will wait 2 seconds for response. PLEASE WAIT ...\n"));
  EXPECT_EQ(log_[2], LogLine(LogClass::Success, "*** SUCCESS: The Unit is resetting\n\n"));
  EXPECT_EQ(AwaitReceived(*simulator, "127.64.1.1", 2).at(1).bytes, (std::vector<std::uint8_t>{6, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ResetWaitTest, GivesUpOnTheFirstTickPastTheMaximum) {
  const auto simulator = StartUnits({Unit("127.64.2.1", {.silent = true})});
  const RuntimeParams immediately = MaxWait(0);
  ResetWait quick(Site("127.64.2.1"), immediately, Sink());
  quick.SendReset();
  EXPECT_EQ(quick.Tick(), State::NoResponse);
  EXPECT_EQ(log_.back(), LogLine(LogClass::Caution, "*** CAUTION: No Response from 127.64.2.1\n\n"));

  const RuntimeParams oneSecond = MaxWait(1);
  ResetWait patient(Site("127.64.2.1"), oneSecond, Sink());
  patient.SendReset();
  for (int tick = 1; tick <= 10; ++tick) EXPECT_EQ(patient.Tick(), State::Waiting) << "tick " << tick;
  EXPECT_EQ(patient.Tick(), State::NoResponse);
}

// The unit's own confirmation comes late; what arrives before it is taken one
// datagram per tick and dropped.
TEST_F(ResetWaitTest, BelievesOnlyTheConfirmationTextFromTheListedAddressAndPort) {
  const auto simulator =
      StartUnits({Unit("127.64.3.1", {.replyDelayMs = 200}), Unit("127.64.3.2", {.garbageReplies = true})});
  const RuntimeParams params = MaxWait(1);
  ResetWait wait(Site("127.64.3.1"), params, Sink());
  wait.SendReset();
  const auto sent = AwaitReceived(*simulator, "127.64.3.1", 1).at(0);
  const std::vector<std::uint8_t> confirmation = unitsim::EncodeResetConfirmation();
  ASSERT_TRUE(SendFrom("127.64.3.1", 9002, sent.fromAddress, sent.fromPort, confirmation));
  ASSERT_TRUE(SendFrom("127.64.3.3", 9001, sent.fromAddress, sent.fromPort, confirmation));
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(wait.Tick(), State::Waiting);
  EXPECT_EQ(wait.Tick(), State::Waiting);
  EXPECT_EQ(wait.Tick(), State::Confirmed);

  ResetWait garbled(Site("127.64.3.2"), params, Sink());
  garbled.SendReset();
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(TickUntilDone(garbled), State::NoResponse);

  // A listed address that no longer is the unit's.
  SiteRecord stale = Site("127.64.3.1");
  SetFieldText(stale.IpByNumber, "127.64.3.10");
  ResetWait staleWait(stale, params, Sink());
  staleWait.SendReset();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(TickUntilDone(staleWait), State::NoResponse);
  EXPECT_EQ(simulator->ReceivedBy("127.64.3.2", 9001).size(), 1u);
  EXPECT_EQ(simulator->ReceivedBy("127.64.3.1", 9001).size(), 2u);
}

}  // namespace
}  // namespace quenderlink
