#include "shell/ui/CMainFrame.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

#include "dialogs/ui/CDlgAddSite.h"
#include "dialogs/ui/CDlgResetUnit.h"
#include "shell/MainFrameRules.h"
#include "shell/MainMenu.h"
#include "shell/ui/CAboutDlg.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/CMainView.h"
#include "survey/ui/CDlgPowerupConvertDNS.h"
#include "upload/ui/CDlgUploadFile.h"

namespace quenderlink {

CMainFrame::CMainFrame(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, QWidget* parent)
    : QMainWindow(parent), state_(state), prompts_(prompts), desktop_(desktop),
      factory_(state, prompts, desktop, *this), mdiArea_(new QMdiArea(this)) {
  setWindowTitle("Quenderlink");
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Each child keeps its own size: restoring one does not shrink the main list with it.
  mdiArea_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
  setCentralWidget(mdiArea_);
  BuildMenus();
  BuildToolBar();
}

void CMainFrame::BuildMenus() {
  for (const MenuPopup& popup : MainMenuLayout()) {
    QMenu* menu = menuBar()->addMenu(QString::fromStdString(popup.title));
    for (const MenuItem& item : popup.items) {
      if (item.text.empty()) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(QString::fromStdString(item.text));
      action->setData(item.id);
      actions_[item.id] = action;
      connect(action, &QAction::triggered, this, [this, id = item.id] { RunCommand(id); });
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateEnabledItems(menu); });
  }
  BuildWindowMenu();
}

// Arranges the child windows, or brings one to the front from the list of
// those open, the active one checked.
void CMainFrame::BuildWindowMenu() {
  QMenu* menu = menuBar()->addMenu("&Window");
  menu->setObjectName("windowMenu");
  connect(menu->addAction("&Cascade"), &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
  connect(menu->addAction("&Tile"), &QAction::triggered, mdiArea_, &QMdiArea::tileSubWindows);
  QAction* listStart = menu->addSeparator();
  connect(menu, &QMenu::aboutToShow, this, [this, menu, listStart] { ListOpenWindows(menu, listStart); });
}

void CMainFrame::ListOpenWindows(QMenu* menu, QAction* listStart) {
  const QList<QAction*> items = menu->actions();
  for (qsizetype at = items.indexOf(listStart) + 1; at < items.size(); ++at) {
    menu->removeAction(items[at]);
    items[at]->deleteLater();
  }
  int number = 0;
  for (QMdiSubWindow* child : mdiArea_->subWindowList()) {
    QAction* item = menu->addAction(QString("&%1 %2").arg(++number).arg(child->windowTitle()));
    item->setCheckable(true);
    item->setChecked(child == mdiArea_->activeSubWindow());
    connect(item, &QAction::triggered, this, [this, child] { mdiArea_->setActiveSubWindow(child); });
  }
}

void CMainFrame::BuildToolBar() {
  QToolBar* tools = addToolBar("Commands");
  tools->setObjectName("commandToolBar");
  tools->setMovable(false);
  const std::pair<int, const char*> commands[] = {
      {menu::kPingChecked, "Ping Selected"}, {menu::kPingAll, "Ping All"},      {menu::kPingManual, "Ping Manual"},
      {menu::kPingRange, "Ping Range"},      {menu::kBeginUpload, "Upload"},    {menu::kAbout, "About"}};
  for (const auto& [id, text] : commands) {
    connect(tools->addAction(text), &QAction::triggered, this, [this, id = id] { RunCommand(id); });
  }
}

QAction* CMainFrame::action(int id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::UpdateEnabledItems(const QMenu* menu) {
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    const int id = action->data().toInt();
    action->setEnabled(id == menu::kAbout || (mainView_ && mainView_->IsCommandEnabled(id)));
  }
}

void CMainFrame::RunCommand(int id) {
  if (id == menu::kAbout) {
    CAboutDlg(this).exec();
  } else if (id == menu::kExit) {
    close();
  } else if (mainView_) {
    mainView_->RunCommand(id);
  }
}

QMdiSubWindow* CMainFrame::AddChild(const ViewRequest& request, QWidget* view) {
  auto* child = new CChildFrame(view, request.kind != ViewKind::kMain);
  child->setWindowTitle(QString::fromStdString(ViewKindTitle(request)));
  mdiArea_->addSubWindow(child);
  // An operation opens as large as the list it was started from.
  const QMdiSubWindow* active = mdiArea_->activeSubWindow();
  if (active && active->isMaximized())
    child->showMaximized();
  else
    child->show();
  return child;
}

CMainView* CMainFrame::OpenMainView() {
  mainView_ = factory_.CreateMainView();
  QMdiSubWindow* child = AddChild({.kind = ViewKind::kMain}, mainView_);
  // A maximised child's title shows in the main window's title as well.
  connect(mainView_, &CMainView::titleChanged, child, &QWidget::setWindowTitle);
  connect(mainView_, &CMainView::exitRequested, this, &QWidget::close);
  connect(mainView_, &CMainView::paramsReapplied, this, [this] {
    if (const QScreen* shown = screen()) ApplySizeRule(shown->geometry().height());
  });
  mainView_->Open();
  child->showMaximized();
  return mainView_;
}

void CMainFrame::OpenView(const ViewRequest& request) {
  if (!mainView_) return;
  OperationView* view = factory_.Create(request, *mainView_);
  if (!view) return;
  QMdiSubWindow* child = AddChild(request, view);
  connect(view, &OperationView::titleChanged, child, &QWidget::setWindowTitle);
  connect(view, &OperationView::closeRequested, child, &QWidget::close);
}

void CMainFrame::OpenSitePing(const SiteRecord& site) {
  if (!mainView_) return;
  state_.operations.rowBeingModified = kNoRow;
  CDlgAddSite dialog(SiteEditMode::PingSite, state_, prompts_, *mainView_, this);
  dialog.SetSite(site);
  dialog.exec();
}

void CMainFrame::OpenManualPing() {
  if (!mainView_) return;
  state_.operations.rowBeingModified = kNoRow;
  CDlgAddSite dialog(SiteEditMode::PingAddress, state_, prompts_, *mainView_, this);
  dialog.exec();
}

void CMainFrame::OpenSingleSiteUpload(const std::string& programFile) {
  if (!mainView_) return;
  state_.operations.rowBeingModified = kNoRow;
  CDlgUploadFile(state_, prompts_, desktop_, *mainView_, programFile, this).exec();
}

void CMainFrame::OpenResetDialog(const SiteRecord& site) { CDlgResetUnit(site, state_.params, prompts_, this).exec(); }

void CMainFrame::OpenDnsConversion() {
  if (!mainView_) return;
  CDlgPowerupConvertDNS dialog(state_, static_cast<std::size_t>(mainView_->model().rowCount()), this);
  connect(&dialog, &CDlgPowerupConvertDNS::rowResolved, mainView_, &CMainView::OnAddressResolved);
  dialog.exec();
}

void CMainFrame::ApplySizeRule(int screenHeight) {
  setMaximumHeight(MaxTrackingHeight(state_.params.reduceHeight, screenHeight));
}

void CMainFrame::ShutDown() { state_.openViews.NotifyMainWindowClosing(); }

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (MayCloseMainWindow(state_, prompts_)) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace quenderlink
