#pragma once

#include <string>
#include <vector>

#include "core/PingMode.h"
#include "core/ProgramState.h"
#include "core/SiteRecord.h"
#include "journal/ListedSite.h"

namespace quenderlink {

// What a new operation view is made with.
struct ViewRequest {
  ViewKind kind = ViewKind::kMain;
  PingMode pingMode = PingMode::Ping;                     // the ping sites view: ping or reset
  IcmpScanMode icmpMode = IcmpScanMode::SystemLibrary;  // the ICMP view's method
  SiteRecord site{};  // the telnet view's site, a copy: the table may be reloaded meanwhile
  std::vector<ListedSite> sites{};  // the history and availability views' sites
};

// What the main view's launch rules open; the desktop program opens windows
// and dialogs, tests record the calls.
class OperationOpener {
 public:
  virtual ~OperationOpener() = default;

  // A new child window holding the view the request asks for.
  virtual void OpenView(const ViewRequest& request) = 0;
  // The add/modify site dialog pinging a copy of a listed site at once.
  virtual void OpenSitePing(const SiteRecord& site) = 0;
  // The add/modify site dialog pinging an address the user types in.
  virtual void OpenManualPing() = 0;
  // The single-site upload dialog for the highlighted site, modal.
  virtual void OpenSingleSiteUpload(const std::string& programFile) = 0;
  // The reset dialog for one site, modal.
  virtual void OpenResetDialog(const SiteRecord& site) = 0;
  // The DNS to address conversion of every site, modal.
  virtual void OpenDnsConversion() = 0;
};

}  // namespace quenderlink
