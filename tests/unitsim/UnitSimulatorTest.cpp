#include "unitsim/UnitSimulator.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Lookups.h"
#include "LoopbackTestSocket.h"
#include "net/DeviceDatagram.h"
#include "support/DeviceReplySummary.h"
#include "unitsim/UnitIdentity.h"

namespace quenderlink::unitsim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// What a unit answers, from which address and port, and what it records are played through
// the engines' tests; these are the faults those tests do not show.
TEST(UnitSimulatorFaults, AUnitAnswersNothingButAPingOrAResetAndGarbageRepliesNeverDecodeAndDuplicatesRepeatThem) {
  const UnitConfig plain = Unit("127.50.0.10");
  UnitConfig unit = Unit("127.50.4.1");
  unit.faults.garbageReplies = true;
  unit.faults.duplicateReplies = 2;
  Running run({plain, unit});
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
  for (const Arrival& arrival : replies) {
    DeviceReply reply{};
    EXPECT_FALSE(DecodeDeviceReply(arrival.bytes, "127.0.0.1", 9001, kRailroadCsx, reply));
    EXPECT_EQ(std::string(arrival.bytes.begin(), arrival.bytes.end()).find("WILL RESET"), std::string::npos);
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
  simulator.Stop();
  const int fd = BoundSocket("127.50.7.1", 9001);
  EXPECT_GE(fd, 0);
  ::close(fd);
}

std::string RoundTrip(const UnitIdentity& unit, unsigned railroad = kRailroadCsx) {
  DeviceReply reply{};
  if (!DecodeDeviceReply(EncodeIdentificationReply(unit), "127.41.0.1", 9001, railroad, reply)) return "refused";
  return testing::ReplySummary(reply);
}

// A unit of the type with what `change` sets.
template <typename Change>
UnitIdentity Identity(std::uint8_t productType, Change change) {
  UnitIdentity unit;
  unit.productType = productType;
  change(unit);
  return unit;
}

// The demonstration fleet's test round-trips ready and powering-up NS units of the
// Cadmarin, RKM and RKM-U grammars; these are the other grammars and options.
TEST(ReplyEncoder, EachGrammarOptionAndHeaderFieldDecodesAsWritten) {
  const auto speechError = [](UnitIdentity& u) {
    u.boards = BoardVersions{"2.10", "3.01", "1.5"};
    u.speechError = true;
  };
  struct Case {
    UnitIdentity unit;
    std::string summary;
    unsigned railroad = kRailroadCsx;
  };
  const Case cases[] = {
      // Neither an untagged unit nor a collector has a status.
      {Identity(0, [](UnitIdentity& u) { u.ready = false; u.versionMajor = 4; u.versionMinor = 12; u.track = "S_"; }),
       "0 RDY 4.12-0 0.0|S_=2|SIM|| 0/0/0   "},
      {Identity(kProductCollector, [](UnitIdentity& u) { u.ready = false; u.versionMinor = 12; u.number = 42; }),
       "3 RDY 1.12-0 N/A|N/A=0|Collector_42|| 42/0/0 1.12 N/A N/A"},
      // A Cad/Halvyr unit reports no track index.
      {Identity(kProductCadHalvyr, [](UnitIdentity& u) { u.ready = false; u.track = "S_"; }),
       "5 PWRUP 1.0-0 0.0|S_=0|SIM|| 0/0/0 Comm?? Rdr??? Spch??"},
      {Identity(kProductRkm, [](UnitIdentity& u) { u.ready = false; u.subdivName = "Lake LA"; u.number = 42; }),
       "1 PWRUP 1.0-0 0.0|M_=0|SIM|Lake LA| 42/7/0 Comm?? Rdr??? Spch??"},
      // The status is left out only before a railroad starting with 'C', which reads as powered up.
      {Identity(kProductCad2,
            [](UnitIdentity& u) {
              u.railroad = "CPR"; u.statusField = false; u.versionBuild = 9; u.number = 42; u.uploadCode = 23;
            }),
       "6 PWRUP 1.0-9 0.0|M_=0|SIM|| 0/42/23 Comm?? Rdr??? Spch??", kRailroadCpr},
      {Identity(kProductCad1,
            [](UnitIdentity& u) {
              u.railroad = "NS"; u.statusField = false; u.subdivName = "Piedmont PI"; u.number = 42;
            }),
       "2 RDY 1.0-0 0.0|M_=0|SIM|| 42/8/0 Comm?? Rdr??? Spch??"},
      // Only Cadmarin units report the speech board's error.
      {Identity(kProductCad1, speechError), "2 RDY 1.0-0 0.0|M_=0|SIM|| 0/0/0 2.10 3.01 *ERROR*"},
      {Identity(kProductCad2, speechError), "6 RDY 1.0-0 0.0|M_=0|SIM|| 0/0/0 2.10 3.01 *ERROR*"},
      {Identity(kProductRkmMicro, [&](UnitIdentity& u) { speechError(u); u.ready = false; }),
       "4 PWRUP 1.0-0 0.0|M_=0|SIM|| 0/0/0 2.10 3.01 1.5"},
      {Identity(kProductCadHalvyr, speechError), "5 RDY 1.0-0 0.0|M_=0|SIM|| 0/0/0 2.10 3.01 1.5"},
  };
  for (const Case& c : cases) EXPECT_EQ(RoundTrip(c.unit, c.railroad), c.summary);

  // The header counts the texts and carries the kind, the sizes and the second text.
  const UnitIdentity unit = Identity(kProductCad1, [](UnitIdentity& u) {
    u.programKind = 3; u.maxDatagram = 600; u.blockSize = 256; u.extraText = "BANK2";
  });
  const auto bytes = EncodeIdentificationReply(unit);
  EXPECT_EQ(bytes[2] | (bytes[3] << 8), static_cast<int>(bytes.size() - kReplyHeaderSize));
  EXPECT_EQ(bytes.back(), 0);
  DeviceReply reply{};
  ASSERT_TRUE(DecodeDeviceReply(bytes, "127.41.0.1", 9001, kRailroadCsx, reply));
  EXPECT_EQ(testing::ReplyHeaderSummary(reply), "kind 3 600/256 'BANK2'");
}

}  // namespace
}  // namespace quenderlink::unitsim
