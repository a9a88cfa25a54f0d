#include "dialogs/ui/CDlgRuntimeParams.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <deque>
#include <filesystem>

#include "support/DialogTesting.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

using testing::Child;

constexpr const char* kMaxResendCell = "userCell3";
constexpr const char* kMaxUploadsCell = "userCell9";
constexpr int kRkmColoursRow = 23;

class CDlgRuntimeParamsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }

  // The chooser gives the scripted answers in turn; none left: cancelled.
  CDlgRuntimeParams& Dialog() {
    dialog = std::make_unique<CDlgRuntimeParams>(state, prompts, mainView, nullptr, [this](ColorRef) {
      if (colourAnswers.empty()) return std::optional<ColorRef>{};
      const std::optional<ColorRef> answer = colourAnswers.front();
      colourAnswers.pop_front();
      return answer;
    });
    dialog->show();
    return *dialog;
  }

  void TypeInto(const char* cell, const QString& text) {
    auto& edit = Child<QLineEdit>(*dialog, cell);
    edit.selectAll();
    QTest::keyClicks(&edit, text);
    QTest::keyClick(&edit, Qt::Key_Return);
  }

  void ClickCell(int row, int column) {
    auto& table = Child<QTableWidget>(*dialog, "paramsGrid");
    table.scrollToItem(table.item(row, column));
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, table.visualItemRect(table.item(row, column)).center());
  }

  testing::TempDir folder;
  ProgramState state{folder.path()};
  testing::ScriptedPrompts prompts;
  testing::RecordingMainView mainView;
  std::deque<std::optional<ColorRef>> colourAnswers;
  std::unique_ptr<CDlgRuntimeParams> dialog;
};

// What a save stores is RuntimeParamsGrid's.
TEST_F(CDlgRuntimeParamsTest, AnEditedNumberShowsRedAndIsSavedWithoutAMessage) {
  CDlgRuntimeParams& shown = Dialog();
  EXPECT_FALSE(Child<QPushButton>(shown, "saveButton").isEnabled());

  TypeInto(kMaxResendCell, "200");
  EXPECT_EQ(Child<QLineEdit>(shown, kMaxResendCell).palette().color(QPalette::Text), QColor(Qt::red));

  testing::Click(shown, "saveButton");
  EXPECT_TRUE(shown.saved());
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(CDlgRuntimeParamsTest, SaveWithARefusedNumberStaysOpenShowingWhyUntilTheNumberIsFixedThenSaysAFailedWrite) {
  const std::filesystem::path ini = IniSettingsFile(folder.path()).Path();
  std::filesystem::create_symlink(ini, ini);  // a link to itself: neither read nor replaced
  CDlgRuntimeParams& shown = Dialog();
  auto& cell = Child<QLineEdit>(shown, kMaxUploadsCell);
  TypeInto(kMaxUploadsCell, "3x00");
  EXPECT_EQ(cell.text(), "300");
  EXPECT_EQ(testing::Text<QLabel>(shown, "reasonText"), "P8: Enter a whole number from 1 to 255.");
  EXPECT_EQ(cell.toolTip(), "Enter a whole number from 1 to 255.");
  EXPECT_EQ(cell.palette().color(QPalette::Text), QColor(Qt::red));

  testing::Click(shown, "saveButton");
  EXPECT_TRUE(shown.isVisible());
  EXPECT_FALSE(shown.saved());
  EXPECT_EQ(shown.focusWidget(), &cell);

  TypeInto(kMaxUploadsCell, "30");
  EXPECT_EQ(testing::Text<QLabel>(shown, "reasonText"), "");
  EXPECT_EQ(cell.toolTip(), "");
  testing::Click(shown, "saveButton");
  EXPECT_TRUE(shown.saved());
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "FAILED TO WRITE\r\n" + ini.string());
}

TEST_F(CDlgRuntimeParamsTest, CancelKeepsOnlyTheChosenColourWhichRepaintedTheMainViewAtOnce) {
  colourAnswers = {std::nullopt, 0x0000FF};
  CDlgRuntimeParams& shown = Dialog();

  TypeInto(kMaxResendCell, "9");
  ClickCell(kRkmColoursRow, kUserColumn);
  EXPECT_EQ(mainView.recolours, 0);
  ClickCell(kRkmColoursRow, kUserColumn);
  EXPECT_EQ(mainView.recolours, 1);
  EXPECT_EQ(state.params.deviceColors.backRkm, 0x0000FFu);

  testing::Click(shown, "cancelButton");
  EXPECT_FALSE(shown.saved());
  EXPECT_EQ(state.params.pingMaxResend, RuntimeParams{}.pingMaxResend);
}

}  // namespace
}  // namespace quenderlink
