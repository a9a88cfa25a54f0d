#include "shell/MainMenu.h"

#include <gtest/gtest.h>

#include <set>

namespace quenderlink {
namespace {

using namespace menu;

std::vector<int> Ids(const std::vector<MenuItem>& items) {
  std::vector<int> ids;
  for (const MenuItem& item : items) ids.push_back(item.id);
  return ids;
}

TEST(MainMenuTest, EveryCommandAppearsOnceWithItsText) {
  std::set<int> ids;
  std::size_t commands = 0;
  for (const MenuPopup& popup : MainMenuLayout()) {
    for (const MenuItem& item : popup.items) {
      if (item.text.empty()) continue;
      ids.insert(item.id);
      ++commands;
    }
  }
  EXPECT_EQ(ids.size(), commands);
  for (const int id : {kExit, kPingChecked, kBeginUpload, kAscendTrackNumber, kDescendTrackNumber, kExportCsv}) {
    EXPECT_TRUE(ids.count(id)) << id;
  }
}

TEST(MainMenuTest, EnableRulesFollowTheStateTheyName) {
  RuntimeParams params;
  MenuContext idle{params};
  EXPECT_FALSE(IsMenuItemEnabled(kPingChecked, idle));
  EXPECT_FALSE(IsMenuItemEnabled(kPingAll, idle));
  EXPECT_FALSE(IsMenuItemEnabled(kModifySite, idle));
  EXPECT_FALSE(IsMenuItemEnabled(kExportText, idle));
  EXPECT_TRUE(IsMenuItemEnabled(kExit, idle));
  EXPECT_TRUE(IsMenuItemEnabled(kIcmpRawSockets, idle));

  MenuContext ready{params, false, true, true, true, true};
  EXPECT_TRUE(IsMenuItemEnabled(kPingChecked, ready));
  EXPECT_TRUE(IsMenuItemEnabled(kModifySite, ready));
  EXPECT_FALSE(IsMenuItemEnabled(kDeleteCheckedSites, ready));
  params.deleteManyRows = true;
  EXPECT_TRUE(IsMenuItemEnabled(kDeleteCheckedSites, ready));

  ready.operationRunning = true;
  for (const int id : {kPingChecked, kPingAll, kPingManual, kPingRange, kExit}) EXPECT_FALSE(IsMenuItemEnabled(id, ready));
  EXPECT_TRUE(IsMenuItemEnabled(kBeginUpload, ready));

  // Buttons shown at the right (the defaults): "Right" is the one item that is off.
  EXPECT_TRUE(IsMenuItemEnabled(kButtonsAtBottom, idle));
  EXPECT_FALSE(IsMenuItemEnabled(kButtonsAtRight, idle));
  EXPECT_TRUE(IsMenuItemEnabled(kHideButtons, idle));
  params.showCmndButtons = false;
  EXPECT_TRUE(IsMenuItemEnabled(kButtonsAtRight, idle));
  EXPECT_FALSE(IsMenuItemEnabled(kHideButtons, idle));
  EXPECT_NE(IsMenuItemEnabled(kShowIndexColumn, idle), IsMenuItemEnabled(kHideIndexColumn, idle));
}

TEST(MainMenuTest, SortItemsMapToTheirKeys) {
  int key = 0;
  bool ascending = false;
  ASSERT_TRUE(SortOfMenuItem(kFirstAscendSort + 1, key, ascending));
  EXPECT_EQ(key, 7);
  EXPECT_TRUE(ascending);
  ASSERT_TRUE(SortOfMenuItem(kLastDescendSort, key, ascending));
  EXPECT_EQ(key, 16);
  EXPECT_FALSE(ascending);
  ASSERT_TRUE(SortOfMenuItem(kDescendTrackNumber, key, ascending));
  EXPECT_EQ(key, 9);
  EXPECT_FALSE(SortOfMenuItem(kPingAll, key, ascending));
}

TEST(MainMenuTest, RowMenuShowsItemsByRowChecksAndRailroad) {
  EXPECT_EQ(Ids(RowMenuItems(false, false, true, false)), (std::vector<int>{kRowPingAll, kRowAdd}));
  EXPECT_EQ(Ids(RowMenuItems(true, true, true, true)),
            (std::vector<int>{1, 2, 3, 4, 5, 20, 6, 7, 8, 9, 10, 30}));
  EXPECT_EQ(Ids(RowMenuItems(true, true, false, false)), (std::vector<int>{1, 2, 3, 4, 5, 20, 6, 7, 8, 10}));
}

}  // namespace
}  // namespace quenderlink
