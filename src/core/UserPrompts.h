#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ErrorMessages.h"
#include "core/PopupItem.h"

namespace quenderlink {

// Which pair of captions a confirmation shows; the caller acts only on "confirmed".
enum class ConfirmMode { AbortUpload, Delete, Terminate, Upload };

// A file dialog: opening an existing file, or naming a file to write (asking
// before an existing one is replaced).
enum class FileDialogKind { Open, Save };

// What a file dialog shows: its filter in the "label|pattern|label|pattern||"
// form the settings and menus use, and the extension a bare name gets.
struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;
  std::string filter;
  std::string defaultExtension;  // without the dot; empty for none
  std::string folder;            // where the dialog starts
};

// Everything that asks the user goes through here: the desktop program shows
// its dialogs, the command-line tool answers from its flags, tests script it.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  // The error dialog: heading "Error ID: 402" (or "Attention" for kNone) and the
  // text; an empty text for an id with a fixed text means that text. Returns true
  // only when proceeding was offered and chosen.
  virtual bool ShowError(ErrorId errorId, const std::string& text, bool offerProceed) = 0;

  // Returns true when the user confirmed.
  [[nodiscard]] virtual bool Confirm(ConfirmMode mode, const std::string& text) = 0;

  // A plain message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;

  // The railroad choice, opened on the current code (0: none chosen); returns
  // the code chosen. Without a way to ask, the railroad stays as it is.
  virtual std::uint8_t ChooseRailroad(std::uint8_t current) { return current; }

  // The path the user chose, or none when cancelled (or there is no way to ask).
  [[nodiscard]] virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) {
    (void)request;
    return std::nullopt;
  }

  // A pop-up menu at the mouse; the id of the item chosen, 0 when none.
  virtual int ChooseFromPopup(const std::vector<PopupItem>& items) {
    (void)items;
    return 0;
  }
};

}  // namespace quenderlink
