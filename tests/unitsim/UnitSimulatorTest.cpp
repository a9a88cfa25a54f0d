#include "unitsim/UnitSimulator.h"

#include <gtest/gtest.h>

#include <string_view>

#include "core/Lookups.h"
#include "LoopbackTestSocket.h"
#include "net/DeviceDatagram.h"

namespace quenderlink::unitsim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

UnitConfig Unit(const std::string& address, std::uint16_t port = 9001) {
  UnitConfig unit;
  unit.address = address;
  unit.port = port;
  return unit;
}

bool Decodes(const Bytes& bytes, DeviceReply& reply) {
  return DecodeDeviceReply(bytes, "127.0.0.1", 9001, kRailroadCsx, reply);
}

bool IsResetConfirmation(const Bytes& bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return bytes.size() > kReplyHeaderSize && bytes[0] == kCommandReboot &&
         text.find("WILL RESET", kReplyHeaderSize) != std::string_view::npos;
}

struct Running {
  explicit Running(std::vector<UnitConfig> units) : simulator(std::move(units)) {
    std::string error;
    EXPECT_TRUE(simulator.Start(error)) << error;
  }
  UnitSimulator simulator;
};

TEST(UnitSimulatorAnswers, PingWithIdentificationFromTheUnitsOwnAddressAndPort) {
  UnitConfig unit = Unit("127.50.0.1", 9002);
  unit.identity.productType = kProductCad2;
  unit.identity.siteName = "WEST YARD";
  Running run({Unit("127.50.0.1", 9001), unit});
  TestSocket socket;

  socket.SendCommand(unit, kCommandPing);
  const auto arrival = socket.Receive();
  ASSERT_TRUE(arrival);
  EXPECT_EQ(arrival->fromAddress, "127.50.0.1");
  EXPECT_EQ(arrival->fromPort, 9002);
  DeviceReply reply{};
  ASSERT_TRUE(Decodes(arrival->bytes, reply));
  EXPECT_STREQ(reply.SiteName, "WEST YARD");
  EXPECT_EQ(reply.ProductType, kProductCad2);
}

TEST(UnitSimulatorAnswers, ResetWithWillResetAndIgnoresOtherCommands) {
  const UnitConfig unit = Unit("127.50.0.10");
  Running run({unit});
  TestSocket socket;

  socket.SendCommand(unit, kCommandReboot);
  const auto confirmation = socket.Receive();
  ASSERT_TRUE(confirmation);
  EXPECT_TRUE(IsResetConfirmation(confirmation->bytes));

  socket.SendCommand(unit, kCommandProgramPacket);
  socket.SendCommand(unit, 99);
  socket.Send(unit, Bytes{});
  EXPECT_FALSE(socket.Receive(200ms));
  socket.SendCommand(unit, kCommandPing);
  EXPECT_TRUE(socket.Receive());
}

TEST(UnitSimulatorRecords, EveryDatagramWithUnitAndSenderEvenWhenSilent) {
  const UnitConfig talking = Unit("127.50.1.1");
  UnitConfig silent = Unit("127.50.1.2");
  silent.faults.silent = true;
  Running run({talking, silent});
  TestSocket socket;

  socket.SendCommand(talking, kCommandPing);
  socket.SendCommand(silent, kCommandPing);
  socket.Send(talking, Bytes{7, 8, 9});
  EXPECT_EQ(socket.ReceiveUntilQuiet().size(), 1u) << "the silent unit answered";

  const auto byTalking = run.simulator.ReceivedBy("127.50.1.1", 9001);
  ASSERT_EQ(byTalking.size(), 2u);
  EXPECT_EQ(byTalking[0].fromAddress, "127.0.0.1");
  EXPECT_EQ(byTalking[0].bytes[0], kCommandPing);
  EXPECT_EQ(byTalking[1].bytes, (Bytes{7, 8, 9}));
  EXPECT_EQ(run.simulator.ReceivedBy("127.50.1.2", 9001).size(), 1u);
  EXPECT_EQ(run.simulator.Received().size(), 3u);
}

TEST(UnitSimulatorFaults, DelayedReplyWaitsWithoutHoldingUpOtherUnits) {
  UnitConfig slow = Unit("127.50.2.1");
  slow.faults.replyDelayMs = 300;
  const UnitConfig prompt = Unit("127.50.2.2");
  Running run({slow, prompt});
  TestSocket socket;

  const auto sent = std::chrono::steady_clock::now();
  socket.SendCommand(slow, kCommandPing);
  socket.SendCommand(prompt, kCommandPing);
  const auto first = socket.Receive();
  const auto second = socket.Receive();
  ASSERT_TRUE(first && second);
  EXPECT_GE(std::chrono::steady_clock::now() - sent, 300ms);
  EXPECT_EQ(first->fromAddress, prompt.address);
  EXPECT_EQ(second->fromAddress, slow.address);
}

TEST(UnitSimulatorFaults, GarbageRepliesNeitherDecodeNorConfirmAResetAndDuplicatesRepeatThem) {
  UnitConfig unit = Unit("127.50.4.1");
  unit.faults.garbageReplies = true;
  unit.faults.duplicateReplies = 2;
  Running run({unit});
  TestSocket socket;

  socket.SendCommand(unit, kCommandPing);
  const auto copies = socket.ReceiveUntilQuiet();
  ASSERT_EQ(copies.size(), 3u);
  EXPECT_EQ(copies[1].bytes, copies[0].bytes);
  EXPECT_EQ(copies[2].bytes, copies[0].bytes);
  for (int ping = 0; ping < 10; ++ping) socket.SendCommand(unit, kCommandPing);
  socket.SendCommand(unit, kCommandReboot);
  const auto replies = socket.ReceiveUntilQuiet();
  EXPECT_EQ(replies.size(), 33u);
  for (const Arrival& arrival : replies) {
    DeviceReply reply{};
    EXPECT_FALSE(Decodes(arrival.bytes, reply));
    EXPECT_FALSE(IsResetConfirmation(arrival.bytes));
  }
}

std::size_t RepliesToPings(const UnitConfig& unit, int pings) {
  Running run({unit});
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

TEST(UnitSimulatorLifetime, StartRefusesWhatItCannotServeWithTheReason) {
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
}

TEST(UnitSimulatorLifetime, StopIsIdempotentAndFreesTheAddresses) {
  UnitSimulator simulator({Unit("127.50.7.1")});
  std::string error;
  ASSERT_TRUE(simulator.Start(error)) << error;
  simulator.Stop();
  simulator.Stop();
  const int fd = BoundSocket("127.50.7.1", 9001);
  EXPECT_GE(fd, 0);
  ::close(fd);
}

}  // namespace
}  // namespace quenderlink::unitsim
