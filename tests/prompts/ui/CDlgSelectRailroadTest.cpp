#include "prompts/ui/CDlgSelectRailroad.h"

#include <gtest/gtest.h>

#include <QRadioButton>

#include "support/DialogTesting.h"

namespace quenderlink {
namespace {

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

TEST(CDlgSelectRailroadTest, TheCodeGivenIsCheckedAndTheLastClickCountsWhetherCancelledOrOk) {
  testing::EnsureApplication();
  CDlgSelectRailroad none(0, nullptr);
  EXPECT_TRUE(Checked(none).isEmpty());
  none.show();
  none.reject();
  EXPECT_EQ(none.SelectedCode(), 0);

  CDlgSelectRailroad dialog(5, nullptr);
  dialog.show();
  ClickRailroad(dialog, "IOC");
  ClickRailroad(dialog, "Union Pacific");
  dialog.reject();
  EXPECT_EQ(dialog.SelectedCode(), 6);

  testing::AnswerNextModal([](QWidget& asked) {
    EXPECT_EQ(Checked(asked), QStringList{"BHP"});
    ClickRailroad(asked, "CP Rail");
    testing::Click(asked, "okButton");
  });
  EXPECT_EQ(AskRailroad(1, nullptr), 2);
}

}  // namespace
}  // namespace quenderlink
