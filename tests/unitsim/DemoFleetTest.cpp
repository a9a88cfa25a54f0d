#include "unitsim/DemoFleet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "LoopbackTestSocket.h"
#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "core/SiteListLoader.h"
#include "core/SiteTable.h"
#include "net/DeviceDatagram.h"
#include "net/ReplyToSite.h"
#include "support/TempDir.h"
#include "unitsim/DemoHome.h"
#include "unitsim/LoopbackAddress.h"

namespace quenderlink::unitsim {
namespace {

using testing::TempDir;

// What a ping may change in a record, on one line, so that a mismatch shows where it is.
std::string Identity(const SiteRecord& site) {
  const int build = site.HiddenBuild;
  return std::string(FieldText(site.SiteName)) + " | " + std::string(FieldText(site.Milepost)) + " | subdiv " +
         std::to_string(site.SubdivCode) + " | track " + std::to_string(site.TrackIndex) + " | id " +
         std::to_string(site.SiteId) + " | " + ProductShortName(site.ProductType) + " " +
         std::to_string(site.VersionMajor) + "." + std::to_string(site.VersionMinor) + "-" + std::to_string(build) +
         " | " + std::string(FieldText(site.CommVersion)) + " " + std::string(FieldText(site.ReaderVersion)) + " " +
         std::string(FieldText(site.SpeechVersion));
}

bool SameBytes(const SiteRecord& a, const SiteRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(DemoFleet, CoversEveryProductAndSeveralSubdivisionsOnDistinctLoopbackAddresses) {
  const DemoFleet fleet = MakeDemoFleet();
  ASSERT_EQ(fleet.sites.size(), fleet.units.size());
  EXPECT_GE(fleet.sites.size(), 35u);

  std::set<int> products;
  std::set<int> subdivisions;
  std::set<std::string> addresses;
  for (std::size_t i = 0; i < fleet.sites.size(); ++i) {
    const SiteRecord& site = fleet.sites[i];
    const UnitConfig& unit = fleet.units[i];
    products.insert(site.ProductType);
    if (site.SubdivCode != 0) subdivisions.insert(site.SubdivCode);
    addresses.insert(unit.address);
    EXPECT_TRUE(ParseLoopbackAddress(unit.address)) << unit.address;
    EXPECT_EQ(FieldText(site.IpByNumber), unit.address);
    EXPECT_EQ(FieldText(site.HostText), unit.address);
    const std::uint16_t devicePort = site.DevicePort;
    const std::uint16_t telnetPort = site.TelnetPort;
    const std::size_t row = site.RowNumber;
    EXPECT_EQ(devicePort, unit.port);
    EXPECT_TRUE(telnetPort == 10001 || telnetPort == 10002) << telnetPort;
    EXPECT_EQ(row, i + 1);
    EXPECT_EQ(site.LastPing, kLastPingNever);
    EXPECT_EQ(site.SiteFlags, 0);
  }
  EXPECT_EQ(products, (std::set<int>{kProductRkm, kProductCad1, kProductCollector, kProductRkmMicro,
                                     kProductCadHalvyr, kProductCad2}));
  EXPECT_GE(subdivisions.size(), 5u);
  EXPECT_EQ(addresses.size(), fleet.units.size());

  const auto count = [&](auto predicate) { return std::count_if(fleet.units.begin(), fleet.units.end(), predicate); };
  EXPECT_EQ(count([](const UnitConfig& unit) { return unit.faults.silent; }), 3);
  EXPECT_EQ(count([](const UnitConfig& unit) { return !unit.identity.ready; }), 1);
  EXPECT_EQ(count([](const UnitConfig& unit) { return unit.faults.replyDelayMs > 0; }), 1);
}

// The demonstration list must look the same after a ping as before it, but for the ping times.
TEST(DemoFleet, EveryUnitTellsTheIdentityItsRecordHolds) {
  const DemoFleet fleet = MakeDemoFleet();
  for (std::size_t i = 0; i < fleet.units.size(); ++i) {
    const UnitConfig& unit = fleet.units[i];
    DeviceReply reply{};
    ASSERT_TRUE(DecodeDeviceReply(EncodeIdentificationReply(unit.identity), unit.address, unit.port, kRailroadNs,
                                  reply))
        << unit.address;
    EXPECT_EQ(reply.Powerup, unit.identity.ready ? 0 : 1) << unit.address;
    SiteRecord pinged = fleet.sites[i];
    CopyPingReplyIntoSite(reply, false, pinged);
    EXPECT_EQ(Identity(pinged), Identity(fleet.sites[i])) << unit.address;
    pinged.LastPing = fleet.sites[i].LastPing;
    EXPECT_TRUE(SameBytes(pinged, fleet.sites[i])) << unit.address;
  }
}

TEST(DemoFleet, UnitsAnswerOnTheirOwnAddressesInASimulator) {
  const DemoFleet fleet = MakeDemoFleet();
  UnitSimulator simulator(fleet.units);
  std::string error;
  ASSERT_TRUE(simulator.Start(error)) << error;
  TestSocket socket;

  const UnitConfig& unit = fleet.units.back();
  socket.SendCommand(unit, kCommandPing);
  const auto arrival = socket.Receive();
  ASSERT_TRUE(arrival);
  EXPECT_EQ(arrival->fromAddress, unit.address);
  DeviceReply reply{};
  ASSERT_TRUE(DecodeDeviceReply(arrival->bytes, arrival->fromAddress, arrival->fromPort, kRailroadNs, reply));
  EXPECT_EQ(FieldText(reply.SiteName), FieldText(fleet.sites.back().SiteName));
}

TEST(PrepareDemoHome, WritesASiteListTheProgramOpensAtStartWithoutAskingTheRailroad) {
  const TempDir folder;
  const std::filesystem::path home = folder / "demo";
  const DemoFleet fleet = MakeDemoFleet();
  std::string error;
  ASSERT_TRUE(PrepareDemoHome(home, fleet, error)) << error;
  // Preparing an existing home again keeps one history entry.
  ASSERT_TRUE(PrepareDemoHome(home, fleet, error)) << error;

  IniSettingsFile settings(home);
  EXPECT_EQ(settings.ReadInt(settings::kRoad), kRailroadNs);
  EXPECT_EQ(settings.ReadInt(settings::kPingMaxWaitResponse), 2u) << "silent units fail within seconds";
  EXPECT_EQ(settings.ReadInt(settings::kDefaultPortNum), 9001u) << "the creation defaults are written";
  ASSERT_EQ(settings.ReadFileHistory(HistoryKind::SiteFiles), 1);
  const std::string siteList = settings.FileHistory()[0];
  EXPECT_EQ(std::filesystem::path(siteList), home / "DemoSites.bin");

  SiteTable table;
  ASSERT_EQ(LoadSiteTable(siteList, table, 10001), 0);
  ASSERT_EQ(table.size(), fleet.sites.size());
  for (std::size_t i = 0; i < table.size(); ++i)
    EXPECT_TRUE(SameBytes(table[i], fleet.sites[i])) << Identity(table[i]);
}

TEST(PrepareDemoHome, RefusesAHomeThatCannotBeMadeAndAnEmptyFleet) {
  const TempDir folder;
  testing::WriteFileBytes(folder / "file", "x");
  std::string error;
  EXPECT_FALSE(PrepareDemoHome(folder / "file" / "home", MakeDemoFleet(), error));
  EXPECT_NE(error.find("file"), std::string::npos) << error;
  error.clear();
  EXPECT_FALSE(PrepareDemoHome(folder / "home", DemoFleet{}, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace quenderlink::unitsim
