#pragma once

#include <QDialog>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ProgramState.h"
#include "core/RunSite.h"
#include "net/HostAddress.h"
#include "survey/DnsConversion.h"
#include "workers/ui/EngineRun.h"

namespace quenderlink {

class LogBox;

// "Powerup Convert DNS": gives every listed site the address its host name
// resolves to, showing each name and its result, and closes itself when done.
// Closing it earlier stops the conversion; the sites not reached yet keep the
// addresses they had.
class CDlgPowerupConvertDNS : public QDialog, private DnsConversionListener {
  Q_OBJECT

 public:
  // `listRows`: how many rows the main view lists; row i shows site record i.
  CDlgPowerupConvertDNS(ProgramState& state, std::size_t listRows, QWidget* parent = nullptr,
                        HostLookup lookup = ResolveIpv4);
  ~CDlgPowerupConvertDNS() override;

  // While the conversion lasts, stops it: the dialog closes once it has ended.
  void done(int result) override;

 signals:
  // The site record at that place of the table has its new IpByNumber;
  // emitted while the conversion waits, so the record may be read in the slot.
  void rowResolved(int row);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Start();

  // Called on the worker's thread; each returns once handled on the dialog's.
  void OnDnsName(const std::string& host) override;
  void OnDnsAddress(const std::string& address) override;
  void OnDnsFailed(const std::string& ipByNumber) override;
  void OnDnsRowResolved(std::uint16_t row, const std::string& ipByNumber) override;
  void OnDnsDone() override;

  ProgramState& state_;
  std::size_t listRows_;
  HostLookup lookup_;
  int counter_ = 1;
  bool startPosted_ = false;
  LogBox* log_;
  RunSiteCopy copy_;
  std::atomic<std::uint8_t> stop_{0};
  // Last: a conversion still going is stopped before what it uses goes.
  EngineRun run_;
};

}  // namespace quenderlink
