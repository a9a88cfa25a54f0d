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
  EXPECT_EQ(BuildRawEchoRequest(65535, 1, kOurs, 0).size(), 65500u + 12);

  EXPECT_EQ(InternetChecksum(Bytes{0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7}),
            static_cast<std::uint16_t>(~0xDDF2))
      << "the example of RFC 1071";
  EXPECT_EQ(InternetChecksum(Bytes{0x12, 0x34, 0x56}), static_cast<std::uint16_t>(~(0x1234 + 0x5600)))
      << "an odd last byte is padded";
}

// The answer's kind, an error's type and code, and a reply's data (a view into the packet).
std::string Answer(const Bytes& packet, const EchoExpectation& expected) {
  const EchoAnswer answer = DecodeEchoAnswer(packet, expected);
  switch (answer.kind) {
    case EchoAnswerKind::TooShort: return "too short";
    case EchoAnswerKind::NotOurs: return "not ours";
    case EchoAnswerKind::EchoReply: return "reply " + std::string(answer.data.begin(), answer.data.end());
    case EchoAnswerKind::IcmpError: return "error " + std::to_string(answer.type) + "/" + std::to_string(answer.code);
  }
  return "?";
}

TEST(IcmpEchoPacket, OnlyOurEchoReplyAndErrorsQuotingOurRequestCount) {
  const auto cut = [](Bytes packet, std::size_t size) {
    packet.resize(size);
    return packet;
  };
  Bytes longHeader = FromPeer(EchoReply(kOurs, 9));
  longHeader[0] = 0x4F;  // 60 header bytes
  const Bytes quotingOurs = FromPeer(ErrorQuoting(3, 1, BuildRawEchoRequest(4, 9, kOurs, 0)));
  EchoExpectation elsewhere = Ours(9);
  elsewhere.peer = 0x01020304;
  const struct {
    const char* name;
    Bytes packet;
    EchoExpectation expected;
    std::string answer;
  } cases[] = {
      {"our reply", FromPeer(EchoReply(kOurs, 9)), Ours(9), std::string("reply \0\0\0\7FFFF", 14)},
      {"another program's reply", FromPeer(EchoReply(kOurs + 1, 9)), Ours(9), "not ours"},
      {"an earlier try's reply", FromPeer(EchoReply(kOurs, 8)), Ours(9), "not ours"},
      {"our own request, seen on loopback", FromPeer(BuildRawEchoRequest(4, 9, kOurs, 0)), Ours(9), "not ours"},
      {"a reply from another peer", FromPeer(EchoReply(kOurs, 9)), elsewhere, "not ours"},
      // Too few bytes are counted from the IP header's length.
      {"a cut reply", cut(FromPeer(EchoReply(kOurs, 9)), 20 + 11), Ours(9), "too short"},
      {"a long IP header", longHeader, Ours(9), "too short"},
      {"nothing", Bytes{}, Ours(9), "too short"},
      {"another program's short reply", cut(FromPeer(EchoReply(kOurs + 1, 9)), 20 + 8), Ours(9), "not ours"},
      {"an error quoting our request", quotingOurs, Ours(9), "error 3/1"},
      {"an error quoting another's", FromPeer(ErrorQuoting(11, 0, BuildRawEchoRequest(4, 9, kOurs + 1, 0))), Ours(9),
       "not ours"},
      {"a quote too short to tell", cut(quotingOurs, quotingOurs.size() - 4), Ours(9), "not ours"},
  };
  for (const auto& c : cases) EXPECT_EQ(Answer(c.packet, c.expected), c.answer) << c.name;
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
