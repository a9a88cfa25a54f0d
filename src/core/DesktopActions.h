#pragma once

#include <filesystem>

namespace quenderlink {

// Starting other programs on the user's desktop; tests record the calls instead.
class DesktopActions {
 public:
  virtual ~DesktopActions() = default;

  // Shows a text file in the user's text editor.
  virtual void OpenInEditor(const std::filesystem::path& file) = 0;
  // Opens a file with the program the desktop associates with its kind.
  virtual void OpenWithDefaultApp(const std::filesystem::path& file) = 0;
};

}  // namespace quenderlink
