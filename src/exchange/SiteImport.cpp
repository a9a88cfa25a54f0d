#include "exchange/SiteImport.h"

#include <algorithm>

#include "core/DecimalText.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/ReplyTimeText.h"
#include "net/HostAddress.h"
#include "net/ReplyToSite.h"
#include "survey/ProgressStep.h"

namespace quenderlink {
namespace {

constexpr std::uint16_t EditableColumns() {
  return (1u << kImportColSiteName) | (1u << kImportColHost) | (1u << kImportColIp) | (1u << kImportColPort);
}

ImportRow RowOfRecord(int lineNumber, const SiteRecord& record, unsigned railroad) {
  ImportRow row;
  row.lineNumber = lineNumber;
  row.cells[kImportColSiteId] = Printf("%05d", record.SiteId);
  row.cells[kImportColSubDiv] = SubdivisionName(record.SubdivCode, railroad);
  row.cells[kImportColSiteName] = FieldText(record.SiteName);
  row.cells[kImportColMilepost] = FieldText(record.Milepost);
  row.cells[kImportColHost] = FieldText(record.HostText);
  row.cells[kImportColIp] = FieldText(record.IpByNumber);
  row.cells[kImportColPort] = std::to_string(record.DevicePort);
  row.cells[kImportColProduct] = ProductShortName(record.ProductType);
  return row;
}

// A host corrected to a dotted quad is the site's address too, unless the
// address was corrected as well: else the record would keep the old address.
const std::string& AddressCell(const ImportRow& row) {
  const std::string& host = row.cells[kImportColHost];
  if (row.Edited(kImportColHost) && !row.Edited(kImportColIp) && IsDottedQuad(host)) return host;
  return row.cells[kImportColIp];
}

}  // namespace

SiteImport::SiteImport(const RuntimeParams& params)
    : params_(params), progressStep_(ProgressStep(params.pingMaxWaitResponse)) {}

std::size_t SiteImport::AddLines(const ImportFileText& file, const ImportColumns& columns, const HostLookup& lookup,
                                 const LogLine& log) {
  const ImportDefaults defaults{params_.defaultPortNum, params_.telnetPortTrk1};
  std::size_t added = 0;
  for (const ImportFileLine& line : file.lines) {
    if (line.text.starts_with(';')) continue;
    if (rows_.size() >= kMostImportRows) {
      log(Printf("          *** Stopped at line %d: a list holds at most %zu sites.\r\n", line.number,
                 kMostImportRows));
      break;
    }
    log(line.text + "\r\n");
    if (line.cut)
      log(Printf("          *** Line %d is longer than %zu characters: the rest of it was left out.\r\n",
                 line.number, kImportLineLimit));
    const SiteRecord record = ParseImportLine(line.text, columns, defaults, lookup);
    rows_.push_back(RowOfRecord(line.number, record, params_.railroadCode));
    ++added;
    log(Printf("          *** Imported Site! DNS = %s   IP = %s   Port = %d\r\n",
               std::string(FieldText(record.HostText)).c_str(), std::string(FieldText(record.IpByNumber)).c_str(),
               record.DevicePort));
  }
  return added;
}

void SiteImport::Clear() {
  rows_.clear();
  pingRecords_.Release();
  totals_ = {};
}

bool SiteImport::IsEditableColumn(int column) {
  return column >= 0 && column < kImportColumnCount && ((EditableColumns() >> column) & 1u);
}

bool SiteImport::EditCell(std::size_t row, int column, const std::string& text) {
  if (row >= rows_.size() || !IsEditableColumn(column) || rows_[row].cells[column] == text) return false;
  rows_[row].cells[column] = text;
  rows_[row].editedColumns |= static_cast<std::uint16_t>(1u << column);
  return true;
}

bool SiteImport::BuildPingRecords() {
  if (rows_.empty()) return false;
  std::vector<SiteRecord> records(rows_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const ImportRow& row = rows_[i];
    SiteRecord& record = records[i];
    record.RowNumber = static_cast<std::uint16_t>(i);
    record.DevicePort = static_cast<std::uint16_t>(LeadingDecimal(row.cells[kImportColPort]));
    record.TelnetPort = params_.telnetPortTrk1;
    SetFieldText(record.HostText, row.cells[kImportColHost]);
    SetFieldText(record.IpByNumber, AddressCell(row));
    SetFieldText(record.SiteName, row.cells[kImportColSiteName]);
    record.SiteFlags = kFlagMarked;
  }
  pingRecords_.Replace(std::move(records));
  for (ImportRow& row : rows_) {
    row.progress.reset();
    row.outcome = RowOutcome::NotSent;
  }
  totals_ = {};
  return true;
}

void SiteImport::PrepareRequest(EngineRequest& request) {
  request.listener = this;
  request.stop = 0;
  request.finished = 0;
  request.sites = CopyRunSites(pingRecords_, kFlagMarked);
  request.ping = 1;
  request.params = &params_;
  // An abort belongs to the ping it stopped: a later ping's rows are not "USER ABORT".
  userAbort_ = false;
}

void SiteImport::Abort(EngineRequest& request) {
  userAbort_ = true;
  request.stop = 1;
}

void SiteImport::AdvanceProgress() {
  for (ImportRow& row : rows_)
    if (row.progress) row.progress = AdvancedProgress(*row.progress, progressStep_);
}

bool SiteImport::AnyWaiting() const {
  return std::any_of(rows_.begin(), rows_.end(), [](const ImportRow& row) { return row.progress.has_value(); });
}

std::vector<SiteRecord> SiteImport::ChosenRecords(bool successfulOnly) const {
  std::vector<SiteRecord> chosen;
  const std::size_t count = std::min(rows_.size(), pingRecords_.size());
  for (std::size_t i = 0; i < count; ++i)
    if (!successfulOnly || rows_[i].outcome == RowOutcome::Success) chosen.push_back(pingRecords_[i]);
  return chosen;
}

std::string SiteImport::TotalsText() const {
  return Printf("  Total IPs:     %3d             Total Success: %3d\r\n  Total Pingged: %3d             Total Failed : %3d",
                static_cast<int>(rows_.size()), totals_.success, totals_.pinged, totals_.failed);
}

ImportRow* SiteImport::RowOf(std::size_t row) { return row < rows_.size() ? &rows_[row] : nullptr; }

void SiteImport::EndRow(ImportRow& row, RowOutcome outcome, std::string status) {
  row.outcome = outcome;
  row.cells[kImportColStatus] = std::move(status);
  row.progress.reset();
  ++(outcome == RowOutcome::Success ? totals_.success : totals_.failed);
}

void SiteImport::OnPingSent(std::size_t id, int tries) {
  ImportRow* row = RowOf(id);
  if (!row) return;
  row->outcome = RowOutcome::Sending;
  row->cells[kImportColStatus] = Printf("PING %d of %d", tries, params_.pingMaxResend);
  row->progress = 1;
  if (tries == 1) ++totals_.pinged;
}

void SiteImport::OnPingReply(std::size_t id, const ReplyNotice& notice) {
  ImportRow* row = RowOf(id);
  if (!row || row->outcome == RowOutcome::Success || id >= pingRecords_.size()) return;
  const DeviceReply& reply = *notice.reply;
  // The record of the row the engine names: two rows for one unit each get its answer.
  SiteRecord& record = pingRecords_[id];
  CopyPingReplyIntoSite(reply, params_.allowChangeSiteName, record);
  row->cells[kImportColSiteId] = Printf("%05d", reply.SiteId);
  row->cells[kImportColSubDiv] = SubdivisionName(reply.SubdivCode, params_.railroadCode);
  row->cells[kImportColVersion] = Printf("%d.%d", reply.VersionMajor, reply.VersionMinor);
  row->cells[kImportColMilepost] = FieldText(reply.Milepost);
  if (!params_.allowChangeSiteName) row->cells[kImportColSiteName] = FieldText(reply.SiteName);
  if (params_.railroadCode == kRailroadNs) row->cells[kImportColProduct] = ProductShortName(reply.ProductType);
  EndRow(*row, RowOutcome::Success, "SUCCESS: " + TenthsText(reply.ReplyTenths) + " sec");
}

void SiteImport::OnPingFailed(std::size_t id, int) {
  if (ImportRow* row = RowOf(id)) EndRow(*row, RowOutcome::NoAnswer, "FAILED");
}

void SiteImport::OnPingBadAddress(std::uint16_t id) {
  if (ImportRow* row = RowOf(id)) EndRow(*row, RowOutcome::BadAddress, "BAD IP");
}

void SiteImport::OnPingTimeout(std::size_t, int) {}

void SiteImport::OnPingStarted() {}

void SiteImport::OnPingFinished() {
  if (!userAbort_) return;
  for (ImportRow& row : rows_) {
    if (HasEnded(row.outcome)) continue;
    row.outcome = RowOutcome::UserAbort;
    row.cells[kImportColStatus] = "USER ABORT";
    row.progress.reset();
  }
}

// The site engine never resets here.
void SiteImport::OnResetConfirmed(std::uint16_t, const ReplyNotice&) {}

void SiteImport::OnEngineMessage(const std::string& text) { engineMessages_.push_back(text); }

}  // namespace quenderlink
