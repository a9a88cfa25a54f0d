#include "shell/ui/CMainView.h"

#include <QGuiApplication>
#include <QTimer>
#include <QVBoxLayout>

#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "core/StartupSettings.h"
#include "dialogs/ui/CDlgAddSite.h"
#include "dialogs/ui/CDlgRuntimeParams.h"
#include "exchange/SiteWorkbookExport.h"
#include "shell/CurrentSiteFile.h"
#include "shell/MainFrameRules.h"
#include "shell/MainMenu.h"
#include "shell/SiteListColumns.h"
#include "shell/SiteSort.h"

namespace quenderlink {
namespace {

constexpr char kSiteFilePrompt[] = "CLICK to select the file with IP Addresses";
constexpr char kProgramFilePrompt[] = "CLICK to select the program bin file";

// Button captions carry "\r\n" as the settings make them; Qt breaks lines at "\n" alone.
QString Caption(const std::string& text) {
  QString caption = QString::fromStdString(text);
  caption.remove(QLatin1Char('\r'));
  return caption;
}

bool CtrlHeld() { return QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier); }

}  // namespace

CMainView::CMainView(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, OperationOpener& opener,
                     QWidget* parent)
    : QWidget(parent),
      state_(state),
      prompts_(prompts),
      desktop_(desktop),
      opener_(opener),
      rules_(state, prompts, opener),
      commands_(state, prompts, desktop),
      fileChoices_(state, prompts, commands_),
      settings_(state, prompts),
      form_(new MainViewForm(this)),
      model_(new SiteListModel(state, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(form_);
  SiteListView* list = form_->list();
  list->setModel(model_);
  list->SetCellButtonRole(SiteListModel::kCellButtonRole);
  list->SetCheckColumn(kColCheck);
  ConnectControls();
}

CMainView::~CMainView() {
  if (registered_) state_.openViews.Deregister(this);
  settings_.KeepLayout();
}

void CMainView::ConnectControls() {
  MainViewForm& form = *form_;
  connect(form.exitButton(), &QPushButton::clicked, this, [this] { ExitButton(); });
  connect(form.pingSelectedButton(), &QPushButton::clicked, this, [this] { rules_.PingChecked(model_->checks()); });
  connect(form.pingManualButton(), &QPushButton::clicked, this, [this] { rules_.PingManual(); });
  connect(form.pingRangeButton(), &QPushButton::clicked, this, [this] { rules_.PingRange(); });
  connect(form.newSiteButton(), &QPushButton::clicked, this, [this] { RunCommand(menu::kAddSite); });
  connect(form.runtimeParamsButton(), &QPushButton::clicked, this, [this] { RunCommand(menu::kRuntimeParams); });
  connect(form.beginUploadButton(), &QPushButton::clicked, this, [this] { BeginUpload(CtrlHeld()); });
  connect(form.configButton(), &QPushButton::clicked, this, [this] { rules_.ManySitesReset(model_->checks()); });
  connect(form.programFileButton(), &QPushButton::clicked, this,
          [this] { ShowProgramFileChoice(fileChoices_.ProgramFileButton()); });
  connect(form.siteFileButton(), &QPushButton::clicked, this, [this] { Apply(fileChoices_.SiteFileButton()); });

  SiteListView* list = form.list();
  connect(list, &SiteListView::cellClicked, this,
          [this](int row, int column, Qt::KeyboardModifiers modifiers) { model_->ApplyClick(row, column, modifiers); });
  connect(list, &SiteListView::headerClicked, this, [this](int column) { OnHeaderClicked(column); });
  connect(list, &SiteListView::rowRightClicked, this, [this](int row) { ShowRowMenu(row); });
  connect(list, &SiteListView::rowDoubleClicked, this, [this](int row) { OnDoubleClick(row, CtrlHeld()); });
  connect(list, &SiteListView::cellButtonClicked, this,
          [this](int row, int column) { OnCellButton(row, column, CtrlHeld()); });
}

void CMainView::Open() {
  registered_ = state_.openViews.Register(this);
  ResetSiteFileCaption();
  form_->programFileButton()->setText(kProgramFilePrompt);
  LoadStartupSettings(state_, *this);
  ApplyColumnWidths();
  Arrange();
  RefreshTitle();
  LoadAndFill();
  // Posted, so the list is on screen before the conversion's dialog opens.
  if (state_.params.railroadCode == kRailroadCpr) {
    QTimer::singleShot(0, this, [this] { opener_.OpenDnsConversion(); });
  }
}

void CMainView::LoadAndFill() {
  // A file is listed in its own order.
  listSorted_ = false;
  ShowSortIndicator();
  switch (LoadCurrentSiteFile(state_, prompts_, true)) {
    case SiteFileLoad::kLoaded: model_->Refill(); break;
    case SiteFileLoad::kNotFound: ResetSiteFileCaption(); break;
    case SiteFileLoad::kReadFailed: model_->Clear(); break;
    case SiteFileLoad::kNoFile: break;
  }
}

void CMainView::Arrange() {
  const RuntimeParams& params = state_.params;
  form_->Arrange(params.showCmndButtons, params.cmndsOnRight, params.showFilterCombos, params.collectS918);
}

void CMainView::ApplyColumnWidths() {
  const auto widths = SiteColumnWidths(state_.params);
  form_->list()->ApplyColumnWidths(widths);
}

void CMainView::RefreshTitle() {
  title_ = MainViewTitle(state_.params.railroadCode);
  emit titleChanged(QString::fromStdString(title_));
}

void CMainView::ResetSiteFileCaption() {
  siteFileChosen_ = false;
  form_->siteFileButton()->setText(kSiteFilePrompt);
}

std::uint8_t CMainView::AskRailroad() { return prompts_.ChooseRailroad(0); }

void CMainView::ShowSiteFile(const std::string&, const std::string& caption) {
  siteFileChosen_ = true;
  form_->siteFileButton()->setText(Caption(caption));
}

void CMainView::ShowProgramFile(const std::string&, const std::string& caption) {
  form_->programFileButton()->setText(Caption(caption));
}

void CMainView::ShowConfigButton(bool shown) { form_->configButton()->setVisible(shown); }

int CMainView::SelectedRow() const { return form_->list()->SelectedRow(); }

void CMainView::RunOnSelectedRow(void (LaunchRules::*rule)(int)) {
  const int row = SelectedRow();
  if (row >= 0) (rules_.*rule)(row);
}

void CMainView::BeginUpload(bool ctrlHeld) { rules_.Upload(model_->checks(), ctrlHeld); }

void CMainView::OnDoubleClick(int row, bool ctrlHeld) {
  if (row < 0) return AddSite();
  if (ctrlHeld) return rules_.UploadToRow(row);
  ModifySelectedSite();
}

void CMainView::OnCellButton(int row, int column, bool ctrlHeld) {
  switch (column) {
    case kColPing: rules_.PingOneSite(row); break;
    case kColTelnetButton:
      rules_.Telnet(row);
      model_->RewriteRow(row);  // the address may have been refreshed
      break;
    case kColLoad:
      if (ctrlHeld) {
        rules_.UploadToRow(row);
      } else {
        rules_.ShowCtrlKeyMessage();
      }
      break;
    default: break;
  }
}

void CMainView::OnHeaderClicked(int column) {
  const SortChoice choice = HeaderClickSort({state_.operations.sortKey, state_.operations.sortAscending}, column);
  if (IsSortableColumn(column)) return SortBy(choice.key, choice.ascending);
  // The header moves its arrow on any click: put it back where the table is sorted.
  ShowSortIndicator();
}

void CMainView::SortBy(int key, bool ascending) {
  state_.operations.sortKey = key;
  state_.operations.sortAscending = ascending;
  SortSites(state_.sites, {key, ascending}, state_.params.railroadCode);
  model_->Refill();
  listSorted_ = true;
  ShowSortIndicator();
}

void CMainView::ShowSortIndicator() {
  SiteListView* list = form_->list();
  if (!listSorted_) return list->HideSortIndicator();
  const SortChoice choice{state_.operations.sortKey, state_.operations.sortAscending};
  list->ShowSortIndicator(choice.key, KeyValuesRise(choice, state_.params.railroadCode));
}

void CMainView::ShowRowMenu(int row) {
  const RuntimeParams& params = state_.params;
  std::vector<PopupItem> items;
  for (const MenuItem& item : RowMenuItems(row >= 0, model_->checks().AnyChecked(), params.deleteManyRows,
                                           params.railroadCode == kRailroadCpr)) {
    items.push_back(item);
    items.push_back({});
  }
  if (const int id = prompts_.ChooseFromPopup(items)) RunRowMenuCommand(id);
}

void CMainView::RunRowMenuCommand(int id) {
  using namespace menu;
  switch (id) {
    case kRowPingHighlighted: RunOnSelectedRow(&LaunchRules::PingOneSite); break;
    case kRowPingChecked: rules_.PingChecked(model_->checks()); break;
    case kRowPingAll: rules_.PingAll(); break;
    case kRowUploadHighlighted: RunOnSelectedRow(&LaunchRules::UploadToRow); break;
    case kRowTelnet: OnCellButton(SelectedRow(), kColTelnetButton, false); break;
    case kRowHistory: rules_.History(model_->checks(), SelectedRow()); break;
    case kRowAdd: RunCommand(kAddSite); break;
    case kRowModify: RunCommand(kModifySite); break;
    case kRowDelete: RunCommand(kDeleteSite); break;
    case kRowDeleteChecked: RunCommand(kDeleteCheckedSites); break;
    case kRowReset: RunOnSelectedRow(&LaunchRules::ResetRow); break;
    case kRowDnsRedo:
      // It writes every listed site's address: not while a run works on them.
      if (!rules_.RefuseWhenBusy()) opener_.OpenDnsConversion();
      break;
  }
}

bool CMainView::IsCommandEnabled(int id) const {
  const MenuContext context{state_.params, state_.operations.Busy(), SelectedRow() >= 0,
                            model_->checks().AnyChecked(), !state_.sites.empty(), siteFileChosen_};
  return IsMenuItemEnabled(id, context);
}

void CMainView::RunCommand(int id) {
  using namespace menu;
  RuntimeParams& params = state_.params;
  int sortKey = 0;
  bool ascending = false;
  if (SortOfMenuItem(id, sortKey, ascending)) return SortBy(sortKey, ascending);
  if (IsRefusedWhileRunning(id) && rules_.RefuseWhenBusy()) return;
  switch (id) {
    case kShowIndexColumn: SetShowIndexColumn(true); break;
    case kHideIndexColumn: SetShowIndexColumn(false); break;
    case kShowFilterCombos:
    case kHideFilterCombos:
      params.showFilterCombos = id == kShowFilterCombos;
      Arrange();
      break;
    case kButtonsAtBottom:
    case kButtonsAtRight:
      params.showCmndButtons = true;
      params.cmndsOnRight = id == kButtonsAtRight;
      Arrange();
      break;
    case kHideButtons:
      params.showCmndButtons = false;
      Arrange();
      break;
    case kResetSite: rules_.Reset(model_->checks(), SelectedRow()); break;
    case kPingChecked: rules_.PingChecked(model_->checks()); break;
    case kPingAll: rules_.PingAll(); break;
    case kPingManual: rules_.PingManual(); break;
    case kPingRange: rules_.PingRange(); break;
    case kIcmpRawSockets: rules_.IcmpScan(IcmpScanMode::RawSockets); break;
    case kIcmpSystemLibrary: rules_.IcmpScan(IcmpScanMode::SystemLibrary); break;
    case kIcmpRoundTrip: rules_.IcmpScan(IcmpScanMode::RoundTrip); break;
    case kIcmpListedSites: rules_.IcmpScan(IcmpScanMode::ListedSites); break;
    case kTraceRoute: rules_.TraceRoute(); break;
    case kBeginUpload: BeginUpload(CtrlHeld()); break;
    case kImportSites: opener_.OpenView({.kind = ViewKind::kImport}); break;
    case kOpenIniFile: IniSettingsFile(state_.programFolder).OpenIniInEditor(desktop_); break;
    case kEraseIniFile: settings_.EraseToFactorySettings(); break;
    case kSelectRailroad: SelectRailroad(); break;
    case kOpenSiteFile: Apply(fileChoices_.OpenSiteFile()); break;
    case kOpenProgramFile: ShowProgramFileChoice(fileChoices_.OpenProgramFileUnchecked()); break;
    case kSaveSiteFileAs: Apply(fileChoices_.SaveAs()); break;
    case kNewSiteFile: Apply(fileChoices_.StartNewFile()); break;
    case kRuntimeParams: EditRuntimeParams(); break;
    case kExportExcel: ExportSiteWorkbook(state_, prompts_, desktop_); break;
    case kExportText: fileChoices_.ExportText(); break;
    case kExportCsv: fileChoices_.ExportCsv(); break;
    case kAddSite: AddSite(); break;
    case kModifySite: ModifySelectedSite(); break;
    case kDeleteSite: Apply(commands_.DeleteSite(SelectedRow())); break;
    case kDeleteCheckedSites: Apply(commands_.DeleteCheckedSites(model_->checks())); break;
    case kMoveToExistingFile: Apply(fileChoices_.MoveCheckedToExistingFile(model_->checks())); break;
    case kMoveToNewFile: Apply(fileChoices_.MoveCheckedToNewFile(model_->checks())); break;
    case kSiteHistory: rules_.History(model_->checks(), SelectedRow()); break;
    case kAvailability: rules_.Availability(model_->checks()); break;
    default: break;
  }
}

void CMainView::Apply(const ListChange& change) {
  switch (change.kind) {
    case ListChange::Kind::Refill:
      model_->Refill();
      // A reload after an append brings back the file's order.
      listSorted_ = listSorted_ && InSortOrder(state_.sites, {state_.operations.sortKey, state_.operations.sortAscending},
                                               state_.params.railroadCode);
      ShowSortIndicator();
      break;
    case ListChange::Kind::Clear: model_->Clear(); break;
    case ListChange::Kind::RewriteRow: model_->RewriteRow(change.row); break;
    case ListChange::Kind::AppendRow: model_->AppendRows(); break;
    case ListChange::Kind::None: break;
  }
  if (change.siteFileShown) {
    ShowSiteFile(state_.currentSiteFile, SiteFileCaption(state_.currentSiteFile));
    listSorted_ = false;
    ShowSortIndicator();
  }
  if (change.siteFileLost) ResetSiteFileCaption();
}

void CMainView::ShowProgramFileChoice(const std::optional<std::string>& path) {
  if (path) ShowProgramFile(*path, ProgramFileCaption(*path));
}

void CMainView::EditRuntimeParams() {
  CDlgRuntimeParams(state_, prompts_, *this, this).exec();
  Reapply();
}

void CMainView::AddSite() {
  state_.operations.rowBeingModified = kNoRow;
  CDlgAddSite dialog(SiteEditMode::AddNewSite, state_, prompts_, *this, this);
  dialog.exec();
}

void CMainView::ModifySelectedSite() {
  const int row = SelectedRow();
  if (row < 0 || static_cast<std::size_t>(row) >= state_.sites.size()) return;
  const SiteRecord* site = state_.sites.FindByRow(model_->RowNumberAt(row));
  if (!site) return;
  state_.operations.rowBeingModified = site->RowNumber;
  CDlgAddSite dialog(SiteEditMode::ModifySite, state_, prompts_, *this, this);
  dialog.SetSite(*site);
  dialog.exec();
  // Left set, a later ping of another site would be stored into this record.
  state_.operations.rowBeingModified = kNoRow;
}

void CMainView::OnSitePinged(bool powerup, const SiteRecord& site) { Apply(commands_.StoreSitePinged(powerup, site)); }

void CMainView::OnSiteSaved(const SiteRecord& site) { Apply(commands_.StoreSiteSaved(false, site)); }

void CMainView::OnSiteRefreshed(bool powerup, const SiteRecord& site) {
  Apply(commands_.StoreSiteRefreshed(powerup, site));
}

void CMainView::OnUploadedSiteIdentified(const SiteRecord& site) { OnSitePinged(false, site); }

void CMainView::OnUploadedSiteRefreshed(const SiteRecord& site) { OnSiteRefreshed(true, site); }

void CMainView::OnAddressResolved(int row) { model_->RewriteRow(row); }

void CMainView::SetShowIndexColumn(bool shown) {
  settings_.ShowIndexColumn(shown);
  ApplyColumnWidths();
}

void CMainView::SelectRailroad() {
  settings_.ChooseRailroad();
  Reapply();
}

void CMainView::Reapply() {
  ApplyColumnWidths();
  Arrange();
  RefreshTitle();
  // Subdivision names, site ids and versions are written by the railroad and "Show Hidden".
  model_->RewriteAllRows();
  emit paramsReapplied();
}

void CMainView::ExitButton() {
  // The close rule is asked first: releasing the table while a run still
  // writes into it would pull the records from under the engine.
  if (rules_.RefuseWhenBusy()) return;
  state_.sites.Release();
  model_->Clear();
  emit exitRequested();
}

void CMainView::OnRunFinished(const RunOrigin& origin) {
  const std::size_t rows = static_cast<std::size_t>(model_->rowCount());
  // A failed or refused save has been shown, and the list shows the table as it now is either way.
  (void)SaveAndReloadSiteFile(state_, prompts_, origin);
  // Records deleted during the run are gone after the reload: then the rows move.
  if (state_.sites.size() == rows) {
    model_->RewriteAllRows();
  } else {
    model_->Refill();
  }
}

void CMainView::OnSiteFileWritten(bool newFile, const std::string& path) {
  state_.currentSiteFile = path;
  if (newFile) {
    settings_.RememberSiteFile(path);
    ShowSiteFile(path, SiteFileCaption(path));
  }
  model_->Clear();
  LoadAndFill();
}

void CMainView::OnRecolour() { model_->Recolour(); }

void CMainView::OnMainWindowClosing() {
  state_.sites.Release();
  model_->Clear();
}

}  // namespace quenderlink
