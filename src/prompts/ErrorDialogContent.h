#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/ErrorMessages.h"

namespace quenderlink {

// The common dialogs hold messages of this many characters at most.
inline constexpr std::size_t kMaxDialogMessage = 1022;

// A longer message is cut, never refused.
std::string CutDialogMessage(std::string text);

// What the error dialog shows once its caller has filled it.
struct ErrorDialogContent {
  std::string heading, message, okCaption;
  bool proceedShown;
};

// A message id other than kNone replaces the shown error id and, when the id
// has a fixed text, the caller's text with it. The heading is "Error ID: 402"
// for a shown id other than kNone, else "Attention".
ErrorDialogContent ResolveErrorDialog(ErrorId messageId, ErrorId shownErrorId, const std::string& callerText,
                                      bool offerProceed);

// Whom to call about an error; every error dialog shows it.
struct MakerContact {
  std::string_view company, telephone, web;
};
inline constexpr MakerContact kMakerContact{"Brindlemar", "+1 555 0100", "www.brindlemar.example"};

// The contact block as lines of text.
std::string ContactBlockText();

}  // namespace quenderlink
