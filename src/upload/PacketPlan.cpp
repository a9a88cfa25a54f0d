#include "upload/PacketPlan.h"

#include <algorithm>
#include <cstdint>

namespace quenderlink {

namespace {

constexpr std::int64_t kHeaderAllowance = 40;
constexpr std::int64_t kLargestPayload = 1370;
constexpr std::int64_t kSmallestPayload = 100;
// A unit announcing less than the smallest payload gets this, not the smallest.
constexpr std::int64_t kFallbackPayload = 1000;
constexpr std::uint32_t kDefaultBlockSize = 4096;
constexpr std::size_t kWordSize = 4;

bool IsFiller(std::span<const std::uint8_t> word) {
  return std::all_of(word.begin(), word.end(), [](std::uint8_t b) { return b == 0; }) ||
         std::all_of(word.begin(), word.end(), [](std::uint8_t b) { return b == 0xFF; });
}

}  // namespace

std::uint32_t MaximumPayload(std::uint32_t maxDatagram) {
  std::int64_t payload = static_cast<std::int64_t>(maxDatagram) - kHeaderAllowance;
  if (payload > kLargestPayload) payload = kLargestPayload;
  if (payload < kSmallestPayload) payload = kFallbackPayload;
  return static_cast<std::uint32_t>(payload & ~std::int64_t{1});
}

std::optional<std::uint32_t> UsedEnd(std::span<const std::uint8_t> image, std::uint32_t blockSize) {
  if (blockSize == 0) blockSize = kDefaultBlockSize;
  // Words end at the file's last byte; a shorter piece may be left at the front.
  std::size_t end = image.size();
  while (end > 0) {
    const std::size_t begin = end >= kWordSize ? end - kWordSize : 0;
    if (!IsFiller(image.subspan(begin, end - begin))) {
      const std::uint64_t lastByte = end - 1;
      return static_cast<std::uint32_t>((lastByte / blockSize + 1) * blockSize);
    }
    end = begin;
  }
  return std::nullopt;
}

PacketPlan MakePacketPlan(std::span<const std::uint8_t> image, std::uint32_t maxDatagram, std::uint32_t blockSize) {
  if (blockSize == 0) blockSize = kDefaultBlockSize;
  const auto fileLength = static_cast<std::uint32_t>(image.size());
  const std::uint32_t maximum = MaximumPayload(maxDatagram);
  PacketPlan plan;
  plan.packetSize = std::min(fileLength, maximum);
  if (maximum > blockSize) plan.packetSize = blockSize;
  const std::uint32_t usedEnd = UsedEnd(image, blockSize).value_or(fileLength);
  if (usedEnd < plan.packetSize) plan.packetSize = usedEnd;
  if (plan.packetSize != 0)
    plan.totalPackets = static_cast<std::uint32_t>((std::uint64_t{fileLength} + plan.packetSize - 1) / plan.packetSize);
  return plan;
}

}  // namespace quenderlink
