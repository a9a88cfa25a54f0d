#include "core/SiteListLoader.h"

#include <gtest/gtest.h>

#include "SiteFileBytes.h"
#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

using testing::HeaderBytes;
using testing::RecordBytes;
using testing::TempDir;
using testing::WriteFileBytes;

SiteTable TableOfOne(const char* name) {
  SiteTable table;
  SiteRecord record = NewSiteRecord(9001);
  SetFieldText(record.SiteName, name);
  table.Replace({record});
  return table;
}

// Row numbers, the telnet port default and the file check's refusals are pinned by the
// site list file's tests; here is what the load adds.
TEST(SiteListLoaderTest, LoadReplacesTheTableInFileOrderAndIgnoresAPartialRecord) {
  TempDir dir;
  const auto path = (dir / "sites.bin").string();
  const std::string partial = RecordBytes("C", 9, 0).substr(0, 142);
  WriteFileBytes(path, HeaderBytes() + RecordBytes("A", 9, 0) + RecordBytes("B", 9, 0) + partial);
  SiteTable table = TableOfOne("previous");
  ASSERT_EQ(LoadSiteTable(path, table, 2323), 0);
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(FieldText(table[1].SiteName), "B");
  EXPECT_EQ(table[0].TelnetPort, 2323);
}

TEST(SiteListLoaderTest, FailedLoadLeavesTheTableAsItWas) {
  TempDir dir;
  SiteTable table = TableOfOne("kept");
  EXPECT_EQ(LoadSiteTable("a.bi", table, 10001), kSiteListNoPath);
  EXPECT_EQ(LoadSiteTable((dir / "missing.bin").string(), table, 10001), kSiteFileOpenFailed);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(FieldText(table[0].SiteName), "kept");
}

}  // namespace
}  // namespace quenderlink
