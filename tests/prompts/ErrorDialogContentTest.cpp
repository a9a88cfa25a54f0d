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

TEST(ErrorDialogContentTest, OfferingToProceedRenamesOkAndLongTextsAreCut) {
  const std::string longest(kMaxDialogMessage, 'x');
  const ErrorDialogContent plain = ResolveErrorDialog(0, 12, longest, false);
  EXPECT_EQ(plain.okCaption, "OK");
  EXPECT_FALSE(plain.proceedShown);
  EXPECT_EQ(plain.message, longest);

  const ErrorDialogContent offered = ResolveErrorDialog(0, 12, longest + "yz", true);
  EXPECT_EQ(offered.okCaption, "Cancel Operation");
  EXPECT_TRUE(offered.proceedShown);
  EXPECT_EQ(offered.message, longest);
}

}  // namespace
}  // namespace quenderlink
