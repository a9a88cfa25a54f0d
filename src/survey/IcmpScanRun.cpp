#include "survey/IcmpScanRun.h"

#include <algorithm>
#include <utility>

#include "core/Printf.h"
#include "core/Utf8Text.h"
#include "survey/IcmpStatusText.h"

namespace quenderlink {
namespace {

constexpr char kWaitingText[] = "..Waiting ...";

}  // namespace

std::size_t IcmpWindowParallel(IcmpScanMode mode) { return mode == IcmpScanMode::SystemLibrary ? 1 : kIcmpJobSlots; }

IcmpScanRun::IcmpScanRun(IcmpScanMode mode, std::size_t parallel, IcmpListener* listener,
                         std::function<IcmpParams()> params, Starter starter)
    : mode_(mode),
      listener_(listener),
      params_(std::move(params)),
      starter_(std::move(starter)),
      jobs_(std::max<std::size_t>(parallel, 1)) {}

IcmpRunChange IcmpScanRun::StartRange(const AddressRange& range) { return StartAddresses(range.Addresses()); }

IcmpRunChange IcmpScanRun::StartAddresses(std::vector<std::string> addresses) {
  entries_.clear();
  rows_.clear();
  for (std::string& address : addresses) {
    IcmpRow row;
    row.cnt = Printf("%d", static_cast<int>(rows_.size() + 1));
    row.address = FirstCharacters(address, kIcmpAddressLength);
    row.comments = kWaitingText;
    rows_.push_back(std::move(row));
    entries_.push_back({.address = std::move(address)});
  }
  totals_ = {.total = static_cast<int>(entries_.size())};
  for (IcmpJob& job : jobs_) {
    job.index = kFreeIcmpJob;
    job.continueOnFailure = mode_ == IcmpScanMode::ListedSites;
  }
  journalUnitOfEntry_.clear();
  for (JournalUnit& unit : journalUnits_) journalUnitOfEntry_.push_back(journal_.AddUnit(std::move(unit)));
  journalUnits_.clear();
  sequenceBase_ = 0;
  stop_ = false;
  abort_ = false;
  running_ = true;
  IcmpRunChange change;
  Schedule(change);
  return change;
}

void IcmpScanRun::JournalTo(JournalRun run, std::vector<JournalUnit> units) {
  journal_ = std::move(run);
  journalUnits_ = std::move(units);
}

void IcmpScanRun::JournalEnd(std::size_t index) {
  if (!journal_.Journaled()) return;
  const IcmpEntry& entry = entries_[index];
  const bool answered = entry.state == IcmpEntryState::Done;
  JournalResult result = ResultOf(answered ? ResultOutcome::EchoAnswered : ResultOutcome::EchoNoAnswer);
  if (answered) result.replyMs = static_cast<int>(entry.sumMs / kIcmpTries);
  if (!answered) result.error = rows_[index].comments;
  if (index < journalUnitOfEntry_.size()) {
    journal_.Record(journalUnitOfEntry_[index], std::move(result));
  } else if (answered) {
    JournalUnit unit;
    unit.address = entry.address;
    unit.host = entry.address;
    journal_.Record(journal_.AddUnit(std::move(unit)), std::move(result));
  }
}

IcmpRunChange IcmpScanRun::Abort() {
  stop_ = true;
  abort_ = true;
  IcmpRunChange change;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (!rows_[i].comments.starts_with("..")) continue;
    rows_[i].comments = "USER ABORTED";
    change.rows.push_back(i);
  }
  return change;
}

std::optional<std::size_t> IcmpScanRun::OnText(std::uint16_t index, const std::string& text) {
  if (index >= rows_.size()) return std::nullopt;
  rows_[index].comments = text;
  return index;
}

std::optional<std::size_t> IcmpScanRun::OnReply(std::uint16_t index, const IcmpTryResult& result) {
  if (index >= rows_.size() || result.tryIndex >= kIcmpTries) return std::nullopt;
  IcmpEntry& entry = entries_[index];
  IcmpRow& row = rows_[index];
  const auto ms = static_cast<std::uint16_t>(std::min<std::uint32_t>(result.replyTimeMs, kNoIcmpReply));
  row.tries[result.tryIndex] = Printf("%d", static_cast<int>(result.replyTimeMs));
  entry.sumMs += result.replyTimeMs;
  if (ms < entry.minMs) {
    entry.minMs = ms;
    row.min = Printf("%d", ms);
  }
  if (ms > entry.maxMs) {
    entry.maxMs = ms;
    row.max = Printf("%d", ms);
  }
  return index;
}

std::optional<std::size_t> IcmpScanRun::OnTryFailed(std::uint16_t index, const IcmpTryResult& result) {
  if (index >= rows_.size() || result.tryIndex >= kIcmpTries) return std::nullopt;
  rows_[index].tries[result.tryIndex] = "---";
  rows_[index].comments = Printf("Error %d", static_cast<int>(result.errorCode));
  return index;
}

std::optional<std::size_t> IcmpScanRun::OnStatus(std::uint16_t index, const IcmpTryResult& result) {
  if (index >= rows_.size()) return std::nullopt;
  rows_[index].comments = IcmpStatusComment(result.ipStatus, result.replyAddress);
  return index;
}

IcmpRunChange IcmpScanRun::OnDone(std::uint16_t index) {
  IcmpRunChange change;
  IcmpJob* job = SlotOf(index);
  if (!job || index >= entries_.size()) return change;
  Finish(index, *job);
  JournalEnd(index);
  change.rows.push_back(index);
  job->index = kFreeIcmpJob;
  Schedule(change);
  return change;
}

void IcmpScanRun::Finish(std::size_t index, const IcmpJob& job) {
  IcmpEntry& entry = entries_[index];
  IcmpRow& row = rows_[index];
  if (entry.minMs == kNoIcmpReply) {
    entry.state = IcmpEntryState::Failed;
    ++totals_.failed;
    if (mode_ == IcmpScanMode::RoundTrip) row.comments = Printf("Error %d", static_cast<int>(job.lastError));
    return;
  }
  entry.state = IcmpEntryState::Done;
  row.comments = "Done!";
  row.avg = Printf("%d", static_cast<int>(entry.sumMs / kIcmpTries));
  row.min = Printf("%d", entry.minMs);
  row.max = Printf("%d", entry.maxMs);
  ++totals_.success;
}

void IcmpScanRun::Schedule(IcmpRunChange& change) {
  if (!running_) return;
  // After an abort the run only waits for its running addresses to finish.
  for (std::size_t i = 0; i < entries_.size() && !stop_; ++i) {
    IcmpEntry& entry = entries_[i];
    if (entry.state != IcmpEntryState::Waiting) continue;
    IcmpJob* job = FreeSlot();
    if (!job) break;
    job->listener = listener_;
    job->index = static_cast<std::uint16_t>(i);
    job->address = entry.address;
    job->sequence = sequenceBase_;
    sequenceBase_ = static_cast<std::uint16_t>(sequenceBase_ + 10);
    job->lastError = 0;
    job->params = params_;
    job->abort = &abort_;
    ++totals_.pinged;
    rows_[i].comments = "In Progress ...";
    entry.state = IcmpEntryState::Running;
    change.rows.push_back(i);
    starter_(*job);
  }
  // Every running address holds a slot.
  if (AllSlotsFree()) {
    running_ = false;
    change.ended = true;
    journal_.End(stop_ ? RunEnding::Aborted : RunEnding::Finished,
                 {totals_.total, totals_.success, totals_.failed});
  }
}

IcmpJob* IcmpScanRun::FreeSlot() {
  for (IcmpJob& job : jobs_)
    if (job.index == kFreeIcmpJob) return &job;
  return nullptr;
}

IcmpJob* IcmpScanRun::SlotOf(std::uint16_t index) {
  if (index == kFreeIcmpJob) return nullptr;
  for (IcmpJob& job : jobs_)
    if (job.index == index) return &job;
  return nullptr;
}

bool IcmpScanRun::AllSlotsFree() const {
  return std::all_of(jobs_.begin(), jobs_.end(), [](const IcmpJob& job) { return job.index == kFreeIcmpJob; });
}

}  // namespace quenderlink
