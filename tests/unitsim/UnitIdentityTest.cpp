#include "unitsim/UnitIdentity.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Lookups.h"
#include "net/DeviceDatagram.h"
#include "support/DeviceReplySummary.h"

namespace quenderlink::unitsim {
namespace {

// A unit of the type with what `change` sets.
template <typename Change>
UnitIdentity Identity(std::uint8_t productType, Change change) {
  UnitIdentity unit;
  unit.productType = productType;
  change(unit);
  return unit;
}

// The demonstration fleet's test round-trips ready and powering-up NS units of the
// Cadmarin, RKM and RKM-U grammars and ready collectors; these are the other grammars and options.
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
      // An untagged unit has no status.
      {Identity(0, [](UnitIdentity& u) { u.ready = false; u.versionMajor = 4; u.versionMinor = 12; u.track = "S_"; }),
       "0 RDY 4.12-0 0.0|S_=2|SIM|| 0/0/0   "},
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
      {Identity(kProductRkmMicro, [&](UnitIdentity& u) { speechError(u); u.ready = false; }),
       "4 PWRUP 1.0-0 0.0|M_=0|SIM|| 0/0/0 2.10 3.01 1.5"},
      {Identity(kProductCadHalvyr, speechError), "5 RDY 1.0-0 0.0|M_=0|SIM|| 0/0/0 2.10 3.01 1.5"},
  };
  for (const Case& c : cases) {
    DeviceReply reply{};
    const bool decoded = DecodeDeviceReply(EncodeIdentificationReply(c.unit), "127.41.0.1", 9001, c.railroad, reply);
    EXPECT_EQ(decoded ? testing::ReplySummary(reply) : "refused", c.summary);
  }

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
