#include <gtest/gtest.h>

#include <string>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "net/DeviceDatagram.h"
#include "unitsim/UnitIdentity.h"

namespace quenderlink::unitsim {
namespace {

DeviceReply RoundTrip(const UnitIdentity& unit, unsigned railroad = kRailroadCsx) {
  DeviceReply reply{};
  EXPECT_TRUE(DecodeDeviceReply(EncodeIdentificationReply(unit), "127.41.0.1", 9001, railroad, reply))
      << int{unit.productType};
  return reply;
}

UnitIdentity Unit(std::uint8_t productType) {
  UnitIdentity unit;
  unit.productType = productType;
  unit.versionMajor = 4;
  unit.versionMinor = 12;
  unit.milepost = "101.5";
  unit.track = "S_";
  unit.siteName = "WEST END";
  unit.number = 42;
  return unit;
}

std::string Boards(const DeviceReply& reply) {
  return std::string(FieldText(reply.CommVersion)) + " " + std::string(FieldText(reply.ReaderVersion)) + " " +
         std::string(FieldText(reply.SpeechVersion));
}

TEST(ReplyEncoder, EveryProductTypeDecodesAsItselfReadyOrPoweredUp) {
  for (std::uint8_t type = 0; type <= 6; ++type) {
    for (bool ready : {true, false}) {
      auto unit = Unit(type);
      unit.ready = ready;
      unit.subdivName = "Lake LA";  // RKM needs one; the others carry it as an extra field
      const auto reply = RoundTrip(unit);
      const bool hasStatus = type != 0 && type != kProductCollector;
      EXPECT_EQ(reply.ProductType, type);
      EXPECT_EQ(reply.Powerup, hasStatus && !ready ? 1 : 0) << int{type};
      EXPECT_EQ(reply.VersionMajor, 4) << int{type};
      EXPECT_EQ(reply.VersionMinor, 12) << int{type};
      if (type == kProductCollector) {
        EXPECT_EQ(FieldText(reply.SiteName), "Collector_42");
        EXPECT_EQ(reply.SiteId, 42);
        continue;
      }
      EXPECT_EQ(FieldText(reply.Milepost), "101.5") << int{type};
      EXPECT_EQ(FieldText(reply.TrackId), "S_") << int{type};
      EXPECT_EQ(FieldText(reply.SiteName), "WEST END") << int{type};
      EXPECT_EQ(reply.TrackIndex, type == kProductCadHalvyr ? 0 : 2) << int{type};
    }
  }
}

TEST(ReplyEncoder, RailroadSpecificFieldsAndTheCadmarinStatusOnlyLeftOutBeforeARailroadStartingWithC) {
  auto cpr = Unit(kProductCad2);
  cpr.railroad = "CPR";
  cpr.statusField = false;
  cpr.uploadCode = 23;
  cpr.versionBuild = 9;
  const auto cprReply = RoundTrip(cpr, kRailroadCpr);
  EXPECT_EQ(cprReply.Powerup, 1);
  EXPECT_EQ(cprReply.SubdivCode, 42);
  EXPECT_EQ(cprReply.LastUploadCode, 23);
  EXPECT_EQ(cprReply.VersionBuild, 9);
  EXPECT_EQ(FieldText(cprReply.SiteName), "WEST END");

  auto ns = Unit(kProductCad1);
  ns.railroad = "NS";
  ns.statusField = false;  // written anyway: "NS" would read as a status
  ns.subdivName = "Piedmont PI";
  ns.boards = BoardVersions{"a", "b", "c"};
  const auto nsReply = RoundTrip(ns);
  EXPECT_EQ(nsReply.Powerup, 0);
  EXPECT_EQ(nsReply.SiteId, 42);
  EXPECT_EQ(nsReply.SubdivCode, 8);
  EXPECT_EQ(Boards(nsReply), "a b c");

  auto rkm = Unit(kProductRkm);
  rkm.subdivName = "Lake LA";
  const auto rkmReply = RoundTrip(rkm);
  EXPECT_EQ(FieldText(rkmReply.SubdivName), "Lake LA");
  EXPECT_EQ(rkmReply.SubdivCode, 7);
  EXPECT_EQ(rkmReply.SiteId, 42);
}

TEST(ReplyEncoder, BoardVersionsWithErrorMarkerAndPlaceholdersAndTheHeadersFields) {
  for (std::uint8_t type : {kProductCad1, kProductRkmMicro, kProductCadHalvyr, kProductCad2}) {
    auto unit = Unit(type);
    EXPECT_NE(Boards(RoundTrip(unit)).find("??"), std::string::npos) << int{type};
    unit.boards = BoardVersions{"2.10", "3.01", "1.5"};
    EXPECT_EQ(Boards(RoundTrip(unit)), "2.10 3.01 1.5") << int{type};
    unit.speechError = true;
    const bool readsError = type == kProductCad1 || type == kProductCad2;
    EXPECT_EQ(Boards(RoundTrip(unit)), readsError ? "2.10 3.01 *ERROR*" : "2.10 3.01 1.5") << int{type};
  }

  auto unit = Unit(kProductCad1);
  unit.programKind = 3;
  unit.maxDatagram = 600;
  unit.blockSize = 256;
  unit.extraText = "BANK2";
  const auto bytes = EncodeIdentificationReply(unit);
  EXPECT_EQ(bytes[2] | (bytes[3] << 8), static_cast<int>(bytes.size() - 8));
  EXPECT_EQ(bytes.back(), 0);
  const auto reply = RoundTrip(unit);
  EXPECT_EQ(reply.ProgramKind, 3);
  EXPECT_EQ(reply.MaxDatagram, 600u);
  EXPECT_EQ(reply.BlockSize, 256u);
  EXPECT_EQ(FieldText(reply.ExtraText), "BANK2");
}

}  // namespace
}  // namespace quenderlink::unitsim
