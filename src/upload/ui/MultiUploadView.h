#pragma once

#include <QTimer>

#include <chrono>
#include <optional>
#include <string>

#include "controls/ui/OperationView.h"
#include "core/ProgramState.h"
#include "core/RunOrigin.h"
#include "core/UserPrompts.h"
#include "core/ViewWindow.h"
#include "upload/JournalUploadRecorder.h"
#include "upload/MultiUploadRun.h"
#include "upload/UploadEngineListener.h"
#include "upload/UploadRequest.h"
#include "workers/ui/BlockingUploadListener.h"
#include "workers/ui/EngineRun.h"

class QLabel;
class QPushButton;

namespace quenderlink {

// What the upload list and the upload boxes share: the run over the
// highlighted sites on a worker thread, from the program file the main view
// hands over to the engine's last event; the totals in the headline; the abort
// question; and the refusal to close while the engine runs. The derived view
// shows what its run changed.
class MultiUploadView : public OperationView,
                        public ViewWindow,
                        public ProgramFileTarget,
                        private UploadEngineListener {
  Q_OBJECT

 public:
  // `slot` is where the main view finds the view to hand the program file to.
  MultiUploadView(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView, ProgramFileTarget*& slot,
                  const char* abortText, QWidget* parent = nullptr);
  ~MultiUploadView() override;

  // Starts the run.
  void ReceiveProgramFile(const std::string& path) override;
  void OnMainWindowClosing() override;
  bool MayClose() override;

  bool running() const { return engine_.running(); }
  bool started() const { return started_; }

 protected:
  // The derived view's run; called only once a run has begun.
  virtual MultiUploadRun& run() = 0;
  // The list row or box that an event changed: shown at the next refresh.
  virtual void MarkChanged(std::size_t place) = 0;
  // Shows what changed since the last refresh. Painting after every event
  // would hold up the engine, which waits for each event to be handled.
  virtual void Refresh() = 0;
  virtual void ShowRunning(bool running);
  // Every derived destructor calls this first: the engine's calls reach the derived view.
  void StopEngine();

  QLabel* headline() const { return headline_; }
  QPushButton* abortButton() const { return abort_; }
  QPushButton* closeButton() const { return close_; }

 private:
  void Abort();
  void Show(std::optional<std::size_t> place);
  void RefreshNow();
  void EndRun();

  void OnJobAddress(std::uint16_t row, const std::string& address) override;
  void OnUploadEvent(UploadEvent event, std::uint16_t row, int value) override;
  void OnPacketText(std::uint16_t row, const std::string& text) override;
  void OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) override;
  void OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) override;
  void OnUploadDone() override;

  ProgramState& state_;
  UserPrompts& prompts_;
  MainViewTarget& mainView_;
  ProgramFileTarget*& slot_;
  UploadRequest request_;
  BlockingUploadListener engineListener_;
  // The engine's listener: journals each unit's upload on the way to the view.
  std::optional<JournalUploadRecorder> journal_;
  QLabel* headline_;
  QPushButton* abort_;
  QPushButton* close_;
  QTimer refreshTimer_;
  std::chrono::steady_clock::time_point lastRefresh_;
  RunOrigin origin_;
  EngineRun engine_;
  // Why the run could not start, when it could not.
  std::string runFailure_;
  // A view runs once: its rows or boxes keep the outcome of that run.
  bool started_ = false;
  bool registered_ = false;
  bool released_ = false;
};

}  // namespace quenderlink
