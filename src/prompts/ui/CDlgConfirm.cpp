#include "prompts/ui/CDlgConfirm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "prompts/ConfirmCaptions.h"
#include "prompts/ErrorDialogContent.h"
#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {

CDlgConfirm::CDlgConfirm(ConfirmMode mode, QWidget* parent) : QDialog(parent) {
  setModal(true);
  setWindowTitle(kConfirmHeading);
  const ConfirmCaptions captions = CaptionsFor(mode);

  message_ = PlainLabel({}, "messageLabel", this);
  auto* text = new QVBoxLayout;
  text->addWidget(HeadingLabel(kConfirmHeading, "headingLabel", this));
  text->addWidget(message_, 1);
  auto* body = new QHBoxLayout;
  body->addWidget(PictureLabel(QStyle::SP_MessageBoxQuestion, this));
  body->addLayout(text, 1);

  QPushButton* confirm = LargeButton(QString::fromStdString(captions.confirm), "confirmButton", this);
  QPushButton* cancel = LargeButton(QString::fromStdString(captions.cancel), "cancelButton", this);
  // A stray Enter must not start, stop or delete anything.
  confirm->setAutoDefault(false);
  cancel->setDefault(true);
  connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(confirm);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addSpacing(12);
  layout->addLayout(buttons);
}

void CDlgConfirm::SetMessage(const std::string& text) { message_->setText(DialogText(CutDialogMessage(text))); }

}  // namespace quenderlink
