#include "prompts/ui/DialogPrompts.h"

#include <QCursor>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QStringList>

#include "core/ErrorMessages.h"
#include "prompts/ui/CDlgConfirm.h"
#include "prompts/ui/CDlgErrorMsg.h"
#include "prompts/ui/CDlgSelectRailroad.h"
#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {

bool DialogPrompts::ShowError(ErrorId errorId, const std::string& text, bool offerProceed) {
  // Only an id with a fixed text, called without a text of its own, asks for the fixed text.
  const bool fixedText = text.empty() && !PredefinedErrorText(errorId).empty();
  CDlgErrorMsg dialog(fixedText ? errorId : ErrorId::kNone, parent_);
  if (!fixedText) dialog.SetMessage(errorId, text);
  dialog.SetOfferProceed(offerProceed);
  dialog.exec();
  return dialog.ProceedChosen();
}

bool DialogPrompts::Confirm(ConfirmMode mode, const std::string& text) {
  CDlgConfirm dialog(mode, parent_);
  dialog.SetMessage(text);
  return dialog.exec() == QDialog::Accepted;
}

void DialogPrompts::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::Information, "Quenderlink", DialogText(text), QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::uint8_t DialogPrompts::ChooseRailroad(std::uint8_t current) { return AskRailroad(current, parent_); }

namespace {

// "label|pattern|label|pattern||" to Qt's "label;;label": each label names its patterns in brackets.
QString QtFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
  QStringList labels;
  for (qsizetype index = 0; index < parts.size(); index += 2) labels.append(parts[index]);
  return labels.join(";;");
}

}  // namespace

std::optional<std::string> DialogPrompts::ChooseFile(const FileDialogRequest& request) {
  QFileDialog dialog(parent_, QString::fromStdString(request.title));
  dialog.setNameFilter(QtFilter(request.filter));
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  dialog.setDirectory(QString::fromStdString(request.folder));
  if (request.kind == FileDialogKind::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

int DialogPrompts::ChooseFromPopup(const std::vector<PopupItem>& items) {
  QMenu menu(parent_);
  for (const PopupItem& item : items) {
    if (item.text.empty()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(QString::fromStdString(item.text));
    action->setData(item.id);
    action->setEnabled(item.enabled);
  }
  const QAction* chosen = menu.exec(QCursor::pos());
  return chosen ? chosen->data().toInt() : 0;
}

}  // namespace quenderlink
