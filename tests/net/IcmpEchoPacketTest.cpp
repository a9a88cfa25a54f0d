#include "net/IcmpEchoPacket.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "net/IcmpErrorStatus.h"

namespace quenderlink {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kOurs = 0xBEEF;
constexpr std::uint8_t kPeer[4] = {127, 97, 0, 1};

// An IPv4 header of 20 bytes from the peer, then `icmp`.
Bytes FromPeer(const Bytes& icmp) {
  Bytes packet(20, 0);
  packet[0] = 0x45;
  std::memcpy(packet.data() + 12, kPeer, 4);
  packet.insert(packet.end(), icmp.begin(), icmp.end());
  return packet;
}

Bytes EchoReply(std::uint16_t identifier, std::uint16_t sequence) {
  Bytes icmp = BuildRawEchoRequest(4, sequence, identifier, 7);
  icmp[0] = kIcmpEchoReply;
  return icmp;
}

// An ICMP error quoting `quoted` (the request as it left, from its IP header on).
Bytes ErrorQuoting(std::uint8_t type, std::uint8_t code, const Bytes& quotedIcmp) {
  Bytes icmp = {type, code, 0, 0, 0, 0, 0, 0};
  const Bytes quoted = FromPeer(quotedIcmp);
  icmp.insert(icmp.end(), quoted.begin(), quoted.begin() + 28);
  return icmp;
}

EchoExpectation Ours(std::uint16_t sequence) {
  EchoExpectation expected;
  expected.identifier = kOurs;
  expected.sequence = sequence;
  return expected;
}

TEST(IcmpEchoPacket, TheRawRequestCarriesItsHeaderTickAndFDataUnderAValidChecksum) {
  const Bytes packet = BuildRawEchoRequest(3, 0x1234, kOurs, 0x01020304);
  ASSERT_EQ(packet.size(), 15u);
  EXPECT_EQ(Bytes(packet.begin(), packet.begin() + 2), (Bytes{8, 0}));
  EXPECT_EQ(Bytes(packet.begin() + 4, packet.end()), (Bytes{0xBE, 0xEF, 0x12, 0x34, 1, 2, 3, 4, 'F', 'F', 'F'}));
  EXPECT_EQ(InternetChecksum(packet), 0) << "a message with its checksum in place sums to zero";
  Bytes zeroed = packet;
  zeroed[2] = zeroed[3] = 0;
  EXPECT_EQ(packet[2] << 8 | packet[3], InternetChecksum(zeroed));

  const Bytes largest = BuildRawEchoRequest(65535, 1, kOurs, 0);
  EXPECT_EQ(largest.size(), 65500u + 12);
  EXPECT_EQ(largest.back(), 'F');
  EXPECT_EQ(InternetChecksum(largest), 0);

  EXPECT_EQ(InternetChecksum(Bytes{0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7}),
            static_cast<std::uint16_t>(~0xDDF2))
      << "the example of RFC 1071";
  EXPECT_EQ(InternetChecksum(Bytes{0x12, 0x34, 0x56}), static_cast<std::uint16_t>(~(0x1234 + 0x5600)))
      << "an odd last byte is padded";
}

TEST(IcmpEchoPacket, OnlyOurEchoReplyCounts) {
  // The answer's data is a view into the packet.
  const Bytes packet = FromPeer(EchoReply(kOurs, 9));
  const EchoAnswer ours = DecodeEchoAnswer(packet, Ours(9));
  EXPECT_EQ(ours.kind, EchoAnswerKind::EchoReply);
  EXPECT_EQ(Bytes(ours.data.begin(), ours.data.end()), (Bytes{0, 0, 0, 7, 'F', 'F', 'F', 'F'}));

  EXPECT_EQ(DecodeEchoAnswer(FromPeer(EchoReply(kOurs + 1, 9)), Ours(9)).kind, EchoAnswerKind::NotOurs)
      << "another program's reply";
  EXPECT_EQ(DecodeEchoAnswer(FromPeer(EchoReply(kOurs, 8)), Ours(9)).kind, EchoAnswerKind::NotOurs)
      << "an earlier try's reply";
  EXPECT_EQ(DecodeEchoAnswer(FromPeer(BuildRawEchoRequest(4, 9, kOurs, 0)), Ours(9)).kind, EchoAnswerKind::NotOurs)
      << "our own request, seen on loopback";
  EchoExpectation elsewhere = Ours(9);
  elsewhere.peer = 0x01020304;
  EXPECT_EQ(DecodeEchoAnswer(FromPeer(EchoReply(kOurs, 9)), elsewhere).kind, EchoAnswerKind::NotOurs);
}

TEST(IcmpEchoPacket, TooFewBytesAreCountedFromTheIpHeaderLength) {
  Bytes packet = FromPeer(EchoReply(kOurs, 9));
  packet.resize(20 + 11);
  EXPECT_EQ(DecodeEchoAnswer(packet, Ours(9)).kind, EchoAnswerKind::TooShort);
  packet = FromPeer(EchoReply(kOurs, 9));
  packet[0] = 0x4F;  // 60 header bytes
  EXPECT_EQ(DecodeEchoAnswer(packet, Ours(9)).kind, EchoAnswerKind::TooShort);
  EXPECT_EQ(DecodeEchoAnswer(Bytes{}, Ours(9)).kind, EchoAnswerKind::TooShort);
  packet = FromPeer(EchoReply(kOurs + 1, 9));
  packet.resize(20 + 8);
  EXPECT_EQ(DecodeEchoAnswer(packet, Ours(9)).kind, EchoAnswerKind::NotOurs) << "another program's short reply";
}

TEST(IcmpEchoPacket, AnErrorIsOursOnlyWhenItQuotesOurRequest) {
  const EchoAnswer unreachable =
      DecodeEchoAnswer(FromPeer(ErrorQuoting(3, 1, BuildRawEchoRequest(4, 9, kOurs, 0))), Ours(9));
  EXPECT_EQ(unreachable.kind, EchoAnswerKind::IcmpError);
  EXPECT_EQ(unreachable.type, 3);
  EXPECT_EQ(unreachable.code, 1);
  EXPECT_EQ(DecodeEchoAnswer(FromPeer(ErrorQuoting(11, 0, BuildRawEchoRequest(4, 9, kOurs + 1, 0))), Ours(9)).kind,
            EchoAnswerKind::NotOurs);
  Bytes cut = FromPeer(ErrorQuoting(3, 1, BuildRawEchoRequest(4, 9, kOurs, 0)));
  cut.resize(cut.size() - 4);
  EXPECT_EQ(DecodeEchoAnswer(cut, Ours(9)).kind, EchoAnswerKind::NotOurs) << "a quote too short to tell";
}

TEST(IcmpErrorStatus, IcmpErrorsAndLocalRefusalsReadAsTheStatusesTheViewKnows) {
  struct Case {
    std::uint8_t type, code;
    std::uint32_t status;
  };
  for (const Case c : {Case{3, 0, 11002}, Case{3, 1, 11003}, Case{3, 2, 11004}, Case{3, 3, 11005}, Case{3, 4, 11009},
                       Case{3, 13, 11050}, Case{11, 0, 11013}, Case{11, 1, 11014}, Case{12, 0, 11015},
                       Case{4, 0, 11016}, Case{5, 1, 11050}})
    EXPECT_EQ(IcmpErrorStatus(c.type, c.code), c.status) << int(c.type) << "/" << int(c.code);
  EXPECT_EQ(LocalErrorStatus(ENETUNREACH), 11002u);
  EXPECT_EQ(LocalErrorStatus(EHOSTUNREACH), 11003u);
  EXPECT_EQ(LocalErrorStatus(EMSGSIZE), 11009u);
  EXPECT_EQ(LocalErrorStatus(EACCES), 11050u);
}

}  // namespace
}  // namespace quenderlink
