#include "prompts/ui/CDlgErrorMsg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "prompts/ErrorDialogContent.h"
#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {

CDlgErrorMsg::CDlgErrorMsg(ErrorId messageId, QWidget* parent) : QDialog(parent), messageId_(messageId) {
  setModal(true);
  setWindowTitle("Quenderlink");

  heading_ = HeadingLabel({}, "headingLabel", this);
  message_ = PlainLabel({}, "messageLabel", this);
  auto* text = new QVBoxLayout;
  text->addWidget(heading_);
  text->addWidget(message_, 1);
  auto* body = new QHBoxLayout;
  body->addWidget(PictureLabel(QStyle::SP_MessageBoxWarning, this));
  body->addLayout(text, 1);

  ok_ = LargeButton({}, "okButton", this);
  ok_->setDefault(true);
  proceed_ = LargeButton("Proceed Anyway", "proceedButton", this);
  proceed_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(proceed_, &QPushButton::clicked, this, [this] {
    proceedChosen_ = true;
    accept();
  });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok_);
  buttons->addWidget(proceed_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addSpacing(12);
  layout->addWidget(PlainLabel(DialogText(ContactBlockText()), "contactLabel", this));
  layout->addSpacing(12);
  layout->addLayout(buttons);
  ShowContent();
}

void CDlgErrorMsg::SetMessage(ErrorId shownErrorId, const std::string& text) {
  shownErrorId_ = shownErrorId;
  text_ = text;
  ShowContent();
}

void CDlgErrorMsg::SetOfferProceed(bool offer) {
  offerProceed_ = offer;
  ShowContent();
}

// Resolved again after every setter, so the dialog always shows what the rules
// make of everything its caller has filled in so far.
void CDlgErrorMsg::ShowContent() {
  const ErrorDialogContent content = ResolveErrorDialog(messageId_, shownErrorId_, text_, offerProceed_);
  heading_->setText(QString::fromStdString(content.heading));
  message_->setText(DialogText(content.message));
  ok_->setText(QString::fromStdString(content.okCaption));
  proceed_->setVisible(content.proceedShown);
}

}  // namespace quenderlink
