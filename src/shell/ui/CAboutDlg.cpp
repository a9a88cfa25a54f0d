#include "shell/ui/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "core/Printf.h"
#include "shell/MainFrameRules.h"

namespace quenderlink {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About Quenderlink");
  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel("Quenderlink", this);
  QFont font = name->font();
  font.setBold(true);
  font.setPointSize(font.pointSize() + 4);
  name->setFont(font);
  auto* version = new QLabel(QString::fromStdString(Printf("Version %s", kProgramVersion)), this);
  version->setObjectName("versionLabel");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(name);
  layout->addWidget(version);
  layout->addWidget(buttons);
}

}  // namespace quenderlink
