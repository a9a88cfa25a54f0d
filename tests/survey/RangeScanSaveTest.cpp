#include "survey/RangeScanSave.h"

#include <gtest/gtest.h>

#include "core/ErrorMessages.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "support/SiteListFile.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

RangeRow FoundRow(const std::string& address) {
  return {.values = {.subdivCode = 12, .siteId = 42, .productType = kProductRkmMicro, .versionMajor = 3,
                     .versionMinor = 7, .versionBuild = 2},
          .subdivCode = "12", .checked = true, .address = address, .subdivision = "Off Line", .siteId = "00042",
          .siteName = "Cr\u00EAte", .milepost = "12.5", .track = "N_", .product = "RKM_U", .version = "3.7-2",
          .status = "SUCCESS:  0.4 sec", .comm = "C1", .reader = "R2", .speech = "S3"};
}

TEST(RangeScanSave, RecordsTakeTheRepliesValuesAsTheRowShowsThem) {
  RuntimeParams params;
  params.railroadCode = kRailroadNs;
  params.showHidden = true;
  params.telnetPortTrk1 = 10001;
  params.telnetPortTrk2 = 10002;
  const SiteRecord record = SiteRecordFromRangeRow(FoundRow("10.0.0.7"), 9001, params);
  EXPECT_EQ(std::string(FieldText(record.HostText)) + " " + std::string(FieldText(record.IpByNumber)) + " " +
                std::string(FieldText(record.SiteName)),
            "10.0.0.7 10.0.0.7 Cr\xEAte");  // a record holds Windows-1252
  EXPECT_EQ((std::vector<int>{record.SubdivCode, record.SiteId, record.ProductType, record.VersionMajor,
                              record.VersionMinor, record.HiddenBuild, record.TelnetPort}),
            (std::vector<int>{12, 42, 1, 3, 7, 2, 10001}));
  EXPECT_EQ(int{SiteRecordFromRangeRow(FoundRow("10.0.0.7"), 9005, params).TelnetPort}, 10002);

  RangeRow cad2 = FoundRow("10.0.0.8");
  cad2.values.productType = kProductCad2;
  EXPECT_EQ(SiteRecordFromRangeRow(cad2, 9001, params).ProductType, 0);
  cad2.values.versionBuild = -2;
  EXPECT_EQ(SiteRecordFromRangeRow(cad2, 9001, params).HiddenBuild, 0);
  // Where the columns do not show them, neither product nor build is kept.
  params.railroadCode = kRailroadCpr;
  params.showHidden = false;
  const SiteRecord plain = SiteRecordFromRangeRow(FoundRow("10.0.0.9"), 9001, params);
  EXPECT_EQ((std::vector<int>{plain.ProductType, plain.HiddenBuild}), (std::vector<int>{0, 0}));
}

TEST(RangeScanSave, TheSaveMenuOffersAnAppendOnlyWhileAListIsOpen) {
  EXPECT_EQ(RangeSaveMenu("").size(), 3u);
  const std::vector<PopupItem> items = RangeSaveMenu("/home/sites.bin");
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].text, "Append Selected Rows to /home/sites.bin");
  EXPECT_EQ(items[0].id, kRangeAppendRows);
}

TEST(RangeScanSave, AppendSkipsListedAddressesAndUntickedRowsAndAFileNotWrittenIsReportedByName) {
  testing::TempDir folder;
  const auto file = folder / "sites.bin";
  RuntimeParams params;
  std::vector<RangeRow> rows = {FoundRow("10.0.0.1"), FoundRow("10.0.0.2"), FoundRow("10.0.0.3")};
  rows[2].checked = false;

  testing::WriteSiteList(file, {testing::TestSite({.address = "10.0.0.1"})});
  const SiteTable listed = testing::LoadedSiteList(file);
  const SiteFileStamp loaded = StampOfFile(file);

  EXPECT_EQ(AppendCheckedRows(rows, 9001, params, listed, file, loaded), 1);
  const SiteTable appended = testing::LoadedSiteList(file);
  ASSERT_EQ(appended.size(), 2u);
  EXPECT_EQ(FieldText(appended[1].IpByNumber), "10.0.0.2");
  // The file is not the one the list was loaded from any more: nothing goes into it.
  EXPECT_EQ(AppendCheckedRows(rows, 9001, params, listed, file, loaded), kRangeFileChangedElsewhere);
  EXPECT_EQ(testing::LoadedSiteList(file).size(), 2u);
  EXPECT_EQ(AppendedReport(kRangeFileChangedElsewhere, "a.bin"), SiteFileChangedText("a.bin"));

  EXPECT_EQ(SaveCheckedRows(rows, 9001, params, folder / "new.bin"), 2);
  EXPECT_EQ(testing::LoadedSiteList(folder / "new.bin").size(), 2u);
  EXPECT_EQ(AppendCheckedRows(rows, 9001, params, listed, folder.path(), StampOfFile(folder.path())), -1);

  EXPECT_EQ(AppendedReport(2, "a.bin"), "\r\nTotal of 2 records were appended to\r\na.bin");
  EXPECT_EQ(SavedReport(2, "a.bin"), "\r\nTotal of 2 records were saved to\r\na.bin");
  EXPECT_EQ(ListSavedReport(true, "a.txt"), "List was successfuly saved!\r\n\r\na.txt");
  for (const std::string& failed :
       {AppendedReport(-1, "a.bin"), SavedReport(-1, "a.bin"), ListSavedReport(false, "a.bin")})
    EXPECT_EQ(failed, "FAILED TO WRITE\r\na.bin");
}

// A text with commas and quotes stays one field.
TEST(RangeScanSave, ListsHaveAHeadingARuleAndEveryRow) {
  RangeRow found = FoundRow("10.0.0.1");
  found.siteName = "YARD, \"EAST\"";
  RangeRow silent;
  silent.address = "10.0.0.9";
  silent.status = "ping FAILED";
  const std::vector<RangeRow> rows = {found, silent};
  EXPECT_EQ(FormatRangeList(rows, 9001, RangeListFormat::Csv),
            ";Cnt,IP Address,Port,Sub-Div,Name,Milepost,Track,Version,QZ_Comm,QZ_Rdr,QZ_Cpch\n;" +
                std::string(153, '=') +
                "\n1,10.0.0.1,9001,Off Line,\"YARD, \"\"EAST\"\"\",12.5,N_,3.7-2,C1,R2,S3\n"
                "2,10.0.0.9,9001,,,,,,,,\n");
  const std::string text = FormatRangeList(rows, 9001, RangeListFormat::Text);
  EXPECT_EQ(text.substr(0, text.find('\n')),
            ";Cnt IP Address                Port   Sub-Div                Name                   Milepost      "
            "Track       Version   QZ_Comm     QZ_Rdr      QZ_Cpch   ");
}

}  // namespace
}  // namespace quenderlink
