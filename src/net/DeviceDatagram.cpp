#include "net/DeviceDatagram.h"

#include <algorithm>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "net/ReplyDecoders.h"

namespace quenderlink {

namespace {

constexpr std::uint32_t kDefaultBlockSize = 4096;

std::uint16_t U16At(std::span<const std::uint8_t> datagram, std::size_t offset) {
  return static_cast<std::uint16_t>(datagram[offset] | (datagram[offset + 1] << 8));
}

// The bytes the length field announces after the header, as far as they were received.
std::string_view TextBytes(std::span<const std::uint8_t> datagram, std::uint16_t textLength) {
  const std::size_t received = datagram.size() - kReplyHeaderSize;
  const auto* text = reinterpret_cast<const char*>(datagram.data()) + kReplyHeaderSize;
  return {text, std::min<std::size_t>(textLength, received)};
}

// The separators are counted over the announced text, past its NUL, and the one byte after
// it, as far as they were received.
std::size_t SeparatorCount(std::span<const std::uint8_t> datagram, std::uint16_t textLength) {
  const std::size_t received = datagram.size() - kReplyHeaderSize;
  const auto counted = datagram.subspan(kReplyHeaderSize, std::min<std::size_t>(textLength + std::size_t{1}, received));
  return static_cast<std::size_t>(std::count(counted.begin(), counted.end(), std::uint8_t{'|'}));
}

std::string_view UpToNul(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

// The second text starts two bytes after the first one ends: after its NUL and one more byte.
std::string_view SecondText(std::string_view bytes, std::size_t firstLength) {
  return UpToNul(bytes.substr(std::min(firstLength + 2, bytes.size())));
}

// Units that send no tag are told apart by their version numbers.
void ApplyProductFallback(DeviceReply& reply) {
  if (reply.ProductType != 0) return;
  if (reply.VersionMajor == 0 && reply.VersionMinor > 7) reply.ProductType = kProductCad1;
  if (reply.VersionMajor == 3 && reply.VersionMinor > 90) reply.ProductType = kProductRkm;
}

}  // namespace

ShortCommand BuildShortCommand(std::uint8_t commandCode) { return {commandCode, 0, 0, 0, 0, 0, 0, 0}; }

bool DecodeDeviceReply(std::span<const std::uint8_t> datagram, std::string_view senderAddress,
                       std::uint16_t senderPort, unsigned railroadCode, DeviceReply& reply,
                       bool requireFourSeparators) {
  if (datagram.size() < kReplyHeaderSize) return false;
  const std::uint16_t textLength = U16At(datagram, 2);
  if (textLength == 0) return false;
  const std::string_view bytes = TextBytes(datagram, textLength);
  const std::string_view text = UpToNul(bytes);
  if (requireFourSeparators && SeparatorCount(datagram, textLength) < 4) return false;

  reply = DeviceReply{};
  reply.Powerup = 1;
  reply.ReplyPort = senderPort;
  SetFieldText(reply.IpText, senderAddress);
  if (!DecodeIdentificationText(text, railroadCode, reply)) return false;

  reply.MaxDatagram = U16At(datagram, 4);
  const std::uint16_t blockSize = U16At(datagram, 6);
  reply.BlockSize = blockSize != 0 ? blockSize : kDefaultBlockSize;
  if (textLength > text.size() + 1) SetFieldText(reply.ExtraText, SecondText(bytes, text.size()));
  reply.ProgramKind = datagram[1];
  ApplyProductFallback(reply);
  return true;
}

}  // namespace quenderlink
