#include "dialogs/ui/CDlgPingDevice.h"

#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/ui/LogBox.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "journal/ProgramJournal.h"
#include "journal/RunSettingsText.h"
#include "net/SiteEngine.h"

namespace quenderlink {

namespace {

constexpr int kProgressTickMs = 100;

}  // namespace

CDlgPingDevice::CDlgPingDevice(SiteRecord& site, ProgramState& state, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent),
      state_(state),
      prompts_(prompts),
      engineListener_(this, *this),
      engine_(this, state.operations, &OperationState::pingInProgress, [this] { request_.stop = 1; }) {
  setModal(true);
  setWindowTitle(tr("Ping Unit"));
  siteCopy_.Replace({site});

  log_ = new LogBox(this);
  log_->setObjectName("logBox");
  log_->setMinimumSize(460, 220);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("progressBar");
  progress_->setTextVisible(false);
  progress_->setRange(0, 10 * state_.params.pingMaxWaitResponse);
  progress_->setValue(0);
  cancel_ = new QPushButton(tr("Cancel"), this);
  cancel_->setObjectName("cancelButton");
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(log_, 1);
  layout->addWidget(progress_);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);

  progressTimer_.setInterval(kProgressTickMs);
  connect(&progressTimer_, &QTimer::timeout, this, [this] {
    ++tenths_;
    progress_->setValue(std::min(tenths_, progress_->maximum()));
  });
}

CDlgPingDevice::~CDlgPingDevice() { engine_.Stop(); }

void CDlgPingDevice::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (startPosted_) return;
  startPosted_ = true;
  // Posted, so that the dialog is on screen before the first ping goes out.
  QTimer::singleShot(0, this, &CDlgPingDevice::Start);
}

void CDlgPingDevice::Start() {
  if (!isVisible()) return;  // closed before the start came round
  SiteRecord& site = siteCopy_[0];
  site.SiteFlags = static_cast<std::uint8_t>(site.SiteFlags | kFlagMarked);
  request_.stop = 0;
  request_.finished = 0;
  request_.sites = CopyRunSites(siteCopy_, kFlagMarked);
  request_.ping = 1;
  request_.params = &state_.params;
  journal_.emplace(StartJournalRun(state_, RunKind::ManualPing, PingSettingsText(state_.params)), engineListener_,
                   request_.stop);
  journal_->AddSite(site);
  request_.listener = &*journal_;
  if (!engine_.Launch([this] { SiteEngine(request_); })) {
    journal_.reset();
    Log(LogClass::Error, Printf("%s\n", kNoWorkerText));
    return;
  }
  progressTimer_.start();
}

void CDlgPingDevice::done(int result) {
  if (engine_.running()) {
    Terminate();
    return;
  }
  // Once finished, the engine makes no further call: this cannot wait long.
  engine_.Stop();
  QDialog::done(result);
}

void CDlgPingDevice::Terminate() {
  if (userAborted_) return;
  Log(LogClass::Caution, "**********\n");
  Log(LogClass::Caution, "********** TERMINATING Ping\n");
  Log(LogClass::Caution, "********** PLEASE WAIT . . .\n\n");
  userAborted_ = true;
  engine_.RequestStop();
}

void CDlgPingDevice::Log(LogClass logClass, const std::string& text) { log_->Append(logClass, text); }

void CDlgPingDevice::OnPingSent(std::size_t, int tries) {
  const SiteRecord& site = siteCopy_[0];
  const int port = site.DevicePort;
  const int maxWait = state_.params.pingMaxWaitResponse;
  Log(LogClass::Progress,
      Printf("Sent Ping #%d to %s (Port %d)\n", tries, RecordFieldUtf8(site.IpByNumber).c_str(), port));
  Log(LogClass::Progress, Printf("DNS: %s\n", RecordFieldUtf8(site.HostText).c_str()));
  Log(LogClass::Progress, Printf("will wait  %d  seconds for a response\n", maxWait));
  progress_->setRange(0, 10 * maxWait);
  progress_->setValue(0);
  tenths_ = 0;
}

void CDlgPingDevice::OnPingReply(std::size_t, const ReplyNotice& notice) {
  reply_ = *notice.reply;
  replyReceived_ = true;
}

void CDlgPingDevice::OnPingTimeout(std::size_t, int) {
  const SiteRecord& site = siteCopy_[0];
  const int port = site.DevicePort;
  Log(LogClass::Caution,
      Printf("CAUTION: No Reponse from %s (Port %d)\n\n", RecordFieldUtf8(site.HostText).c_str(), port));
}

void CDlgPingDevice::OnPingFailed(std::size_t, int) { replyReceived_ = false; }

void CDlgPingDevice::OnPingFinished() {
  progressTimer_.stop();
  engine_.Finish();
  // Posted: the engine is still inside this call and ends right after it.
  QTimer::singleShot(0, this, [this] {
    if (!isVisible()) return;
    TellJournalFailure(state_, prompts_);
    done(replyReceived_ ? Accepted : Rejected);
  });
}

void CDlgPingDevice::OnEngineMessage(const std::string& text) {
  QMessageBox::warning(this, windowTitle(), QString::fromStdString(text));
}

}  // namespace quenderlink
