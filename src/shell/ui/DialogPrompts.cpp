#include "shell/ui/DialogPrompts.h"

#include <QMessageBox>

#include "core/ErrorMessages.h"
#include "dialogs/ui/CDlgSelectRailroad.h"
#include "upload/ui/CDlgConfirm.h"
#include "upload/ui/CDlgErrorMsg.h"
#include "upload/ui/DialogWidgets.h"

namespace quenderlink {

bool DialogPrompts::ShowError(std::uint32_t errorId, const std::string& text, bool offerProceed) {
  // Only a predefined id without a text of its own asks for the id's fixed text.
  const bool fixedText = text.empty() && !PredefinedErrorText(errorId).empty();
  CDlgErrorMsg dialog(fixedText ? errorId : 0, parent_);
  if (!fixedText) dialog.SetMessage(errorId, text);
  dialog.SetOfferProceed(offerProceed);
  dialog.exec();
  return dialog.ProceedChosen();
}

bool DialogPrompts::Confirm(ConfirmMode mode, const std::string& text) {
  CDlgConfirm dialog(mode == ConfirmMode::Upload, mode == ConfirmMode::Delete, mode == ConfirmMode::Terminate, parent_);
  dialog.SetMessage(text);
  return dialog.exec() == QDialog::Accepted;
}

void DialogPrompts::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::Information, "Quenderlink", DialogText(text), QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::uint8_t DialogPrompts::ChooseRailroad(std::uint8_t current) { return AskRailroad(current, parent_); }

}  // namespace quenderlink
