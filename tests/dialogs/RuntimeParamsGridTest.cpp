#include "dialogs/RuntimeParamsGrid.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
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
constexpr int kMaxUploadsRow = 9;
constexpr int kDefaultPortRow = 12;
constexpr int kShowIndexRow = 15;
constexpr int kReduceHeightRow = 21;
constexpr int kRkmColoursRow = 23;

class RuntimeParamsGridTest : public ::testing::Test {
 protected:
  testing::TempDir folder;
  IniSettingsFile ini{folder.path()};
  RuntimeParams params;
};

TEST_F(RuntimeParamsGridTest, OnlyAnEditThatChangesTheTextMarksItsCellButAnyChoiceDoes) {
  RuntimeParamsGrid grid(params);
  EXPECT_EQ(grid.EndNumberEdit(kMaxResendRow, "6"), std::nullopt);
  EXPECT_FALSE(grid.Changed(kMaxResendRow));
  EXPECT_EQ(grid.Save(ini), ParamsSaveOutcome::NothingModified);

  EXPECT_EQ(grid.EndNumberEdit(kMaxResendRow, "7"), std::nullopt);
  EXPECT_TRUE(grid.Changed(kMaxResendRow));
  EXPECT_EQ(grid.EndNumberEdit(kMaxResendRow, "7"), std::nullopt);
  EXPECT_FALSE(grid.Changed(kMaxResendRow));
  EXPECT_TRUE(grid.modified());

  grid.Choose(kShowIndexRow, 0);  // "No"
  EXPECT_TRUE(grid.Changed(kShowIndexRow));
  grid.Choose(kRailroadRow, 9);  // past the list
  EXPECT_EQ(grid.UserText(kRailroadRow), "_Unkwn");
  grid.Choose(kRailroadRow, 3);  // "CSX"
  EXPECT_EQ(params, RuntimeParams{});  // nothing stored before the save
  ASSERT_EQ(grid.Save(ini), ParamsSaveOutcome::Stored);
  EXPECT_EQ(params.railroadCode, 3);
  EXPECT_EQ(params.railroadShortName, "CSX");
}

TEST_F(RuntimeParamsGridTest, ARailroadWithoutANameShowsTheFirstChoiceAndIsWrittenBackUnchanged) {
  params.railroadCode = 6;
  RuntimeParamsGrid grid(params);
  EXPECT_EQ(grid.UserText(kRailroadRow), "_Unkwn");
  ASSERT_EQ(grid.EndNumberEdit(kMaxWaitRow, "13"), std::nullopt);
  ASSERT_EQ(grid.Save(ini), ParamsSaveOutcome::Stored);
  EXPECT_EQ(ini.ReadInt(settings::kRoad), 6u);
}

// What an edit of the row to the text leads to: the reason it is refused, or
// the value a fresh grid shows after the save.
std::string EditAndSave(int row, std::string_view text) {
  testing::TempDir folder;
  IniSettingsFile ini(folder.path());
  RuntimeParams params;
  RuntimeParamsGrid grid(params);
  if (const std::optional<std::string> refusal = grid.EndNumberEdit(row, text)) return *refusal;
  if (grid.Save(ini) != ParamsSaveOutcome::Stored) return "not stored";
  return "stored " + RuntimeParamsGrid(params).UserText(row);
}

// Every number row goes through one check against its own bounds: the byte row plays each of its branches, the port
// row the number too long for any, and the wait row a lowest bound of 0.
TEST(RuntimeParamsNumberTest, OnlyDigitsWithinTheRowsRangeAreTaken) {
  constexpr const char* kByte = "Enter a whole number from 1 to 255.";
  constexpr const char* kPort = "Enter a whole number from 1 to 65535.";
  const struct {
    const char* name;
    int row;
    std::string_view text;
    std::string outcome;
  } cases[] = {
      {"byte lowest", kMaxUploadsRow, "1", "stored 1"},
      {"byte highest", kMaxUploadsRow, "255", "stored 255"},
      {"byte leading zeros", kMaxUploadsRow, "007", "stored 7"},
      {"byte zero", kMaxUploadsRow, "0", kByte},
      {"byte just above", kMaxUploadsRow, "256", kByte},
      {"byte with a letter", kMaxUploadsRow, "5x", kByte},
      {"byte empty", kMaxUploadsRow, "", kByte},
      {"port beyond any number", kDefaultPortRow, "99999999999999999999", kPort},
      {"wait zero", kMaxWaitRow, "0", "stored 0"},
  };
  for (const auto& each : cases) EXPECT_EQ(EditAndSave(each.row, each.text), each.outcome) << each.name;
}

TEST_F(RuntimeParamsGridTest, ARefusedCellKeepsItsTextAndStopsTheSaveUntilItIsFixed) {
  RuntimeParamsGrid grid(params);
  ASSERT_EQ(grid.EndNumberEdit(kMaxResendRow, "9"), std::nullopt);
  grid.Choose(kShowHiddenRow, 1);  // "Yes"
  ASSERT_NE(grid.EndNumberEdit(kDefaultPortRow, ""), std::nullopt);
  ASSERT_NE(grid.EndNumberEdit(kMaxUploadsRow, "300"), std::nullopt);
  EXPECT_EQ(grid.UserText(kMaxUploadsRow), "300");
  EXPECT_EQ(grid.FirstRefusedRow(), kMaxUploadsRow);

  EXPECT_EQ(grid.Save(ini), ParamsSaveOutcome::Refused);

  ASSERT_EQ(grid.EndNumberEdit(kMaxUploadsRow, "30"), std::nullopt);
  EXPECT_EQ(grid.FirstRefusedRow(), kDefaultPortRow);
  ASSERT_EQ(grid.EndNumberEdit(kDefaultPortRow, "9002"), std::nullopt);
  EXPECT_EQ(grid.FirstRefusedRow(), std::nullopt);
  ASSERT_EQ(grid.Save(ini), ParamsSaveOutcome::Stored);
  EXPECT_EQ(params.defaultPortNum, 9002);
  EXPECT_EQ(params.uploadMaxInParallel, 30);
  EXPECT_EQ(params.pingMaxResend, 9);
  EXPECT_TRUE(params.showHidden);
}

TEST_F(RuntimeParamsGridTest, SaveWritesEveryValueButTheColours) {
  RuntimeParamsGrid grid(params);
  ASSERT_EQ(grid.EndNumberEdit(kMaxResendRow, "255"), std::nullopt);
  ASSERT_EQ(grid.EndNumberEdit(kMaxWaitRow, "65535"), std::nullopt);
  ASSERT_EQ(grid.EndNumberEdit(kDefaultPortRow, "1"), std::nullopt);
  ASSERT_EQ(grid.EndNumberEdit(kReduceHeightRow, "12"), std::nullopt);
  grid.Choose(kShowHiddenRow, 1);  // "Yes"
  ASSERT_EQ(grid.Save(ini), ParamsSaveOutcome::Stored);

  // Every value as "section/key=value", in file order (keys of one section stay together).
  Lines lines;
  for (const IniEntry& entry : ini.ListEntries()) lines.push_back(entry.section + "/" + entry.key + "=" + entry.value);
  EXPECT_EQ(
      lines,
      (Lines{"Ping Sites/Max Wait Response=65535", "Ping Sites/Max Resend=255", "Ping Sites/Max in Parallel=100",
             "Upload Pgm/Min Wait RAMLoader=6", "Upload Pgm/Min Wait Sys Reboot=6", "Upload Pgm/Max in Parallel=24",
             "MISC/Default Port Num=1", "MISC/Telnet Port Trk1=10001", "MISC/Telnet Port Trk2=10002", "MISC/ShowTWD=0",
             "MISC/ShowIP_Column=0", "MISC/Delete Many Rows=0", "MISC/Allow Upload Unknown=0", "MISC/Show Hidden=1",
             "MISC/Collect S918=1", "MISC/Reduce Height=12", "MISC/Allow Change SiteName=0", "Railroad/Road=0"}));
}

TEST_F(RuntimeParamsGridTest, AColourTakesEffectAtOnceButReachesTheFileOnlyThroughSave) {
  RuntimeParamsGrid(params).SetColour(kRkmColoursRow, ColourPart::Text, 0x0000FF);
  EXPECT_EQ(params.deviceColors.textRkm, 0x0000FFu);
  EXPECT_FALSE(std::filesystem::exists(ini.Path()));

  RuntimeParamsGrid grid(params);
  grid.SetColour(kRkmColoursRow, ColourPart::Back, 0x00FF00);
  EXPECT_EQ(grid.Colour(kRkmColoursRow, ColourPart::Text), 0x0000FFu);
  ASSERT_EQ(grid.Save(ini), ParamsSaveOutcome::Stored);
  DeviceColors expected;
  expected.textRkm = 0x0000FF;
  expected.backRkm = 0x00FF00;
  EXPECT_EQ(ini.LoadDeviceColors(), expected);
}

}  // namespace
}  // namespace quenderlink
