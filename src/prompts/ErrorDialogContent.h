#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

// A non-zero message id replaces the shown error id and, when the id is
// predefined, the caller's text with the id's fixed text. The heading is
// "Error ID: %d" for a non-zero shown id, else "Attention".
ErrorDialogContent ResolveErrorDialog(std::uint32_t messageId, std::uint32_t shownErrorId, const std::string& callerText,
                                      bool offerProceed);

// Whom to call about an error; every error dialog shows it.
struct MakerContact {
  std::string_view company, telephone, web;
};
inline constexpr MakerContact kMakerContact{"Brindlemar", "+1 555 0100", "www.brindlemar.example"};

// The contact block as lines of text.
std::string ContactBlockText();

}  // namespace quenderlink
