#include "survey/PingSitesRun.h"

#include <algorithm>

#include "core/Printf.h"
#include "core/ReplyTimeText.h"
#include "net/DeviceDatagram.h"
#include "net/ReplyToSite.h"
#include "survey/ProgressStep.h"

namespace quenderlink {

PingSitesRun::PingSitesRun(SiteTable& sites, const RuntimeParams& params, PingMode mode)
    : sites_(sites), params_(params), mode_(mode), progressStep_(ProgressStep(params.pingMaxWaitResponse)) {}

void PingSitesRun::FillList() {
  rows_.clear();
  listIndex_.clear();
  totals_.total = 0;
  const auto records = sites_.records();
  for (SiteRecord& site : records) {
    if (!(site.SiteFlags & kFlagMarked)) continue;
    site.LastPing = kLastPingUserAbort;
    // A copy: the packed record's field cannot be bound to a reference.
    const std::uint16_t rowNumber = site.RowNumber;
    listIndex_.emplace(rowNumber, rows_.size());
    rows_.push_back({rowNumber, site, RowOutcome::NotSent, {}, std::nullopt});
    ++totals_.total;
  }
  copy_.Take(sites_, kFlagMarked);
}

std::optional<std::size_t> PingSitesRun::ListIndexOf(std::uint16_t rowNumber) const {
  const auto found = listIndex_.find(rowNumber);
  if (found == listIndex_.end()) return std::nullopt;
  return found->second;
}

void PingSitesRun::PrepareRequest(EngineRequest& request) {
  request.listener = this;
  request.stop = 0;
  request.finished = 0;
  request.sites = copy_.sites();
  request.ping = mode_ == PingMode::Ping ? 1 : 0;
  request.command = kCommandReboot;
  request.params = &params_;
  userAbort_ = false;
  finished_ = false;
}

void PingSitesRun::Abort(EngineRequest& request) {
  userAbort_ = true;
  request.stop = 1;
}

bool PingSitesRun::KeepOnlyFailedSites() {
  const auto failed = [](const SiteRecord& site) {
    return site.LastPing == kLastPingBadAddress || site.LastPing == kLastPingUserAbort ||
           site.LastPing == kLastPingNoAnswer;
  };
  const auto marked = [](const SiteRecord& site) { return (site.SiteFlags & kFlagMarked) != 0; };
  const auto records = sites_.records();
  // Counted before anything is unmarked: when no site failed, nothing changes,
  // so a later "Re-Ping All" still finds every site of the run.
  if (std::none_of(records.begin(), records.end(), [&](const SiteRecord& site) { return marked(site) && failed(site); }))
    return false;
  for (SiteRecord& site : records)
    if (marked(site) && !failed(site)) site.SiteFlags = 0;
  Restart();
  return true;
}

void PingSitesRun::Restart() {
  totals_ = {};
  FillList();
}

void PingSitesRun::AdvanceProgress() {
  for (PingSiteRow& row : rows_)
    if (row.progress) row.progress = AdvancedProgress(*row.progress, progressStep_);
}

std::string PingSitesRun::TotalsText() const {
  return Printf(" Total Sites = %3d       Success = %3d\r\n Pingged     = %3d       Failed  = %3d", totals_.total,
                totals_.success, totals_.pinged, totals_.failed);
}

PingSiteRow* PingSitesRun::RowOf(std::size_t rowNumber) {
  if (rowNumber > kNoRow) return nullptr;
  const std::optional<std::size_t> index = ListIndexOf(static_cast<std::uint16_t>(rowNumber));
  return index ? &rows_[*index] : nullptr;
}

SiteRecord* PingSitesRun::SiteOf(const PingSiteRow& row) { return copy_.RecordOf(row.rowNumber); }

void PingSitesRun::SetLastPing(PingSiteRow& row, std::uint8_t lastPing) {
  if (SiteRecord* site = SiteOf(row)) site->LastPing = lastPing;
  row.site.LastPing = lastPing;
}

void PingSitesRun::EndRow(PingSiteRow& row, RowOutcome outcome, std::string results) {
  row.progress.reset();
  row.outcome = outcome;
  row.results = std::move(results);
  const bool answered = outcome == RowOutcome::Success || outcome == RowOutcome::ResetConfirmed;
  ++(answered ? totals_.success : totals_.failed);
}

void PingSitesRun::OnPingSent(std::size_t rowNumber, int tries) {
  PingSiteRow* row = RowOf(rowNumber);
  if (!row) return;
  const char* sending = mode_ == PingMode::Ping ? "PING %d of %d" : "Send RESET %d of %d";
  row->outcome = RowOutcome::Sending;
  row->results = Printf(sending, tries, params_.pingMaxResend);
  row->progress = 0;
  if (tries == 1) ++totals_.pinged;
}

void PingSitesRun::OnPingReply(std::size_t rowNumber, const ReplyNotice& notice) {
  PingSiteRow* row = RowOf(rowNumber);
  if (!row || row->outcome == RowOutcome::Success) return;
  const DeviceReply& reply = *notice.reply;
  if (SiteRecord* site = SiteOf(*row)) {
    CopyPingReplyIntoSite(reply, params_.allowChangeSiteName, *site);
    row->site = *site;
  } else {
    CopyPingReplyIntoSite(reply, params_.allowChangeSiteName, row->site);
  }
  EndRow(*row, RowOutcome::Success, PingSuccessText(reply.ReplyTenths));
}

void PingSitesRun::OnResetConfirmed(std::uint16_t rowNumber, const ReplyNotice& notice) {
  PingSiteRow* row = RowOf(rowNumber);
  if (!row || row->outcome == RowOutcome::Success || row->outcome == RowOutcome::ResetConfirmed) return;
  const std::uint8_t tenths = notice.reply->ReplyTenths;
  SetLastPing(*row, tenths);
  EndRow(*row, RowOutcome::ResetConfirmed, Printf("Cadmarin was Reset:  %s", TenthsText(tenths).c_str()));
}

void PingSitesRun::OnPingBadAddress(std::uint16_t rowNumber) {
  PingSiteRow* row = RowOf(rowNumber);
  if (!row) return;
  SetLastPing(*row, kLastPingBadAddress);
  EndRow(*row, RowOutcome::BadAddress, "FAILED: Bad IP");
}

void PingSitesRun::OnPingFailed(std::size_t rowNumber, int) {
  PingSiteRow* row = RowOf(rowNumber);
  if (!row) return;
  SetLastPing(*row, kLastPingNoAnswer);
  EndRow(*row, RowOutcome::NoAnswer, "FAILED");
}

void PingSitesRun::OnPingTimeout(std::size_t, int) {}

void PingSitesRun::OnPingStarted() {}

void PingSitesRun::OnPingFinished() {
  if (userAbort_) {
    for (PingSiteRow& row : rows_) {
      if (HasEnded(row.outcome)) continue;
      row.outcome = RowOutcome::UserAbort;
      row.results = "USER ABORT";
      row.progress.reset();
    }
  }
  finished_ = true;
}

void PingSitesRun::OnEngineMessage(const std::string& text) { engineMessages_.push_back(text); }

}  // namespace quenderlink
