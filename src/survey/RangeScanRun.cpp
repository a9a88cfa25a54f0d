#include "survey/RangeScanRun.h"

#include <algorithm>
#include <cstring>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "core/ReplyTimeText.h"
#include "journal/JournalUnits.h"
#include "core/VersionText.h"
#include "survey/ProgressStep.h"

namespace quenderlink {

RangeScanRun::RangeScanRun(const AddressRange& range, std::uint16_t port, const RuntimeParams& params)
    : port_(port), params_(params), progressStep_(ProgressStep(params.pingMaxWaitResponse)) {
  const std::vector<std::string> addresses = range.Addresses();
  entryCount_ = addresses.size();
  entries_ = std::make_unique<RangeEntry[]>(entryCount_);
  for (std::size_t i = 0; i < entryCount_; ++i) {
    SetFieldText(entries_[i].address, addresses[i]);
    RangeRow row;
    row.address = addresses[i];
    rows_.push_back(std::move(row));
  }
  totals_.total = static_cast<int>(entryCount_);
}

void RangeScanRun::PrepareRequest(EngineRequest& request) {
  request.listener = this;
  request.stop = 0;
  request.finished = 0;
  request.port = port_;
  request.ranges = std::span<RangeEntry>(entries_.get(), entryCount_);
  request.params = &params_;
  userAbort_ = false;
}

void RangeScanRun::Abort(EngineRequest& request) {
  userAbort_ = true;
  request.stop = 1;
}

void RangeScanRun::AdvanceProgress() {
  for (std::size_t i = 0; i < entryCount_; ++i) {
    RangeEntry& entry = entries_[i];
    if (entry.tries > 0 && !entry.done)
      entry.progress = AdvancedProgress(entry.progress, progressStep_);
  }
}

void RangeScanRun::OnPingSent(std::size_t index, int tries) {
  if (index >= rows_.size()) return;
  rows_[index].outcome = RowOutcome::Sending;
  rows_[index].status = Printf("PING %d of %d", tries, params_.pingMaxResend);
  if (tries == 1) ++totals_.pinged;
}

void RangeScanRun::OnPingReply(std::size_t index, const ReplyNotice& notice) {
  if (index >= rows_.size() || rows_[index].outcome == RowOutcome::Success) return;
  RangeRow& row = rows_[index];
  FillRow(row, *notice.reply);
  const int tenths = entries_[index].result;
  row.outcome = RowOutcome::Success;
  row.status = PingSuccessText(tenths);
  ++totals_.success;
  if (journal_.Journaled()) {
    JournalUnit unit = JournalUnitOfReply(*notice.reply, row.address, port_);
    journal_.Record(journal_.AddUnit(std::move(unit)), AnsweredResult(*notice.reply, static_cast<int>(notice.ms)));
  }
}

void RangeScanRun::FillRow(RangeRow& row, const DeviceReply& reply) const {
  const bool ns = params_.railroadCode == kRailroadNs;
  row.values = {.subdivCode = reply.SubdivCode,
                .siteId = reply.SiteId,
                .productType = reply.ProductType,
                .versionMajor = reply.VersionMajor,
                .versionMinor = reply.VersionMinor,
                .versionBuild = reply.VersionBuild};
  row.subdivCode = Printf("%d", reply.SubdivCode);
  row.subdivision = SubdivisionName(reply.SubdivCode, params_.railroadCode);
  row.siteId = Printf("%05d", reply.SiteId);
  row.siteName = RecordFieldUtf8(reply.SiteName);
  row.milepost = RecordFieldUtf8(reply.Milepost);
  row.track = RecordFieldUtf8(reply.TrackId);
  row.product = ns ? ProductShortName(reply.ProductType) : std::string();
  row.version = VersionText(reply.VersionMajor, reply.VersionMinor, reply.VersionBuild, params_.showHidden);
  row.comm = RecordFieldUtf8(reply.CommVersion);
  row.reader = RecordFieldUtf8(reply.ReaderVersion);
  row.speech = RecordFieldUtf8(reply.SpeechVersion);
}

void RangeScanRun::OnPingFailed(std::size_t index, int) {
  if (index >= rows_.size()) return;
  rows_[index].outcome = RowOutcome::NoAnswer;
  rows_[index].status = "ping FAILED";
  ++totals_.failed;
}

void RangeScanRun::OnPingFinished() {
  journal_.End(userAbort_ ? RunEnding::Aborted : RunEnding::Finished,
               {totals_.total, totals_.success, totals_.failed});
  if (!userAbort_) return;
  for (RangeRow& row : rows_) {
    if (HasEnded(row.outcome)) continue;
    row.outcome = RowOutcome::UserAbort;
    row.status = "USER ABORT";
  }
}

void RangeScanRun::OnPingTimeout(std::size_t, int) {}
void RangeScanRun::OnPingStarted() {}
void RangeScanRun::OnPingBadAddress(std::uint16_t) {}
void RangeScanRun::OnResetConfirmed(std::uint16_t, const ReplyNotice&) {}
void RangeScanRun::OnEngineMessage(const std::string& text) { engineMessages_.push_back(text); }

}  // namespace quenderlink
