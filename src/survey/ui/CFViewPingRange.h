#pragma once

#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "controls/ui/OperationView.h"
#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "core/ViewWindow.h"
#include "net/EngineRequest.h"
#include "net/PingEngineListener.h"
#include "survey/RangeScanRun.h"
#include "survey/RangeScanSave.h"
#include "workers/ui/BlockingPingListener.h"
#include "workers/ui/EngineRun.h"

class QLabel;
class QPushButton;

namespace quenderlink {

class AddressRangeInputs;
class NumberBox;
class RangeScanModel;
class SiteListView;

// Looks for units on the addresses a.b.c.d .. a.b.c.e with the range engine,
// shows what each unit reports, and keeps the units found in a site list file
// or writes the list as text. The engine runs on a worker thread; its
// notifications are handled here, on the window's thread, while it waits.
class CFViewPingRange : public OperationView, public ViewWindow, private PingEngineListener {
  Q_OBJECT

 public:
  CFViewPingRange(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, MainViewTarget& mainView,
                  QWidget* parent = nullptr);
  // A run still going is stopped and waited for: the engine works on the view's table.
  ~CFViewPingRange() override;

  void OnMainWindowClosing() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void LoadInputs();
  void StartPing();
  void EndOfRun();
  void ShowRunning(bool running);
  void ShowTotals();
  void OnProgressTick();
  bool SomeAddressWaiting() const;
  void Save();
  void AppendRows();
  void SaveNewFile();
  void SaveList(RangeListFormat format);
  [[nodiscard]] std::optional<std::string> AskFile(const char* title, const char* filter, const char* extension);

  void OnPingSent(std::size_t index, int tries) override;
  void OnPingReply(std::size_t index, const ReplyNotice& notice) override;
  void OnPingTimeout(std::size_t index, int tries) override;
  void OnPingFailed(std::size_t index, int tries) override;
  void OnPingStarted() override {}
  void OnPingFinished() override;
  void OnPingBadAddress(std::uint16_t) override {}
  void OnResetConfirmed(std::uint16_t, const ReplyNotice&) override {}
  void OnEngineMessage(const std::string& text) override;

  ProgramState& state_;
  UserPrompts& prompts_;
  MainViewTarget& mainView_;
  DesktopActions& desktop_;
  std::unique_ptr<RangeScanRun> run_;  // the range table; replaced only by the next run
  EngineRequest request_;
  BlockingPingListener engineListener_;
  EngineRun engine_;
  bool blink_ = false;
  bool shown_ = false;
  bool registered_ = false;
  // The view or the program is closing: a run ending now tells nobody.
  bool closing_ = false;

  AddressRangeInputs* range_ = nullptr;
  NumberBox* port_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* abort_ = nullptr;
  QPushButton* close_ = nullptr;
  QPushButton* save_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* totals_ = nullptr;
  SiteListView* list_ = nullptr;
  RangeScanModel* model_ = nullptr;
  QTimer progressTimer_;
};

}  // namespace quenderlink
