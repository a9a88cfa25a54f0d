#include "shell/FileButtonMenus.h"

#include <gtest/gtest.h>

namespace quenderlink {
namespace {

std::vector<int> Ids(const std::vector<PopupItem>& menu) {
  std::vector<int> ids;
  for (const PopupItem& item : menu) ids.push_back(item.id);
  return ids;
}

TEST(FileButtonMenusTest, MenusListTheEarlierFilesLongerThanFourCharacters) {
  FileHistory history{};
  history[0] = "/data/now.bin";
  EXPECT_TRUE(SiteFileButtonOpensMenu(history));
  EXPECT_FALSE(ProgramFileButtonOpensMenu(history));
  EXPECT_EQ(Ids(SiteFileButtonMenu(history)), (std::vector<int>{100, 0, 110, 0, 105, 0, 101}));

  history[1] = "/data/old.bin";
  history[2] = "a.bi";
  history[15] = "/data/oldest.bin";
  EXPECT_TRUE(ProgramFileButtonOpensMenu(history));
  EXPECT_EQ(Ids(SiteFileButtonMenu(history)), (std::vector<int>{100, 0, 110, 0, 105, 0, 2, 16, 0, 101}));
  EXPECT_EQ(SiteFileButtonMenu(history)[7].text, "/data/oldest.bin");
  EXPECT_EQ(Ids(ProgramFileButtonMenu(history)), (std::vector<int>{100, 0, 2, 16}));
}

}  // namespace
}  // namespace quenderlink
