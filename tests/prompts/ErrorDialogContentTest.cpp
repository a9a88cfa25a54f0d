#include "prompts/ErrorDialogContent.h"

#include <gtest/gtest.h>

#include <string>

#include "core/ErrorMessages.h"

namespace quenderlink {
namespace {

TEST(ErrorDialogContentTest, AMessageIdOverridesTheShownIdAndPredefinedTextTheCallers) {
  const auto shown = [](std::uint32_t messageId, std::uint32_t shownId) {
    const ErrorDialogContent content = ResolveErrorDialog(messageId, shownId, "caller text", false);
    return content.heading + " / " + content.message;
  };
  EXPECT_EQ(shown(0, 0), "Attention / caller text");
  EXPECT_EQ(shown(0, 208), "Error ID: 208 / caller text");
  EXPECT_EQ(shown(kErrorUploadInProgress, 5), "Error ID: 401 / " + PredefinedErrorText(kErrorUploadInProgress));
  EXPECT_EQ(shown(777, 0), "Error ID: 777 / caller text");
}

// What offering to proceed shows is checked through the dialog itself.
TEST(ErrorDialogContentTest, LongTextsAreCut) {
  const std::string longest(kMaxDialogMessage, 'x');
  EXPECT_EQ(ResolveErrorDialog(0, 12, longest, false).message, longest);
  EXPECT_EQ(ResolveErrorDialog(0, 12, longest + "yz", true).message, longest);
}

}  // namespace
}  // namespace quenderlink
