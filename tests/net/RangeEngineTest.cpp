#include "net/RangeEngine.h"

#include <gtest/gtest.h>

#include <set>

#include "EngineRecorder.h"
#include "core/FixedText.h"
#include "unitsim/UnitIdentity.h"

namespace quenderlink {
namespace {

using namespace testing;

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
  Run({"127.62.1.1", "127.62.1.2", "127.62.1.3"}, PingParams(0, 2));

  EXPECT_TRUE(recorder_.EventsOf(WM_PING_STARTED).empty());
  EXPECT_EQ(recorder_.Messages().back(), WM_PING_FINISHED);
  std::set<std::size_t> repliedTo;
  for (const EngineEvent& reply : recorder_.EventsOf(WM_PING_REPLY)) {
    repliedTo.insert(reply.id);
    EXPECT_EQ(reply.notice.row, 0);
    EXPECT_EQ(FieldText(reply.notice.host), "");
    EXPECT_EQ(reply.reply.ReplyTenths, 0);
    EXPECT_EQ(FieldText(reply.reply.IpText), FieldText(entries_[reply.id].address));
    EXPECT_EQ(entries_[reply.id].result.load(), 1);
  }
  EXPECT_EQ(repliedTo, (std::set<std::size_t>{0, 2}));
  const std::vector<EngineEvent> failed = recorder_.EventsOf(WM_PING_FAILED);
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].id, 1u);
  EXPECT_EQ(failed[0].tries, 2);
  EXPECT_EQ(entries_[1].result.load(), -1);
  EXPECT_EQ(simulator->ReceivedBy("127.62.1.2", 9001).size(), 2u);
}

TEST_F(RangeEngineTest, TakesAnIdentificationReplyFromAnyPortOfTheAddressAndNothingElse) {
  const auto simulator = StartUnits({Unit("127.62.2.1", {.silent = true})});
  Run({"127.62.2.1"}, PingParams(1, 1), [&] {
    const auto pinged = AwaitReceived(*simulator, "127.62.2.1", 1);
    const auto send = [&](std::uint16_t fromPort, const std::vector<std::uint8_t>& bytes) {
      EXPECT_TRUE(SendFrom("127.62.2.1", fromPort, pinged.at(0).fromAddress, pinged[0].fromPort, bytes));
    };
    send(9553, unitsim::EncodeResetConfirmation());
    send(9554, {1, 0, 4, 0, 0, 0, 0, 0, 'x', '|', 'y', 0});  // does not decode
    send(9555, unitsim::EncodeIdentificationReply({}));
  });

  EXPECT_EQ(recorder_.Messages(), (std::vector<int>{WM_PING_SENT, WM_PING_REPLY, WM_PING_FINISHED}));
  EXPECT_EQ(recorder_.EventsOf(WM_PING_REPLY).at(0).notice.senderPort, 9555);
}

}  // namespace
}  // namespace quenderlink
