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

TEST(SiteListLoaderTest, LoadReplacesTheTableNumberingRowsInFileOrderAndIgnoresAPartialRecord) {
  TempDir dir;
  const auto path = (dir / "sites.bin").string();
  WriteFileBytes(path, HeaderBytes("x" + std::string(testing::kSignatureText)) + RecordBytes("A", 65535, 0) +
                           RecordBytes("B", 65535, 10002) + RecordBytes("C", 7, 0) +
                           RecordBytes("D", 8, 0).substr(0, 142));
  SiteTable table = TableOfOne("previous");
  ASSERT_EQ(LoadSiteTable(path, table, 2323), 0);
  ASSERT_EQ(table.size(), 3u);
  const char* names[] = {"A", "B", "C"};
  const std::uint16_t ports[] = {2323, 10002, 2323};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(FieldText(table[i].SiteName), names[i]);
    EXPECT_EQ(int{table[i].RowNumber}, i + 1);
    EXPECT_EQ(int{table[i].TelnetPort}, ports[i]);
  }
}

TEST(SiteListLoaderTest, FailedLoadLeavesTheTableAsItWas) {
  TempDir dir;
  SiteTable table = TableOfOne("kept");
  EXPECT_EQ(LoadSiteTable("a.bi", table, 10001), kSiteListNoPath);
  EXPECT_EQ(LoadSiteTable((dir / "missing.bin").string(), table, 10001), kSiteFileOpenFailed);
  WriteFileBytes(dir / "blank.bin", HeaderBytes());
  EXPECT_EQ(LoadSiteTable((dir / "blank.bin").string(), table, 10001), kSiteFileTooShort);
  WriteFileBytes(dir / "foreign.bin", HeaderBytes("Brindlemar") + RecordBytes("A", 1, 0));
  EXPECT_EQ(LoadSiteTable((dir / "foreign.bin").string(), table, 10001), kSiteFileNoSignature);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(FieldText(table[0].SiteName), "kept");
}

}  // namespace
}  // namespace quenderlink
