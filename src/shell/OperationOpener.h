#pragma once

#include <string>

#include "core/ProgramState.h"
#include "core/SiteRecord.h"

namespace quenderlink {

// What the main view's launch rules open; the desktop program opens windows
// and dialogs, tests record the calls.
class OperationOpener {
 public:
  virtual ~OperationOpener() = default;

  // A new child window holding the view of that kind (the view kind is set first).
  virtual void OpenView(ViewKind kind) = 0;
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
