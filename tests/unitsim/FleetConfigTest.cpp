#include "unitsim/FleetConfig.h"

#include <gtest/gtest.h>

#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "net/DeviceDatagram.h"
#include "support/TempDir.h"

namespace quenderlink::unitsim {
namespace {

using testing::TempDir;

SiteRecord Site(const char* name, const char* address, std::uint16_t port) {
  SiteRecord record = NewSiteRecord(port);
  SetFieldText(record.SiteName, name);
  SetFieldText(record.IpByNumber, address);
  return record;
}

std::string WriteSiteList(const TempDir& folder, std::vector<SiteRecord> records) {
  const std::string path = (folder / "sites.bin").string();
  SiteTable table;
  table.Replace(std::move(records));
  CSiteinfoClass file;
  EXPECT_TRUE(file.SaveAll(path, table));
  return path;
}

TEST(FleetFromSiteList, GivesEachRecordAUnitThatTellsItsIdentity) {
  SiteRecord cad = Site("EAST YARD", "127.51.0.1", 9001);
  cad.ProductType = kProductCad2;
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
  SiteRecord unpinged = Site("WEST", "127.51.0.2", 9005);
  SetFieldText(unpinged.CommVersion, "Comm??");
  TempDir folder;
  std::vector<UnitConfig> units;
  std::string error;

  ASSERT_TRUE(FleetFromSiteList(WriteSiteList(folder, {cad, unpinged}), "NS", units, error)) << error;

  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0].address, "127.51.0.1");
  EXPECT_EQ(units[1].port, 9005);
  EXPECT_FALSE(units[1].identity.boards) << "placeholders are no board versions";
  // What the unit says decodes back into the record's identity.
  DeviceReply reply{};
  ASSERT_TRUE(DecodeDeviceReply(EncodeIdentificationReply(units[0].identity), "127.51.0.1", 9001, kRailroadNs, reply));
  EXPECT_EQ(reply.ProductType, kProductCad2);
  EXPECT_EQ(reply.VersionMajor, 3);
  EXPECT_EQ(reply.VersionBuild, 2);
  EXPECT_EQ(reply.TrackIndex, 1);
  EXPECT_EQ(reply.SiteId, 44);
  EXPECT_EQ(reply.SubdivCode, 3);
  EXPECT_STREQ(reply.SiteName, "EAST YARD");
  EXPECT_STREQ(reply.CommVersion, "C1");
  EXPECT_STREQ(reply.SpeechVersion, "S1");
}

TEST(FleetFromSiteList, RefusesUnitsOffTheLoopbackNetworkAndUnreadableFiles) {
  TempDir folder;
  std::vector<UnitConfig> units;
  std::string error;
  const std::string path =
      WriteSiteList(folder, {Site("OK", "127.51.1.1", 9001), Site("FAR AWAY", "10.1.2.3", 9001)});

  EXPECT_FALSE(FleetFromSiteList(path, "CSX", units, error));
  EXPECT_NE(error.find("record 2 (\"FAR AWAY\")"), std::string::npos) << error;
  EXPECT_NE(error.find("10.1.2.3"), std::string::npos) << error;
  EXPECT_TRUE(units.empty());

  EXPECT_FALSE(FleetFromSiteList((folder / "missing.bin").string(), "CSX", units, error));
  EXPECT_NE(error.find("missing.bin"), std::string::npos) << error;
}

TEST(FleetFromJson, AppliesDefaultsUnitsAndRangesAcrossOctets) {
  const char* json = R"({
    "defaults": {"product": "Cad-2", "version": "3.7-2", "port": 9101, "drop": 0.25},
    "units": [{"address": "127.51.2.1", "name": "EAST", "product": "RKM", "version": "1.0",
               "boards": ["C1", "R1", "S1"], "silent": true, "delayMs": 50, "duplicates": 1}],
    "ranges": [{"from": "127.51.3.254", "count": 4, "name": "SIM {n}", "milepost": "{n}.5", "garbage": true}]
  })";
  std::vector<UnitConfig> units;
  std::string error;
  ASSERT_TRUE(FleetFromJson(json, units, error)) << error;

  ASSERT_EQ(units.size(), 5u);
  const UnitConfig& east = units[0];
  EXPECT_EQ(east.port, 9101);
  EXPECT_EQ(east.identity.productType, kProductRkm);
  EXPECT_FALSE(east.identity.versionBuild);
  EXPECT_EQ(east.identity.boards->speech, "S1");
  EXPECT_TRUE(east.faults.silent);
  EXPECT_EQ(east.faults.dropProbability, 0.25);
  EXPECT_EQ(east.faults.replyDelayMs, 50);
  EXPECT_EQ(east.faults.duplicateReplies, 1);

  std::vector<std::string> addresses;
  for (std::size_t index = 1; index < units.size(); ++index) addresses.push_back(units[index].address);
  EXPECT_EQ(addresses, (std::vector<std::string>{"127.51.3.254", "127.51.3.255", "127.51.4.0", "127.51.4.1"}));
  EXPECT_EQ(units[3].identity.siteName, "SIM 3");
  EXPECT_EQ(units[3].identity.milepost, "3.5");
  EXPECT_EQ(units[3].identity.productType, kProductCad2);
  EXPECT_EQ(units[3].identity.versionBuild, 2);
  EXPECT_TRUE(units[3].faults.garbageReplies);
}

TEST(FleetFromJson, ReadsTheUploadBehaviour) {
  const char* json = R"({
    "defaults": {"ramLoaderDelayMs": 2000, "nakEvery": 3},
    "units": [{"address": "127.51.6.1", "rebootDelayMs": 5000, "fragmentedAt": 2, "loaderNeverStarts": true,
               "silentAfterReboot": true, "newVersion": "3.8-1"}, {"address": "127.51.6.2"}]
  })";
  std::vector<UnitConfig> units;
  std::string error;
  ASSERT_TRUE(FleetFromJson(json, units, error)) << error;

  ASSERT_EQ(units.size(), 2u);
  const UploadBehaviour& upload = units[0].upload;
  EXPECT_EQ(upload.ramLoaderDelayMs, 2000);
  EXPECT_EQ(upload.rebootDelayMs, 5000);
  EXPECT_EQ(upload.nakEvery, 3);
  EXPECT_EQ(upload.fragmentedAt, 2);
  EXPECT_TRUE(upload.loaderNeverStarts);
  EXPECT_TRUE(upload.silentAfterReboot);
  EXPECT_EQ(upload.newVersionMajor, 3);
  EXPECT_EQ(upload.newVersionMinor, 8);
  EXPECT_EQ(upload.newVersionBuild, 1);
  EXPECT_FALSE(units[1].upload.newVersionMajor);
  EXPECT_EQ(units[1].upload.nakEvery, 3);
}

TEST(FleetFromJson, RefusesBadInputNamingTheElement) {
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
  };
  for (const auto& [json, expected] : cases) {
    std::vector<UnitConfig> units;
    std::string error;
    EXPECT_FALSE(FleetFromJson(json, units, error)) << json;
    EXPECT_NE(error.find(expected), std::string::npos) << json << "\n  gave: " << error;
    EXPECT_TRUE(units.empty());
  }
}

}  // namespace
}  // namespace quenderlink::unitsim
