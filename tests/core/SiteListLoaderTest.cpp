#include "core/SiteListLoader.h"

#include <gtest/gtest.h>

#include "SiteFileBytes.h"
#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::HeaderBytes;
using testing::RecordBytes;
using testing::TempDir;
using testing::WriteFileBytes;

// Row numbers, the telnet port default and the file check's refusals are pinned by the
// site list file's tests; here is what the load adds.
TEST(SiteListLoaderTest, LoadReplacesTheTableInFileOrderIgnoringAPartialRecordAndAFailedLoadKeepsIt) {
  TempDir dir;
  SiteTable table;
  table.Replace({testing::TestSite({.name = "previous"})});
  EXPECT_EQ(LoadSiteTable("a.bi", table, 10001), kSiteListNoPath);
  EXPECT_EQ(LoadSiteTable((dir / "missing.bin").string(), table, 10001), kSiteFileOpenFailed);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(FieldText(table[0].SiteName), "previous");

  const auto path = (dir / "sites.bin").string();
  const std::string partial = RecordBytes("C", 9, 0).substr(0, 142);
  WriteFileBytes(path, HeaderBytes() + RecordBytes("A", 9, 0) + RecordBytes("B", 9, 0) + partial);
  ASSERT_EQ(LoadSiteTable(path, table, 2323), 0);
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(FieldText(table[1].SiteName), "B");
  EXPECT_EQ(table[0].TelnetPort, 2323);
}

}  // namespace
}  // namespace quenderlink
