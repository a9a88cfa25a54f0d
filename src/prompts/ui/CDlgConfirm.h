#pragma once

#include <QDialog>

#include <string>

#include "core/UserPrompts.h"

class QLabel;

namespace quenderlink {

// Asks to confirm a consequential action; exec() returns Accepted only for the
// confirm button, Rejected for the cancel button and for closing the dialog.
class CDlgConfirm : public QDialog {
  Q_OBJECT

 public:
  CDlgConfirm(ConfirmMode mode, QWidget* parent);

  // Callers format the text beforehand (Printf).
  void SetMessage(const std::string& text);

 private:
  QLabel* message_;
};

}  // namespace quenderlink
