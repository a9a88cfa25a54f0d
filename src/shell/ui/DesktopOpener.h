#pragma once

#include "core/DesktopActions.h"
#include "core/UserPrompts.h"

namespace quenderlink {

// Opens files with whatever the user's desktop associates with them; says so
// through the prompts when the desktop cannot.
class DesktopOpener : public DesktopActions {
 public:
  explicit DesktopOpener(UserPrompts& prompts) : prompts_(prompts) {}

  void OpenInEditor(const std::filesystem::path& file) override;
  void OpenWithDefaultApp(const std::filesystem::path& file) override;

 private:
  UserPrompts& prompts_;
};

}  // namespace quenderlink
