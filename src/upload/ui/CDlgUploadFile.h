#pragma once

#include <QColor>
#include <QDialog>
#include <QTimer>

#include <chrono>
#include <optional>
#include <string>

#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/RunSite.h"
#include "core/SiteRecord.h"
#include "core/UserPrompts.h"
#include "upload/JournalUploadRecorder.h"
#include "upload/UploadLog.h"
#include "upload/UploadRequest.h"
#include "upload/UploadedSite.h"
#include "workers/ui/BlockingUploadListener.h"
#include "workers/ui/EngineRun.h"

class QLabel;
class QPushButton;
class QToolButton;

namespace quenderlink {

class LogBox;

// Uploads a program file to the highlighted site and narrates every step in a
// log the user can save, copy or mail; once the upload is over it offers a
// reset and a ping of the unit. The engine runs on a worker thread over the
// dialog's copy of the highlighted sites, taken when it opens; the dialog keeps
// the first one's record for the receiver, the reset and the ping.
class CDlgUploadFile : public QDialog, private UploadEngineListener {
  Q_OBJECT

 public:
  CDlgUploadFile(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, UploadedSiteReceiver& receiver,
                 std::string programFile, QWidget* parent = nullptr);
  ~CDlgUploadFile() override;

  // Esc and the window's close button do what "Abort" does.
  void reject() override;
  // Every way of closing ends here: a running engine is stopped and its calls
  // are served until it has finished, since it uses the dialog's request.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Start();
  void AbortOrClose();
  void EndRun();
  void ShowStatus(const std::string& text, QColor textColour, QColor background);
  void ApplyBlinkPhase();
  void Blink();
  void LogLine(LogClass logClass, const std::string& text);
  std::string UploadSeconds() const;

  void ShowReport();
  void CopyLogToClipboard();
  void SaveLog();
  void ResetUnit();
  void PingUnit();

  void OnJobAddress(std::uint16_t row, const std::string& address) override;
  void OnUploadEvent(UploadEvent event, std::uint16_t row, int value) override;
  void OnPacketText(std::uint16_t row, const std::string& text) override;
  void OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) override;
  void OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) override;
  void OnUploadDone() override;

  ProgramState& state_;
  UserPrompts& prompts_;
  DesktopActions& desktop_;
  UploadedSiteReceiver& receiver_;
  std::string programFile_;
  std::optional<SiteRecord> site_;  // the first highlighted record, as found on opening
  RunSiteCopy sites_;
  UploadRequest request_;
  BlockingUploadListener engineListener_;
  // The engine's listener: journals the upload on the way to the dialog.
  std::optional<JournalUploadRecorder> journal_;
  UploadLog uploadLog_;
  EngineRun engine_;
  std::chrono::steady_clock::time_point startedAt_;
  int uploadTenths_ = 0;
  bool startPosted_ = false;
  // Closing is allowed without asking.
  bool done_ = false;
  bool abortAsked_ = false;
  bool closing_ = false;
  bool blinkPhase_ = false;
  QColor statusTextColour_;
  QColor statusBackground_;
  QTimer blinkTimer_;

  LogBox* log_;
  QLabel* status_;
  QToolButton* icon_;
  QPushButton* abort_;
  QPushButton* report_;
  QPushButton* reset_;
  QPushButton* ping_;
};

}  // namespace quenderlink
