#include "survey/ui/CFViewPingSites.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/ui/ProgressCellDelegate.h"
#include "controls/ui/SiteListView.h"
#include "core/BusyCheck.h"
#include "journal/ProgramJournal.h"
#include "journal/RunSettingsText.h"
#include "net/SiteEngine.h"
#include "survey/PingSitesColumns.h"
#include "survey/ui/PingSitesModel.h"
#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {
namespace {

constexpr int kProgressTickMs = 500;
constexpr const char* kNoFailedSiteText = "\r\nThere is no\n\"Failed Site\"\nto ping.";

}  // namespace

CFViewPingSites::CFViewPingSites(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView, PingMode mode,
                                 QWidget* parent)
    : OperationView(parent),
      state_(state),
      prompts_(prompts),
      mainView_(mainView),
      mode_(mode),
      run_(state.sites, state.params, mode_),
      engineListener_(this, *this),
      model_(new PingSitesModel(run_, state, this)),
      list_(new SiteListView(this)),
      engine_(this, state.operations, &OperationState::pingInProgress, [this] { request_.stop = 1; }) {
  list_->setObjectName("siteList");
  list_->setModel(model_);
  list_->setItemDelegateForColumn(kPingColResults, new ProgressCellDelegate(PingSitesModel::kProgressRole, list_));
  list_->ApplyColumnWidths(PingSitesColumnWidths(state_.params));

  QLabel* header = HeadingLabel("Ping Sites in Progress", "headerText", this);
  status_ = PlainLabel(mode_ == PingMode::Ping ? "Ping in Progress!  Wait ..." : "Reset Cadmarin in Progress ...",
                       "statusText", this);
  status_->setWordWrap(false);
  totals_ = PlainLabel({}, "totalsText", this);
  totals_->setWordWrap(false);
  // The totals line up their numbers in columns.
  totals_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  abort_ = NamedButton("Abort", "abortButton", this);
  close_ = NamedButton("Close", "closeButton", this);
  rePingAll_ = NamedButton("Re-Ping All", "rePingAllButton", this);
  rePingFailed_ = NamedButton("Re-Ping Failed", "rePingFailedButton", this);

  auto* buttons = LeftPackedRow({abort_, close_, rePingAll_, rePingFailed_});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(header);
  layout->addWidget(list_, 1);
  layout->addWidget(status_);
  layout->addWidget(totals_);
  layout->addLayout(buttons);

  connect(abort_, &QPushButton::clicked, this, &CFViewPingSites::Abort);
  connect(close_, &QPushButton::clicked, this, &CFViewPingSites::closeRequested);
  connect(rePingAll_, &QPushButton::clicked, this, &CFViewPingSites::RePingAll);
  connect(rePingFailed_, &QPushButton::clicked, this, &CFViewPingSites::RePingFailed);
  progressTimer_.setSingleShot(true);
  progressTimer_.setInterval(kProgressTickMs);
  connect(&progressTimer_, &QTimer::timeout, this, &CFViewPingSites::Tick);

  registered_ = state_.openViews.Register(this);
  run_.FillList();
  model_->Refill();
  ShowTotals();
  ShowRunning(true);
  // Posted, so that the view is in its window, and its title connected, before the first ping goes out.
  QTimer::singleShot(0, this, &CFViewPingSites::Open);
}

CFViewPingSites::~CFViewPingSites() {
  closing_ = true;
  progressTimer_.stop();
  engine_.Stop();
  if (registered_) state_.openViews.Deregister(this);
}

void CFViewPingSites::OnMainWindowClosing() {
  // Nothing is left to redraw: the main view has let go of the site table.
  released_ = true;
  progressTimer_.stop();
  engine_.Stop();
  model_->Clear();
}

void CFViewPingSites::Open() {
  if (released_) return;
  emit titleChanged(mode_ == PingMode::Ping ? "Ping Cadmarins" : "Reset Cadmarins");
  StartRun();
}

void CFViewPingSites::StartRun() {
  if (engine_.running()) return;
  // The last run's engine has made its last call: its worker only has to return.
  engine_.Join();
  run_.PrepareRequest(request_);
  journal_.emplace(StartJournalRun(state_, mode_ == PingMode::Ping ? RunKind::Ping : RunKind::Reset,
                                   PingSettingsText(state_.params)),
                   engineListener_, request_.stop);
  journal_->AddSites(state_.sites, request_.sites);
  request_.listener = &*journal_;
  origin_ = RunOriginOf(state_);
  if (!engine_.Launch([this] { SiteEngine(request_); })) {
    journal_.reset();
    prompts_.ShowMessage(kNoWorkerText);
    return;
  }
  ShowRunning(true);
}

void CFViewPingSites::EndRun() {
  progressTimer_.stop();
  model_->ResultsChanged();
  ShowRunning(false);
  ShowTotals();
  engine_.Finish();
  if (const std::string unplaced = UnplacedResultsText(run_.unplacedResults()); !unplaced.empty())
    prompts_.ShowMessage(unplaced);
  if (!released_ && !closing_) TellJournalFailure(state_, prompts_);
  if (mode_ == PingMode::Ping && !released_) mainView_.OnRunFinished(origin_);
}

void CFViewPingSites::Abort() { run_.Abort(request_); }

void CFViewPingSites::RePingAll() {
  if (engine_.running() || RefuseWhenBusy(state_.operations, prompts_)) return;
  run_.Restart();
  model_->Refill();
  ShowTotals();
  StartRun();
}

void CFViewPingSites::RePingFailed() {
  if (engine_.running() || RefuseWhenBusy(state_.operations, prompts_)) return;
  if (!run_.KeepOnlyFailedSites()) {
    prompts_.ShowError(ErrorId::kNone, kNoFailedSiteText, false);
    return;
  }
  model_->Refill();
  ShowTotals();
  StartRun();
}

void CFViewPingSites::Tick() {
  run_.AdvanceProgress();
  model_->ResultsChanged();
  const auto& rows = run_.rows();
  const bool waiting = std::any_of(rows.begin(), rows.end(), [](const PingSiteRow& row) { return row.progress; });
  if (request_.stop != 0 || !waiting || !state_.operations.pingInProgress) return;
  blink_ = !blink_;
  PaintStatus();
  progressTimer_.start();
}

void CFViewPingSites::ShowRunning(bool running) {
  status_->setVisible(running);
  abort_->setVisible(running);
  close_->setVisible(!running);
  rePingAll_->setVisible(!running);
  rePingFailed_->setVisible(!running);
  if (!running) rePingFailed_->setEnabled(run_.canRePingFailed());
}

void CFViewPingSites::ShowTotals() { totals_->setText(DialogText(run_.TotalsText())); }

void CFViewPingSites::PaintStatus() {
  QPalette palette = status_->palette();
  palette.setColor(QPalette::WindowText, blink_ ? QColor(Qt::darkBlue) : this->palette().color(QPalette::Window));
  status_->setPalette(palette);
}

void CFViewPingSites::SiteChanged(std::size_t rowNumber) {
  model_->SiteChanged(static_cast<std::uint16_t>(rowNumber));
  ShowTotals();
}

void CFViewPingSites::OnPingSent(std::size_t id, int tries) {
  run_.OnPingSent(id, tries);
  SiteChanged(id);
}

void CFViewPingSites::OnPingReply(std::size_t id, const ReplyNotice& notice) {
  run_.OnPingReply(id, notice);
  SiteChanged(id);
}

void CFViewPingSites::OnPingTimeout(std::size_t id, int tries) { run_.OnPingTimeout(id, tries); }

void CFViewPingSites::OnPingFailed(std::size_t id, int tries) {
  run_.OnPingFailed(id, tries);
  SiteChanged(id);
}

void CFViewPingSites::OnPingStarted() {
  run_.OnPingStarted();
  progressTimer_.start();
}

void CFViewPingSites::OnPingFinished() {
  run_.OnPingFinished();
  EndRun();
}

void CFViewPingSites::OnPingBadAddress(std::uint16_t row) {
  run_.OnPingBadAddress(row);
  SiteChanged(row);
}

void CFViewPingSites::OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) {
  run_.OnResetConfirmed(row, notice);
  SiteChanged(row);
}

void CFViewPingSites::OnEngineMessage(const std::string& text) {
  run_.OnEngineMessage(text);
  prompts_.ShowMessage(text);
}

}  // namespace quenderlink
