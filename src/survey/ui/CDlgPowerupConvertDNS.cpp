#include "survey/ui/CDlgPowerupConvertDNS.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/ui/LogBox.h"
#include "core/FixedText.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "prompts/ui/DialogWidgets.h"
#include "workers/ui/UiThreadCalls.h"

namespace quenderlink {

CDlgPowerupConvertDNS::CDlgPowerupConvertDNS(ProgramState& state, std::size_t listRows, QWidget* parent,
                                             HostLookup lookup)
    : QDialog(parent),
      state_(state),
      listRows_(listRows),
      lookup_(std::move(lookup)),
      run_(this, state.operations, &OperationState::pingInProgress, [this] { stop_ = 1; }) {
  setModal(true);
  setWindowTitle("Powerup Convert DNS");
  log_ = new LogBox(this);
  log_->setObjectName("logBox");
  log_->setMinimumSize(420, 260);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(HeadingLabel("Please Wait!  Converting DNS to IP Addressess . . .", "headerLabel", this));
  layout->addWidget(log_, 1);
}

CDlgPowerupConvertDNS::~CDlgPowerupConvertDNS() = default;

void CDlgPowerupConvertDNS::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (startPosted_) return;
  startPosted_ = true;
  QTimer::singleShot(0, this, &CDlgPowerupConvertDNS::Start);
}

// The worker converts a copy of the listed sites; each address is written
// into its site's record here, on the user-interface thread.
void CDlgPowerupConvertDNS::Start() {
  if (!isVisible()) return;  // closed before the start came round
  copy_.TakeFirst(state_.sites, listRows_);
  if (run_.Launch([this] { ConvertHostNames(copy_.sites(), *this, stop_, lookup_); })) return;
  log_->Append(LogClass::Error, kNoWorkerText);
}

void CDlgPowerupConvertDNS::done(int result) {
  if (run_.running()) {
    run_.RequestStop();
    return;
  }
  run_.Join();
  QDialog::done(result);
}

void CDlgPowerupConvertDNS::OnDnsName(const std::string& host) {
  CallOnThreadOf(this, [&] {
    log_->Append(LogClass::Progress, Printf("%04d: DNS = %s\r\n", counter_++, Utf8FromRecordText(host).c_str()));
  });
}

void CDlgPowerupConvertDNS::OnDnsAddress(const std::string& address) {
  CallOnThreadOf(this, [&] { log_->Append(LogClass::Success, Printf("IP EQUAL = %s\r\n\r\n", address.c_str())); });
}

void CDlgPowerupConvertDNS::OnDnsFailed(const std::string&) {
  CallOnThreadOf(this, [&] { log_->Append(LogClass::Error, "ERROR: Failed to convert!\r\n\r\n"); });
}

void CDlgPowerupConvertDNS::OnDnsRowResolved(std::uint16_t row, const std::string& ipByNumber) {
  CallOnThreadOf(this, [&] {
    SiteRecord* record = copy_.RecordOf(row);
    if (!record) return;
    SetFieldText(record->IpByNumber, ipByNumber);
    emit rowResolved(static_cast<int>(record - state_.sites.records().data()));
  });
}

void CDlgPowerupConvertDNS::OnDnsDone() {
  CallOnThreadOf(this, [&] {
    run_.Finish();
    QTimer::singleShot(0, this, [this] {
      if (isVisible()) done(Accepted);
    });
  });
}

}  // namespace quenderlink
