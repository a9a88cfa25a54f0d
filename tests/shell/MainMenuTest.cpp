#include "shell/MainMenu.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

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
  for (const int id : {kExit, kPingChecked, kBeginUpload, kAscendTrackNumber, kDescendTrackNumber, kExportCsv})
    EXPECT_TRUE(ids.count(id)) << id;
}

// '+' for each item enabled in the context, '-' for each one disabled.
std::string Enabled(const MenuContext& context, std::initializer_list<int> ids) {
  std::string marks;
  for (const int id : ids) marks += IsMenuItemEnabled(id, context) ? '+' : '-';
  return marks;
}

TEST(MainMenuTest, EnableRulesFollowTheStateTheyName) {
  RuntimeParams params;
  MenuContext idle{params};
  EXPECT_EQ(Enabled(idle, {kPingChecked, kPingAll, kModifySite, kExportText, kExit, kIcmpRawSockets, kSiteHistory, kAvailability}),
            "----++--");
  MenuContext ready{params, false, true, true, true, true};
  EXPECT_EQ(Enabled(ready, {kPingChecked, kModifySite, kDeleteCheckedSites}), "++-");
  params.deleteManyRows = true;
  EXPECT_EQ(Enabled(ready, {kDeleteCheckedSites}), "+");
  ready.operationRunning = true;
  EXPECT_EQ(Enabled(ready, {kPingChecked, kPingAll, kPingManual, kPingRange, kExit, kBeginUpload, kSiteHistory,
                            kAvailability}),
            "-----+++");

  // Buttons shown at the right (the defaults): "Right" is the one item that is off.
  EXPECT_EQ(Enabled(idle, {kButtonsAtBottom, kButtonsAtRight, kHideButtons}), "+-+");
  params.showCmndButtons = false;
  EXPECT_EQ(Enabled(idle, {kButtonsAtRight, kHideButtons}), "+-");
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
            (std::vector<int>{1, 2, 3, 4, 5, 20, 40, 6, 7, 8, 9, 10, 30}));
  EXPECT_EQ(Ids(RowMenuItems(true, true, false, false)), (std::vector<int>{1, 2, 3, 4, 5, 20, 40, 6, 7, 8, 10}));
  // The ticked sites' history needs no highlighted row.
  EXPECT_EQ(Ids(RowMenuItems(false, true, false, false)), (std::vector<int>{2, 3, 5, 40, 6}));
}

}  // namespace
}  // namespace quenderlink
