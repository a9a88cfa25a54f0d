#include "shell/SiteListExport.h"

#include <gtest/gtest.h>

#include "core/FixedText.h"
#include "support/CsvSplit.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

SiteRecord SampleSite(std::uint16_t rowNumber, std::uint8_t lastPing) {
  SiteRecord record = NewSiteRecord(9001);
  SetFieldText(record.HostText, "10.0.0.1");
  SetFieldText(record.SiteName, "North Yard");
  SetFieldText(record.Milepost, "12.5");
  SetFieldText(record.CommVersion, "C1.2");
  SetFieldText(record.ReaderVersion, "R4");
  SetFieldText(record.SpeechVersion, "S9");
  record.TrackIndex = 2;
  record.VersionMajor = 3;
  record.VersionMinor = 7;
  record.LastPing = lastPing;
  record.RowNumber = rowNumber;
  return record;
}

SiteTable SampleTable() {
  SiteTable table;
  table.Replace({SampleSite(7, 23), SampleSite(kNoRow, kLastPingNoAnswer)});
  return table;
}

TEST(SiteListExport, TextListingHasHeaderRuleAndPaddedColumnsWithRunningCount) {
  const std::string expected =
      "Cnt  IP Address                Port   Name                   Milepost      Track       Version   "
      "QZ_Comm     QZ_Rdr      QZ_Spch     LastPing  \n"
      ";" + std::string(147, '=') + "\n"
      "   1 10.0.0.1                  9001   North Yard             12.5          South Track  3.7      "
      "C1.2        R4          S9          2.3 sec   \n"
      "   2 10.0.0.1                  9001   North Yard             12.5          South Track  3.7      "
      "C1.2        R4          S9          Ping Failed\n";
  EXPECT_EQ(FormatSiteListExport(SampleTable(), SiteListExportFormat::Text), expected);
}

TEST(SiteListExport, CsvFileHasHeaderAndOneLinePerRecordAndAnUnwritablePathLeavesNoFile) {
  testing::TempDir folder;
  ASSERT_TRUE(ExportSiteList(SampleTable(), SiteListExportFormat::Csv, folder / "list.csv"));
  EXPECT_EQ(testing::ReadFileBytes(folder / "list.csv"),
            "Cnt,IP Address,Port,Name,Milepost,Track,Version,QZ_Comm,QZ_Rdr,QZ_Spch,LastPing\n"
            "1,10.0.0.1,9001,North Yard,12.5,South Track,3.7,C1.2,R4,S9,2.3 sec\n"
            "2,10.0.0.1,9001,North Yard,12.5,South Track,3.7,C1.2,R4,S9,Ping Failed\n");
  EXPECT_FALSE(ExportSiteList(SampleTable(), SiteListExportFormat::Csv, folder / "missing" / "list.csv"));

  // A text that fills its field is read without running past it.
  SiteRecord record = SampleSite(1, 0);
  std::memset(record.SpeechVersion, 'Z', sizeof record.SpeechVersion);
  SiteTable table;
  table.Replace({record});
  EXPECT_NE(FormatSiteListExport(table, SiteListExportFormat::Csv).find(",ZZZZZZZZZ,????\n"), std::string::npos);
}

TEST(SiteListExport, CsvKeepsATextWithCommasAndQuotesInOneField) {
  SiteRecord record = SampleSite(1, 23);
  SetFieldText(record.SiteName, "YARD, \"EAST\"");
  SiteTable table;
  table.Replace({record});
  std::string listing = FormatSiteListExport(table, SiteListExportFormat::Csv);
  listing.pop_back();  // the last line's end
  EXPECT_EQ(testing::SplitCsvLine(listing.substr(listing.rfind('\n') + 1)),
            (std::vector<std::string>{"1", "10.0.0.1", "9001", "YARD, \"EAST\"", "12.5", "South Track", "3.7", "C1.2",
                                      "R4", "S9", "2.3 sec"}));
}

}  // namespace
}  // namespace quenderlink
