#include "upload/ResetWait.h"

#include <gtest/gtest.h>

#include "net/EngineRecorder.h"
#include "unitsim/UnitIdentity.h"

namespace quenderlink {
namespace {

using namespace std::chrono_literals;
using namespace testing;
using State = ResetWait::State;

State TickUntilDone(ResetWait& wait) {
  State state = State::Waiting;
  for (int tick = 0; tick < 100 && state == State::Waiting; ++tick, std::this_thread::sleep_for(5ms))
    state = wait.Tick();
  return state;
}

class ResetWaitTest : public ::testing::Test {
 protected:
  // Each line with its colour class.
  LogSink Sink() {
    return [this](LogClass logClass, const std::string& text) {
      const char* const classes[] = {"progress", "response", "caution", "error", "success"};
      log_ += classes[static_cast<int>(logClass)] + (": " + text);
    };
  }
  std::string log_;
};

TEST_F(ResetWaitTest, ConfirmationEndsTheWaitResendStartsAgainFromTickZeroAndSilenceIsGivenUpPastTheMaximum) {
  const auto simulator = StartUnits({Unit("127.64.1.1"), Unit("127.64.2.1", {.silent = true})});
  const RuntimeParams params = PingParams(2, 1);
  ResetWait wait(Site("127.64.1.1"), params, Sink());
  for (int round = 1; round <= 2; ++round) {
    wait.SendReset();
    EXPECT_EQ(wait.tickCount(), 0u);
    EXPECT_EQ(TickUntilDone(wait), State::Confirmed);
  }
  const std::string round = "progress: *** Sending RESET command to 127.64.1.1\n"
                            "progress:     Will wait 2 seconds for response. PLEASE WAIT ...\n"
                            "success: *** SUCCESS: The Unit is resetting\n\n";
  EXPECT_EQ(log_, round + round);
  EXPECT_EQ(AwaitReceived(*simulator, "127.64.1.1", 2).at(1).bytes, (std::vector<std::uint8_t>{6, 0, 0, 0, 0, 0, 0, 0}));

  const RuntimeParams oneSecond = PingParams(1, 1);
  ResetWait silent(Site("127.64.2.1"), oneSecond, Sink());
  silent.SendReset();
  for (int tick = 1; tick <= 10; ++tick) EXPECT_EQ(silent.Tick(), State::Waiting) << "tick " << tick;
  EXPECT_EQ(silent.Tick(), State::NoResponse);
  EXPECT_TRUE(log_.ends_with("caution: *** CAUTION: No Response from 127.64.2.1\n\n")) << log_;
}

// The unit's own confirmation comes late; what arrives before it is taken one
// datagram per tick and dropped.
TEST_F(ResetWaitTest, BelievesOnlyTheConfirmationTextFromTheListedAddressAndPort) {
  const auto simulator =
      StartUnits({Unit("127.64.3.1", {.replyDelayMs = 1000}), Unit("127.64.3.2", {.garbageReplies = true})});
  const RuntimeParams patient = PingParams(30, 1);
  ResetWait wait(Site("127.64.3.1"), patient, Sink());
  wait.SendReset();
  const auto sent = AwaitReceived(*simulator, "127.64.3.1", 1).at(0);
  const std::vector<std::uint8_t> confirmation = unitsim::EncodeResetConfirmation();
  ASSERT_TRUE(SendFrom("127.64.3.1", 9002, sent, confirmation));
  ASSERT_TRUE(SendFrom("127.64.3.3", 9001, sent, confirmation));
  EXPECT_EQ(wait.Tick(), State::Waiting);
  EXPECT_EQ(wait.Tick(), State::Waiting);
  // Ticks as the dialog's timer gives them, until the unit's own answer is there.
  State state = State::Waiting;
  for (int tick = 0; tick < 200 && state == State::Waiting; ++tick, std::this_thread::sleep_for(100ms))
    state = wait.Tick();
  EXPECT_EQ(state, State::Confirmed);

  const RuntimeParams params = PingParams(1, 1);
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
