#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

class QLabel;
class QPushButton;

namespace quenderlink {

// Reports an error or a notice. Both buttons end the dialog with Accepted;
// callers that offered to proceed read ProceedChosen().
class CDlgErrorMsg : public QDialog {
  Q_OBJECT

 public:
  // A predefined message id brings its own heading number and text.
  CDlgErrorMsg(std::uint32_t messageId, QWidget* parent);

  // Callers format the text beforehand (Printf); 0 shows the heading "Attention".
  void SetMessage(std::uint32_t shownErrorId, const std::string& text);
  // Shows "Proceed Anyway", and the other button becomes "Cancel Operation".
  void SetOfferProceed(bool offer);

  bool ProceedChosen() const { return proceedChosen_; }

 private:
  void ShowContent();

  std::uint32_t messageId_;
  std::uint32_t shownErrorId_ = 0;
  std::string text_;
  bool offerProceed_ = false;
  bool proceedChosen_ = false;
  QLabel* heading_;
  QLabel* message_;
  QPushButton* ok_;
  QPushButton* proceed_;
};

}  // namespace quenderlink
