#include "net/COurAsyncSocket.h"

#include <gtest/gtest.h>

#include "EngineRecorder.h"
#include "net/COurAsyncSocketSHORT.h"

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

// Its run-loader and packet sends are checked by the upload engine's tests.
TEST(COurAsyncSocket, SendsToItsOwnPortAndDecodesOnlyIdentificationReplies) {
  constexpr std::uint16_t kPort = 47632;
  const auto simulator = StartUnits({Unit("127.63.2.2", {}, kPort)});
  COurAsyncSocket socket;
  ASSERT_TRUE(socket.Create(kPort, "127.63.2.1"));
  for (int code : {1, 6}) {
    ASSERT_TRUE(code == 1 ? socket.SendPing("127.63.2.2") : socket.SendReboot("127.63.2.2"));
    bool received = false;
    for (int attempt = 0; attempt < 500 && !received; ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      received = socket.ReceiveAndDecode(0);
    }
    EXPECT_TRUE(received);
    EXPECT_EQ(socket.lastCode, code);
    EXPECT_EQ(FieldText(socket.reply.SiteName), "SITE 127.63.2.2");  // a reset confirmation keeps the last reply
    EXPECT_EQ(socket.reply.ReplyPort, kPort);
  }
}

}  // namespace
}  // namespace quenderlink
