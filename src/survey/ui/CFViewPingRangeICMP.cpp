#include "survey/ui/CFViewPingRangeICMP.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/ui/SiteListView.h"
#include "core/BusyCheck.h"
#include "core/DialogFolder.h"
#include "core/ErrorMessages.h"
#include "core/IniSettingsFile.h"
#include "core/SettingsKeys.h"
#include "journal/JournalUnits.h"
#include "journal/ProgramJournal.h"
#include "journal/RunSettingsText.h"
#include "prompts/FileDialogFilters.h"
#include "prompts/ui/DialogWidgets.h"
#include "survey/IcmpRangeInputs.h"
#include "survey/ListedSiteAddresses.h"
#include "survey/ui/AddressRangeInputs.h"
#include "survey/ui/IcmpScanModel.h"

namespace quenderlink {
namespace {

// Replies of 20 addresses at once would otherwise repaint the list for each.
constexpr std::chrono::milliseconds kRefreshInterval{50};

using Method = void (*)(IcmpJob&);

Method MethodOf(IcmpScanMode mode) {
  switch (mode) {
    case IcmpScanMode::SystemLibrary: return &PingLibraryThread;
    case IcmpScanMode::RoundTrip: return &PingRouteThread;
    default: return &PingRawThread;
  }
}

}  // namespace

CFViewPingRangeICMP::CFViewPingRangeICMP(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop,
                                         IcmpScanMode mode, AccessCheck canPing, QWidget* parent)
    : OperationView(parent),
      state_(state),
      prompts_(prompts),
      desktop_(desktop),
      mode_(mode),
      canPing_(std::move(canPing)),
      engineListener_(this, *this),
      run_(mode_, IcmpWindowParallel(mode_), &engineListener_, [this] { return ReadParams(); },
           [this](IcmpJob& job) { StartJob(job); }),
      engine_(this, state.operations, &OperationState::pingInProgress, [this] { Apply(run_.Abort()); }) {
  BuildControls();
  LoadInputs();
  ShowRunning(false);
  save_->setEnabled(false);  // nothing to save before a run
  refreshTimer_.setSingleShot(true);
  refreshTimer_.setTimerType(Qt::PreciseTimer);
  refreshTimer_.setInterval(kRefreshInterval);
  connect(&refreshTimer_, &QTimer::timeout, this, [this] { RefreshNow(); });
}

CFViewPingRangeICMP::~CFViewPingRangeICMP() {
  StopAndJoin();
  if (registered_) state_.openViews.Deregister(this);
}

void CFViewPingRangeICMP::BuildControls() {
  inputs_ = new AddressRangeInputs(this);

  start_ = NamedButton("Start Ping", "startButton", this);
  abort_ = NamedButton("Abort", "abortButton", this);
  close_ = NamedButton("Close", "closeButton", this);
  save_ = NamedButton("Save", "saveButton", this);
  status_ = PlainLabel(DialogText("RUNNING Ping!\r\nPlease Wait..."), "statusText", this);
  auto* buttons = LeftPackedRow({start_, abort_, close_, save_, status_});

  // Fixed pitch: the totals text lines its numbers up with spaces.
  totals_ = PlainLabel("", "totalsText", this);
  totals_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  model_ = new IcmpScanModel(run_, this);
  list_ = new SiteListView(this);
  list_->setObjectName("icmpList");
  list_->setModel(model_);
  list_->ApplyColumnWidths(kIcmpColumnWidths);

  // The boxes stay together at the width of their numbers, however wide the view.
  auto* inputs = new QHBoxLayout;
  inputs->addWidget(inputs_);
  inputs->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(inputs);
  layout->addLayout(buttons);
  layout->addWidget(totals_);
  layout->addWidget(list_, 1);
  setMinimumSize(640, 400);

  // The listed sites' method takes no inputs and starts by itself.
  const bool listed = mode_ == IcmpScanMode::ListedSites;
  inputs_->setVisible(!listed);
  connect(start_, &QPushButton::clicked, this, [this] { StartPing(); });
  connect(abort_, &QPushButton::clicked, this, [this] {
    if (running_) Apply(run_.Abort());
  });
  connect(close_, &QPushButton::clicked, this, &CFViewPingRangeICMP::closeRequested);
  connect(save_, &QPushButton::clicked, this, [this] { Save(); });
}

void CFViewPingRangeICMP::LoadInputs() {
  const IniSettingsFile ini(state_.programFolder);
  constexpr std::string_view section = settings::kSectionPingRange;
  inputs_->Show(ini.ReadString(section, settings::kIcmpFromIpKey, ""), ini.ReadString(section, settings::kIcmpEndIpKey, ""));
}

void CFViewPingRangeICMP::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  registered_ = state_.openViews.Register(this);
  emit titleChanged(QString::fromStdString(IcmpScanTitle(mode_)));
  // Posted: the frame closes the view's window only once it is fully shown.
  if (!canPing_(mode_)) {
    prompts_.ShowMessage(IcmpAccessFailureText(mode_));
    QMetaObject::invokeMethod(this, &CFViewPingRangeICMP::closeRequested, Qt::QueuedConnection);
    return;
  }
  if (mode_ == IcmpScanMode::ListedSites)
    QMetaObject::invokeMethod(this, [this] { StartListedSites(); }, Qt::QueuedConnection);
}

void CFViewPingRangeICMP::StartPing() {
  if (running_ || mode_ == IcmpScanMode::ListedSites) return;
  if (RefuseWhenBusy(state_.operations, prompts_)) return;
  const AddressRange range = inputs_->Range();
  IniSettingsFile ini(state_.programFolder);
  if (!SaveIcmpRangeInputs(ini, range)) prompts_.ShowMessage(WriteFailedText(ini.Path().string()));
  run_.JournalTo(StartJournal());
  BeginRun(run_.StartRange(range));
}

void CFViewPingRangeICMP::StartListedSites() {
  if (running_) return;
  if (RefuseWhenBusy(state_.operations, prompts_)) return;
  // In the order of their addresses.
  std::vector<JournalUnit> units;
  units.reserve(state_.sites.size());
  for (const SiteRecord& site : state_.sites.records()) units.push_back(JournalUnitOf(site));
  run_.JournalTo(StartJournal(), std::move(units));
  BeginRun(run_.StartAddresses(ListedSiteAddresses(state_.sites)));
}

JournalRun CFViewPingRangeICMP::StartJournal() {
  return StartJournalRun(state_, RunKind::IcmpScan, IcmpSettingsText(ReadParams(), IcmpMethodWord(mode_)));
}

void CFViewPingRangeICMP::BeginRun(const IcmpRunChange& change) {
  model_->Reset();
  running_ = true;
  ShowRunning(true);
  Apply(change);
}

void CFViewPingRangeICMP::Apply(const IcmpRunChange& change) {
  for (std::size_t row : change.rows) Show(row);
  if (!change.ended) return;
  // The last thread is still inside its last call: the run ends once it has returned.
  QMetaObject::invokeMethod(
      this,
      [this] {
        // A run the view's close stopped and joined meanwhile has nobody left to tell.
        if (!running_) return;
        EndOfRun();
        TellJournalFailure(state_, prompts_);
      },
      Qt::QueuedConnection);
}

void CFViewPingRangeICMP::EndOfRun() {
  if (!running_) return;
  engine_.Join();
  running_ = false;
  RefreshNow();
  ShowRunning(false);
  save_->setEnabled(true);
}

void CFViewPingRangeICMP::StopAndJoin() {
  if (!running_) return;
  engine_.Stop();
  EndOfRun();
}

void CFViewPingRangeICMP::ShowRunning(bool running) {
  start_->setVisible(!running && mode_ != IcmpScanMode::ListedSites);
  close_->setVisible(!running);
  save_->setVisible(!running);
  abort_->setVisible(running);
  status_->setVisible(running);
}

void CFViewPingRangeICMP::Show(std::optional<std::size_t> row) {
  if (!row) return;
  changed_ = changed_ ? std::pair{std::min(changed_->first, *row), std::max(changed_->second, *row)}
                      : std::pair{*row, *row};
  // A stream of calls can hold the timer back: the calls themselves repaint then.
  if (std::chrono::steady_clock::now() - lastRefresh_ >= kRefreshInterval) return RefreshNow();
  if (!refreshTimer_.isActive()) refreshTimer_.start();
}

void CFViewPingRangeICMP::RefreshNow() {
  refreshTimer_.stop();
  lastRefresh_ = std::chrono::steady_clock::now();
  if (changed_) model_->RowsChanged(changed_->first, changed_->second);
  changed_.reset();
  totals_->setText(DialogText(run_.TotalsText()));
}

void CFViewPingRangeICMP::StartJob(IcmpJob& job) {
  if (engine_.Launch([method = MethodOf(mode_), &job] { method(job); })) return;
  // Ended as failed once the scan has returned from handing the job over.
  const std::uint16_t index = job.index;
  QMetaObject::invokeMethod(
      this,
      [this, index] {
        Show(run_.OnText(index, kNoWorkerText));
        Apply(run_.OnDone(index));
      },
      Qt::QueuedConnection);
}

IcmpParams CFViewPingRangeICMP::ReadParams() {
  const std::lock_guard lock(paramsMutex_);
  // The hop limit is not reset by a settings file without ICMP keys.
  IcmpParams params = state_.params.icmp;
  IniSettingsFile(state_.programFolder).LoadIcmpParams(params);
  return params;
}

void CFViewPingRangeICMP::Save() {
  if (running_) return;
  switch (prompts_.ChooseFromPopup(IcmpSaveMenu())) {
    case kIcmpSaveTickedCsv: SaveRows(true, IcmpListFormat::Csv); break;
    case kIcmpSaveAllCsv: SaveRows(false, IcmpListFormat::Csv); break;
    case kIcmpSaveTickedText: SaveRows(true, IcmpListFormat::Text); break;
    case kIcmpSaveAllText: SaveRows(false, IcmpListFormat::Text); break;
    default: break;
  }
}

void CFViewPingRangeICMP::SaveRows(bool ticked, IcmpListFormat format) {
  const bool csv = format == IcmpListFormat::Csv;
  const auto path = prompts_.ChooseFile({FileDialogKind::Save, csv ? "Save in .csv File" : "Save in Text File",
                                         csv ? kCsvExportFilter : kTextExportFilter, csv ? "csv" : "txt",
                                         DialogFolder(state_)});
  if (!path) return;
  const std::vector<std::size_t> rows = ticked ? model_->TickedRows() : AllIcmpRows(run_.rows().size());
  if (const Result saved = SaveIcmpRows(*path, run_.rows(), rows, format); !saved)
    return prompts_.ShowMessage(saved.reason());
  desktop_.OpenInEditor(*path);
}

void CFViewPingRangeICMP::OnMainWindowClosing() { StopAndJoin(); }

void CFViewPingRangeICMP::OnIcmpReply(std::uint16_t index, const IcmpTryResult& result) {
  Show(run_.OnReply(index, result));
}

void CFViewPingRangeICMP::OnIcmpErrorText(std::uint16_t index, const std::string& text) {
  Show(run_.OnText(index, text));
}

void CFViewPingRangeICMP::OnIcmpTryFailed(std::uint16_t index, const IcmpTryResult& result) {
  Show(run_.OnTryFailed(index, result));
}

void CFViewPingRangeICMP::OnIcmpTry(std::uint16_t index, const std::string& text) { Show(run_.OnText(index, text)); }

void CFViewPingRangeICMP::OnIcmpStatus(std::uint16_t index, const IcmpTryResult& result) {
  Show(run_.OnStatus(index, result));
}

void CFViewPingRangeICMP::OnIcmpDone(std::uint16_t index, bool) {
  Apply(run_.OnDone(index));
}

void CFViewPingRangeICMP::OnIcmpRawText(std::uint16_t index, const std::string& text) {
  Show(run_.OnText(index, text));
}

void CFViewPingRangeICMP::OnIcmpRawReply(std::uint16_t index, const IcmpTryResult& result) {
  Show(run_.OnReply(index, result));
}

// The row keeps the raw method's text; the message box has told the rest.
void CFViewPingRangeICMP::OnIcmpRawTryFailed(std::uint16_t, const IcmpTryResult&) {}

void CFViewPingRangeICMP::OnIcmpMessage(const std::string& text) { prompts_.ShowMessage(text); }

}  // namespace quenderlink
