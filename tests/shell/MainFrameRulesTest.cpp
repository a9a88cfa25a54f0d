#include "shell/MainFrameRules.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/ScriptedPrompts.h"

namespace quenderlink {
namespace {

class CountingView : public ViewWindow {
 public:
  int told = 0;
  void OnMainWindowClosing() override { ++told; }
};

TEST(MainFrameRulesTest, TitleNamesTheRailroadOnlyForKnownCodes) {
  EXPECT_EQ(MainViewTitle(5), "NS Start Page (Ver 9.0)");
  EXPECT_EQ(MainViewTitle(1), "BHP Start Page (Ver 9.0)");
  EXPECT_EQ(MainViewTitle(0), "Start Page (Ver_9.0)");
  EXPECT_EQ(MainViewTitle(6), "Start Page (Ver_9.0)");
}

TEST(MainFrameRulesTest, ReduceHeightAboveHalfTheScreenIsTakenAs80) {
  EXPECT_EQ(MaxTrackingHeight(540, 1080), 540);
  EXPECT_EQ(MaxTrackingHeight(541, 1080), 1000);
  EXPECT_EQ(MaxTrackingHeight(0, 1080), 1080);
}

TEST(MainFrameRulesTest, CloseIsRefusedWhileBusyAndOtherwiseTellsTheRegisteredViews) {
  ProgramState state("/nonexistent");
  testing::ScriptedPrompts prompts;
  std::vector<CountingView> views(OpenViews::kSlots + 1);
  for (std::size_t slot = 0; slot < OpenViews::kSlots; ++slot) ASSERT_TRUE(state.openViews.Register(&views[slot]));
  EXPECT_FALSE(state.openViews.Register(&views.back()));
  state.openViews.Deregister(&views[3]);
  EXPECT_TRUE(state.openViews.Register(&views.back()));  // the freed slot takes the 31st view

  state.operations.pingInProgress = true;
  EXPECT_FALSE(MayCloseMainWindow(state, prompts));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].errorId, ErrorId::kOperationInProgress);
  EXPECT_EQ(views[0].told, 0);

  state.operations.pingInProgress = false;
  EXPECT_TRUE(MayCloseMainWindow(state, prompts));
  EXPECT_EQ(views[0].told, 1);
  EXPECT_EQ(views[3].told, 0);
  EXPECT_EQ(views.back().told, 1);
  EXPECT_EQ(state.openViews.Count(), 0u);
}

}  // namespace
}  // namespace quenderlink
