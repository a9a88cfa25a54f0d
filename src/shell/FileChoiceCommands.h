#pragma once

#include <optional>
#include <string>

#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "shell/CheckedRows.h"
#include "shell/SiteListCommands.h"

namespace quenderlink {

// The site list commands that first ask for a file: the "&File" menu items and
// the two file buttons with their pop-up menus. Cancelling a dialog or a pop-up
// ends the command with nothing changed.
class FileChoiceCommands {
 public:
  FileChoiceCommands(ProgramState& state, UserPrompts& prompts, SiteListCommands& commands);

  ListChange OpenSiteFile();
  ListChange StartNewFile();
  ListChange SaveAs();
  ListChange MoveCheckedToNewFile(const CheckedRows& checks);
  ListChange MoveCheckedToExistingFile(const CheckedRows& checks);
  void ExportText();
  void ExportCsv();
  // The site list file button: its pop-up menu, or the open dialog when there is no history.
  ListChange SiteFileButton();

  // Program file choices return the file to show on the program file button.
  // The menu's choice takes any file; the button's checks it first.
  [[nodiscard]] std::optional<std::string> OpenProgramFileUnchecked();
  [[nodiscard]] std::optional<std::string> ProgramFileButton();

 private:
  [[nodiscard]] std::optional<std::string> Ask(FileDialogKind kind, const char* title, const char* filter,
                                               const char* extension);
  [[nodiscard]] std::optional<std::string> LocateProgramFile();

  ProgramState& state_;
  UserPrompts& prompts_;
  SiteListCommands& commands_;
};

}  // namespace quenderlink
