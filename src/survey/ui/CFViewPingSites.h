#pragma once

#include <QTimer>

#include <optional>

#include "controls/ui/OperationView.h"
#include "core/ProgramState.h"
#include "core/RunOrigin.h"
#include "core/UserPrompts.h"
#include "core/ViewWindow.h"
#include "journal/JournalPingRecorder.h"
#include "net/EngineRequest.h"
#include "net/PingEngineListener.h"
#include "survey/PingSitesRun.h"
#include "workers/ui/BlockingPingListener.h"
#include "workers/ui/EngineRun.h"

class QLabel;
class QPushButton;

namespace quenderlink {

class PingSitesModel;
class SiteListView;

// Pings, or resets, every site the main view marked, all at once: lists them,
// runs the site engine over them on a worker thread, shows each site's progress
// and outcome and the running totals, and offers to run them all, or only the
// failed ones, again. What each notification does is the PingSitesRun's; the
// view shows it and tells the rest of the program when a run begins and ends.
class CFViewPingSites : public OperationView, public ViewWindow, private PingEngineListener {
  Q_OBJECT

 public:
  CFViewPingSites(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView, PingMode mode,
                  QWidget* parent = nullptr);
  // A run still going is stopped and its engine waited for.
  ~CFViewPingSites() override;

  void OnMainWindowClosing() override;

 private:
  void Open();
  void StartRun();
  void EndRun();
  void Abort();
  void RePingAll();
  void RePingFailed();
  void Tick();
  void ShowRunning(bool running);
  void ShowTotals();
  void PaintStatus();
  void SiteChanged(std::size_t rowNumber);

  void OnPingSent(std::size_t id, int tries) override;
  void OnPingReply(std::size_t id, const ReplyNotice& notice) override;
  void OnPingTimeout(std::size_t id, int tries) override;
  void OnPingFailed(std::size_t id, int tries) override;
  void OnPingStarted() override;
  void OnPingFinished() override;
  void OnPingBadAddress(std::uint16_t row) override;
  void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) override;
  void OnEngineMessage(const std::string& text) override;

  ProgramState& state_;
  UserPrompts& prompts_;
  MainViewTarget& mainView_;
  PingMode mode_;
  PingSitesRun run_;
  EngineRequest request_;
  BlockingPingListener engineListener_;
  // The engine's listener while a run lasts: journals each result on the way to the view.
  std::optional<JournalPingRecorder> journal_;
  PingSitesModel* model_;
  SiteListView* list_;
  QLabel* status_;
  QLabel* totals_;
  QPushButton* abort_;
  QPushButton* close_;
  QPushButton* rePingAll_;
  QPushButton* rePingFailed_;
  QTimer progressTimer_;
  RunOrigin origin_;
  EngineRun engine_;
  bool blink_ = false;
  bool registered_ = false;
  bool released_ = false;
  // The view is going: a run ending now tells nobody.
  bool closing_ = false;
};

}  // namespace quenderlink
