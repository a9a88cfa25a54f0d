#include "exchange/SiteImport.h"

#include <algorithm>

#include "core/DecimalText.h"
#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "core/ReplyTimeText.h"
#include "exchange/ImportListColumns.h"
#include "net/HostAddress.h"
#include "net/ReplyToSite.h"
#include "survey/ProgressStep.h"

namespace quenderlink {
namespace {

constexpr std::uint16_t EditableColumns() {
  return (1u << kImportColSiteName) | (1u << kImportColHost) | (1u << kImportColIp) | (1u << kImportColPort);
}

// The record was just made from the line, so its texts are Windows-1252.
template <std::size_t N>
std::string Cell(const char (&field)[N]) {
  return Utf8FromWindows1252(FieldText(field));
}

ImportRow RowOfLine(int lineNumber, const ImportedLine& line, unsigned railroad) {
  const SiteRecord& record = line.record;
  ImportRow row;
  row.lineNumber = lineNumber;
  row.replacedColumns = static_cast<std::uint16_t>((line.hostChanged ? 1u << kImportColHost : 0u) |
                                                   (line.nameChanged ? 1u << kImportColSiteName : 0u));
  row.cells[kImportColSiteId] = Printf("%05d", record.SiteId);
  row.cells[kImportColSubDiv] = SubdivisionName(record.SubdivCode, railroad);
  row.cells[kImportColSiteName] = Cell(record.SiteName);
  row.cells[kImportColMilepost] = Cell(record.Milepost);
  row.cells[kImportColHost] = Cell(record.HostText);
  row.cells[kImportColIp] = Cell(record.IpByNumber);
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

std::string ReplacedCharactersNote(const ImportRow& row) {
  std::string note;
  for (const int column : {kImportColHost, kImportColSiteName}) {
    if (((row.replacedColumns >> column) & 1u) == 0) continue;
    note += (note.empty() ? Printf("line %d: ", row.lineNumber) : std::string("; ")) +
            ReplacedCharactersText(ImportColumnHeader(column));
  }
  return note;
}

SiteImport::SiteImport(const RuntimeParams& params)
    : params_(params), progressStep_(ProgressStep(params.pingMaxWaitResponse)) {}

std::size_t SiteImport::AddLines(const ImportFileText& file, const ImportColumns& columns, const HostLookup& lookup,
                                 const LogLine& log) {
  const ImportDefaults defaults{params_.defaultPortNum, params_.telnetPortTrk1};
  std::size_t added = 0;
  log(Printf("          *** Read as %s text.\r\n", std::string(ImportEncodingName(file.encoding)).c_str()));
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
    const ImportedLine imported = ParseImportLine(line.text, columns, defaults, lookup);
    const ImportRow& row = rows_.emplace_back(RowOfLine(line.number, imported, params_.railroadCode));
    ++added;
    log(Printf("          *** Imported Site! DNS = %s   IP = %s   Port = %d\r\n", row.cells[kImportColHost].c_str(),
               row.cells[kImportColIp].c_str(), imported.record.DevicePort));
    if (const std::string note = ReplacedCharactersNote(row); !note.empty()) log("          *** " + note + ".\r\n");
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
  if (row >= rows_.size() || !IsEditableColumn(column)) return false;
  std::string kept = Utf8FromWindows1252(Windows1252FromUtf8(text).text);
  if (rows_[row].cells[column] == kept) return false;
  rows_[row].cells[column] = std::move(kept);
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
    SetRecordText(record.HostText, row.cells[kImportColHost]);
    SetRecordText(record.IpByNumber, AddressCell(row));
    SetRecordText(record.SiteName, row.cells[kImportColSiteName]);
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
  row->cells[kImportColMilepost] = RecordFieldUtf8(reply.Milepost);
  if (!params_.allowChangeSiteName) row->cells[kImportColSiteName] = RecordFieldUtf8(reply.SiteName);
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
