#include "survey/IcmpScanSave.h"

#include <gtest/gtest.h>

#include "core/SettingsKeys.h"
#include "survey/IcmpRangeInputs.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

TEST(IcmpScanSave, BothFormatsReadTheNumbersBackFromTheColumnsAFileNotWrittenIsReportedAndTheRangeIsKept) {
  testing::TempDir folder;
  // A small finished run: one address answered three tries, one never did.
  const std::vector<IcmpRow> rows = {
      {.cnt = "1", .address = "10.0.0.1", .tries = {"10", "---", "10", "---", "10"},
       .min = "10", .max = "10", .avg = "6", .comments = "Done!"},
      {.cnt = "2", .address = "10.0.0.2", .tries = {"---", "", "", "", ""},
       .min = "", .max = "", .avg = "", .comments = "Error 11010, late"}};
  const std::vector<std::size_t> all = AllIcmpRows(rows.size());

  ASSERT_TRUE(SaveIcmpRows(folder / "scan.txt", rows, all, IcmpListFormat::Text));
  EXPECT_EQ(testing::ReadFileBytes(folder / "scan.txt"),
            ";Cnt   IP Address       |  Try_1  Try_2  Try_3  Try_4  Try_5  |    Min    Max    Avg  | Comments\n"
            "1      10.0.0.1         |     10      0     10      0     10  |     10     10      6  | Done!\n"
            "2      10.0.0.2         |      0      0      0      0      0  |      0      0      0  | "
            "Error 11010, late\n");

  const std::vector<std::size_t> ticked = {1};
  ASSERT_TRUE(SaveIcmpRows(folder / "scan.csv", rows, ticked, IcmpListFormat::Csv));
  EXPECT_EQ(testing::ReadFileBytes(folder / "scan.csv"),
            ";Cnt,IP Address,Try-1,Try-2,Try-3,Try-4,Try-5,Min,Max,Avg,Comments\n"
            "2,10.0.0.2,0,0,0,0,0,0,0,0,\"Error 11010, late\"\n");

  const auto file = folder / "missing" / "scan.txt";
  EXPECT_EQ(SaveIcmpRows(file, rows, all, IcmpListFormat::Text).reason(),
            "FAILED TO WRITE\r\n" + file.string() + "\r\n\r\nNo such file or directory");

  // The range is kept with its last number as corrected.
  IniSettingsFile ini(folder.path());
  ASSERT_TRUE(SaveIcmpRangeInputs(ini, AddressRange::FromInputs(10, 0, 0, 9, 259)));
  EXPECT_EQ(ini.ReadString(settings::kSectionPingRange, settings::kIcmpFromIpKey, ""), "10.0.0.9");
  EXPECT_EQ(ini.ReadString(settings::kSectionPingRange, settings::kIcmpEndIpKey, ""), "9");
}

}  // namespace
}  // namespace quenderlink
