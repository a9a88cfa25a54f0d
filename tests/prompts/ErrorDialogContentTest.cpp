#include "prompts/ErrorDialogContent.h"

#include <gtest/gtest.h>

#include <string>

#include "core/ErrorMessages.h"

namespace quenderlink {
namespace {

TEST(ErrorDialogContentTest, AMessageIdOverridesTheShownIdAndPredefinedTextTheCallers) {
  const auto shown = [](ErrorId messageId, ErrorId shownId) {
    const ErrorDialogContent content = ResolveErrorDialog(messageId, shownId, "caller text", false);
    return content.heading + " / " + content.message;
  };
  EXPECT_EQ(shown(ErrorId::kNone, ErrorId::kNone), "Attention / caller text");
  EXPECT_EQ(shown(ErrorId::kNone, ErrorId::kUnknownProductType), "Error ID: 208 / caller text");
  EXPECT_EQ(shown(ErrorId::kNoSiteSelected, ErrorId::kNoSiteChecked), "Error ID: 201 / \r\nNo site has been selected!");
  EXPECT_EQ(shown(ErrorId::kNoImportFile, ErrorId::kNone), "Error ID: 105 / caller text");
}

// What offering to proceed shows is checked through the dialog itself.
TEST(ErrorDialogContentTest, LongTextsAreCut) {
  const std::string longest(kMaxDialogMessage, 'x');
  EXPECT_EQ(ResolveErrorDialog(ErrorId::kNone, ErrorId::kNone, longest, false).message, longest);
  EXPECT_EQ(ResolveErrorDialog(ErrorId::kNone, ErrorId::kNone, longest + "yz", true).message, longest);
}

}  // namespace
}  // namespace quenderlink
