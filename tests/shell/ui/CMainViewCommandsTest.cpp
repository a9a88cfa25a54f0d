#include <gtest/gtest.h>

#include <QLineEdit>

#include "core/IniSettingsFile.h"
#include "shell/MainMenu.h"
#include "shell/SiteListColumns.h"
#include "shell/ui/CMainView.h"
#include "shell/ui/MainViewTestSupport.h"

namespace quenderlink {
namespace {

using testing::AnswerNextModal;
using testing::Child;

class CMainViewCommandsTest : public testing::MainViewFixture {
 protected:
  void SetUp() override {
    testing::WriteSiteHome(home_.path(), {"Alpha", "Bravo"}, 3);
    view_.Open();
    view_.show();
  }
  void Select(int row) { view_.form().list()->selectRow(row); }
  std::string Cell(int row, int column) {
    return view_.model().index(row, column).data().toString().toStdString();
  }

  CMainView view_{state_, prompts_, desktop_, opener_};
};

// How the file is rewritten is SiteListCommands'; here that the dialog's result reaches it and the row.
TEST_F(CMainViewCommandsTest, ModifyingASiteRewritesItsRowAndForgetsItAfterwards) {
  Select(1);
  AnswerNextModal([](QWidget& dialog) {
    Child<QLineEdit>(dialog, "hostEdit").setText("127.84.0.9");
    testing::Click(dialog, "saveButton");
  });
  view_.RunCommand(menu::kModifySite);
  EXPECT_EQ(Cell(1, kColDnsIp), "127.84.0.9");
  EXPECT_EQ(Cell(1, kColSiteName), "Bravo");
  EXPECT_EQ(view_.model().rowCount(), 2);
  EXPECT_EQ(state_.operations.rowBeingModified, kNoRow);
}

TEST_F(CMainViewCommandsTest, DeletingTheLastSiteLeavesNoFileToShow) {
  prompts_.confirmAnswers = {true, true};
  Select(0);
  view_.RunCommand(menu::kDeleteSite);
  EXPECT_EQ(view_.model().rowCount(), 1);
  EXPECT_EQ(Cell(0, kColSiteName), "Bravo");

  Select(0);
  view_.RunCommand(menu::kDeleteSite);
  EXPECT_EQ(view_.model().rowCount(), 0);
  EXPECT_EQ(view_.form().siteFileButton()->text().toStdString(), "CLICK to select the file with IP Addresses");
}

TEST_F(CMainViewCommandsTest, ASiteFromTheAddDialogIsAppendedAndShown) {
  state_.operations.rowBeingModified = kNoRow;
  view_.OnSiteSaved(testing::TestSite({.name = "Charlie", .address = "127.84.0.3"}));
  ASSERT_EQ(view_.model().rowCount(), 3);
  EXPECT_EQ(Cell(2, kColSiteName), "Charlie");
  EXPECT_EQ(Cell(2, kColCnt), "3");
}

TEST_F(CMainViewCommandsTest, TheRowMenuIsBuiltForTheClickedRowAndRunsItsChoice) {
  Select(1);
  prompts_.popupAnswers = {menu::kRowPingHighlighted};
  emit view_.form().list()->rowRightClicked(1);
  ASSERT_EQ(prompts_.popupsShown.size(), 1u);
  EXPECT_EQ(prompts_.popupsShown[0].size(), 16u);  // eight items, each followed by a separator
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"site ping Bravo"});
}

TEST_F(CMainViewCommandsTest, TheRowMenusResetResetsTheClickedRowWhateverIsTicked) {
  view_.model().SetChecked(0, true);
  view_.model().SetChecked(1, true);
  Select(1);
  view_.RunRowMenuCommand(menu::kRowReset);
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"reset Bravo"});
  EXPECT_EQ(state_.sites[0].SiteFlags, 0);  // no marking pass
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(CMainViewCommandsTest, TheExcelMenuItemWritesTheListedSitesToABookInTheHomeAndOpensIt) {
  ASSERT_TRUE(view_.IsCommandEnabled(menu::kExportExcel));
  view_.RunCommand(menu::kExportExcel);
  EXPECT_TRUE(prompts_.shown.empty());
  ASSERT_EQ(desktop_.openedWithDefaultApp.size(), 1u);
  EXPECT_EQ(desktop_.openedWithDefaultApp[0].parent_path(), home_.path());
  EXPECT_GT(std::filesystem::file_size(desktop_.openedWithDefaultApp[0]), 0u);
}

}  // namespace
}  // namespace quenderlink
