#include "shell/ui/DesktopOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "core/Printf.h"

namespace quenderlink {
namespace {

bool OpenOnDesktop(const std::filesystem::path& file) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

}  // namespace

void DesktopOpener::OpenInEditor(const std::filesystem::path& file) {
  if (!OpenOnDesktop(file))
    prompts_.ShowMessage(
        Printf("Cannot open %s\r\n\r\nPlease open it with a text editor of your choice.", file.string().c_str()));
}

bool DesktopOpener::OpenWithDefaultApp(const std::filesystem::path& file) { return OpenOnDesktop(file); }

}  // namespace quenderlink
