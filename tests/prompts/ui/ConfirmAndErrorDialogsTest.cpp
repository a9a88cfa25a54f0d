#include <gtest/gtest.h>

#include <QPushButton>

#include "core/ErrorMessages.h"
#include "support/DialogTesting.h"
#include "prompts/ui/CDlgConfirm.h"
#include "prompts/ui/CDlgErrorMsg.h"
#include "prompts/ui/DialogPrompts.h"

namespace quenderlink {
namespace {

using testing::AnswerNextModal;
using testing::Click;
using testing::Text;

class CommonDialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }
};

TEST_F(CommonDialogsTest, ConfirmShowsItsModesCaptionsAndOnlyConfirmAccepts) {
  CDlgConfirm dialog(ConfirmMode::Terminate, nullptr);
  dialog.SetMessage("Connected to 10.0.0.7 port 23\r\n\r\n<b>Terminate?</b>");
  EXPECT_EQ(Text<QPushButton>(dialog, "cancelButton"), "No! Stay Connected.");  // the captions are ConfirmCaptions'
  EXPECT_EQ(Text<QLabel>(dialog, "messageLabel"), "Connected to 10.0.0.7 port 23\n\n<b>Terminate?</b>");
  EXPECT_EQ(testing::Child<QLabel>(dialog, "messageLabel").textFormat(), Qt::PlainText);

  dialog.show();
  Click(dialog, "cancelButton");
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  dialog.show();
  Click(dialog, "confirmButton");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(CommonDialogsTest, ProceedIsOfferedOnlyWhenAskedAndBothButtonsAccept) {
  CDlgErrorMsg plain(ErrorId::kNone, nullptr);
  plain.show();
  EXPECT_FALSE(testing::Child<QPushButton>(plain, "proceedButton").isVisible());
  Click(plain, "okButton");
  EXPECT_EQ(plain.result(), QDialog::Accepted);

  CDlgErrorMsg offered(ErrorId::kNone, nullptr);
  offered.SetOfferProceed(true);
  offered.show();
  EXPECT_EQ(Text<QPushButton>(offered, "okButton"), "Cancel Operation");
  EXPECT_TRUE(testing::Child<QPushButton>(offered, "proceedButton").isVisible());
  Click(offered, "proceedButton");
  EXPECT_EQ(offered.result(), QDialog::Accepted);
}

// As the program shows an error: through the prompts, which fill the dialog.
TEST_F(CommonDialogsTest, AnErrorPromptBringsThePredefinedTextOnlyForAnEmptyText) {
  DialogPrompts prompts(nullptr);
  QString shown;
  const auto answer = [&](const char* button) {
    AnswerNextModal([&shown, button](QWidget& dialog) {
      shown = Text<QLabel>(dialog, "headingLabel") + " / " + Text<QLabel>(dialog, "messageLabel");
      Click(dialog, button);
    });
  };
  answer("proceedButton");
  EXPECT_TRUE(prompts.ShowError(ErrorId::kNoSiteSelected, "", true));
  EXPECT_EQ(shown, "Error ID: 201 / \nNo site has been selected!");

  answer("okButton");
  EXPECT_FALSE(prompts.ShowError(ErrorId::kNoSiteSelected, "Select a site first", false));
  EXPECT_EQ(shown, "Error ID: 201 / Select a site first");
}

}  // namespace
}  // namespace quenderlink
