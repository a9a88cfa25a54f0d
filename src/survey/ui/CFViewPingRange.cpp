#include "survey/ui/CFViewPingRange.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "controls/ui/NumberBox.h"
#include "controls/ui/ProgressCellDelegate.h"
#include "controls/ui/SiteListView.h"
#include "core/AtomicFileWriter.h"
#include "core/BusyCheck.h"
#include "core/DialogFolder.h"
#include "core/ErrorMessages.h"
#include "core/IniSettingsFile.h"
#include "journal/ProgramJournal.h"
#include "journal/RunSettingsText.h"
#include "net/RangeEngine.h"
#include "prompts/FileDialogFilters.h"
#include "prompts/ui/DialogWidgets.h"
#include "survey/RangeScanInputs.h"
#include "survey/ui/AddressRangeInputs.h"
#include "survey/ui/RangeScanModel.h"

namespace quenderlink {
namespace {

constexpr int kProgressTickMs = 500;

}  // namespace

CFViewPingRange::CFViewPingRange(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop,
                                 MainViewTarget& mainView, QWidget* parent)
    : OperationView(parent),
      state_(state),
      prompts_(prompts),
      mainView_(mainView),
      desktop_(desktop),
      engineListener_(this, *this),
      engine_(this, state.operations, &OperationState::pingInProgress, [this] { request_.stop = 1; }) {
  BuildControls();
  LoadInputs();
  ShowRunning(false);
  save_->setEnabled(false);  // nothing to save before a run
  progressTimer_.setInterval(kProgressTickMs);
  connect(&progressTimer_, &QTimer::timeout, this, [this] { OnProgressTick(); });
}

CFViewPingRange::~CFViewPingRange() {
  closing_ = true;
  engine_.Stop();
  model_->SetRun(nullptr);
  if (registered_) state_.openViews.Deregister(this);
}

void CFViewPingRange::BuildControls() {
  auto* inputs = new QHBoxLayout;
  range_ = new AddressRangeInputs(this);
  inputs->addWidget(range_);
  inputs->addSpacing(16);
  inputs->addWidget(new QLabel("Port Num:", this));
  port_ = new NumberBox(65535, this);
  port_->setObjectName("portEdit");
  port_->setFixedWidth(70);
  inputs->addWidget(port_);
  inputs->addStretch(1);

  start_ = NamedButton("Start Ping", "startButton", this);
  abort_ = NamedButton("Abort", "abortButton", this);
  close_ = NamedButton("Close", "closeButton", this);
  save_ = NamedButton("Save", "saveButton", this);
  status_ = PlainLabel("RUNNING Ping, Wait...", "statusText", this);
  status_->setWordWrap(false);
  auto* buttons = LeftPackedRow({start_, abort_, close_, save_, status_});

  // Fixed pitch: the totals text lines its numbers up with spaces.
  totals_ = PlainLabel("", "totalsText", this);
  totals_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  model_ = new RangeScanModel(this);
  list_ = new SiteListView(this);
  list_->setObjectName("rangeList");
  list_->setModel(model_);
  list_->setItemDelegateForColumn(kRangeColStatus, new ProgressCellDelegate(RangeScanModel::kProgressRole, list_));
  list_->ApplyColumnWidths(RangeColumnWidths(state_.params.railroadCode));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(inputs);
  layout->addLayout(buttons);
  layout->addWidget(totals_);
  layout->addWidget(list_, 1);
  setMinimumSize(640, 400);

  connect(start_, &QPushButton::clicked, this, [this] { StartPing(); });
  connect(abort_, &QPushButton::clicked, this, [this] {
    if (engine_.running()) run_->Abort(request_);
  });
  connect(close_, &QPushButton::clicked, this, &CFViewPingRange::closeRequested);
  connect(save_, &QPushButton::clicked, this, [this] { Save(); });
}

void CFViewPingRange::LoadInputs() {
  const RangeScanInputs inputs =
      LoadRangeScanInputs(IniSettingsFile(state_.programFolder), state_.params.defaultPortNum);
  range_->Show(inputs.fromAddress, inputs.lastNumber);
  port_->setText(QString::number(inputs.port));
}

void CFViewPingRange::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  registered_ = state_.openViews.Register(this);
  emit titleChanged("Ping Range of Addresses");
}

void CFViewPingRange::StartPing() {
  if (engine_.running()) return;
  if (RefuseWhenBusy(state_.operations, prompts_)) return;
  const AddressRange range = range_->Range();
  const auto port = static_cast<std::uint16_t>(port_->number());

  // The last run's engine has made its last call already: this cannot wait long.
  engine_.Stop();
  model_->SetRun(nullptr);
  run_ = std::make_unique<RangeScanRun>(range, port, state_.params);
  model_->SetRun(run_.get());
  list_->ApplyColumnWidths(RangeColumnWidths(state_.params.railroadCode));

  IniSettingsFile ini(state_.programFolder);
  if (!SaveRangeScanInputs(ini, range, port)) prompts_.ShowMessage(WriteFailedText(ini.Path().string()));
  ShowTotals();

  run_->PrepareRequest(request_);
  run_->JournalTo(StartJournalRun(state_, RunKind::RangeScan,
                                  PingSettingsText(state_.params) + "; Port=" + std::to_string(port)));
  request_.listener = &engineListener_;
  if (!engine_.Launch([this] { RangeEngine(request_); })) {
    run_->JournalTo({});  // recorded as aborted now
    return prompts_.ShowMessage(kNoWorkerText);
  }
  ShowRunning(true);
  progressTimer_.start();
}

void CFViewPingRange::EndOfRun() {
  progressTimer_.stop();
  engine_.Finish();
  model_->AllRowsChanged();
  ShowTotals();
  ShowRunning(false);
  save_->setEnabled(true);
  if (!closing_) TellJournalFailure(state_, prompts_);
}

void CFViewPingRange::ShowRunning(bool running) {
  start_->setVisible(!running);
  close_->setVisible(!running);
  save_->setVisible(!running);
  abort_->setVisible(running);
  status_->setVisible(running);
}

void CFViewPingRange::ShowTotals() { totals_->setText(run_ ? DialogText(run_->TotalsText()) : QString()); }

void CFViewPingRange::OnProgressTick() {
  run_->AdvanceProgress();
  model_->ProgressChanged();
  if (request_.stop != 0 || !SomeAddressWaiting()) return;
  blink_ = !blink_;
  QPalette palette = status_->palette();
  palette.setColor(QPalette::WindowText, blink_ ? QColor(Qt::darkBlue) : palette.color(QPalette::Window));
  status_->setPalette(palette);
}

bool CFViewPingRange::SomeAddressWaiting() const {
  for (std::size_t index = 0; index < run_->rows().size(); ++index) {
    const RangeEntry& entry = run_->entry(index);
    if (entry.tries > 0 && !entry.done) return true;
  }
  return false;
}

void CFViewPingRange::Save() {
  if (!run_ || engine_.running()) return;
  switch (prompts_.ChooseFromPopup(RangeSaveMenu(state_.currentSiteFile))) {
    // Either makes the main view load its list anew: not while another run works on it.
    case kRangeAppendRows:
      if (!RefuseWhenBusy(state_.operations, prompts_)) AppendRows();
      break;
    case kRangeSaveNewFile:
      if (!RefuseWhenBusy(state_.operations, prompts_)) SaveNewFile();
      break;
    case kRangeSaveCsv: SaveList(RangeListFormat::Csv); break;
    case kRangeSaveText: SaveList(RangeListFormat::Text); break;
    default: break;
  }
}

std::optional<std::string> CFViewPingRange::AskFile(const char* title, const char* filter, const char* extension) {
  return prompts_.ChooseFile({FileDialogKind::Save, title, filter, extension, DialogFolder(state_)});
}

// A file that could not be written is reported, and the main view keeps its file.
void CFViewPingRange::AppendRows() {
  const std::string path = state_.currentSiteFile;
  const int appended =
      AppendCheckedRows(run_->rows(), run_->port(), state_.params, state_.sites, path, state_.currentSiteFileStamp);
  if (appended >= 0) mainView_.OnSiteFileWritten(false, path);
  prompts_.ShowMessage(AppendedReport(appended, path));
}

void CFViewPingRange::SaveNewFile() {
  const auto path = AskFile("Save Selected Rows in New File", kSiteListFilter, "bin");
  if (!path) return;
  const int saved = SaveCheckedRows(run_->rows(), run_->port(), state_.params, *path);
  if (saved >= 0) mainView_.OnSiteFileWritten(true, *path);
  prompts_.ShowMessage(SavedReport(saved, *path));
}

void CFViewPingRange::SaveList(RangeListFormat format) {
  const bool csv = format == RangeListFormat::Csv;
  const auto path = csv ? AskFile("Save in .csv File", kCsvExportFilter, "csv")
                        : AskFile("Save in Text File", kTextExportFilter, "txt");
  if (!path) return;
  const bool written = WriteFileAtomically(*path, FormatRangeList(run_->rows(), run_->port(), format));
  prompts_.ShowMessage(ListSavedReport(written, *path));
  if (written) desktop_.OpenInEditor(*path);
}

void CFViewPingRange::OnMainWindowClosing() {
  // The main window does not close while a run lasts; should one still go, it is only stopped here.
  closing_ = true;
  if (engine_.running()) {
    engine_.RequestStop();
    return;
  }
  model_->SetRun(nullptr);
  run_.reset();
  ShowTotals();
  save_->setEnabled(false);
}

void CFViewPingRange::OnPingSent(std::size_t index, int tries) {
  run_->OnPingSent(index, tries);
  model_->RowChanged(index);
  ShowTotals();
}

void CFViewPingRange::OnPingReply(std::size_t index, const ReplyNotice& notice) {
  run_->OnPingReply(index, notice);
  model_->RowChanged(index);
  ShowTotals();
}

void CFViewPingRange::OnPingTimeout(std::size_t index, int tries) { run_->OnPingTimeout(index, tries); }

void CFViewPingRange::OnPingFailed(std::size_t index, int tries) {
  run_->OnPingFailed(index, tries);
  model_->RowChanged(index);
  ShowTotals();
}

void CFViewPingRange::OnPingFinished() {
  run_->OnPingFinished();
  // The engine ends right after this call; it is joined by the next start or the destructor.
  EndOfRun();
}

void CFViewPingRange::OnEngineMessage(const std::string& text) {
  run_->OnEngineMessage(text);
  prompts_.ShowMessage(text);
}

}  // namespace quenderlink
