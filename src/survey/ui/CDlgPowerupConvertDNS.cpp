#include "survey/ui/CDlgPowerupConvertDNS.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/ui/LogBox.h"
#include "core/FixedText.h"
#include "core/Printf.h"
#include "workers/ui/UiThreadCalls.h"
#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {

CDlgPowerupConvertDNS::CDlgPowerupConvertDNS(ProgramState& state, std::size_t listRows, QWidget* parent)
    : QDialog(parent), state_(state), listRows_(listRows) {
  setModal(true);
  setWindowTitle("Powerup Convert DNS");
  log_ = new LogBox(this);
  log_->setObjectName("logBox");
  log_->setMinimumSize(420, 260);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(HeadingLabel("Please Wait!  Converting DNS to IP Addressess . . .", "headerLabel", this));
  layout->addWidget(log_, 1);
}

CDlgPowerupConvertDNS::~CDlgPowerupConvertDNS() {
  JoinServingCalls(worker_, [this] { return converted_; });
}

void CDlgPowerupConvertDNS::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (startPosted_) return;
  startPosted_ = true;
  QTimer::singleShot(0, this, &CDlgPowerupConvertDNS::Start);
}

// The worker gets copies of the host names and never touches the table: each
// address is written into its record here, on the user-interface thread.
void CDlgPowerupConvertDNS::Start() {
  if (!isVisible()) return;  // closed before the start came round
  worker_ = std::thread([this, hosts = ListedHostTexts(state_.sites, listRows_)] { ConvertHostNames(hosts, *this); });
}

void CDlgPowerupConvertDNS::done(int result) {
  if (worker_.joinable() && !converted_) return;
  if (worker_.joinable()) worker_.join();
  QDialog::done(result);
}

void CDlgPowerupConvertDNS::OnDnsName(const std::string& host) {
  CallOnThreadOf(this, [&] { log_->Append(LogClass::Progress, Printf("%04d: DNS = %s\r\n", counter_++, host.c_str())); });
}

void CDlgPowerupConvertDNS::OnDnsAddress(const std::string& address) {
  CallOnThreadOf(this, [&] { log_->Append(LogClass::Success, Printf("IP EQUAL = %s\r\n\r\n", address.c_str())); });
}

void CDlgPowerupConvertDNS::OnDnsFailed(const std::string&) {
  CallOnThreadOf(this, [&] { log_->Append(LogClass::Error, "ERROR: Failed to convert!\r\n\r\n"); });
}

void CDlgPowerupConvertDNS::OnDnsRowResolved(std::size_t row, const std::string& ipByNumber) {
  CallOnThreadOf(this, [&] {
    if (row < state_.sites.size()) SetFieldText(state_.sites[row].IpByNumber, ipByNumber);
    emit rowResolved(static_cast<int>(row));
  });
}

void CDlgPowerupConvertDNS::OnDnsDone() {
  CallOnThreadOf(this, [&] {
    converted_ = true;
    QTimer::singleShot(0, this, [this] {
      if (isVisible()) done(Accepted);
    });
  });
}

}  // namespace quenderlink
