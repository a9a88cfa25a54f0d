#include "upload/ui/MultiUploadView.h"

#include <QLabel>
#include <QPushButton>

#include "core/ErrorMessages.h"
#include "journal/ProgramJournal.h"
#include "journal/RunSettingsText.h"
#include "prompts/ui/DialogWidgets.h"
#include "upload/UploadEngine.h"

namespace quenderlink {
namespace {

// Often enough to look live, seldom enough to cost the engine nothing.
constexpr std::chrono::milliseconds kRefreshInterval{50};

}  // namespace

MultiUploadView::MultiUploadView(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView,
                                 ProgramFileTarget*& slot, const char* abortText, QWidget* parent)
    : OperationView(parent),
      state_(state),
      prompts_(prompts),
      mainView_(mainView),
      slot_(slot),
      engineListener_(this, *this),
      headline_(PlainLabel({}, "headlineText", this)),
      abort_(NamedButton(abortText, "abortButton", this)),
      close_(NamedButton("Close", "closeButton", this)),
      engine_(this, state.operations, &OperationState::uploadInProgress, [this] { request_.stop = 1; }) {
  connect(abort_, &QPushButton::clicked, this, &MultiUploadView::Abort);
  connect(close_, &QPushButton::clicked, this, &MultiUploadView::closeRequested);
  // Room for the two lines of the end headline from the start: the views above keep their size.
  headline_->setMinimumHeight(2 * headline_->fontMetrics().lineSpacing());
  refreshTimer_.setSingleShot(true);
  refreshTimer_.setTimerType(Qt::PreciseTimer);
  refreshTimer_.setInterval(kRefreshInterval);
  connect(&refreshTimer_, &QTimer::timeout, this, &MultiUploadView::RefreshNow);
  registered_ = state_.openViews.Register(this);
  slot_ = this;
}

MultiUploadView::~MultiUploadView() {
  StopEngine();
  if (slot_ == this) slot_ = nullptr;
  if (registered_) state_.openViews.Deregister(this);
}

void MultiUploadView::ReceiveProgramFile(const std::string& path) {
  if (started_ || released_) return;
  started_ = true;
  headline_->setText(DialogText(run().tally().RunningHeadline()));
  request_.stop = 0;
  request_.finished = 0;
  request_.sites = run().sites();
  request_.params = &state_.params;
  request_.filePath = path;
  journal_.emplace(StartJournalRun(state_, RunKind::Upload, UploadSettingsText(state_.params)), engineListener_,
                   request_.stop);
  for (const SiteRecord& site : run().ListedSites()) journal_->AddSite(site);
  request_.listener = &*journal_;
  slot_ = this;
  origin_ = RunOriginOf(state_);
  if (!engine_.Launch([this] { UploadEngine(request_); })) {
    journal_.reset();
    headline_->setText(DialogText(kNoWorkerText));
    return;
  }
  ShowRunning(true);
}

void MultiUploadView::OnMainWindowClosing() {
  // Nothing is left to tell: the main view has let go of the site table.
  released_ = true;
  StopEngine();
}

bool MultiUploadView::MayClose() {
  if (!engine_.running()) return true;
  prompts_.ShowError(ErrorId::kUploadInProgress, "", false);
  return false;
}

void MultiUploadView::ShowRunning(bool running) {
  abort_->setVisible(running);
  close_->setVisible(!running);
}

void MultiUploadView::StopEngine() {
  const bool running = engine_.running();
  engine_.Stop();
  // The engine's last event is posted: a stopped run ends here instead.
  if (running) EndRun();
}

void MultiUploadView::Abort() {
  if (!prompts_.Confirm(ConfirmMode::AbortUpload, kAbortUploadQuestion)) return;
  engine_.RequestStop();
}

void MultiUploadView::Show(std::optional<std::size_t> place) {
  if (!place) return;
  MarkChanged(*place);
  // A stream of events can hold the timer back: the events themselves refresh then.
  if (std::chrono::steady_clock::now() - lastRefresh_ >= kRefreshInterval) return RefreshNow();
  if (!refreshTimer_.isActive()) refreshTimer_.start();
}

void MultiUploadView::RefreshNow() {
  refreshTimer_.stop();
  lastRefresh_ = std::chrono::steady_clock::now();
  Refresh();
  headline_->setText(DialogText(run().tally().RunningHeadline()));
}

void MultiUploadView::EndRun() {
  engine_.Finish();
  if (slot_ == this) slot_ = nullptr;
  refreshTimer_.stop();
  Refresh();
  const std::string end = run().EndHeadline();
  headline_->setText(DialogText(runFailure_.empty() ? end : runFailure_ + "\r\n" + end));
  ShowRunning(false);
  if (const std::string unplaced = UnplacedResultsText(run().unplacedResults()); !unplaced.empty())
    prompts_.ShowMessage(unplaced);
  if (!released_) mainView_.OnRunFinished(origin_);
}

void MultiUploadView::OnJobAddress(std::uint16_t row, const std::string& address) {
  run().OnJobAddress(row, address);
}

void MultiUploadView::OnUploadEvent(UploadEvent event, std::uint16_t row, int value) {
  Show(run().OnUploadEvent(event, row, value));
}

void MultiUploadView::OnPacketText(std::uint16_t row, const std::string& text) { Show(run().OnPacketText(row, text)); }

void MultiUploadView::OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) {
  Show(run().OnNewProgramAnswered(row, reply));
}

void MultiUploadView::OnUploadFailed(UploadFailure, std::uint16_t row, const std::string& text) {
  if (row == 0) {
    runFailure_ = "Upload did not start: " + text;
    return;
  }
  Show(run().OnJobFailed(row, text));
}

void MultiUploadView::OnUploadDone() {
  // A run the view's close stopped has ended there, with nobody left to tell.
  if (!engine_.running()) return;
  EndRun();
  TellJournalFailure(state_, prompts_);
}

}  // namespace quenderlink
