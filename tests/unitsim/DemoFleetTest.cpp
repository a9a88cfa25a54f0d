#include "unitsim/DemoFleet.h"

#include <gtest/gtest.h>

#include "core/Lookups.h"
#include "net/DeviceDatagram.h"
#include "net/EngineRecorder.h"
#include "net/ReplyToSite.h"
#include "support/TestSite.h"

namespace quenderlink::unitsim {
namespace {

// The demonstration list must look the same after a ping as before it, but for the ping times.
TEST(DemoFleet, EveryUnitTellsTheIdentityItsRecordHoldsAndAllStartInOneSimulator) {
  DemoFleet fleet = MakeDemoFleet();
  for (std::size_t i = 0; i < fleet.units.size(); ++i) {
    const UnitConfig& unit = fleet.units[i];
    DeviceReply reply{};
    ASSERT_TRUE(DecodeDeviceReply(EncodeIdentificationReply(unit.identity), unit.address, unit.port, kRailroadNs,
                                  reply))
        << unit.address;
    EXPECT_EQ(unit.telnetPort, std::uint16_t{fleet.sites[i].TelnetPort}) << unit.address;
    SiteRecord pinged = fleet.sites[i];
    CopyPingReplyIntoSite(reply, false, pinged);
    pinged.LastPing = fleet.sites[i].LastPing;
    EXPECT_TRUE(testing::SameRecordBytes(pinged, fleet.sites[i])) << unit.address;
  }

  // Moved off the demo's own network, which a demo started by another test may hold: no two units share an
  // endpoint. That a unit answers from its own address with its own identity is the engines' tests' to show.
  for (UnitConfig& unit : fleet.units) unit.address.replace(0, std::string_view("127.77.").size(), "127.78.");
  EXPECT_NO_THROW(testing::StartUnits(fleet.units));
}

}  // namespace
}  // namespace quenderlink::unitsim
