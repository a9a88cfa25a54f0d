#include "shell/ui/CMainView.h"

#include <gtest/gtest.h>

#include <QHeaderView>

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
    view_->Open();
    return *view_;
  }
  std::vector<std::string> ListedNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < view_->model().rowCount(); ++row) {
      names.push_back(view_->model().index(row, kColSiteName).data().toString().toStdString());
    }
    return names;
  }
  int ColumnWidth(int column) const {
    const QTableView* list = view_->form().list();
    return list->isColumnHidden(column) ? 0 : list->columnWidth(column);
  }

  std::unique_ptr<CMainView> view_;
};

// That the answer is kept for the next start is StartupSettingsTest's.
TEST_F(CMainViewTest, FirstStartAsksForTheRailroadAndShowsTheAnswer) {
  prompts_.railroadAnswers = {5};
  OpenView();
  EXPECT_EQ(prompts_.railroadQuestions, 1);
  EXPECT_EQ(view_->title(), "NS Start Page (Ver 9.0)");
  EXPECT_EQ(view_->form().siteFileButton()->text().toStdString(), "CLICK to select the file with IP Addresses");
}

// The widths are SiteListColumns'; here that the view applies them and reports a settings write that fails.
TEST_F(CMainViewTest, OpensTheCurrentSiteListWithColumnsForTheRailroad) {
  testing::WriteSiteHome(home_.path(), {"Bravo", "Alpha", "Charlie"}, 3);
  OpenView();
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Bravo", "Alpha", "Charlie"}));
  EXPECT_EQ(view_->form().siteFileButton()->text().toStdString(),
            "IP Address: sites.bin\n" + home_.path().string() + "/");
  EXPECT_EQ(ColumnWidth(kColSiteId), 0);
  EXPECT_EQ(ColumnWidth(kColCnt), 0);
  EXPECT_EQ(ColumnWidth(kColSiteName), 100);

  view_->RunCommand(menu::kShowIndexColumn);
  EXPECT_EQ(ColumnWidth(kColCnt), 40);
  EXPECT_EQ(IniSettingsFile(home_.path()).ReadInt(settings::kShowTwd), 1u);

  prompts_.railroadAnswers = {5};
  view_->RunCommand(menu::kSelectRailroad);
  EXPECT_EQ(ColumnWidth(kColSiteId), 80);
  EXPECT_EQ(view_->title(), "NS Start Page (Ver 9.0)");

  const std::filesystem::path ini = IniSettingsFile(home_.path()).Path();
  std::filesystem::remove(ini);
  std::filesystem::create_symlink(ini, ini);  // a link to itself: neither read nor replaced
  view_->RunCommand(menu::kShowIndexColumn);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].text, "FAILED TO WRITE\r\n" + ini.string());
}

// The message is CurrentSiteFile's.
TEST_F(CMainViewTest, AMissingSiteListIsReportedAndTheCaptionReset) {
  const std::string path = testing::WriteSiteHome(home_.path(), {"Alpha"}, 3);
  std::filesystem::remove(path);
  OpenView();
  EXPECT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(view_->form().siteFileButton()->text().toStdString(), "CLICK to select the file with IP Addresses");
  EXPECT_FALSE(view_->IsCommandEnabled(menu::kExportText));
  EXPECT_EQ(view_->model().rowCount(), 0);
}

// The orders and which way a header click turns are SiteSort's.
TEST_F(CMainViewTest, HeaderClicksAndSortItemsReorderTheList) {
  testing::WriteSiteHome(home_.path(), {"Bravo", "Alpha", "Charlie"}, 3);
  OpenView();
  view_->model().SetChecked(0, true);
  view_->OnHeaderClicked(kColSiteName);
  view_->OnHeaderClicked(kColSiteName);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Charlie", "Bravo", "Alpha"}));
  EXPECT_FALSE(view_->model().checks().AnyChecked());
  QHeaderView& header = *view_->form().list()->horizontalHeader();
  EXPECT_EQ(header.sortIndicatorSection(), kColSiteName);
  EXPECT_EQ(header.sortIndicatorOrder(), Qt::DescendingOrder);  // Z to A
  view_->RunCommand(menu::kFirstDescendSort + 1);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Alpha", "Bravo", "Charlie"}));
}

TEST_F(CMainViewTest, CommandsFollowTheChecksAndTheBusyFlag) {
  testing::WriteSiteHome(home_.path(), {"Bravo", "Alpha", "Charlie"}, 3);
  OpenView();
  EXPECT_FALSE(view_->IsCommandEnabled(menu::kPingChecked));
  view_->model().ApplyClick(0, kColSiteName, Qt::ControlModifier);
  view_->model().ApplyClick(2, kColCheck, Qt::NoModifier);
  EXPECT_TRUE(view_->IsCommandEnabled(menu::kPingChecked));
  view_->form().pingSelectedButton()->click();
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"view 2"});

  view_->OnCellButton(1, kColPing, false);
  EXPECT_EQ(opener_.opened.back(), "site ping Alpha");
  view_->OnCellButton(1, kColLoad, false);
  EXPECT_NE(prompts_.shown.back().text.find("\"Ctrl\" key"), std::string::npos);

  state_.operations.pingInProgress = true;
  view_->form().exitButton()->click();
  EXPECT_EQ(prompts_.shown.back().errorId, 402u);
  EXPECT_EQ(state_.sites.size(), 3u);  // not released while the run writes into it
}

TEST_F(CMainViewTest, DisplayFlagsArePlacedAndWrittenWhenTheViewGoes) {
  OpenView();
  view_->RunCommand(menu::kButtonsAtBottom);
  view_->RunCommand(menu::kShowFilterCombos);
  EXPECT_TRUE(view_->IsCommandEnabled(menu::kButtonsAtRight));
  EXPECT_FALSE(view_->IsCommandEnabled(menu::kShowFilterCombos));
  view_.reset();
  IniSettingsFile ini(home_.path());
  EXPECT_EQ(ini.ReadInt(settings::kCmndsOnRight), 0u);
  EXPECT_EQ(ini.ReadInt(settings::kShowFilterCombos), 1u);
  EXPECT_EQ(ini.ReadInt(settings::kShowCmndButtons), 1u);
}

}  // namespace
}  // namespace quenderlink
