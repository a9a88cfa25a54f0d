#include "net/IcmpEchoPacket.h"

#include <unistd.h>

#include <cstring>

namespace quenderlink {

namespace {

constexpr std::size_t kIpv4HeaderMinimum = 20;

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

void WriteU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value >> 8);
  bytes[at + 1] = static_cast<std::uint8_t>(value);
}

std::uint32_t ReadAddress(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint32_t address = 0;
  std::memcpy(&address, bytes.data() + at, sizeof address);
  return address;
}

std::size_t IpHeaderBytes(std::span<const std::uint8_t> bytes) { return static_cast<std::size_t>(bytes[0] & 0x0F) * 4; }

bool IsOurRequest(std::span<const std::uint8_t> icmp, const EchoExpectation& expected) {
  return icmp[0] == kIcmpEchoRequest && (!expected.checkIdentifier || ReadU16(icmp, 4) == expected.identifier) &&
         ReadU16(icmp, 6) == expected.sequence;
}

// An error quotes the IP header and the first 8 bytes of the packet it is about.
bool QuotesOurRequest(std::span<const std::uint8_t> icmp, const EchoExpectation& expected) {
  const std::span<const std::uint8_t> quoted = icmp.subspan(kIcmpHeaderBytes);
  if (quoted.size() < kIpv4HeaderMinimum) return false;
  const std::size_t quotedIpBytes = IpHeaderBytes(quoted);
  if (quotedIpBytes < kIpv4HeaderMinimum || quoted.size() < quotedIpBytes + kIcmpHeaderBytes) return false;
  if (expected.peer != 0 && ReadAddress(quoted, 16) != expected.peer) return false;
  return IsOurRequest(quoted.subspan(quotedIpBytes), expected);
}

}  // namespace

std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0;
  std::size_t at = 0;
  for (; at + 1 < bytes.size(); at += 2) sum += ReadU16(bytes, at);
  if (at < bytes.size()) sum += static_cast<std::uint32_t>(bytes[at]) << 8;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

std::uint16_t ProcessIcmpIdentifier() { return static_cast<std::uint16_t>(::getpid() & 0xFFFF); }

std::vector<std::uint8_t> BuildEchoRequest(std::size_t dataSize, std::uint8_t fill, std::uint16_t sequence,
                                           std::uint16_t identifier) {
  std::vector<std::uint8_t> packet(kIcmpHeaderBytes + dataSize, fill);
  packet[0] = kIcmpEchoRequest;
  packet[1] = 0;
  WriteU16(packet, 2, 0);
  WriteU16(packet, 4, identifier);
  WriteU16(packet, 6, sequence);
  WriteU16(packet, 2, InternetChecksum(packet));
  return packet;
}

std::vector<std::uint8_t> BuildRawEchoRequest(std::size_t dataSize, std::uint16_t sequence, std::uint16_t identifier,
                                              std::uint32_t tick) {
  const std::size_t capped = dataSize < kMaxRawEchoData ? dataSize : kMaxRawEchoData;
  std::vector<std::uint8_t> packet(kIcmpHeaderBytes + 4 + capped, 'F');
  packet[0] = kIcmpEchoRequest;
  packet[1] = 0;
  WriteU16(packet, 2, 0);
  WriteU16(packet, 4, identifier);
  WriteU16(packet, 6, sequence);
  WriteU16(packet, 8, static_cast<std::uint16_t>(tick >> 16));
  WriteU16(packet, 10, static_cast<std::uint16_t>(tick));
  WriteU16(packet, 2, InternetChecksum(packet));
  return packet;
}

EchoAnswer DecodeEchoAnswer(std::span<const std::uint8_t> received, const EchoExpectation& expected) {
  EchoAnswer answer;
  std::size_t ipBytes = 0;
  if (expected.withIpHeader) {
    if (received.empty()) {
      answer.kind = EchoAnswerKind::TooShort;
      return answer;
    }
    ipBytes = IpHeaderBytes(received);
  }
  if (received.size() < ipBytes + kIcmpHeaderBytes) {
    answer.kind = EchoAnswerKind::TooShort;
    return answer;
  }
  const std::span<const std::uint8_t> icmp = received.subspan(ipBytes);
  answer.type = icmp[0];
  answer.code = icmp[1];
  if (icmp[0] == kIcmpEchoRequest) return answer;
  if (icmp[0] == kIcmpEchoReply) {
    const bool fromPeer = !expected.withIpHeader || expected.peer == 0 || ReadAddress(received, 12) == expected.peer;
    const bool ours = (!expected.checkIdentifier || ReadU16(icmp, 4) == expected.identifier) &&
                      ReadU16(icmp, 6) == expected.sequence && fromPeer;
    // A raw socket sees every echo reply on the machine: only a short one of
    // ours is worth telling, another program's is passed over.
    if (!ours) return answer;
    if (icmp.size() < expected.minimumIcmpBytes) {
      answer.kind = EchoAnswerKind::TooShort;
      return answer;
    }
    answer.kind = EchoAnswerKind::EchoReply;
    answer.data = icmp.subspan(kIcmpHeaderBytes);
    return answer;
  }
  if (QuotesOurRequest(icmp, expected)) answer.kind = EchoAnswerKind::IcmpError;
  return answer;
}

}  // namespace quenderlink
