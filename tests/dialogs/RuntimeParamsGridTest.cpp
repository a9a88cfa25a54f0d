#include "dialogs/RuntimeParamsGrid.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace quenderlink {
namespace {

using Lines = std::vector<std::string>;

constexpr int kRailroadRow = 0;
constexpr int kMaxWaitRow = 2;
constexpr int kMaxResendRow = 3;
constexpr int kShowHiddenRow = 5;
constexpr int kDefaultPortRow = 12;
constexpr int kShowIndexRow = 15;
constexpr int kReduceHeightRow = 21;
constexpr int kRkmColoursRow = 23;

// Every value of the settings file as "section/key=value", in file order
// (keys of one section stay together).
Lines FileLines(const IniSettingsFile& ini) {
  Lines lines;
  for (const IniEntry& entry : ini.ListEntries()) lines.push_back(entry.section + "/" + entry.key + "=" + entry.value);
  return lines;
}

class RuntimeParamsGridTest : public ::testing::Test {
 protected:
  testing::TempDir folder;
  IniSettingsFile ini{folder.path()};
  RuntimeParams params;
};

TEST(RuntimeParamsRowsTest, SectionsStandOnTheirFirstRowAndEmptyRowsSeparateThem) {
  std::string kinds;
  std::string sections;
  std::vector<std::string_view> numbers;
  for (const RuntimeParamRow& row : RuntimeParamRows()) {
    kinds += " NYRC"[static_cast<int>(row.kind)];
    if (!row.section.empty()) sections += std::string(row.section) + "|";
    if (!row.number.empty()) numbers.push_back(row.number);
  }
  EXPECT_EQ(kinds, "R NNNY NNNY NNNYYY Y NCCC Y");
  EXPECT_EQ(sections, "Railroad|Ping|Upload Pgm|Site Info|Delete Items|Display|Config Mngmnt|");
  ASSERT_EQ(numbers.size(), 21u);
  for (std::size_t index = 0; index < numbers.size(); ++index)
    EXPECT_EQ(numbers[index], "P" + std::to_string(index + 1));
}

TEST_F(RuntimeParamsGridTest, OnlyAnEditThatChangesTheTextMarksItsCellButAnyChoiceDoes) {
  RuntimeParamsGrid grid(params);
  grid.EndNumberEdit(kMaxResendRow, "6");
  EXPECT_FALSE(grid.Changed(kMaxResendRow));
  EXPECT_FALSE(grid.modified());
  EXPECT_FALSE(grid.Save(ini));
  EXPECT_FALSE(std::filesystem::exists(ini.Path()));

  grid.EndNumberEdit(kMaxResendRow, "7");
  EXPECT_TRUE(grid.Changed(kMaxResendRow));
  grid.EndNumberEdit(kMaxResendRow, "7");
  EXPECT_FALSE(grid.Changed(kMaxResendRow));
  EXPECT_TRUE(grid.modified());

  grid.Choose(kShowIndexRow, "No");
  EXPECT_TRUE(grid.Changed(kShowIndexRow));
  grid.Choose(kRailroadRow, "Union Pacific");  // no name of the list in it
  EXPECT_EQ(grid.UserText(kRailroadRow), "_Unkwn");
  grid.Choose(kRailroadRow, "CSX");
  EXPECT_EQ(params, RuntimeParams{});  // nothing stored before the save
  ASSERT_TRUE(grid.Save(ini));
  EXPECT_EQ(params.railroadCode, 3);
  EXPECT_EQ(params.railroadShortName, "CSX");
}

TEST_F(RuntimeParamsGridTest, ARailroadWithoutANameShowsTheFirstChoiceAndIsWrittenBackUnchanged) {
  params.railroadCode = 6;
  RuntimeParamsGrid grid(params);
  EXPECT_EQ(grid.UserText(kRailroadRow), "_Unkwn");
  EXPECT_EQ(grid.ChoiceIndex(kRailroadRow), 0);
  grid.EndNumberEdit(kMaxWaitRow, "13");
  ASSERT_TRUE(grid.Save(ini));
  EXPECT_EQ(params.railroadCode, 6);
  EXPECT_EQ(ini.ReadInt(settings::kRoad), 6u);
}

TEST_F(RuntimeParamsGridTest, SaveWritesEveryValueButTheColoursCutToTheirWidths) {
  RuntimeParamsGrid grid(params);
  grid.EndNumberEdit(kMaxResendRow, "300");
  grid.EndNumberEdit(kMaxWaitRow, "70000");
  grid.EndNumberEdit(kDefaultPortRow, "");
  grid.EndNumberEdit(kReduceHeightRow, "12px");
  grid.Choose(kShowHiddenRow, "Yes");
  ASSERT_TRUE(grid.Save(ini));

  EXPECT_EQ(params.pingMaxResend, 44);
  EXPECT_EQ(params.pingMaxWaitResponse, 4464);
  EXPECT_EQ(params.defaultPortNum, 0);
  EXPECT_EQ(params.reduceHeight, 12);
  EXPECT_TRUE(params.showHidden);
  EXPECT_EQ(FileLines(ini),
            (Lines{"Ping Sites/Max Wait Response=4464", "Ping Sites/Max Resend=44", "Ping Sites/Max in Parallel=100",
                   "Upload Pgm/Min Wait RAMLoader=6", "Upload Pgm/Min Wait Sys Reboot=6",
                   "Upload Pgm/Max in Parallel=24", "MISC/Default Port Num=0", "MISC/Telnet Port Trk1=10001",
                   "MISC/Telnet Port Trk2=10002", "MISC/ShowTWD=0", "MISC/ShowIP_Column=0",
                   "MISC/Delete Many Rows=0", "MISC/Allow Upload Unknown=0", "MISC/Show Hidden=1",
                   "MISC/Collect S918=1", "MISC/Reduce Height=12", "MISC/Allow Change SiteName=0",
                   "Railroad/Road=0"}));
}

TEST_F(RuntimeParamsGridTest, AColourTakesEffectAtOnceButReachesTheFileOnlyThroughSave) {
  RuntimeParamsGrid(params).SetColour(kRkmColoursRow, ColourPart::Text, 0x0000FF);
  EXPECT_EQ(params.deviceColors.textRkm, 0x0000FFu);
  EXPECT_FALSE(std::filesystem::exists(ini.Path()));

  RuntimeParamsGrid grid(params);
  grid.SetColour(kRkmColoursRow, ColourPart::Back, 0x00FF00);
  EXPECT_EQ(grid.Colour(kRkmColoursRow, ColourPart::Text), 0x0000FFu);
  ASSERT_TRUE(grid.Save(ini));
  DeviceColors expected;
  expected.textRkm = 0x0000FF;
  expected.backRkm = 0x00FF00;
  EXPECT_EQ(ini.LoadDeviceColors(), expected);
  EXPECT_EQ(FileLines(ini).size(), 18u + 6u);
}

}  // namespace
}  // namespace quenderlink
