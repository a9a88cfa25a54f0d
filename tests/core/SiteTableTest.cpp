#include "core/SiteTable.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/FixedText.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::TestSite;

TEST(SiteTableTest, FindsRecordsByRowAndByExactAddressAndPort) {
  SiteTable table;
  table.Replace({TestSite({.address = "10.0.0.11", .row = 1}),
                 TestSite({.address = "10.0.0.1", .port = 9002, .row = 2}),
                 TestSite({.address = "10.0.0.1", .row = 3})});
  ASSERT_NE(table.FindByRow(2), nullptr);
  EXPECT_EQ(FieldText(table.FindByRow(2)->IpByNumber), "10.0.0.1");
  EXPECT_EQ(table.FindByRow(4), nullptr);
  EXPECT_EQ(table.FindByAddress("10.0.0.1", 9001), 3);
  EXPECT_EQ(table.FindByAddress("10.0.0.1", 9002), 2);
  EXPECT_EQ(table.FindByAddress("10.0.0.11", 9001), 1);
  EXPECT_EQ(table.FindByAddress("10.0.0.", 9001), kNoRow);
}

TEST(SiteTableTest, HighlightedRecordsGiveTheRowAndWhetherTheyShareOneKnownProduct) {
  SiteTable table;
  table.Replace({TestSite({.address = "a", .row = 1, .flags = kFlagMarked}),
                 TestSite({.address = "b", .row = 2, .flags = kFlagHighlighted}),
                 TestSite({.address = "c", .row = 3, .flags = kFlagHighlighted})});
  EXPECT_EQ(table.HighlightedRow(), 2);
  table.ClearFlags();
  EXPECT_EQ(table.HighlightedRow(), kNoRow);

  const std::pair<std::vector<std::uint8_t>, bool> cases[] = {
      {{2, 6}, false}, {{1, 7}, true}, {{6, 6}, true}, {{}, false}, {{0, 7}, false}};
  for (const auto& [products, single] : cases) {
    std::vector<SiteRecord> records = {TestSite({.address = "z", .row = 99, .product = 1})};
    for (std::uint8_t product : products)
      records.push_back(TestSite({.address = "a", .row = 1, .product = product, .flags = kFlagHighlighted}));
    table.Replace(std::move(records));
    EXPECT_EQ(table.SingleProductAmongHighlighted(), single) << products.size();
  }
}

}  // namespace
}  // namespace quenderlink
