#pragma once

#include <QWidget>

#include <cstdint>
#include <string>

#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/StartupView.h"
#include "core/UserPrompts.h"
#include "core/ViewWindow.h"
#include "dialogs/SiteEditOwner.h"
#include "shell/FileChoiceCommands.h"
#include "shell/LaunchRules.h"
#include "shell/MainViewSettings.h"
#include "shell/OperationOpener.h"
#include "shell/SiteListCommands.h"
#include "shell/ui/MainViewForm.h"
#include "shell/ui/SiteListModel.h"
#include "upload/UploadedSite.h"

namespace quenderlink {


// The site list: the first view, open as long as the program runs. It shows the
// site table, decides which sites an operation applies to and opens it, and
// takes the results back.
class CMainView : public QWidget,
                  public ViewWindow,
                  public MainViewTarget,
                  public StartupView,
                  public SiteEditOwner,
                  public UploadedSiteReceiver {
  Q_OBJECT

 public:
  CMainView(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, OperationOpener& opener,
            QWidget* parent = nullptr);
  // Writes the three display flags of Main View Options.
  ~CMainView() override;

  // The first update: settings, columns, the current site list file.
  void Open();

  MainViewForm& form() { return *form_; }
  SiteListModel& model() { return *model_; }
  const std::string& title() const { return title_; }

  // Menu commands by id, the enable rule of each, and the row menu's commands.
  void RunCommand(int id);
  bool IsCommandEnabled(int id) const;
  void RunRowMenuCommand(int id);

  // Upload as the "Begin Upload" button does, with the Ctrl key held or not.
  void BeginUpload(bool ctrlHeld);
  void OnDoubleClick(int row, bool ctrlHeld);
  void OnCellButton(int row, int column, bool ctrlHeld);
  void OnHeaderClicked(int column);
  void SortBy(int key, bool ascending);

  // Messages from the other views.
  void OnRunFinished(const RunOrigin& origin) override;
  void OnSiteFileWritten(bool newFile, const std::string& path) override;
  void OnRecolour() override;
  void OnMainWindowClosing() override;
  // A fresh ping of a listed site, from a dialog that does not edit it.
  void OnSiteRefreshed(bool powerup, const SiteRecord& site);
  // The CPR conversion wrote a new address into the record of that row.
  void OnAddressResolved(int row);

  // SiteEditOwner
  void OnSitePinged(bool powerup, const SiteRecord& site) override;
  void OnSiteSaved(const SiteRecord& site) override;
  // UploadedSiteReceiver
  void OnUploadedSiteIdentified(const SiteRecord& site) override;
  void OnUploadedSiteRefreshed(const SiteRecord& site) override;

  // Applies changed runtime parameters to the display.
  void Reapply();

  // StartupView
  std::uint8_t AskRailroad() override;
  void ShowSiteFile(const std::string& path, const std::string& caption) override;
  void ShowProgramFile(const std::string& path, const std::string& caption) override;
  void ShowConfigButton(bool shown) override;

 signals:
  void titleChanged(const QString& title);
  // The "Exit" button asks the main window to close.
  void exitRequested();
  // The runtime parameters were applied again: the frame's height rule may have changed.
  void paramsReapplied();

 private:
  void ConnectControls();
  void ShowRowMenu(int row);
  void LoadAndFill();
  void ShowSortIndicator();
  void Arrange();
  void ApplyColumnWidths();
  void RefreshTitle();
  void ResetSiteFileCaption();
  void SetShowIndexColumn(bool shown);
  void SelectRailroad();
  void ExitButton();
  void Apply(const ListChange& change);
  void ShowProgramFileChoice(const std::optional<std::string>& path);
  void EditRuntimeParams();
  void AddSite();
  void ModifySelectedSite();
  int SelectedRow() const;
  void RunOnSelectedRow(void (LaunchRules::*rule)(int));

  ProgramState& state_;
  UserPrompts& prompts_;
  DesktopActions& desktop_;
  OperationOpener& opener_;
  LaunchRules rules_;
  SiteListCommands commands_;
  FileChoiceCommands fileChoices_;
  MainViewSettings settings_;
  MainViewForm* form_;
  SiteListModel* model_;
  std::string title_;
  bool siteFileChosen_ = false;
  // The table is in the order of the last sort, not the file's.
  bool listSorted_ = false;
  bool registered_ = false;
};

}  // namespace quenderlink
