#include "cli/RowList.h"

#include <gtest/gtest.h>

#include "support/TestSite.h"

namespace quenderlink::cli {
namespace {

using Rows = std::set<std::uint16_t>;

TEST(RowList, TakesNumbersAndRangesAndRefusesAnythingElse) {
  EXPECT_EQ(ParseRowList("1,3-5,4"), (Rows{1, 3, 4, 5}));
  EXPECT_EQ(ParseRowList("65534"), (Rows{65534}));
  for (const char* refused : {"", "0", "65535", "5-3", "1,,2", "1-", "-2", "a", "1 ", "2-x"})
    EXPECT_FALSE(ParseRowList(refused).has_value()) << refused;
}

TEST(RowList, MarksTheChosenRowsOnlyAndRefusesARowPastTheListWithoutTouchingIt) {
  SiteTable table;
  table.Replace({testing::TestSite({.row = 1, .flags = 0x40}), testing::TestSite({.row = 2}),
                 testing::TestSite({.row = 3})});
  ASSERT_TRUE(MarkRows(table, Rows{2, 3}, 0x01));
  EXPECT_EQ((std::vector<int>{table[0].SiteFlags, table[1].SiteFlags, table[2].SiteFlags}),
            (std::vector<int>{0, 1, 1}));
  ASSERT_TRUE(MarkRows(table, std::nullopt, 0x02));
  EXPECT_EQ((std::vector<int>{table[0].SiteFlags, table[1].SiteFlags, table[2].SiteFlags}),
            (std::vector<int>{2, 2, 2}));

  const Result refused = MarkRows(table, Rows{1, 4}, 0x01);
  EXPECT_FALSE(refused);
  EXPECT_EQ(refused.reason(), "row 4 is not in the list (rows 1 to 3)");
  EXPECT_EQ(table[0].SiteFlags, 2) << "a refused choice leaves the flags alone";
}

}  // namespace
}  // namespace quenderlink::cli
