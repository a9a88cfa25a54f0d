#include "exchange/SiteListExport.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/FixedText.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

SiteRecord SampleSite(std::uint16_t rowNumber, std::uint8_t lastPing) {
  SiteRecord record =
      testing::TestSite({.name = "North Yard", .address = "10.0.0.1", .row = rowNumber, .lastPing = lastPing});
  SetFieldText(record.Milepost, "12.5");
  SetFieldText(record.CommVersion, "C1.2");
  SetFieldText(record.ReaderVersion, "R4");
  SetFieldText(record.SpeechVersion, "S9");
  record.TrackIndex = 2;
  record.VersionMajor = 3;
  record.VersionMinor = 7;
  return record;
}

// The first name is Windows-1252, written out in UTF-8 and padded by its
// characters; the second holds what a comma-separated field must quote; its
// speech version fills its field, with no NUL to stop a reader.
SiteTable SampleTable() {
  SiteRecord accented = SampleSite(7, 23);
  SetFieldText(accented.SiteName, "Cr\xEAte \x80 Yard");
  SiteRecord odd = SampleSite(kNoRow, kLastPingNoAnswer);
  SetFieldText(odd.SiteName, "YARD, \"EAST\"");
  std::memset(odd.SpeechVersion, 'Z', sizeof odd.SpeechVersion);
  SiteTable table;
  table.Replace({accented, odd});
  return table;
}

TEST(SiteListExport, TextListingHasHeaderRuleAndPaddedColumnsWithRunningCount) {
  const std::string expected =
      "Cnt  IP Address                Port   Name                   Milepost      Track       Version   "
      "QZ_Comm     QZ_Rdr      QZ_Spch     LastPing  \n"
      ";" + std::string(147, '=') + "\n"
      "   1 10.0.0.1                  9001   Cr\u00EAte \u20AC Yard           12.5          South Track  3.7      "
      "C1.2        R4          S9          2.3 sec   \n"
      "   2 10.0.0.1                  9001   YARD, \"EAST\"           12.5          South Track  3.7      "
      "C1.2        R4          ZZZZZZZZZ   Ping Failed\n";
  EXPECT_EQ(FormatSiteListExport(SampleTable(), SiteListExportFormat::Text), expected);
}

TEST(SiteListExport, CsvListingHasHeaderAndOneLinePerRecordWithTextsQuoted) {
  EXPECT_EQ(FormatSiteListExport(SampleTable(), SiteListExportFormat::Csv),
            "Cnt,IP Address,Port,Name,Milepost,Track,Version,QZ_Comm,QZ_Rdr,QZ_Spch,LastPing\n"
            "1,10.0.0.1,9001,Cr\u00EAte \u20AC Yard,12.5,South Track,3.7,C1.2,R4,S9,2.3 sec\n"
            "2,10.0.0.1,9001,\"YARD, \"\"EAST\"\"\",12.5,South Track,3.7,C1.2,R4,ZZZZZZZZZ,Ping Failed\n");
}

}  // namespace
}  // namespace quenderlink
