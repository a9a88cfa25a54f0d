#include "exchange/ui/CFViewImportSitesFromFile.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "controls/ui/ProgressCellDelegate.h"
#include "controls/ui/SiteListView.h"
#include "core/BusyCheck.h"
#include "core/DialogFolder.h"
#include "core/Printf.h"
#include "core/RecordsWrittenText.h"
#include "exchange/ImportListColumns.h"
#include "exchange/ImportLog.h"
#include "exchange/ImportRefusal.h"
#include "exchange/ImportSave.h"
#include "exchange/ui/ImportListModel.h"
#include "journal/ProgramJournal.h"
#include "journal/RunSettingsText.h"
#include "net/SiteEngine.h"
#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {
namespace {

constexpr int kProgressTickMs = 500;
constexpr const char* kSelectHeader = "Select a \".csv\" (Comma Separated Values) file\r\nand data columns";
constexpr const char* kListHeader = "\r\nCLICK any cell to change its value";
constexpr const char* kCsvFilter = "csv files (*.csv)|*.csv|All files (*.*)|*.*||";
constexpr const char* kSiteListFilter = "bin files (*.bin)|*.bin|All files (*.*)|*.*||";

QComboBox* ColumnChoice(const char* objectName, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(objectName);
  combo->addItem("Not Used");
  for (int column = 1; column <= kMostImportColumns; ++column)
    combo->addItem(QString::fromStdString(Printf("Use Column %d", column)));
  return combo;
}

}  // namespace

CFViewImportSitesFromFile::CFViewImportSitesFromFile(ProgramState& state, UserPrompts& prompts,
                                                     MainViewTarget& mainView, QWidget* parent)
    : OperationView(parent),
      state_(state),
      prompts_(prompts),
      mainView_(mainView),
      import_(state.params),
      engineListener_(this, *this),
      model_(new ImportListModel(import_, state.operations, this)),
      list_(new SiteListView(this)),
      sampleBox_(new QPlainTextEdit(this)),
      header_(PlainLabel({}, "headerText", this)),
      totals_(PlainLabel({}, "totalsText", this)),
      engine_(this, state.operations, &OperationState::pingInProgress, [this] { request_.stop = 1; }) {
  list_->setObjectName("importList");
  list_->setModel(model_);
  list_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                         QAbstractItemView::EditKeyPressed);
  list_->setItemDelegateForColumn(kImportColStatus, new ProgressCellDelegate(ImportListModel::kProgressRole, list_));
  list_->ApplyColumnWidths(ImportColumnWidths(state_.params, false));
  sampleBox_->setObjectName("sampleBox");
  sampleBox_->setReadOnly(true);
  sampleBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
  sampleBox_->setPlainText("Sample Line DATA HERE:");
  // The totals line up their numbers in columns.
  totals_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  totals_->setWordWrap(false);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(BuildSelectControls());
  layout->addWidget(PlainLabel("Sample:", "sampleLabel", this));
  layout->addWidget(sampleBox_, 1);
  layout->addWidget(header_);
  layout->addWidget(totals_);
  layout->addWidget(list_, 3);
  layout->addLayout(BuildListButtons());

  progressTimer_.setSingleShot(true);
  progressTimer_.setInterval(kProgressTickMs);
  connect(&progressTimer_, &QTimer::timeout, this, &CFViewImportSitesFromFile::Tick);

  registered_ = state_.openViews.Register(this);
  ShowPhase(Phase::Select);
  // Posted, so that the view is in its window before it names it.
  QTimer::singleShot(0, this, [this] { emit titleChanged("Import Sites"); });
}

CFViewImportSitesFromFile::~CFViewImportSitesFromFile() {
  StopEngine();
  if (registered_) state_.openViews.Deregister(this);
}

void CFViewImportSitesFromFile::OnMainWindowClosing() { StopEngine(); }

QLayout* CFViewImportSitesFromFile::BuildSelectControls() {
  fileEdit_ = new QLineEdit(this);
  fileEdit_->setObjectName("fileEdit");
  fileEdit_->setMaxLength(259);
  browse_ = NamedButton("Browse", "browseButton", this);
  ipColumn_ = ColumnChoice("ipColumn", this);
  portColumn_ = ColumnChoice("portColumn", this);
  nameColumn_ = ColumnChoice("nameColumn", this);
  importButton_ = NamedButton("Import", "importButton", this);
  QLabel* nameLabel = PlainLabel("Site Name:", "nameLabel", this);
  // The file's names are taken only where the maintainers may rename sites.
  nameLabel->setVisible(state_.params.allowChangeSiteName);
  nameColumn_->setVisible(state_.params.allowChangeSiteName);

  auto* grid = new QGridLayout;
  grid->addWidget(PlainLabel("File:", "fileLabel", this), 0, 0);
  grid->addWidget(fileEdit_, 0, 1, 1, 5);
  grid->addWidget(browse_, 0, 6);
  grid->addWidget(PlainLabel("IP address:", "ipLabel", this), 1, 0);
  grid->addWidget(ipColumn_, 1, 1);
  grid->addWidget(PlainLabel("Port Num:", "portLabel", this), 1, 2);
  grid->addWidget(portColumn_, 1, 3);
  grid->addWidget(nameLabel, 1, 4);
  grid->addWidget(nameColumn_, 1, 5);
  grid->addWidget(importButton_, 1, 6);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  grid->setColumnStretch(5, 1);
  connect(browse_, &QPushButton::clicked, this, &CFViewImportSitesFromFile::Browse);
  connect(importButton_, &QPushButton::clicked, this, &CFViewImportSitesFromFile::Import);
  return grid;
}

QLayout* CFViewImportSitesFromFile::BuildListButtons() {
  pingAll_ = NamedButton("Ping All", "pingAllButton", this);
  abortPing_ = NamedButton("Abort Ping", "abortPingButton", this);
  save_ = NamedButton("Save", "saveButton", this);
  redo_ = NamedButton("Re-Do", "redoButton", this);
  close_ = NamedButton("Close", "closeButton", this);
  auto* buttons = LeftPackedRow({pingAll_, abortPing_, save_, redo_, close_});
  connect(pingAll_, &QPushButton::clicked, this, &CFViewImportSitesFromFile::PingAll);
  connect(abortPing_, &QPushButton::clicked, this, &CFViewImportSitesFromFile::AbortPing);
  connect(save_, &QPushButton::clicked, this, &CFViewImportSitesFromFile::Save);
  connect(redo_, &QPushButton::clicked, this, &CFViewImportSitesFromFile::Redo);
  connect(close_, &QPushButton::clicked, this, &CFViewImportSitesFromFile::closeRequested);
  return buttons;
}

void CFViewImportSitesFromFile::Browse() {
  const std::optional<std::string> path =
      prompts_.ChooseFile({FileDialogKind::Open, "Import Sites From File", kCsvFilter, "csv", DialogFolder(state_)});
  if (!path) return;
  fileEdit_->setText(QString::fromStdString(*path));
  const ImportFileText file = ReadImportFile(*path);
  sampleBox_->setPlainText(DialogText(file.ok() ? ImportSampleText(file) : file.error));
}

bool CFViewImportSitesFromFile::RefuseImport(const std::string& path, const ImportFileText& file,
                                             const ImportColumns& columns) {
  const std::optional<ImportRefusal> refusal = RefusalOfImport(path, file, columns);
  if (refusal) prompts_.ShowError(refusal->id, refusal->text, false);
  return refusal.has_value();
}

void CFViewImportSitesFromFile::Import() {
  const std::string path = fileEdit_->text().toStdString();
  const ImportColumns columns{ipColumn_->currentIndex(), portColumn_->currentIndex(),
                              state_.params.allowChangeSiteName ? nameColumn_->currentIndex() : 0};
  const ImportFileText file = path.size() < 2 ? ImportFileText{} : ReadImportFile(path);
  if (RefuseImport(path, file, columns)) return;

  log_.clear();
  importButton_->setText("Please Wait");
  importButton_->setEnabled(false);
  importButton_->repaint();
  (void)import_.AddLines(file, columns, ResolveIpv4, [this](const std::string& text) { AppendToImportLog(log_, text); });
  importButton_->setText("Import");
  importButton_->setEnabled(true);
  ShowLog();
  model_->Refill();
  ShowPhase(Phase::List);
}

void CFViewImportSitesFromFile::PingAll() {
  if (engine_.running() || RefuseWhenBusy(state_.operations, prompts_)) return;
  if (!import_.BuildPingRecords()) {
    prompts_.ShowMessage("ZERO SITES");
    return;
  }
  // The last ping's engine has made its last call: its worker only has to return.
  engine_.Join();
  import_.PrepareRequest(request_);
  journal_.emplace(StartJournalRun(state_, RunKind::ImportPing, PingSettingsText(state_.params)), engineListener_,
                   request_.stop);
  journal_->AddSites(import_.pingRecords(), request_.sites);
  request_.listener = &*journal_;
  if (!engine_.Launch([this] { SiteEngine(request_); })) {
    journal_.reset();
    return prompts_.ShowMessage(kNoWorkerText);
  }
  list_->ApplyColumnWidths(ImportColumnWidths(state_.params, true));
  model_->AllRowsChanged();
  ShowButtons();
  ShowTotals();
}

void CFViewImportSitesFromFile::AbortPing() { import_.Abort(request_); }

void CFViewImportSitesFromFile::EndRun() {
  progressTimer_.stop();
  engine_.Finish();
  model_->AllRowsChanged();
  ShowButtons();
  ShowTotals();
  if (!closing_) TellJournalFailure(state_, prompts_);
}

void CFViewImportSitesFromFile::StopEngine() {
  closing_ = true;
  progressTimer_.stop();
  engine_.Stop();
}

void CFViewImportSitesFromFile::Save() {
  // Both saves make the main view load its list anew: not while a run works on it.
  if (!import_.HasPingRecords() || RefuseWhenBusy(state_.operations, prompts_)) return;
  const int command = prompts_.ChooseFromPopup(ImportSaveMenu(state_.currentSiteFile));
  switch (command) {
    case kImportAppendAll:
    case kImportAppendSuccessful: AppendToCurrentFile(SavesSuccessfulOnly(command)); break;
    case kImportSaveAllAs:
    case kImportSaveSuccessfulAs: SaveInNewFile(SavesSuccessfulOnly(command)); break;
    default: break;
  }
}

void CFViewImportSitesFromFile::AppendToCurrentFile(bool successfulOnly) {
  const std::string path = state_.currentSiteFile;
  const ImportSaveResult result =
      AppendImportedSites(path, import_.ChosenRecords(successfulOnly), state_.sites, state_.currentSiteFileStamp);
  if (!result.error.empty()) {
    prompts_.ShowMessage(result.error);
    return;
  }
  mainView_.OnSiteFileWritten(false, path);
  prompts_.ShowError(ErrorId::kNone, RecordsAppendedText(result.written, path), false);
}

void CFViewImportSitesFromFile::SaveInNewFile(bool successfulOnly) {
  const std::optional<std::string> path = prompts_.ChooseFile(
      {FileDialogKind::Save, "Save Sites in New File", kSiteListFilter, "bin", DialogFolder(state_)});
  if (!path) return;
  const ImportSaveResult result = SaveImportedSitesAs(*path, import_.ChosenRecords(successfulOnly));
  if (!result.error.empty()) {
    prompts_.ShowMessage(result.error);
    return;
  }
  mainView_.OnSiteFileWritten(true, *path);
  prompts_.ShowError(ErrorId::kNone, RecordsSavedText(result.written, *path), false);
}

void CFViewImportSitesFromFile::Redo() {
  if (engine_.running()) return;
  import_.Clear();
  model_->Refill();
  list_->ApplyColumnWidths(ImportColumnWidths(state_.params, false));
  ShowPhase(Phase::Select);
}

void CFViewImportSitesFromFile::Tick() {
  import_.AdvanceProgress();
  model_->AllRowsChanged();
  if (request_.stop == 0 && import_.AnyWaiting()) progressTimer_.start();
}

void CFViewImportSitesFromFile::ShowPhase(Phase phase) {
  phase_ = phase;
  const bool selecting = phase == Phase::Select;
  for (QWidget* control : std::initializer_list<QWidget*>{fileEdit_, browse_, ipColumn_, portColumn_, nameColumn_,
                                                          importButton_})
    control->setEnabled(selecting);
  header_->setText(DialogText(selecting ? kSelectHeader : kListHeader));
  ShowButtons();
  ShowTotals();
}

void CFViewImportSitesFromFile::ShowButtons() {
  const bool listing = phase_ == Phase::List;
  abortPing_->setVisible(listing && engine_.running());
  pingAll_->setVisible(listing && !engine_.running());
  save_->setVisible(listing && !engine_.running());
  redo_->setVisible(listing && !engine_.running());
  close_->setVisible(!engine_.running());
}

void CFViewImportSitesFromFile::ShowTotals() {
  totals_->setVisible(phase_ == Phase::List);
  totals_->setText(DialogText(import_.TotalsText()));
}

void CFViewImportSitesFromFile::ShowLog() {
  sampleBox_->setPlainText(DialogText(log_));
  sampleBox_->verticalScrollBar()->setValue(sampleBox_->verticalScrollBar()->maximum());
}

void CFViewImportSitesFromFile::OnPingSent(std::size_t id, int tries) {
  import_.OnPingSent(id, tries);
  model_->RowChanged(id);
  ShowTotals();
}

void CFViewImportSitesFromFile::OnPingReply(std::size_t id, const ReplyNotice& notice) {
  import_.OnPingReply(id, notice);
  model_->RowChanged(id);
  ShowTotals();
}

void CFViewImportSitesFromFile::OnPingTimeout(std::size_t id, int tries) { import_.OnPingTimeout(id, tries); }

void CFViewImportSitesFromFile::OnPingFailed(std::size_t id, int tries) {
  import_.OnPingFailed(id, tries);
  model_->RowChanged(id);
  ShowTotals();
}

void CFViewImportSitesFromFile::OnPingStarted() {
  import_.OnPingStarted();
  progressTimer_.start();
}

void CFViewImportSitesFromFile::OnPingFinished() {
  import_.OnPingFinished();
  EndRun();
}

void CFViewImportSitesFromFile::OnPingBadAddress(std::uint16_t row) {
  import_.OnPingBadAddress(row);
  model_->RowChanged(row);
  ShowTotals();
}

void CFViewImportSitesFromFile::OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) {
  import_.OnResetConfirmed(row, notice);
}

void CFViewImportSitesFromFile::OnEngineMessage(const std::string& text) {
  import_.OnEngineMessage(text);
  prompts_.ShowMessage(text);
}

}  // namespace quenderlink
