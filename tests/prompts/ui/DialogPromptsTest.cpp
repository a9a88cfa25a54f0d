#include "prompts/ui/DialogPrompts.h"

#include <gtest/gtest.h>

#include "core/ErrorMessages.h"
#include "support/DialogTesting.h"

namespace quenderlink {
namespace {

using testing::AnswerNextModal;
using testing::Click;
using testing::Text;

class DialogPromptsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }
  DialogPrompts prompts_{nullptr};
};

TEST_F(DialogPromptsTest, OnlyAnEmptyTextBringsThePredefinedText) {
  QString shown;
  const auto answer = [&](const char* button) {
    AnswerNextModal([&shown, button](QWidget& dialog) {
      shown = Text<QLabel>(dialog, "headingLabel") + " / " + Text<QLabel>(dialog, "messageLabel");
      Click(dialog, button);
    });
  };
  answer("proceedButton");
  EXPECT_TRUE(prompts_.ShowError(kErrorNoSiteSelected, "", true));
  EXPECT_EQ(shown, "Error ID: 201 / \nNo site has been selected!");

  answer("okButton");
  EXPECT_FALSE(prompts_.ShowError(kErrorNoSiteSelected, "Select a site first", false));
  EXPECT_EQ(shown, "Error ID: 201 / Select a site first");
}

}  // namespace
}  // namespace quenderlink
