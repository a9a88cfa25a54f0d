#include "shell/ui/DesktopOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "core/Printf.h"

namespace quenderlink {

void DesktopOpener::OpenInEditor(const std::filesystem::path& file) {
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string()))))
    prompts_.ShowMessage(
        Printf("Cannot open %s\r\n\r\nPlease open it with a text editor of your choice.", file.string().c_str()));
}

}  // namespace quenderlink
