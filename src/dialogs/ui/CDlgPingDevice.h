#pragma once

#include <QDialog>
#include <QTimer>

#include <optional>
#include <string>

#include "core/LogClass.h"
#include "core/ProgramState.h"
#include "core/SiteTable.h"
#include "core/UserPrompts.h"
#include "journal/JournalPingRecorder.h"
#include "net/DeviceReply.h"
#include "net/EngineRequest.h"
#include "net/PingEngineListener.h"
#include "workers/ui/BlockingPingListener.h"
#include "workers/ui/EngineRun.h"

class QProgressBar;
class QPushButton;

namespace quenderlink {

class LogBox;

// Pings one unit for another dialog and hands back its decoded reply. The
// caller runs it modally, then reads ReplyReceived() and Reply(). The engine
// works on a copy of the caller's record; the dialog closes by itself when the
// engine has finished, and cancelling only asks the engine to stop.
class CDlgPingDevice : public QDialog, private PingEngineListener {
  Q_OBJECT

 public:
  CDlgPingDevice(SiteRecord& site, ProgramState& state, UserPrompts& prompts, QWidget* parent = nullptr);
  ~CDlgPingDevice() override;

  bool ReplyReceived() const { return replyReceived_; }
  bool UserAborted() const { return userAborted_; }
  const DeviceReply& Reply() const { return reply_; }

  // Every way of closing ends here; while the engine runs it becomes a request to stop.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Start();
  void Terminate();
  void Log(LogClass logClass, const std::string& text);

  void OnPingSent(std::size_t id, int tries) override;
  void OnPingReply(std::size_t id, const ReplyNotice& notice) override;
  void OnPingTimeout(std::size_t id, int tries) override;
  void OnPingFailed(std::size_t id, int tries) override;
  void OnPingStarted() override {}
  void OnPingFinished() override;
  void OnPingBadAddress(std::uint16_t) override {}
  void OnResetConfirmed(std::uint16_t, const ReplyNotice&) override {}
  void OnEngineMessage(const std::string& text) override;

  ProgramState& state_;
  UserPrompts& prompts_;
  SiteTable siteCopy_;  // the one record pinged, a copy of the caller's
  EngineRequest request_;
  BlockingPingListener engineListener_;
  // The engine's listener: journals the ping on the way to the dialog.
  std::optional<JournalPingRecorder> journal_;
  DeviceReply reply_{};
  bool replyReceived_ = false;
  bool userAborted_ = false;
  bool startPosted_ = false;
  int tenths_ = 0;
  LogBox* log_;
  QProgressBar* progress_;
  QPushButton* cancel_;
  QTimer progressTimer_;
  EngineRun engine_;
};

}  // namespace quenderlink
