#pragma once

#include <QDialog>

#include <cstddef>
#include <string>
#include <thread>

#include "core/ProgramState.h"
#include "survey/DnsConversion.h"

namespace quenderlink {

class LogBox;

// "Powerup Convert DNS": gives every listed site the address its host name
// resolves to, showing each name and its result, and closes itself when done.
// Name resolution cannot be interrupted, so the dialog cannot be closed before.
class CDlgPowerupConvertDNS : public QDialog, private DnsConversionListener {
  Q_OBJECT

 public:
  // `listRows`: how many rows the main view lists; row i shows site record i.
  CDlgPowerupConvertDNS(ProgramState& state, std::size_t listRows, QWidget* parent = nullptr);
  ~CDlgPowerupConvertDNS() override;

  // Refused until the conversion is done.
  void done(int result) override;

 signals:
  // The site record of that row has its new IpByNumber; emitted while the
  // conversion waits, so the record may be read in the slot.
  void rowResolved(int row);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Start();

  // Called on the worker's thread; each returns once handled on the dialog's.
  void OnDnsName(const std::string& host) override;
  void OnDnsAddress(const std::string& address) override;
  void OnDnsFailed(const std::string& ipByNumber) override;
  void OnDnsRowResolved(std::size_t row, const std::string& ipByNumber) override;
  void OnDnsDone() override;

  ProgramState& state_;
  std::size_t listRows_;
  int counter_ = 1;
  bool startPosted_ = false;
  bool converted_ = false;
  LogBox* log_;
  std::thread worker_;
};

}  // namespace quenderlink
