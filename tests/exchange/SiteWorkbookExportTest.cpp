#include "exchange/SiteWorkbookExport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "core/Lookups.h"
#include "exchange/WorkbookProbe.h"
#include "support/ScriptedPrompts.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class SiteWorkbookExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SiteRecord alpha = testing::TestSite({.name = "Alpha", .address = "10.0.0.1", .lastPing = 25});
    SetFieldText(alpha.HostText, "a.example");
    SetFieldText(alpha.Milepost, "12.5 N");
    SetFieldText(alpha.CommVersion, "C1");
    SetFieldText(alpha.ReaderVersion, "R2");
    alpha.SubdivCode = 1;
    alpha.TrackIndex = 1;
    alpha.VersionMajor = 4;
    alpha.VersionMinor = 2;
    SiteRecord bravo = testing::TestSite({.name = "Bravo", .address = "10.0.0.2", .port = 9002, .lastPing = 255});
    bravo.TrackIndex = 13;
    sites_.Replace({alpha, bravo});
  }
  // Nothing when written, else why not.
  std::optional<std::string> Write(const std::filesystem::path& output,
                                   std::optional<std::filesystem::path> templateFile = std::nullopt) {
    const Result written = WriteSiteWorkbook({sites_, kRailroadNs, output, std::move(templateFile)});
    return written ? std::nullopt : std::optional(written.reason());
  }
  std::vector<std::string> FilesInHome() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(home_.path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  static constexpr char kAlphaRow[] =
      "2 h23.0 Calibri/11/b/FF000080: 1 'a.example' '10.0.0.1' 9001 1 'Alabama' 'Alpha' '12.5 N' 12.5 "
      "'North Track' '4.2' 'C1' 'R2' - '2.5 sec'\n";
  static constexpr char kBravoRow[] =
      "3 h23.0 Calibri/11/b/FFFF0000: 2 '10.0.0.2' '10.0.0.2' 9002 0 'NS_0' 'Bravo' '0.0' 0 'ERR_13' '0.0' - - - "
      "'Ping Failed'";

  testing::TempDir home_;
  testing::WorkbookProbe probe_;
  SiteTable sites_;
};

TEST_F(SiteWorkbookExportTest, ANewBookHasTheFormattedHeaderWidthsAndOneRowPerSite) {
  ASSERT_EQ(Write(home_ / "out.xlsx"), std::nullopt);
  EXPECT_EQ(probe_.Dump(home_ / "out.xlsx"),
            std::string("sheets Detectors\n"
                        "widths A=7 B=25 C=15 D=8 E=8 F=15 G=25 H=10 I=10 J=10 K=8 L=15 M=15 N=15 O=15\n"
                        "1 h23.0 Calibri/12/b/FFFFFFFF/solid FF660066/center: 'Count' 'DNS' 'IP_Address' 'Port #' "
                        "'SubDiv' 'SubDiv' 'Detector' 'MP_Txt' 'MP_Num' 'Track' 'Ver Cad' 'QZ_Comm' 'QZ_Reader' "
                        "'QZ_Speech' 'Last Ping'\n") +
                kAlphaRow + kBravoRow + "\n");
  EXPECT_EQ(FilesInHome(), std::vector<std::string>{"out.xlsx"});

  sites_.Replace({testing::TestSite({.name = "Charlie"})});
  ASSERT_EQ(Write(home_ / "out.xlsx"), std::nullopt);  // the same name again replaces the book
  EXPECT_THAT(probe_.Dump(home_ / "out.xlsx"), HasSubstr("\n2 h23.0 Calibri/11/r/FF000000: 1 - - 9001 0 "));
}

TEST_F(SiteWorkbookExportTest, ATemplateGetsTheRowsUnderItsHeaderAndKeepsEveryOtherPart) {
  probe_.MakeTemplate(home_ / "template.xlsx");
  ASSERT_EQ(Write(home_ / "out.xlsx", home_ / "template.xlsx"), std::nullopt);
  EXPECT_EQ(probe_.Dump(home_ / "out.xlsx"),
            std::string("sheets Roster,Notes\nwidths B=30\n"
                        "1 hNone Calibri/11/r/-: 'Count' 'DNS'\n") +
                kAlphaRow + kBravoRow + " - 'keep me' !Q Calibri/11/r/-\n");

  // The other sheet, the workbook, its relationships and properties: byte for byte.
  const std::string changed = "xl/worksheets/sheet1.xml,xl/styles.xml";
  const std::string kept = probe_.PartsBut(home_ / "template.xlsx", changed);
  EXPECT_GT(std::count(kept.begin(), kept.end(), '\n'), 3);
  EXPECT_EQ(probe_.PartsBut(home_ / "out.xlsx", changed), kept);
}

TEST_F(SiteWorkbookExportTest, TemplatesThatAreNoWorkbookAreRefusedAndNothingIsWritten) {
  const auto refusal = [&](const std::string& bytes) {
    testing::WriteFileBytes(home_ / "template.xlsx", bytes);
    return Write(home_ / "out.xlsx", home_ / "template.xlsx");
  };
  const std::string loadFailed = "ERROR:\r\nFailed to load Excel Template File";
  EXPECT_EQ(refusal("Count,DNS\n1,a.example\n"), loadFailed);

  probe_.MakeTemplate(home_ / "good.xlsx");
  const std::string good = testing::ReadFileBytes(home_ / "good.xlsx");
  const auto brokenPart = [&](const std::string& part, const std::string& text) {
    testing::WriteFileBytes(home_ / "template.xlsx", good);
    probe_.ReplacePart(home_ / "template.xlsx", part, text);
    return Write(home_ / "out.xlsx", home_ / "template.xlsx");
  };
  EXPECT_EQ(brokenPart("_rels/.rels", "<Relationships/>"), loadFailed) << "a zip that holds no workbook";
  EXPECT_EQ(brokenPart("xl/worksheets/sheet1.xml", "<worksheet><sheetData>"), loadFailed);
  EXPECT_EQ(brokenPart("xl/styles.xml", "<styleSheet/>"), loadFailed);
  EXPECT_EQ(brokenPart("xl/workbook.xml", "<workbook><sheets/></workbook>"), "Failed to Get Sheet");
  EXPECT_EQ(FilesInHome(), (std::vector<std::string>{"good.xlsx", "template.xlsx"}));
}

TEST_F(SiteWorkbookExportTest, AFailedWriteNamesThePathAndTheReasonAndLeavesNothing) {
  probe_.MakeTemplate(home_ / "template.xlsx");
  const std::filesystem::path output = home_ / "gone" / "out.xlsx";
  for (const auto& templateFile : {std::optional<std::filesystem::path>(), std::optional(home_ / "template.xlsx")}) {
    const std::optional<std::string> message = Write(output, templateFile);
    ASSERT_TRUE(message.has_value());
    EXPECT_THAT(*message, StartsWith("FAILED TO WRITE\r\n" + output.string() + "\r\n\r\n"));
    EXPECT_GT(message->size(), output.string().size() + 20) << "a reason follows";
  }
  EXPECT_EQ(FilesInHome(), std::vector<std::string>{"template.xlsx"});
}

TEST_F(SiteWorkbookExportTest, TheCommandWritesATimeStampedBookInTheHomeAndOpensIt) {
  std::tm time{};
  time.tm_year = 124;
  time.tm_mon = 2;
  time.tm_mday = 5;
  time.tm_hour = 7;
  time.tm_min = 8;
  time.tm_sec = 9;
  EXPECT_EQ(SiteWorkbookFileName(time), "Quenderlink_Date_20240305_Time_070809.xlsx");

  ProgramState state(home_.path());
  state.sites = sites_;
  probe_.MakeTemplate(SiteWorkbookTemplatePath(home_.path()));
  testing::ScriptedPrompts prompts;
  testing::RecordingDesktopActions desktop;
  ExportSiteWorkbook(state, prompts, desktop);
  ASSERT_EQ(desktop.openedWithDefaultApp.size(), 1u);
  const std::filesystem::path opened = desktop.openedWithDefaultApp[0];
  EXPECT_EQ(opened.parent_path(), home_.path());
  EXPECT_THAT(opened.filename().string(), StartsWith("Quenderlink_Date_"));
  EXPECT_THAT(probe_.Dump(opened), StartsWith("sheets Roster,Notes"));

  ProgramState homeless(home_ / "gone");
  EXPECT_EQ(prompts.Last().text, "The file was saved to\r\n" + opened.string());
  ExportSiteWorkbook(homeless, prompts, desktop);
  EXPECT_EQ(desktop.openedWithDefaultApp.size(), 1u);
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_THAT(prompts.shown[1].text, StartsWith("FAILED TO WRITE\r\n"));
}

}  // namespace
}  // namespace quenderlink
