#include "dialogs/ui/CDlgResetUnit.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/ui/LogBox.h"

namespace quenderlink {

CDlgResetUnit::CDlgResetUnit(const SiteRecord& site, const RuntimeParams& params, UserPrompts& prompts,
                             QWidget* parent)
    : QDialog(parent), prompts_(prompts), log_(new LogBox(this)), wait_(site, params, log_->Sink()) {
  setModal(true);
  setWindowTitle(tr("Reset Unit"));
  log_->setObjectName("logBox");
  log_->setMinimumSize(420, 160);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("progressBar");
  progress_->setTextVisible(false);
  resend_ = new QPushButton("Resend Reset", this);
  resend_->setObjectName("resendButton");
  resend_->setAutoDefault(false);
  resend_->setEnabled(false);  // the first send is on its way
  auto* close = new QPushButton("Close", this);
  close->setObjectName("closeButton");
  close->setDefault(true);
  connect(resend_, &QPushButton::clicked, this, &CDlgResetUnit::SendReset);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(resend_);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(progress_);
  layout->addWidget(log_, 1);
  layout->addLayout(buttons);

  waitTimer_.setSingleShot(true);
  waitTimer_.setInterval(ResetWait::kTickMs);
  connect(&waitTimer_, &QTimer::timeout, this, &CDlgResetUnit::Tick);
}

void CDlgResetUnit::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (firstSendPosted_) return;
  firstSendPosted_ = true;
  // Posted, so that the dialog is on screen before the reset goes out.
  QTimer::singleShot(0, this, [this] {
    if (!isVisible()) return;
    // The dialog still runs: every wait then ends with the caution line.
    if (!wait_.socketReady()) prompts_.ShowMessage("ERROR CREATE");
    SendReset();
  });
}

void CDlgResetUnit::SendReset() {
  wait_.SendReset();
  progress_->setRange(0, static_cast<int>(wait_.maxTicks()));
  progress_->setValue(0);
  resend_->setEnabled(false);
  waitTimer_.start();
}

// Restarted only after a tick is handled, so ticks never pile up behind a slow one.
void CDlgResetUnit::Tick() {
  const ResetWait::State state = wait_.Tick();
  progress_->setValue(static_cast<int>(std::min(wait_.tickCount(), wait_.maxTicks())));
  if (state == ResetWait::State::Waiting)
    waitTimer_.start();
  else
    resend_->setEnabled(true);
}

void CDlgResetUnit::done(int result) {
  waitTimer_.stop();
  QDialog::done(result);
}

}  // namespace quenderlink
