#include "unitsim/DemoFleet.h"

#include <gtest/gtest.h>

#include "LoopbackTestSocket.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "net/DeviceDatagram.h"
#include "net/EngineRecorder.h"
#include "net/ReplyToSite.h"
#include "support/TestSite.h"

namespace quenderlink::unitsim {
namespace {

// The demonstration list must look the same after a ping as before it, but for the ping times.
TEST(DemoFleet, EveryUnitTellsTheIdentityItsRecordHoldsAndAnswersOnItsOwnAddressInASimulator) {
  DemoFleet fleet = MakeDemoFleet();
  for (std::size_t i = 0; i < fleet.units.size(); ++i) {
    const UnitConfig& unit = fleet.units[i];
    DeviceReply reply{};
    ASSERT_TRUE(DecodeDeviceReply(EncodeIdentificationReply(unit.identity), unit.address, unit.port, kRailroadNs,
                                  reply))
        << unit.address;
    EXPECT_EQ(reply.Powerup, unit.identity.ready ? 0 : 1) << unit.address;
    EXPECT_EQ(unit.telnetPort, std::uint16_t{fleet.sites[i].TelnetPort}) << unit.address;
    SiteRecord pinged = fleet.sites[i];
    CopyPingReplyIntoSite(reply, false, pinged);
    pinged.LastPing = fleet.sites[i].LastPing;
    EXPECT_TRUE(testing::SameRecordBytes(pinged, fleet.sites[i])) << unit.address;
  }

  // Moved off the demo's own network, which a demo started by another test may hold.
  for (UnitConfig& unit : fleet.units) unit.address.replace(0, std::string_view("127.77.").size(), "127.78.");
  const auto simulator = testing::StartUnits(fleet.units);
  TestSocket socket;
  socket.SendCommand(fleet.units.back(), kCommandPing);
  const auto arrival = socket.Receive();
  ASSERT_TRUE(arrival);
  DeviceReply reply{};
  ASSERT_TRUE(DecodeDeviceReply(arrival->bytes, arrival->fromAddress, arrival->fromPort, kRailroadNs, reply));
  EXPECT_EQ(arrival->fromAddress + " " + std::string(FieldText(reply.SiteName)),
            fleet.units.back().address + " " + std::string(FieldText(fleet.sites.back().SiteName)));
}

}  // namespace
}  // namespace quenderlink::unitsim
