#include "net/RangeEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "EngineRecorder.h"
#include "unitsim/UnitIdentity.h"

namespace quenderlink {
namespace {

using namespace testing;

// The send and receive passes' rules are tested with the site engine (both
// run PingLoop); these tests check what differs: entries by index, one port,
// replies from any port of the address.
class RangeEngineTest : public ::testing::Test {
 protected:
  void Run(const std::vector<std::string>& addresses, const RuntimeParams& params,
           const std::function<void()>& meanwhile = {}) {
    entries_ = std::make_unique<RangeEntry[]>(addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) SetFieldText(entries_[i].address, addresses[i]);
    params_ = params;
    request_.listener = &recorder_;
    request_.params = &params_;
    request_.ranges = {entries_.get(), addresses.size()};
    request_.port = 0x50000 | 9001;  // only the low 16 bits are the port
    ASSERT_TRUE(RunEngine(RangeEngine, request_, meanwhile));
  }

  std::unique_ptr<RangeEntry[]> entries_;
  RuntimeParams params_;
  EngineRequest request_;
  EngineRecorder recorder_;
};

TEST_F(RangeEngineTest, PingsEveryAddressOnTheOnePortAndReportsByIndex) {
  const auto simulator = StartUnits({Unit("127.62.1.1"), Unit("127.62.1.2", {.silent = true}), Unit("127.62.1.3")});
  Run({"127.62.1.1", "127.62.1.2", "127.62.1.3"}, PingParams(0, 1));

  const std::string script = recorder_.Script();
  EXPECT_TRUE(script.starts_with("sent 0/1, sent 1/1, sent 2/1, ")) << script;
  EXPECT_TRUE(script.ends_with("timeout 1/1, failed 1/1, finished")) << script;
  std::vector<std::string> replies;
  for (const EngineEvent& reply : recorder_.EventsOf(WM_PING_REPLY))
    replies.push_back(reply.step + ": " + Summary(reply));
  std::sort(replies.begin(), replies.end());
  EXPECT_EQ(replies, (std::vector<std::string>{
                         "reply 0: 0 '' from 127.62.1.1:9001 | 0 0 '' 127.62.1.1 'SITE 127.62.1.1'",
                         "reply 2: 0 '' from 127.62.1.3:9001 | 0 0 '' 127.62.1.3 'SITE 127.62.1.3'"}));
  EXPECT_EQ((std::vector<int>{entries_[0].result, entries_[1].result, entries_[2].result}),
            (std::vector<int>{1, -1, 1}));
}

TEST_F(RangeEngineTest, TakesAnIdentificationReplyFromAnyPortOfTheAddressAndNothingElse) {
  const auto simulator = StartUnits({Unit("127.62.2.1", {.silent = true})});
  Run({"127.62.2.1"}, PingParams(1, 1), [&] {
    const auto pinged = AwaitReceived(*simulator, "127.62.2.1", 1).at(0);
    EXPECT_TRUE(SendFrom("127.62.2.1", 9553, pinged, unitsim::EncodeResetConfirmation()));
    const std::vector<std::uint8_t> undecodable = {1, 0, 4, 0, 0, 0, 0, 0, 'x', '|', 'y', 0};
    EXPECT_TRUE(SendFrom("127.62.2.1", 9554, pinged, undecodable));
    EXPECT_TRUE(SendFrom("127.62.2.1", 9555, pinged, unitsim::EncodeIdentificationReply({})));
  });

  EXPECT_EQ(recorder_.Script(), "sent 0/1, reply 0, finished");
  EXPECT_EQ(recorder_.EventsOf(WM_PING_REPLY).at(0).notice.senderPort, 9555);
}

}  // namespace
}  // namespace quenderlink
