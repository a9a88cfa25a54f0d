#pragma once

#include <QDialog>
#include <QTimer>

#include "core/RuntimeParams.h"
#include "core/SiteRecord.h"
#include "core/UserPrompts.h"
#include "upload/ResetWait.h"

class QProgressBar;
class QPushButton;

namespace quenderlink {

class LogBox;

// Tells one unit to reset itself and shows, with a progress bar, the wait for
// its confirmation. Everything runs on the dialog's thread: a 100 ms timer
// polls the socket once per tick.
class CDlgResetUnit : public QDialog {
  Q_OBJECT

 public:
  CDlgResetUnit(const SiteRecord& site, const RuntimeParams& params, UserPrompts& prompts, QWidget* parent = nullptr);

  // Every way of closing stops the wait.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SendReset();
  void Tick();

  UserPrompts& prompts_;
  LogBox* log_;  // before wait_, which writes into it
  ResetWait wait_;
  QProgressBar* progress_;
  QPushButton* resend_;
  QTimer waitTimer_;
  bool firstSendPosted_ = false;
};

}  // namespace quenderlink
