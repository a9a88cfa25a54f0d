#include <gtest/gtest.h>

#include <vector>

#include "upload/PacketPlan.h"

namespace quenderlink {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Program(std::size_t size) {
  Bytes image(size);
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>(i % 250 + 1);
  return image;
}

TEST(PacketPlan, MaximumPayloadKeepsRoomForHeadersWithinLimitsAndIsEven) {
  // Below a 100-byte payload a unit gets 1000; 141 and 1041 leave odd payloads.
  const std::pair<std::uint32_t, std::uint32_t> cases[] = {{0, 1000},    {139, 1000},  {140, 100},   {141, 100},
                                                           {1041, 1000}, {1200, 1160}, {1410, 1370}, {65535, 1370}};
  for (const auto& [maxDatagram, payload] : cases) EXPECT_EQ(MaximumPayload(maxDatagram), payload) << maxDatagram;
}

TEST(PacketPlan, UsedEndIsTheEndOfTheBlockHoldingTheLastWordThatIsNeitherErasedNorZeroedIfThereIsOne) {
  Bytes image = Program(4096);
  EXPECT_EQ(UsedEnd(image, 0), 4096u);
  image.resize(4100, 0xFF);
  EXPECT_EQ(UsedEnd(image, 4096), 4096u);
  image[4097] = 0;  // a word mixing 0 and 0xFF is used
  EXPECT_EQ(UsedEnd(image, 4096), 8192u);
  EXPECT_EQ(UsedEnd(image, 1000), 5000u);

  // Words are counted back from the file's end. Here the word at 2..5 is zero and
  // the piece left at the front is used.
  EXPECT_EQ(UsedEnd(Bytes{7, 0, 0, 0, 0, 0}, 16), 16u);
  // The last word is 5..8, ending in the third block of 4; words aligned from the
  // front would end the used part at byte 7.
  EXPECT_EQ(UsedEnd(Bytes{1, 0, 0, 0, 0, 9, 0, 0, 0}, 4), 12u);

  // A file of only erased or zeroed words has none.
  Bytes mixed(16, 0);
  std::fill(mixed.begin() + 4, mixed.begin() + 8, 0xFF);
  for (const Bytes& image : {Bytes(4096, 0xFF), Bytes(10, 0), mixed, Bytes{}}) EXPECT_FALSE(UsedEnd(image, 0));
}

TEST(PacketPlan, PacketsAreTheMaximumPayloadCutToTheFileAndTheBlockSize) {
  Bytes oneUsedByte(3000, 0xFF);
  oneUsedByte[0] = 0x12;
  struct Case {
    const char* name;
    Bytes image;
    std::uint32_t maxDatagram, blockSize;
    PacketPlan plan;
  };
  const Case cases[] = {
      {"the maximum payload", Program(2500), 1024, 4096, {984, 3}},
      {"a file shorter than a packet", Program(300), 1024, 4096, {300, 1}},
      {"a unit announcing nothing", Program(5000), 0, 4096, {1000, 5}},
      {"a payload past the block size", Program(5000), 1500, 512, {512, 10}},
      {"a payload filling the block", Program(5000), 1500, 1370, {1370, 4}},
      {"block size 0 standing for 4096", Program(5000), 1500, 0, {1370, 4}},
      {"a used part shorter than a packet, still sent whole", oneUsedByte, 1040, 0, {1000, 3}},
  };
  for (const Case& c : cases) EXPECT_EQ(MakePacketPlan(c.image, c.maxDatagram, c.blockSize), c.plan) << c.name;
}

}  // namespace
}  // namespace quenderlink
