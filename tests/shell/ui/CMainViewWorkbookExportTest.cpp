#include <gtest/gtest.h>

#include "shell/MainMenu.h"
#include "shell/ui/CMainView.h"
#include "shell/ui/MainViewTestSupport.h"
#include "support/DialogTesting.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

TEST(CMainViewWorkbookExportTest, TheExcelMenuItemWritesTheListedSitesToABookInTheHomeAndOpensIt) {
  testing::EnsureApplication();
  testing::TempDir home;
  testing::WriteSiteHome(home.path(), {"Alpha", "Bravo"}, 3);
  ProgramState state(home.path());
  testing::ScriptedPrompts prompts;
  testing::RecordingDesktopActions desktop;
  testing::RecordingOpener opener;
  CMainView view(state, prompts, desktop, opener);
  view.Open();
  ASSERT_TRUE(view.IsCommandEnabled(menu::kExportExcel));

  view.RunCommand(menu::kExportExcel);
  EXPECT_TRUE(prompts.shown.empty());
  ASSERT_EQ(desktop.openedWithDefaultApp.size(), 1u);
  EXPECT_EQ(desktop.openedWithDefaultApp[0].parent_path(), home.path());
  EXPECT_GT(std::filesystem::file_size(desktop.openedWithDefaultApp[0]), 0u);
}

}  // namespace
}  // namespace quenderlink
