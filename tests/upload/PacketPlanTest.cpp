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
  EXPECT_EQ(MaximumPayload(0), 1000u);
  EXPECT_EQ(MaximumPayload(139), 1000u);  // 99 is below the smallest payload
  EXPECT_EQ(MaximumPayload(140), 100u);
  EXPECT_EQ(MaximumPayload(141), 100u);
  EXPECT_EQ(MaximumPayload(1200), 1160u);
  EXPECT_EQ(MaximumPayload(1041), 1000u);
  EXPECT_EQ(MaximumPayload(1410), 1370u);
  EXPECT_EQ(MaximumPayload(1500), 1370u);
  EXPECT_EQ(MaximumPayload(65535), 1370u);
}

TEST(PacketPlan, UsedEndIsTheEndOfTheBlockHoldingTheLastWordThatIsNeitherErasedNorZeroed) {
  Bytes image = Program(4096);
  EXPECT_EQ(UsedEnd(image, 0), 4096u);
  image.resize(4100, 0xFF);
  EXPECT_EQ(UsedEnd(image, 4096), 4096u);
  image[4097] = 0;  // a word mixing 0 and 0xFF is used
  EXPECT_EQ(UsedEnd(image, 4096), 8192u);
  EXPECT_EQ(UsedEnd(image, 1000), 5000u);
}

TEST(PacketPlan, WordsAreCountedBackFromTheFileEnd) {
  // 6 bytes: the word at 2..5 is zero, the piece left at the front is used.
  const Bytes image{7, 0, 0, 0, 0, 0};
  EXPECT_EQ(UsedEnd(image, 16), 16u);
  // The last word is 5..8, whose last byte lies in the third block of 4;
  // words aligned from the front would end the used part at byte 7.
  const Bytes shifted{1, 0, 0, 0, 0, 9, 0, 0, 0};
  EXPECT_EQ(UsedEnd(shifted, 4), 12u);
}

TEST(PacketPlan, AFileOfOnlyErasedOrZeroedWordsHasNoUsedEnd) {
  EXPECT_FALSE(UsedEnd(Bytes(4096, 0xFF), 0));
  EXPECT_FALSE(UsedEnd(Bytes(10, 0), 0));
  Bytes mixed(16, 0);
  std::fill(mixed.begin() + 4, mixed.begin() + 8, 0xFF);
  EXPECT_FALSE(UsedEnd(mixed, 0));
  EXPECT_FALSE(UsedEnd(Bytes{}, 0));
}

TEST(PacketPlan, PacketsAreTheMaximumPayloadWithinTheFirstBlock) {
  EXPECT_EQ(MakePacketPlan(Program(2500), 1024, 4096), (PacketPlan{984, 3}));
  EXPECT_EQ(MakePacketPlan(Program(300), 1024, 4096), (PacketPlan{300, 1}));
  EXPECT_EQ(MakePacketPlan(Program(5000), 0, 4096), (PacketPlan{1000, 5}));
}

TEST(PacketPlan, APayloadReachingPastTheFirstBlockBoundaryBecomesTheBlockSize) {
  EXPECT_EQ(MakePacketPlan(Program(5000), 1500, 512), (PacketPlan{512, 10}));
  EXPECT_EQ(MakePacketPlan(Program(5000), 1500, 1370), (PacketPlan{1370, 4}));
}

TEST(PacketPlan, BlockSizeZeroStandsFor4096) {
  EXPECT_EQ(MakePacketPlan(Program(5000), 1500, 0), (PacketPlan{1370, 4}));
}

TEST(PacketPlan, AFileWhoseUsedPartIsSmallerThanAPacketIsStillSentWhole) {
  Bytes image(3000, 0xFF);
  image[0] = 0x12;
  EXPECT_EQ(MakePacketPlan(image, 1040, 0), (PacketPlan{1000, 3}));
}

}  // namespace
}  // namespace quenderlink
