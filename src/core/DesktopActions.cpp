#include "core/DesktopActions.h"

#include "core/Printf.h"
#include "core/UserPrompts.h"

namespace quenderlink {

void ShowAndOpenSavedFile(const std::filesystem::path& file, UserPrompts& prompts, DesktopActions& desktop) {
  std::string text = Printf("The file was saved to\r\n%s", file.string().c_str());
  if (!desktop.OpenWithDefaultApp(file))
    text += "\r\n\r\nNo program on this computer opens this kind of file: open it with a program of your choice.";
  prompts.ShowMessage(text);
}

}  // namespace quenderlink
