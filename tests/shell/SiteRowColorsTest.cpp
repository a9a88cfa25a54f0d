#include "shell/SiteRowColors.h"

#include <gtest/gtest.h>

#include "core/Lookups.h"
#include "core/SiteRecord.h"

namespace quenderlink {
namespace {

// Every colour different, so a swapped entry shows.
constexpr DeviceColors kColors{.textCadmarin = 0x01, .backCadmarin = 0x02, .textRkm = 0x03,
                               .backRkm = 0x04,      .textZenthi = 0x05,   .backZenthi = 0x06};
constexpr CellColors kUnknown{0x000080, 0xFFFFFF};
constexpr CellColors kRkm{0x03, 0x04};
constexpr CellColors kCadmarin{0x01, 0x02};
constexpr CellColors kZenthi{0x05, 0x06};

TEST(SiteRowColors, WritingAndRecolouringUseDifferentTablesForTypes4And6) {
  const CellColors written[] = {kUnknown, kRkm, kCadmarin, kZenthi, {0x05, 0x04}, kUnknown, kCadmarin, kUnknown};
  const CellColors recoloured[] = {kUnknown, kRkm, kCadmarin, kZenthi, kRkm, kUnknown, kUnknown, kUnknown};
  for (std::uint8_t type = 0; type < 8; ++type) {
    EXPECT_EQ(RowColors(type, kColors), written[type]) << int{type};
    EXPECT_EQ(RecolourRowColors(type, kColors), recoloured[type]) << int{type};
  }
}

TEST(SiteRowColors, LastPingCellHasItsOwnColoursUnlessRecolouredAsRkm) {
  const CellColors failed{0xFFFFFF, 0x000080};
  const CellColors answered{0x000000, 0xFFFFFF};
  EXPECT_EQ(LastPingCellColors(kLastPingNever), std::nullopt);
  EXPECT_EQ(LastPingCellColors(1), answered);
  EXPECT_EQ(LastPingCellColors(252), answered);
  EXPECT_EQ(LastPingCellColors(kLastPingBadAddress), failed);

  EXPECT_EQ(LastPingCellPaint(WrittenRowPaint(kProductRkm, kColors), kLastPingNoAnswer), failed);
  EXPECT_EQ(LastPingCellPaint(WrittenRowPaint(kProductRkm, kColors), kLastPingNever), kRkm);
  EXPECT_EQ(LastPingCellPaint(RecolouredRowPaint(kProductRkm, kColors), kLastPingNoAnswer), kRkm);
  EXPECT_EQ(LastPingCellPaint(RecolouredRowPaint(kProductRkmMicro, kColors), kLastPingNoAnswer), failed);
}

}  // namespace
}  // namespace quenderlink
