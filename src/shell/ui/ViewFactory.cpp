#include "shell/ui/ViewFactory.h"

#include "exchange/ui/CFViewImportSitesFromFile.h"
#include "journal/ui/CFViewAvailability.h"
#include "journal/ui/CFViewSiteHistory.h"
#include "shell/ui/CMainView.h"
#include "survey/ui/CFViewPingRange.h"
#include "survey/ui/CFViewPingRangeICMP.h"
#include "survey/ui/CFViewPingSites.h"
#include "terminal/ui/CFViewTelnetSession.h"
#include "upload/ui/CFViewUploadPgmBoxes.h"
#include "upload/ui/CFViewUploadProgram.h"

namespace quenderlink {
namespace {

// A site by its name, several by their number.
std::string SitesTitle(const std::vector<ListedSite>& sites) {
  return sites.size() == 1 ? sites.front().name : std::to_string(sites.size()) + " sites";
}

}  // namespace

std::string ViewKindTitle(const ViewRequest& request) {
  switch (request.kind) {
    case ViewKind::kMain: return "Sites";
    case ViewKind::kImport: return "Import Sites From File";
    case ViewKind::kPingSites:
      return request.pingMode == PingMode::Reset ? "Reset Sites" : "Ping Sites";
    case ViewKind::kUploadList: return "Upload Program";
    case ViewKind::kUploadBoxes: return "Upload Program - Boxes";
    case ViewKind::kPingRange: return "Ping Range of Addresses";
    case ViewKind::kIcmpRange: return "ICMP Ping Range";
    case ViewKind::kTelnet: return "Telnet Session";
    case ViewKind::kHistory: return "History - " + SitesTitle(request.sites);
    case ViewKind::kAvailability: return "Availability - " + SitesTitle(request.sites);
  }
  return "Quenderlink";
}

ViewFactory::ViewFactory(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, OperationOpener& opener)
    : state_(state), prompts_(prompts), desktop_(desktop), opener_(opener) {}

CMainView* ViewFactory::CreateMainView() const { return new CMainView(state_, prompts_, desktop_, opener_); }

OperationView* ViewFactory::Create(const ViewRequest& request, MainViewTarget& mainView) const {
  switch (request.kind) {
    case ViewKind::kImport: return new CFViewImportSitesFromFile(state_, prompts_, mainView);
    case ViewKind::kPingSites: return new CFViewPingSites(state_, prompts_, mainView, request.pingMode);
    case ViewKind::kPingRange: return new CFViewPingRange(state_, prompts_, desktop_, mainView);
    case ViewKind::kIcmpRange: return new CFViewPingRangeICMP(state_, prompts_, desktop_, request.icmpMode);
    case ViewKind::kUploadList: return new CFViewUploadProgram(state_, prompts_, mainView);
    case ViewKind::kUploadBoxes: return new CFViewUploadPgmBoxes(state_, prompts_, mainView);
    case ViewKind::kTelnet: return new CFViewTelnetSession(state_, prompts_, desktop_, request.site);
    case ViewKind::kHistory: return new CFViewSiteHistory(state_, request.sites);
    case ViewKind::kAvailability: return new CFViewAvailability(state_, prompts_, desktop_, request.sites);
    // The main view is made once, by CreateMainView.
    case ViewKind::kMain: break;
  }
  return nullptr;
}

}  // namespace quenderlink
