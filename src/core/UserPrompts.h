#pragma once

#include <cstdint>
#include <string>

namespace quenderlink {

// Which pair of captions a confirmation shows; the caller acts only on "confirmed".
enum class ConfirmMode { AbortUpload, Delete, Terminate, Upload };

// Everything that asks the user goes through here: the desktop program shows
// its dialogs, the command-line tool answers from its flags, tests script it.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  // The error dialog: heading "Error ID: %d" (or "Attention" for 0) and the text;
  // an empty text for a predefined id means that id's fixed message. Returns true
  // only when proceeding was offered and chosen.
  virtual bool ShowError(std::uint32_t errorId, const std::string& text, bool offerProceed) = 0;

  // Returns true when the user confirmed.
  virtual bool Confirm(ConfirmMode mode, const std::string& text) = 0;

  // A plain message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;

  // The railroad choice, opened on the current code (0: none chosen); returns
  // the code chosen. Without a way to ask, the railroad stays as it is.
  virtual std::uint8_t ChooseRailroad(std::uint8_t current) { return current; }
};

}  // namespace quenderlink
