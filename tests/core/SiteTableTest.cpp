#include "core/SiteTable.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/FixedText.h"

namespace quenderlink {
namespace {

SiteRecord Site(std::uint16_t row, const char* ip, std::uint16_t port = 9001, std::uint8_t product = 0,
                std::uint8_t flags = 0) {
  SiteRecord record = NewSiteRecord(port);
  record.RowNumber = row;
  SetFieldText(record.IpByNumber, ip);
  record.ProductType = product;
  record.SiteFlags = flags;
  return record;
}

TEST(SiteTableTest, FindsRecordsByRowAndByExactAddressAndPortAndHidesDeletedRows) {
  SiteTable table;
  table.Replace({Site(1, "10.0.0.11"), Site(2, "10.0.0.1", 9002), Site(3, "10.0.0.1")});
  ASSERT_NE(table.FindByRow(2), nullptr);
  EXPECT_EQ(FieldText(table.FindByRow(2)->IpByNumber), "10.0.0.1");
  EXPECT_EQ(table.FindByRow(4), nullptr);
  EXPECT_EQ(table.FindByAddress("10.0.0.1", 9001), 3);
  EXPECT_EQ(table.FindByAddress("10.0.0.1", 9002), 2);
  EXPECT_EQ(table.FindByAddress("10.0.0.11", 9001), 1);
  EXPECT_EQ(table.FindByAddress("10.0.0.", 9001), kNoRow);

  EXPECT_TRUE(table.MarkDeleted(2));
  EXPECT_EQ(int{table[1].RowNumber}, kNoRow);
  EXPECT_EQ(table.FindByRow(2), nullptr);
  EXPECT_FALSE(table.MarkDeleted(7));
}

TEST(SiteTableTest, HighlightedRecordsGiveTheRowAndWhetherTheyShareOneKnownProduct) {
  SiteTable table;
  table.Replace({Site(1, "a", 9001, 0, kFlagMarked), Site(2, "b", 9001, 0, kFlagHighlighted),
                 Site(3, "c", 9001, 0, kFlagHighlighted)});
  EXPECT_EQ(table.HighlightedRow(), 2);
  table.ClearFlags();
  EXPECT_EQ(table.HighlightedRow(), kNoRow);

  const std::pair<std::vector<std::uint8_t>, bool> cases[] = {
      {{2, 6}, false}, {{1, 7}, true}, {{6, 6}, true}, {{}, false}, {{0, 7}, false}};
  for (const auto& [products, single] : cases) {
    std::vector<SiteRecord> records = {Site(99, "z", 9001, 1, 0)};
    for (std::uint8_t product : products) records.push_back(Site(1, "a", 9001, product, kFlagHighlighted));
    table.Replace(std::move(records));
    EXPECT_EQ(table.SingleProductAmongHighlighted(), single) << products.size();
  }
}

}  // namespace
}  // namespace quenderlink
