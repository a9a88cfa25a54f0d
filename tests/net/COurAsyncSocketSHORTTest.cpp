#include "net/COurAsyncSocketSHORT.h"

#include <gtest/gtest.h>

#include "EngineRecorder.h"

namespace quenderlink {
namespace {

using namespace testing;

TEST(COurAsyncSocketSHORT, ResolvesNamesAndStoresFailures) {
  const auto simulator = StartUnits({Unit("127.0.0.1", {}, 47630)});
  COurAsyncSocketSHORT socket;
  ASSERT_TRUE(socket.Create());
  std::uint8_t buffer[64];
  EXPECT_EQ(socket.Receive(buffer, sizeof buffer), -1);
  EXPECT_EQ(socket.receiveError, static_cast<std::uint32_t>(EAGAIN));
  EXPECT_TRUE(socket.SendCommand("localhost", 47630, 1));
  EXPECT_EQ(AwaitReceived(*simulator, "127.0.0.1", 1, 47630).size(), 1u);
  EXPECT_FALSE(socket.SendCommand("bad name!", 47630, 1));
  EXPECT_NE(socket.sendError, 0u);

  COurAsyncSocketSHORT neverCreated;
  EXPECT_FALSE(neverCreated.SendCommand("127.63.1.1", 9001, 1));
  EXPECT_NE(neverCreated.sendError, 0u);
}

}  // namespace
}  // namespace quenderlink
