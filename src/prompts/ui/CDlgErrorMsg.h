#pragma once

#include <QDialog>

#include <string>

#include "core/ErrorMessages.h"

class QLabel;
class QPushButton;

namespace quenderlink {

// Reports an error or a notice. Both buttons end the dialog with Accepted;
// callers that offered to proceed read ProceedChosen().
class CDlgErrorMsg : public QDialog {
  Q_OBJECT

 public:
  // A message id brings its own heading number and, when it has one, its fixed text.
  CDlgErrorMsg(ErrorId messageId, QWidget* parent);

  // Callers format the text beforehand (Printf); kNone shows the heading "Attention".
  void SetMessage(ErrorId shownErrorId, const std::string& text);
  // Shows "Proceed Anyway", and the other button becomes "Cancel Operation".
  void SetOfferProceed(bool offer);

  bool ProceedChosen() const { return proceedChosen_; }

 private:
  void ShowContent();

  ErrorId messageId_;
  ErrorId shownErrorId_ = ErrorId::kNone;
  std::string text_;
  bool offerProceed_ = false;
  bool proceedChosen_ = false;
  QLabel* heading_;
  QLabel* message_;
  QPushButton* ok_;
  QPushButton* proceed_;
};

}  // namespace quenderlink
