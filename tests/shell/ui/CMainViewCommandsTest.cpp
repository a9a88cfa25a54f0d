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

// The menu's items are MainMenu's; a reset from it resets the clicked row whatever is ticked.
TEST_F(CMainViewCommandsTest, TheRowMenuIsBuiltForTheClickedRowAndRunsItsChoice) {
  Select(1);
  prompts_.popupAnswers = {menu::kRowPingHighlighted};
  emit view_.form().list()->rowRightClicked(1);
  ASSERT_EQ(prompts_.popupsShown.size(), 1u);
  EXPECT_EQ(prompts_.popupsShown[0].size(), 16u);  // eight items, each followed by a separator
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"site ping Bravo"});

  view_.model().SetChecked(0, true);
  view_.model().SetChecked(1, true);
  view_.RunRowMenuCommand(menu::kRowReset);
  EXPECT_EQ(opener_.opened.back(), "reset Bravo");
  EXPECT_EQ(state_.sites[0].SiteFlags, 0);  // no marking pass
  EXPECT_TRUE(prompts_.shown.empty());
}

// Where the book goes and what it holds are SiteWorkbookExportTest's.
TEST_F(CMainViewCommandsTest, TheExcelMenuItemWritesTheListedSitesToABookAndOpensIt) {
  ASSERT_TRUE(view_.IsCommandEnabled(menu::kExportExcel));
  view_.RunCommand(menu::kExportExcel);
  EXPECT_TRUE(prompts_.shown.empty());
  EXPECT_EQ(desktop_.openedWithDefaultApp.size(), 1u);
}

}  // namespace
}  // namespace quenderlink
