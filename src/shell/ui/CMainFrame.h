#pragma once

#include <QMainWindow>
#include <QMdiArea>

#include <map>

#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "shell/OperationOpener.h"
#include "shell/ui/ViewFactory.h"

namespace quenderlink {

class CMainView;

// The main window: a multiple-document frame whose child windows each hold one
// view, with the main menu and a tool bar. It opens the operations' windows
// and refuses to close while an operation runs.
class CMainFrame : public QMainWindow, public OperationOpener {
  Q_OBJECT

 public:
  CMainFrame(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, QWidget* parent = nullptr);

  // The first child window, holding the main view, opened and loaded.
  CMainView* OpenMainView();
  CMainView* mainView() const { return mainView_; }
  QMdiArea* mdiArea() const { return mdiArea_; }
  // The main menu's action of a command id, or nullptr.
  QAction* action(int id) const;
  // The largest height the window may take on a screen of that height.
  void ApplySizeRule(int screenHeight);
  // A stop asked for from outside the program, handled as "Exit" without a
  // question: every run stops now, and the site table is let go first, so no
  // half-done run is saved into the site list.
  void ShutDown();

  // OperationOpener
  void OpenView(const ViewRequest& request) override;
  void OpenSitePing(const SiteRecord& site) override;
  void OpenManualPing() override;
  void OpenSingleSiteUpload(const std::string& programFile) override;
  void OpenResetDialog(const SiteRecord& site) override;
  void OpenDnsConversion() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildWindowMenu();
  void ListOpenWindows(QMenu* menu, QAction* listStart);
  void BuildToolBar();
  void RunCommand(int id);
  void UpdateEnabledItems(const QMenu* menu);
  QMdiSubWindow* AddChild(const ViewRequest& request, QWidget* view);

  ProgramState& state_;
  UserPrompts& prompts_;
  DesktopActions& desktop_;
  ViewFactory factory_;
  QMdiArea* mdiArea_;
  CMainView* mainView_ = nullptr;
  std::map<int, QAction*> actions_;
};

}  // namespace quenderlink
