#include "unitsim/FleetConfig.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "net/DeviceDatagram.h"
#include "net/ReplyToSite.h"
#include "support/SiteListFile.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink::unitsim {
namespace {

using testing::TempDir;
using testing::TestSite;
using testing::WriteSiteList;

TEST(FleetFromSiteList, GivesEachRecordAUnitTellingItsIdentityAndRefusesUnitsOffLoopbackAndUnreadableFiles) {
  SiteRecord cad = TestSite({.name = "EAST YARD", .address = "127.51.0.1", .product = kProductCad2});
  cad.VersionMajor = 3;
  cad.VersionMinor = 7;
  cad.HiddenBuild = 2;
  cad.TrackIndex = 1;
  cad.SiteId = 44;
  cad.SubdivCode = 3;
  SetFieldText(cad.Milepost, "123.4");
  SetFieldText(cad.CommVersion, "C1");
  SetFieldText(cad.ReaderVersion, "R1");
  SetFieldText(cad.SpeechVersion, "S1");
  cad.TelnetPort = 10002;
  SiteRecord unpinged = TestSite({.name = "WEST", .address = "127.51.0.2", .port = 9005});
  SetFieldText(unpinged.CommVersion, "Comm??");
  TempDir folder;
  std::vector<UnitConfig> units;
  std::string error;

  ASSERT_TRUE(FleetFromSiteList(WriteSiteList(folder / "sites.bin", {cad, unpinged}), "NS", units, error)) << error;

  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0].address, "127.51.0.1");
  EXPECT_EQ(units[1].port, 9005);
  EXPECT_EQ(units[0].telnetPort, 10002);
  EXPECT_EQ(units[1].telnetPort, 10001) << "a record without a telnet port has the track 1 default";
  EXPECT_FALSE(units[1].identity.boards) << "placeholders are no board versions";
  // What the unit says decodes back into the record's identity: a ping changes nothing but the ping time.
  DeviceReply reply{};
  ASSERT_TRUE(DecodeDeviceReply(EncodeIdentificationReply(units[0].identity), "127.51.0.1", 9001, kRailroadNs, reply));
  SiteRecord pinged = cad;
  CopyPingReplyIntoSite(reply, false, pinged);
  pinged.LastPing = cad.LastPing;
  EXPECT_TRUE(testing::SameRecordBytes(pinged, cad));

  units.clear();
  const std::string path = WriteSiteList(folder / "sites.bin", {TestSite({.name = "OK", .address = "127.51.1.1"}),
                                                  TestSite({.name = "FAR AWAY", .address = "10.1.2.3"})});

  EXPECT_FALSE(FleetFromSiteList(path, "CSX", units, error));
  EXPECT_NE(error.find("record 2 (\"FAR AWAY\")"), std::string::npos) << error;
  EXPECT_NE(error.find("10.1.2.3"), std::string::npos) << error;
  EXPECT_TRUE(units.empty());

  EXPECT_FALSE(FleetFromSiteList((folder / "missing.bin").string(), "CSX", units, error));
  EXPECT_NE(error.find("missing.bin"), std::string::npos) << error;
}

// Everything a fleet file sets for one unit, on one line.
std::string Summary(const UnitConfig& unit) {
  const UnitIdentity& id = unit.identity;
  const UnitFaults& faults = unit.faults;
  const UploadBehaviour& up = unit.upload;
  const auto optional = [](const std::optional<int>& value) { return value ? std::to_string(*value) : "-"; };
  std::ostringstream line;
  line << unit.address << ":" << unit.port << "/" << unit.telnetPort << " " << ProductShortName(id.productType) << " "
       << id.versionMajor << "."
       << id.versionMinor << "-" << optional(id.versionBuild) << " '" << id.siteName << "' " << id.milepost
       << " boards " << (id.boards ? id.boards->comm + "/" + id.boards->reader + "/" + id.boards->speech : "-")
       << " | silent " << faults.silent << " drop " << faults.dropProbability << " delay " << faults.replyDelayMs
       << " garbage " << faults.garbageReplies << " dup " << faults.duplicateReplies << " | loader " << up.ramLoaderDelayMs
       << " reboot " << up.rebootDelayMs << " nak " << up.nakEvery << " frag " << up.fragmentedAt << " never "
       << up.loaderNeverStarts << " mute " << up.silentAfterReboot << " new " << optional(up.newVersionMajor) << "."
       << optional(up.newVersionMinor) << "-" << optional(up.newVersionBuild);
  return line.str();
}

TEST(FleetFromJson, AppliesDefaultsUnitsAndRangesAcrossOctetsAndRefusesBadInputNamingTheElement) {
  const char* json = R"({
    "defaults": {"product": "Cad-2", "version": "3.7-2", "port": 9101, "telnetPort": 10001, "drop": 0.25,
                 "nakEvery": 3},
    "units": [{"address": "127.51.2.1", "telnetPort": 0, "name": "EAST", "product": "RKM", "version": "1.0",
               "boards": ["C1", "R1", "S1"], "silent": true, "delayMs": 50, "duplicates": 1,
               "ramLoaderDelayMs": 2000, "rebootDelayMs": 5000, "fragmentedAt": 2, "loaderNeverStarts": true,
               "silentAfterReboot": true, "newVersion": "3.8-1"}],
    "ranges": [{"from": "127.51.3.254", "count": 4, "name": "SIM {n}", "milepost": "{n}.5", "garbage": true,
                "telnetPort": 2323}]
  })";
  std::vector<UnitConfig> units;
  std::string error;
  ASSERT_TRUE(FleetFromJson(json, units, error)) << error;

  std::vector<std::string> summaries;
  for (const UnitConfig& unit : units) summaries.push_back(Summary(unit));
  const std::string range = " | silent 0 drop 0.25 delay 0 garbage 1 dup 0 | loader 0 reboot 0 nak 3 frag 0 never 0 "
                            "mute 0 new -.---";
  EXPECT_EQ(summaries,
            (std::vector<std::string>{
                "127.51.2.1:9101/0 RKM 1.0-- 'EAST' 0.0 boards C1/R1/S1 | silent 1 drop 0.25 delay 50 garbage 0 dup 1 | "
                "loader 2000 reboot 5000 nak 3 frag 2 never 1 mute 1 new 3.8-1",
                "127.51.3.254:9101/2323 Cad-2 3.7-2 'SIM 1' 1.5 boards -" + range,
                "127.51.3.255:9101/2323 Cad-2 3.7-2 'SIM 2' 2.5 boards -" + range,
                "127.51.4.0:9101/2323 Cad-2 3.7-2 'SIM 3' 3.5 boards -" + range,
                "127.51.4.1:9101/2323 Cad-2 3.7-2 'SIM 4' 4.5 boards -" + range,
            }));

  const std::pair<const char*, const char*> cases[] = {
      {R"({"units": [)", "bad JSON"},
      {R"({"units": [{"address": "127.51.5.1", "dealy": 5}]})", "units[0]: unknown key \"dealy\""},
      {R"({"units": []})", "no units"},
      {R"({"units": [{"address": "127.51.5.1"}, {"address": "127.51.5.2", "drop": 2}]})", "units[1]: \"drop\""},
      {R"({"units": [{"name": "X"}]})", "units[0]: \"address\" is missing"},
      {R"({"units": [{"address": "192.168.1.1"}]})", "units[0]: \"address\" must be a dotted address in 127"},
      {R"({"units": [{"address": "127.51.5.1", "version": "3.x"}]})", "units[0]: \"version\""},
      {R"({"units": [{"address": "127.51.5.1", "nakEvery": -1}]})", "units[0]: \"nakEvery\""},
      {R"({"units": [{"address": "127.51.5.1", "newVersion": 3.8}]})", "units[0]: \"newVersion\""},
      {R"({"units": [{"address": "127.51.5.1", "product": "Cad-3"}]})", "Cad/Halvyr"},
      {R"({"defaults": {"boards": ["C1"]}, "units": [{"address": "127.51.5.1"}]})", "defaults: \"boards\""},
      {R"({"ranges": [{"from": "127.255.255.250", "count": 10}]})", "run past 127.255.255.255"},
      {R"({"units": [{"address": "127.51.5.3"}], "ranges": [{"from": "127.51.5.1", "count": 5}]})",
       "ranges[0] unit 3: 127.51.5.3:9001 is taken by units[0]"},
      {R"({"defaults": {"telnetPort": 23},
           "units": [{"address": "127.51.5.1"}, {"address": "127.51.5.1", "port": 9002}]})",
       "units[1]: telnet 127.51.5.1:23 is taken by units[0]"},
  };
  for (const auto& [bad, expected] : cases) {
    units.clear();
    error.clear();
    EXPECT_FALSE(FleetFromJson(bad, units, error)) << bad;
    EXPECT_NE(error.find(expected), std::string::npos) << bad << "\n  gave: " << error;
    EXPECT_TRUE(units.empty());
  }
}

}  // namespace
}  // namespace quenderlink::unitsim
