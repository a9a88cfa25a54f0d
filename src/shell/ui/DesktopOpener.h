#pragma once

#include "core/DesktopActions.h"
#include "core/UserPrompts.h"

namespace quenderlink {

// Opens files with whatever the user's desktop associates with them; a text
// file the desktop cannot open is said so through the prompts.
class DesktopOpener : public DesktopActions {
 public:
  explicit DesktopOpener(UserPrompts& prompts) : prompts_(prompts) {}

  void OpenInEditor(const std::filesystem::path& file) override;
  bool OpenWithDefaultApp(const std::filesystem::path& file) override;

 private:
  UserPrompts& prompts_;
};

}  // namespace quenderlink
