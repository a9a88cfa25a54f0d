#include "upload/ui/MultiUploadView.h"

#include <QLabel>
#include <QPushButton>

#include "core/ErrorMessages.h"
#include "prompts/ui/DialogWidgets.h"
#include "upload/UploadEngine.h"
#include "workers/ui/UiThreadCalls.h"

namespace quenderlink {
namespace {

// Often enough to look live, seldom enough to cost the engine nothing.
constexpr std::chrono::milliseconds kRefreshInterval{50};

}  // namespace

MultiUploadView::MultiUploadView(ProgramState& state, UserPrompts& prompts, ProgramFileTarget*& slot,
                                 const char* abortText, QWidget* parent)
    : OperationView(parent),
      state_(state),
      prompts_(prompts),
      slot_(slot),
      engineListener_(this, *this),
      headline_(PlainLabel({}, "headlineText", this)),
      abort_(NamedButton(abortText, "abortButton", this)),
      close_(NamedButton("Close", "closeButton", this)) {
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
  request_.listener = &engineListener_;
  request_.sites = &state_.sites;
  request_.params = &state_.params;
  request_.filePath = path;
  slot_ = this;
  state_.operations.uploadInProgress = true;
  engineRunning_ = true;
  ShowRunning(true);
  worker_ = std::thread(UploadEngine, std::ref(request_));
}

void MultiUploadView::OnMainWindowClosing() {
  // Nothing is left to tell: the main view has let go of the site table.
  released_ = true;
  StopEngine();
}

bool MultiUploadView::MayClose() {
  if (!engineRunning_) return true;
  prompts_.ShowError(kErrorUploadInProgress, "", false);
  return false;
}

void MultiUploadView::ShowRunning(bool running) {
  abort_->setVisible(running);
  close_->setVisible(!running);
}

void MultiUploadView::StopEngine() {
  request_.stop = 1;
  // A worker blocked in a call to this thread cannot end: its calls are served until it has finished.
  JoinServingCalls(worker_, [this] { return request_.finished != 0; });
  if (engineRunning_) EndRun();
}

void MultiUploadView::Abort() {
  if (!prompts_.Confirm(ConfirmMode::AbortUpload, kAbortUploadQuestion)) return;
  request_.stop = 1;
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
  engineRunning_ = false;
  if (worker_.joinable()) worker_.join();
  state_.operations.uploadInProgress = false;
  if (slot_ == this) slot_ = nullptr;
  refreshTimer_.stop();
  Refresh();
  const std::string end = run().EndHeadline();
  headline_->setText(DialogText(runFailure_.empty() ? end : runFailure_ + "\r\n" + end));
  ShowRunning(false);
  if (state_.operations.mainView && !released_) state_.operations.mainView->OnRunFinished();
}

void MultiUploadView::OnUploadEvent(int event, std::uint16_t row, int value) {
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
  if (engineRunning_) EndRun();
}

}  // namespace quenderlink
