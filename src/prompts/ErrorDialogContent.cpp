#include "prompts/ErrorDialogContent.h"

#include <utility>

#include "core/Printf.h"

namespace quenderlink {

std::string CutDialogMessage(std::string text) {
  if (text.size() > kMaxDialogMessage) text.resize(kMaxDialogMessage);
  return text;
}

ErrorDialogContent ResolveErrorDialog(ErrorId messageId, ErrorId shownErrorId, const std::string& callerText,
                                      bool offerProceed) {
  std::string message = callerText;
  if (messageId != ErrorId::kNone) {
    shownErrorId = messageId;
    if (std::string fixed = PredefinedErrorText(messageId); !fixed.empty()) message = std::move(fixed);
  }
  return {shownErrorId != ErrorId::kNone ? Printf("Error ID: %u", ErrorNumber(shownErrorId)) : std::string("Attention"),
          CutDialogMessage(std::move(message)), offerProceed ? "Cancel Operation" : "OK", offerProceed};
}

std::string ContactBlockText() {
  return std::string(kMakerContact.company) + "\nTel: " + std::string(kMakerContact.telephone) + "\n" +
         std::string(kMakerContact.web);
}

}  // namespace quenderlink
