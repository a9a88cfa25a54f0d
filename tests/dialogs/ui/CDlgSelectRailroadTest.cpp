#include "dialogs/ui/CDlgSelectRailroad.h"

#include <gtest/gtest.h>

#include <QRadioButton>

#include "support/DialogTesting.h"

namespace quenderlink {
namespace {

class CDlgSelectRailroadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }
};

void ClickRailroad(const QWidget& dialog, const QString& caption) {
  for (QRadioButton* button : dialog.findChildren<QRadioButton*>())
    if (button->text() == caption) return button->click();
  ADD_FAILURE() << "no railroad button " << caption.toStdString();
}

QStringList Checked(const QWidget& dialog) {
  QStringList checked;
  for (const QRadioButton* button : dialog.findChildren<QRadioButton*>())
    if (button->isChecked()) checked << button->text();
  return checked;
}

TEST_F(CDlgSelectRailroadTest, TheCodeGivenIsCheckedAndTheLastClickCountsEvenWhenCancelled) {
  CDlgSelectRailroad none(0, nullptr);
  EXPECT_TRUE(Checked(none).isEmpty());
  none.show();
  none.reject();
  EXPECT_EQ(none.SelectedCode(), 0);

  CDlgSelectRailroad dialog(5, nullptr);
  EXPECT_EQ(Checked(dialog), QStringList{"Norfolk Southern"});
  dialog.show();
  ClickRailroad(dialog, "IOC");
  ClickRailroad(dialog, "Union Pacific");
  dialog.reject();
  EXPECT_EQ(dialog.SelectedCode(), 6);
}

TEST_F(CDlgSelectRailroadTest, AskRailroadReturnsTheChoiceMadeBeforeOk) {
  testing::AnswerNextModal([](QWidget& dialog) {
    EXPECT_EQ(Checked(dialog), QStringList{"BHP"});
    ClickRailroad(dialog, "CP Rail");
    testing::Click(dialog, "okButton");
  });
  EXPECT_EQ(AskRailroad(1, nullptr), 2);
}

}  // namespace
}  // namespace quenderlink
