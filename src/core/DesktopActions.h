#pragma once

#include <filesystem>

namespace quenderlink {

// Starting other programs on the user's desktop; tests record the calls instead.
class DesktopActions {
 public:
  virtual ~DesktopActions() = default;

  // Shows a text file in the user's text editor.
  virtual void OpenInEditor(const std::filesystem::path& file) = 0;
  // Opens a file with the program the desktop associates with its kind,
  // saying nothing; false when nothing could open it.
  [[nodiscard]] virtual bool OpenWithDefaultApp(const std::filesystem::path& file) = 0;
};

class UserPrompts;

// After an export: says where the file was saved and opens it; when nothing
// on this computer opens it, the same message says so.
void ShowAndOpenSavedFile(const std::filesystem::path& file, UserPrompts& prompts, DesktopActions& desktop);

}  // namespace quenderlink
