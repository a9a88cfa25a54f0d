#include "unitsim/UnitSimulator.h"

#include <gtest/gtest.h>

#include <string>

#include "LoopbackTestSocket.h"
#include "net/DeviceDatagram.h"
#include "net/EngineRecorder.h"

namespace quenderlink::unitsim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using testing::StartUnits;
using testing::Unit;

// What a unit answers, from which address and port, what it records and its garbage replies are
// played through the engines' tests; these are the faults those tests do not show.
TEST(UnitSimulatorFaults, AUnitAnswersNothingButAPingOrAResetAndDuplicatesRepeatEachReply) {
  const UnitConfig plain = Unit("127.50.0.10");
  UnitConfig unit = Unit("127.50.4.1");
  unit.faults.duplicateReplies = 2;
  const auto simulator = StartUnits({plain, unit});
  TestSocket socket;
  socket.SendCommand(plain, kCommandProgramPacket);
  socket.SendCommand(plain, 99);
  socket.Send(plain, Bytes{});
  EXPECT_FALSE(socket.Receive(200ms));
  socket.SendCommand(plain, kCommandPing);
  EXPECT_TRUE(socket.Receive());

  socket.SendCommand(unit, kCommandPing);
  const auto copies = socket.ReceiveUntilQuiet();
  ASSERT_EQ(copies.size(), 3u);
  EXPECT_EQ(copies[1].bytes, copies[0].bytes);
  EXPECT_EQ(copies[2].bytes, copies[0].bytes);
  for (int ping = 0; ping < 10; ++ping) socket.SendCommand(unit, kCommandPing);
  socket.SendCommand(unit, kCommandReboot);
  const auto replies = socket.ReceiveUntilQuiet();
  EXPECT_EQ(replies.size(), 33u);
}

std::size_t RepliesToPings(const UnitConfig& unit, int pings) {
  const auto simulator = StartUnits({unit});
  TestSocket socket;
  for (int ping = 0; ping < pings; ++ping) socket.SendCommand(unit, kCommandPing);
  return socket.ReceiveUntilQuiet().size();
}

TEST(UnitSimulatorFaults, DropsRepliesWithItsProbabilityTheSameWayEveryRun) {
  UnitConfig unit = Unit("127.50.5.1");
  unit.faults.dropProbability = 1.0;
  EXPECT_EQ(RepliesToPings(unit, 20), 0u);

  unit.faults.dropProbability = 0.5;
  const std::size_t answered = RepliesToPings(unit, 40);
  EXPECT_GT(answered, 0u);
  EXPECT_LT(answered, 40u);
  EXPECT_EQ(RepliesToPings(unit, 40), answered);
}

TEST(UnitSimulatorLifetime, StartRefusesWhatItCannotServeWithTheReasonAndStopFreesTheAddresses) {
  std::string error;
  EXPECT_FALSE(UnitSimulator({Unit("10.0.0.1")}).Start(error));
  EXPECT_NE(error.find("10.0.0.1"), std::string::npos) << error;

  EXPECT_FALSE(UnitSimulator({Unit("127.50.6.1"), Unit("127.50.6.1")}).Start(error));
  EXPECT_NE(error.find("127.50.6.1:9001"), std::string::npos) << error;

  // A socket without SO_REUSEADDR holds its address exclusively.
  const int holder = BoundSocket("127.50.6.2", 9001);
  ASSERT_GE(holder, 0);
  EXPECT_FALSE(UnitSimulator({Unit("127.50.6.3"), Unit("127.50.6.2")}).Start(error));
  EXPECT_NE(error.find("cannot bind 127.50.6.2:9001: Address already in use"), std::string::npos) << error;
  ::close(holder);

  UnitSimulator simulator({Unit("127.50.7.1")});
  ASSERT_TRUE(simulator.Start(error)) << error;
  simulator.Stop();
  const int fd = BoundSocket("127.50.7.1", 9001);
  EXPECT_GE(fd, 0);
  ::close(fd);
}

}  // namespace
}  // namespace quenderlink::unitsim
