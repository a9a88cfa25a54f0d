#pragma once

#include <QTimer>

#include <functional>
#include <string>

#include "controls/ui/OperationView.h"
#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "core/ViewWindow.h"
#include "terminal/TelnetSession.h"
#include "terminal/TelnetSessionJournal.h"

class QAction;
class QMenuBar;
class QPushButton;

namespace quenderlink {

class COurBCGEditCtrl;
class TelnetCommandWorker;
class TelnetSocketWatch;

// A terminal on one unit's telnet port: connects as it opens, shows and
// captures what the unit sends, sends what the user types, and runs the
// settings' command lists. Its window stays open while connected.
class CFViewTelnetSession : public OperationView, public ViewWindow, private TelnetSessionListener {
  Q_OBJECT

 public:
  // Opens on a copy of the operation state's telnet site.
  // The view connects to `site`, a copy of the record it was opened on.
  CFViewTelnetSession(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, const SiteRecord& site,
                      QWidget* parent = nullptr);
  ~CFViewTelnetSession() override;

  bool MayClose() override { return !connected_; }
  void OnMainWindowClosing() override;

  const SiteRecord& site() const { return site_; }

 private:
  QMenuBar* BuildMenu();
  void Open();
  void Connect();
  void Disconnect();
  void EndDisconnect();
  void ToggleConnection();
  void CloseView();
  void ShowState();
  void UseColors();
  void ChooseColors();
  void SetColorScheme(std::size_t scheme);
  void ChooseFontSize();
  void ChooseClear();
  void ToggleEcho();
  void RunCommandList(int list);
  void SaveBuffer();
  void StartCapture();
  void ShowTerminalMenu();
  void Typed(char character, int repeatCount);
  bool SendToUnit(const std::string& bytes);
  // Runs a button's action, then hands the keyboard back to the terminal.
  void OnButton(QPushButton* button, std::function<void()> action);

  void OnTerminalText(const std::string& text) override;
  void OnConnectionChanged(bool connected) override;

  ProgramState& state_;
  UserPrompts& prompts_;
  DesktopActions& desktop_;
  const SiteRecord site_;
  const std::string host_;
  TelnetSession session_;
  TelnetSessionJournal journal_;
  COurBCGEditCtrl* terminal_;
  TelnetSocketWatch* watch_;
  TelnetCommandWorker* commands_;
  int runningList_ = 0;  // the command list going out, while one does
  QPushButton* close_;
  QPushButton* connect_;
  QPushButton* echo_;
  QAction* fileDisconnect_ = nullptr;
  QAction* sessionReconnect_ = nullptr;
  QAction* sessionDisconnect_ = nullptr;
  // The pause between "BYE" and the close.
  QTimer byePause_;
  int fontHeight_ = 16;
  bool connected_ = false;
  bool closeAfterDisconnect_ = false;
  bool registered_ = false;
  bool released_ = false;
};

}  // namespace quenderlink
