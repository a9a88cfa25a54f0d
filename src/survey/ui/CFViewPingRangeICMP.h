#pragma once

#include <QTimer>

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "controls/ui/OperationView.h"
#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "core/ViewWindow.h"
#include "net/IcmpJob.h"
#include "survey/IcmpScanMethod.h"
#include "survey/IcmpScanRun.h"
#include "survey/IcmpScanSave.h"
#include "workers/ui/BlockingIcmpListener.h"
#include "workers/ui/EngineRun.h"

class QLabel;
class QPushButton;
class QWidget;

namespace quenderlink {

class AddressRangeInputs;
class IcmpScanModel;
class SiteListView;

// Sends ICMP echo, five tries per address, to a range of addresses or to the
// listed sites, with the method chosen from the Ping menu, and shows each
// address's reply times. Every address runs on a thread of its own; their calls
// are handled here, on the window's thread, while they wait.
class CFViewPingRangeICMP : public OperationView, public ViewWindow, private IcmpListener {
  Q_OBJECT

 public:
  // Whether the method can ping here; tests stand in for the sockets' answer.
  using AccessCheck = std::function<bool(IcmpScanMode)>;

  CFViewPingRangeICMP(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, IcmpScanMode mode,
                      AccessCheck canPing = CanPingWith, QWidget* parent = nullptr);
  // A run still going is aborted and its threads are waited for: they write into the view.
  ~CFViewPingRangeICMP() override;

  void OnMainWindowClosing() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void LoadInputs();
  void StartPing();
  void StartListedSites();
  // A journal run for the scan about to start, with the settings it reads.
  JournalRun StartJournal();
  void BeginRun(const IcmpRunChange& change);
  void Apply(const IcmpRunChange& change);
  void EndOfRun();
  void StopAndJoin();
  void ShowRunning(bool running);
  void Show(std::optional<std::size_t> row);
  void RefreshNow();
  void StartJob(IcmpJob& job);
  IcmpParams ReadParams();
  void Save();
  void SaveRows(bool ticked, IcmpListFormat format);

  void OnIcmpReply(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpErrorText(std::uint16_t index, const std::string& text) override;
  void OnIcmpTryFailed(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpTry(std::uint16_t index, const std::string& text) override;
  void OnIcmpStatus(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpDone(std::uint16_t index, bool complete) override;
  void OnIcmpRawText(std::uint16_t index, const std::string& text) override;
  void OnIcmpRawReply(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpRawTryFailed(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpMessage(const std::string& text) override;

  ProgramState& state_;
  UserPrompts& prompts_;
  DesktopActions& desktop_;
  const IcmpScanMode mode_;
  const AccessCheck canPing_;
  BlockingIcmpListener engineListener_;
  IcmpScanRun run_;
  // A thread per address, at most 20 alive: a finished one is joined when its slot is filled again.
  EngineRun engine_;
  // The engines read the settings at every try, from several threads.
  std::mutex paramsMutex_;
  bool running_ = false;
  bool shown_ = false;
  bool registered_ = false;

  // Rows changed since the last repaint, as the span they cover.
  std::optional<std::pair<std::size_t, std::size_t>> changed_;
  QTimer refreshTimer_;
  std::chrono::steady_clock::time_point lastRefresh_{};

  AddressRangeInputs* inputs_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* abort_ = nullptr;
  QPushButton* close_ = nullptr;
  QPushButton* save_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* totals_ = nullptr;
  SiteListView* list_ = nullptr;
  IcmpScanModel* model_ = nullptr;
};

}  // namespace quenderlink
