#pragma once

#include <string>
#include <vector>

#include "core/FixedText.h"
#include "shell/OperationOpener.h"

namespace quenderlink::testing {

// Records what the main view's rules open, one line each ("view 2", "reset EAST"),
// and every view's request.
class RecordingOpener : public OperationOpener {
 public:
  std::vector<std::string> opened;
  std::vector<ViewRequest> viewRequests;

  void OpenView(const ViewRequest& request) override {
    opened.push_back("view " + std::to_string(static_cast<int>(request.kind)));
    viewRequests.push_back(request);
  }
  void OpenSitePing(const SiteRecord& site) override { opened.push_back("site ping " + Name(site)); }
  void OpenManualPing() override { opened.push_back("manual ping"); }
  void OpenSingleSiteUpload(const std::string& programFile) override { opened.push_back("upload " + programFile); }
  void OpenResetDialog(const SiteRecord& site) override { opened.push_back("reset " + Name(site)); }
  void OpenDnsConversion() override { opened.push_back("dns"); }

 private:
  static std::string Name(const SiteRecord& site) { return std::string(FieldText(site.SiteName)); }
};

}  // namespace quenderlink::testing
