#include "shell/LaunchRules.h"

#include <optional>

#include "core/BusyCheck.h"
#include "core/ErrorMessages.h"
#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "core/PathLengths.h"
#include "core/Printf.h"
#include "core/ProgramFileIdentification.h"
#include "net/HostAddress.h"
#include "shell/MainFrameRules.h"

namespace quenderlink {
namespace {

constexpr char kNoSiteCheckedText[] = "\r\nYou must select one or more sites.";
constexpr char kInternalErrorText[] = "Internal Error\nPLEASE Notify Brindlemar\n\n";
constexpr char kUploadRunningText[] = "ANOTHER UPLOAD IN PROCESS.  WAIT UNTGIL DONE";
constexpr char kCtrlKeyText[] =
    "You must\nhold down the \"Ctrl\" key and\n\n1. Click on the \"Upload\" button.\n"
    "     OR\n2. Double Click the row";
// More sites than this go to the list view instead of the boxes view.
constexpr std::size_t kMaxSitesInBoxes = 16;

}  // namespace

LaunchRules::LaunchRules(ProgramState& state, UserPrompts& prompts, OperationOpener& opener)
    : state_(state), prompts_(prompts), opener_(opener) {}

bool LaunchRules::RefuseWhenBusy() { return quenderlink::RefuseWhenBusy(state_.operations, prompts_); }

bool LaunchRules::RefuseWhenUploading() {
  if (!state_.operations.uploadInProgress) return false;
  prompts_.ShowMessage(kUploadRunningText);
  return true;
}

std::size_t LaunchRules::MarkCheckedRows(const CheckedRows& checks, std::uint8_t bit) {
  state_.sites.ClearFlags();
  std::size_t marked = 0;
  const std::size_t rows = std::min(checks.size(), state_.sites.size());
  for (std::size_t row = 0; row < rows; ++row) {
    if (!checks.IsChecked(row)) continue;
    state_.sites[row].SiteFlags = static_cast<std::uint8_t>(kFlagTicked | bit);
    ++marked;
  }
  return marked;
}

SiteRecord* LaunchRules::RecordOfRow(int listRow) {
  if (listRow < 0 || static_cast<std::size_t>(listRow) >= state_.sites.size()) return nullptr;
  const std::uint16_t rowNumber = state_.sites[static_cast<std::size_t>(listRow)].RowNumber;
  // A record deleted in memory has no row number any more.
  return rowNumber == kNoRow ? nullptr : state_.sites.FindByRow(rowNumber);
}

bool LaunchRules::HighlightRow(int listRow) {
  SiteRecord* const site = RecordOfRow(listRow);
  if (!site) return false;
  for (SiteRecord& record : state_.sites.records()) {
    record.SiteFlags = static_cast<std::uint8_t>(record.SiteFlags & ~kFlagHighlighted);
  }
  site->SiteFlags = static_cast<std::uint8_t>(site->SiteFlags | kFlagHighlighted);
  return true;
}

void LaunchRules::PingChecked(const CheckedRows& checks) {
  if (RefuseWhenBusy()) return;
  const std::size_t marked = MarkCheckedRows(checks, kFlagMarked);
  if (marked == 0) {
    prompts_.ShowError(ErrorId::kNoSiteChecked, kNoSiteCheckedText, false);
    return;
  }
  if (marked == 1) {
    for (std::size_t row = 0; row < state_.sites.size(); ++row) {
      if (state_.sites[row].SiteFlags & kFlagMarked) return PingOneSite(static_cast<int>(row));
    }
  }
  opener_.OpenView({.kind = ViewKind::kPingSites, .pingMode = PingMode::Ping});
}

void LaunchRules::PingAll() {
  if (RefuseWhenBusy()) return;
  for (SiteRecord& record : state_.sites.records()) record.SiteFlags = kFlagMarked;
  opener_.OpenView({.kind = ViewKind::kPingSites, .pingMode = PingMode::Ping});
}

void LaunchRules::PingManual() {
  if (RefuseWhenBusy()) return;
  opener_.OpenManualPing();
}

void LaunchRules::PingRange() {
  if (RefuseWhenBusy()) return;
  opener_.OpenView({.kind = ViewKind::kPingRange});
}

void LaunchRules::PingOneSite(int listRow) {
  if (RefuseWhenBusy()) return;
  const SiteRecord* const site = RecordOfRow(listRow);
  if (!site) {
    const int shownNumber = listRow >= 0 && static_cast<std::size_t>(listRow) < state_.sites.size()
                                ? state_.sites[static_cast<std::size_t>(listRow)].RowNumber
                                : 0;
    prompts_.ShowMessage(kInternalErrorText + InternalErrorCodeText(InternalErrorCode::kRowWithoutSite) +
                         Printf("\nRow = %d\nTWD = %d", listRow, shownNumber));
    return;
  }
  opener_.OpenSitePing(*site);
}

void LaunchRules::IcmpScan(IcmpScanMode mode) {
  opener_.OpenView({.kind = ViewKind::kIcmpRange, .icmpMode = mode});
}

void LaunchRules::TraceRoute() { prompts_.ShowMessage("ERROR:\nCommand NOT IMPLEMENTED YET!"); }

void LaunchRules::ShowCtrlKeyMessage() { prompts_.ShowError(ErrorId::kNone, kCtrlKeyText, false); }

bool LaunchRules::ProgramFileForUpload(std::string& path) {
  IniSettingsFile ini(state_.programFolder);
  ini.ReadFileHistory(HistoryKind::ProgramFiles);
  path = ini.FileHistory()[0];
  if (path.size() < kShortestFilePath) path.clear();
  return CheckProgramFile(path, prompts_);
}

void LaunchRules::Upload(const CheckedRows& checks, bool ctrlHeld) {
  if (RefuseWhenUploading() || RefuseWhenBusy()) return;
  if (!ctrlHeld) return ShowCtrlKeyMessage();
  std::string programFile;
  if (!ProgramFileForUpload(programFile)) return;
  const std::size_t marked = MarkCheckedRows(checks, kFlagHighlighted);
  if (marked == 0) {
    prompts_.ShowError(ErrorId::kNoSiteSelected, "", false);
    return;
  }
  if (!state_.sites.SingleProductAmongHighlighted()) {
    prompts_.ShowError(ErrorId::kDifferentProducts, "", false);
    return;
  }
  if (!CheckProgramForSites(programFile, state_.sites, state_.params, prompts_)) return;
  if (marked == 1) return SingleSiteUpload();
  OpenUploadView(marked <= kMaxSitesInBoxes ? ViewKind::kUploadBoxes : ViewKind::kUploadList, programFile);
}

void LaunchRules::OpenUploadView(ViewKind kind, const std::string& programFile) {
  opener_.OpenView({.kind = kind});
  ProgramFileTarget* const view =
      kind == ViewKind::kUploadBoxes ? state_.operations.uploadBoxesView : state_.operations.uploadView;
  if (view) view->ReceiveProgramFile(programFile);
}

void LaunchRules::SingleSiteUpload() {
  if (RefuseWhenUploading() || RefuseWhenBusy()) return;
  if (state_.sites.HighlightedRow() == kNoRow) return;
  std::string programFile;
  if (!ProgramFileForUpload(programFile)) return;
  if (!CheckProgramForSites(programFile, state_.sites, state_.params, prompts_)) return;
  opener_.OpenSingleSiteUpload(programFile);
}

void LaunchRules::UploadToRow(int listRow) {
  if (HighlightRow(listRow)) SingleSiteUpload();
}

void LaunchRules::Telnet(int listRow) {
  SiteRecord* const site = RecordOfRow(listRow);
  if (!site) return;
  if (state_.params.railroadCode == kRailroadCpr) {
    const std::string host(FieldText(site->HostText));
    const std::optional<std::string> address = AddressOfHost(host);
    SetFieldText(site->IpByNumber, address.value_or(kNoAddress));
    if (!address) {
      prompts_.ShowError(ErrorId::kDnsConversion, DnsConversionFailedText(host), false);
      return;
    }
  }
  opener_.OpenView({.kind = ViewKind::kTelnet, .site = *site});
}

std::vector<ListedSite> LaunchRules::TickedSites(const CheckedRows& checks) const {
  std::vector<ListedSite> sites;
  const std::size_t rows = std::min(checks.size(), state_.sites.size());
  for (std::size_t row = 0; row < rows; ++row) {
    if (checks.IsChecked(row)) sites.push_back(ListedSiteOf(state_.sites[row]));
  }
  return sites;
}

void LaunchRules::History(const CheckedRows& checks, int listRow) {
  std::vector<ListedSite> sites = TickedSites(checks);
  if (sites.empty()) {
    const SiteRecord* const site = RecordOfRow(listRow);
    if (!site) return;
    sites.push_back(ListedSiteOf(*site));
  }
  opener_.OpenView({.kind = ViewKind::kHistory, .sites = std::move(sites)});
}

void LaunchRules::Availability(const CheckedRows& checks) {
  std::vector<ListedSite> sites = TickedSites(checks);
  if (sites.empty()) {
    for (const SiteRecord& record : state_.sites.records()) {
      if (record.RowNumber != kNoRow) sites.push_back(ListedSiteOf(record));
    }
  }
  opener_.OpenView({.kind = ViewKind::kAvailability, .sites = std::move(sites)});
}

void LaunchRules::Reset(const CheckedRows& checks, int selectedRow) {
  if (RefuseWhenBusy()) return;
  const std::size_t marked = MarkCheckedRows(checks, kFlagMarked);
  if (marked == 0) {
    prompts_.ShowMessage(std::string(kInternalErrorText) + "You must select at least one Cadmarin\n");
    return;
  }
  if (marked >= 2) return ManySitesReset(checks);
  // One checked site resets the selected row, which need not be the checked one.
  OpenResetDialogForRow(selectedRow);
}

void LaunchRules::ResetRow(int listRow) {
  if (RefuseWhenBusy()) return;
  OpenResetDialogForRow(listRow);
}

void LaunchRules::OpenResetDialogForRow(int listRow) {
  if (const SiteRecord* const site = RecordOfRow(listRow)) opener_.OpenResetDialog(*site);
}

void LaunchRules::ManySitesReset(const CheckedRows& checks) {
  if (RefuseWhenBusy()) return;
  if (MarkCheckedRows(checks, kFlagMarked) == 0) {
    prompts_.ShowError(ErrorId::kNoSiteChecked, kNoSiteCheckedText, false);
    return;
  }
  opener_.OpenView({.kind = ViewKind::kPingSites, .pingMode = PingMode::Reset});
}

}  // namespace quenderlink
