#include "shell/ui/CMainView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>

#include "core/SettingsKeys.h"
#include "shell/MainMenu.h"
#include "shell/SiteListColumns.h"
#include "shell/ui/MainViewTestSupport.h"

namespace quenderlink {
namespace {

class CMainViewTest : public testing::MainViewFixture {
 protected:
  CMainView& OpenView() {
    view_ = std::make_unique<CMainView>(state_, prompts_, desktop_, opener_);
    testing::CheckModelThroughout(view_->model());
    view_->Open();
    return *view_;
  }
  std::string Cell(int row, int column) const {
    return view_->model().index(row, column).data().toString().toStdString();
  }
  std::vector<std::string> ListedNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < view_->model().rowCount(); ++row) names.push_back(Cell(row, kColSiteName));
    return names;
  }
  void Select(int row) { view_->form().list()->selectRow(row); }
  int ColumnWidth(int column) const {
    const QTableView* list = view_->form().list();
    return list->isColumnHidden(column) ? 0 : list->columnWidth(column);
  }

  std::unique_ptr<CMainView> view_;
};

// The widths are SiteListColumns'; here that the view applies them and reports a settings write that fails.
// The orders and which way a header click turns are SiteSort's.
TEST_F(CMainViewTest, OpensTheCurrentSiteListWithColumnsForTheRailroadAndHeaderClicksReorderIt) {
  testing::WriteSiteHome(home_.path(), {"Bravo", "Alpha", "Charlie"}, 3);
  OpenView();
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Bravo", "Alpha", "Charlie"}));
  EXPECT_EQ(view_->form().siteFileButton()->text().toStdString(),
            "IP Address: sites.bin\n" + home_.path().string() + "/");
  EXPECT_EQ(ColumnWidth(kColSiteId), 0);

  view_->model().SetChecked(0, true);
  view_->OnHeaderClicked(kColSiteName);
  view_->OnHeaderClicked(kColSiteName);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Charlie", "Bravo", "Alpha"}));
  EXPECT_FALSE(view_->model().checks().AnyChecked());
  QHeaderView& header = *view_->form().list()->horizontalHeader();
  EXPECT_EQ(header.sortIndicatorSection(), kColSiteName);
  EXPECT_EQ(header.sortIndicatorOrder(), Qt::DescendingOrder);  // Z to A

  view_->RunCommand(menu::kShowIndexColumn);
  EXPECT_GT(ColumnWidth(kColCnt), 0);  // its width follows the font: SiteListViewTest

  prompts_.railroadAnswers = {5};
  view_->RunCommand(menu::kSelectRailroad);
  EXPECT_GT(ColumnWidth(kColSiteId), 0);
  EXPECT_EQ(view_->title(), "NS Start Page (Ver 9.0)");  // what is stored is MainViewSettingsTest's
}

// The message is CurrentSiteFile's.
TEST_F(CMainViewTest, AMissingSiteListIsReportedAndTheCaptionReset) {
  const std::string path = testing::WriteSiteHome(home_.path(), {"Alpha"}, 3);
  std::filesystem::remove(path);
  OpenView();
  EXPECT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(view_->form().siteFileButton()->text().toStdString(), "CLICK to select the file with IP Addresses");
  EXPECT_FALSE(view_->IsCommandEnabled(menu::kExportText));
}

// Where the Excel book goes and what it holds are SiteWorkbookExportTest's.
TEST_F(CMainViewTest, CommandsFollowTheChecksAndTheBusyFlagAndTheExcelItemOpensTheBookItWrote) {
  testing::WriteSiteHome(home_.path(), {"Bravo", "Alpha", "Charlie"}, 3);
  OpenView();
  view_->RunCommand(menu::kExportExcel);
  EXPECT_EQ(desktop_.openedWithDefaultApp.size(), 1u);

  EXPECT_FALSE(view_->IsCommandEnabled(menu::kPingChecked));
  view_->model().ApplyClick(0, kColSiteName, Qt::ControlModifier);
  view_->model().ApplyClick(2, kColCheck, Qt::NoModifier);
  EXPECT_TRUE(view_->IsCommandEnabled(menu::kPingChecked));
  view_->form().pingSelectedButton()->click();
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"view 2"});

  view_->OnCellButton(1, kColPing, false);
  EXPECT_EQ(opener_.opened.back(), "site ping Alpha");
  view_->OnCellButton(1, kColLoad, false);
  EXPECT_NE(prompts_.Last().text.find("\"Ctrl\" key"), std::string::npos);

  state_.operations.pingInProgress = true;
  view_->form().exitButton()->click();
  EXPECT_EQ(state_.sites.size(), 3u);  // not released while the run writes into it
}

// That the answer is kept for the next start is StartupSettingsTest's.
TEST_F(CMainViewTest, FirstStartAsksForTheRailroadAndDisplayFlagsArePlacedAndWrittenWhenTheViewGoes) {
  prompts_.railroadAnswers = {5};
  OpenView();
  EXPECT_EQ(prompts_.railroadQuestions, 1);
  EXPECT_EQ(view_->form().siteFileButton()->text().toStdString(), "CLICK to select the file with IP Addresses");

  view_->RunCommand(menu::kButtonsAtBottom);
  view_->RunCommand(menu::kShowFilterCombos);
  EXPECT_FALSE(view_->IsCommandEnabled(menu::kShowFilterCombos));
  view_.reset();
  IniSettingsFile ini(home_.path());
  EXPECT_EQ(ini.ReadInt(settings::kCmndsOnRight), 0u);
  EXPECT_EQ(ini.ReadInt(settings::kShowFilterCombos), 1u);
  EXPECT_EQ(ini.ReadInt(settings::kShowCmndButtons), 1u);
}

// How the file is rewritten is SiteListCommands'; here that each kind of change reaches the rows.
TEST_F(CMainViewTest, ModifiedAddedAndDeletedSitesReachTheirRowsAndTheEmptiedListStaysCurrent) {
  testing::WriteSiteHome(home_.path(), {"Alpha", "Bravo"}, 3);
  OpenView();
  Select(1);
  testing::AnswerNextModal([](QWidget& dialog) {
    testing::Child<QLineEdit>(dialog, "hostEdit").setText("127.84.0.9");
    testing::Click(dialog, "saveButton");
  });
  view_->RunCommand(menu::kModifySite);
  EXPECT_EQ(Cell(1, kColDnsIp), "127.84.0.9");

  view_->OnSiteSaved(testing::TestSite({.name = "Charlie", .address = "127.84.0.3"}));
  ASSERT_EQ(view_->model().rowCount(), 3);
  EXPECT_EQ(Cell(2, kColSiteName), "Charlie");
  EXPECT_EQ(Cell(2, kColCnt), "3");

  prompts_.confirmAnswers = {true, true};
  Select(0);
  view_->RunCommand(menu::kDeleteSite);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Bravo", "Charlie"}));
  view_->model().SetChecked(0, true);
  view_->model().SetChecked(1, true);
  view_->RunCommand(menu::kDeleteCheckedSites);
  EXPECT_EQ(view_->model().rowCount(), 0);
  // A list of no sites is still a list: it stays the current file.
  EXPECT_THAT(view_->form().siteFileButton()->text().toStdString(), ::testing::StartsWith("IP Address: sites.bin"));
}

// The menu's items are MainMenu's; a reset from it resets the clicked row whatever is ticked.
TEST_F(CMainViewTest, TheRowMenuIsBuiltForTheClickedRowAndRunsItsChoice) {
  testing::WriteSiteHome(home_.path(), {"Alpha", "Bravo"}, 3);
  OpenView();
  Select(1);
  prompts_.popupAnswers = {menu::kRowPingHighlighted};
  emit view_->form().list()->rowRightClicked(1);
  ASSERT_EQ(prompts_.popupsShown.size(), 1u);
  EXPECT_EQ(prompts_.popupsShown[0].size(), 18u);  // nine items, each followed by a separator
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"site ping Bravo"});

  view_->model().SetChecked(0, true);
  view_->model().SetChecked(1, true);
  view_->RunRowMenuCommand(menu::kRowReset);
  EXPECT_EQ(opener_.opened.back(), "reset Bravo");
  EXPECT_EQ(state_.sites[0].SiteFlags, 0);  // no marking pass
  view_->RunRowMenuCommand(menu::kRowHistory);
  EXPECT_EQ(opener_.opened.back(), "view 8");
  EXPECT_EQ(opener_.viewRequests.back().sites.size(), 2u) << "the ticked sites";
  EXPECT_TRUE(prompts_.shown.empty());
}

}  // namespace
}  // namespace quenderlink
