#include "core/CsvField.h"

#include <gtest/gtest.h>

namespace quenderlink {
namespace {

TEST(CsvField, QuotesOnlyTextsThatWouldSplitOrEndTheField) {
  EXPECT_EQ(CsvField(""), "");
  EXPECT_EQ(CsvField("North Yard 12.5"), "North Yard 12.5");
  EXPECT_EQ(CsvField("YARD, EAST"), "\"YARD, EAST\"");
  EXPECT_EQ(CsvField("6\" GAUGE"), "\"6\"\" GAUGE\"");
  EXPECT_EQ(CsvField("\"A\",B"), "\"\"\"A\"\",B\"");
  EXPECT_EQ(CsvField("TWO\r\nLINES"), "\"TWO\r\nLINES\"");
}

}  // namespace
}  // namespace quenderlink
