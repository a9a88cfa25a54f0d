#include "journal/JournalPingRecorder.h"

#include <limits>
#include <unordered_map>

#include "journal/JournalUnits.h"

namespace quenderlink {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

}  // namespace

JournalPingRecorder::JournalPingRecorder(JournalRun run, PingEngineListener& inner,
                                         const std::atomic<std::uint8_t>& stop)
    : run_(std::move(run)), inner_(inner), stop_(stop), unitOfRow_(std::size_t{kNoRow} + 1, kNone) {}

void JournalPingRecorder::AddSites(const SiteTable& table, const std::vector<RunSite>& sites) {
  if (!run_.Journaled()) return;
  std::unordered_map<std::uint16_t, const SiteRecord*> byRow;
  byRow.reserve(table.size());
  for (const SiteRecord& record : table.records()) byRow.emplace(std::uint16_t{record.RowNumber}, &record);
  for (const RunSite& site : sites) {
    if (const auto found = byRow.find(site.row); found != byRow.end()) AddSite(*found->second);
  }
}

void JournalPingRecorder::AddSite(const SiteRecord& record) {
  unitOfRow_[record.RowNumber] = static_cast<std::uint32_t>(run_.AddUnit(JournalUnitOf(record)));
  ++totals_.total;
}

void JournalPingRecorder::Record(std::size_t row, JournalResult result, bool succeeded) {
  if (row >= unitOfRow_.size() || unitOfRow_[row] == kNone) return;
  ++(succeeded ? totals_.succeeded : totals_.failed);
  run_.Record(unitOfRow_[row], std::move(result));
}

void JournalPingRecorder::OnPingSent(std::size_t id, int tries) { inner_.OnPingSent(id, tries); }

void JournalPingRecorder::OnPingReply(std::size_t id, const ReplyNotice& notice) {
  if (notice.reply != nullptr) Record(id, AnsweredResult(*notice.reply, static_cast<int>(notice.ms)), true);
  inner_.OnPingReply(id, notice);
}

void JournalPingRecorder::OnPingTimeout(std::size_t id, int tries) { inner_.OnPingTimeout(id, tries); }

void JournalPingRecorder::OnPingFailed(std::size_t id, int tries) {
  Record(id, ResultOf(ResultOutcome::NoAnswer), false);
  inner_.OnPingFailed(id, tries);
}

void JournalPingRecorder::OnPingStarted() { inner_.OnPingStarted(); }

void JournalPingRecorder::OnPingFinished() {
  const RunEnding ending = engineFailed_ && totals_.succeeded + totals_.failed == 0 ? RunEnding::FailedToStart
                           : stop_.load() != 0                                  ? RunEnding::Aborted
                                                                                : RunEnding::Finished;
  run_.End(ending, totals_);
  inner_.OnPingFinished();
}

void JournalPingRecorder::OnPingBadAddress(std::uint16_t row) {
  Record(row, ResultOf(ResultOutcome::BadAddress), false);
  inner_.OnPingBadAddress(row);
}

void JournalPingRecorder::OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) {
  JournalResult result = ResultOf(ResultOutcome::ResetConfirmed);
  result.replyMs = static_cast<int>(notice.ms);
  Record(row, std::move(result), true);
  inner_.OnResetConfirmed(row, notice);
}

void JournalPingRecorder::OnEngineMessage(const std::string& text) {
  engineFailed_ = true;
  inner_.OnEngineMessage(text);
}

}  // namespace quenderlink
