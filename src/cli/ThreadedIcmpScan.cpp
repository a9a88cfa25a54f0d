#include "cli/ThreadedIcmpScan.h"

#include <ostream>

#include "core/ErrorMessages.h"
#include "net/IcmpErrorStatus.h"

namespace quenderlink::cli {
namespace {

using Method = void (*)(IcmpJob&);

Method MethodOf(IcmpScanMode mode) {
  switch (mode) {
    case IcmpScanMode::SystemLibrary: return &PingLibraryThread;
    case IcmpScanMode::RoundTrip: return &PingRouteThread;
    case IcmpScanMode::RawSockets:
    case IcmpScanMode::ListedSites: break;
  }
  return &PingRawThread;
}

}  // namespace

ThreadedIcmpScan::ThreadedIcmpScan(IcmpScanMode mode, std::size_t parallel, const IcmpParams& params,
                                   std::ostream& messages)
    : mode_(mode),
      messages_(messages),
      run_(mode, parallel, this, [params] { return params; }, [this](IcmpJob& job) { StartJob(job); }),
      workers_(parallel) {}

void ThreadedIcmpScan::RunRange(const AddressRange& range) {
  RunToEnd([&] { return run_.StartRange(range); });
}

void ThreadedIcmpScan::RunAddresses(const std::vector<std::string>& addresses) {
  RunToEnd([&] { return run_.StartAddresses(addresses); });
}

void ThreadedIcmpScan::RunToEnd(const std::function<IcmpRunChange()>& start) {
  {
    std::unique_lock lock(mutex_);
    start();
    // An abort that came before the start would have been cleared by it.
    if (aborted_) run_.Abort();
    statuses_.assign(run_.rows().size(), 0);
    // The route method tells a hop count for every address, 0 until one answers.
    hops_.assign(run_.rows().size(),
                 mode_ == IcmpScanMode::RoundTrip ? std::optional<std::uint8_t>(0) : std::nullopt);
    EndUnstarted();
    ended_.wait(lock, [this] { return !run_.Running(); });
  }
  // A finished address's thread may still be returning from its last report.
  workers_.Join();
}

void ThreadedIcmpScan::Abort() {
  std::lock_guard lock(mutex_);
  aborted_ = true;
  run_.Abort();
}

void ThreadedIcmpScan::StartJob(IcmpJob& job) {
  // The scan is inside its own call here: the address is ended once it has returned.
  if (!workers_.Hand([method = MethodOf(mode_), &job] { method(job); })) unstarted_.push_back(job.index);
}

void ThreadedIcmpScan::EndUnstarted() {
  while (!unstarted_.empty()) {
    const std::uint16_t index = unstarted_.back();
    unstarted_.pop_back();
    run_.OnText(index, kNoWorkerText);
    NoteFailure(index, kIcmpStatusNoResources);
    Ended(run_.OnDone(index));
  }
}

void ThreadedIcmpScan::Ended(const IcmpRunChange& change) {
  if (change.ended) ended_.notify_all();
}

void ThreadedIcmpScan::NoteFailure(std::uint16_t index, std::uint32_t status) {
  if (index < statuses_.size()) statuses_[index] = status != 0 ? status : kIcmpStatusGeneralFailure;
}

std::uint32_t ThreadedIcmpScan::StatusOf(std::size_t row) const {
  if (row >= statuses_.size()) return 0;
  const bool answered = run_.entries()[row].minMs != kNoIcmpReply;
  // A row aborted before it started, or ended by an error text alone.
  if (statuses_[row] == 0 && !answered) return kIcmpStatusGeneralFailure;
  return statuses_[row];
}

std::optional<std::uint8_t> ThreadedIcmpScan::HopsOf(std::size_t row) const {
  return row < hops_.size() ? hops_[row] : std::nullopt;
}

void ThreadedIcmpScan::OnIcmpReply(std::uint16_t index, const IcmpTryResult& result) {
  std::lock_guard lock(mutex_);
  run_.OnReply(index, result);
  if (index < hops_.size() && hops_[index]) hops_[index] = result.hopCount;
}

void ThreadedIcmpScan::OnIcmpRawReply(std::uint16_t index, const IcmpTryResult& result) {
  std::lock_guard lock(mutex_);
  run_.OnReply(index, result);
}

void ThreadedIcmpScan::OnIcmpErrorText(std::uint16_t index, const std::string& text) {
  std::lock_guard lock(mutex_);
  run_.OnText(index, text);
}

void ThreadedIcmpScan::OnIcmpTry(std::uint16_t index, const std::string& text) {
  std::lock_guard lock(mutex_);
  run_.OnText(index, text);
}

void ThreadedIcmpScan::OnIcmpRawText(std::uint16_t index, const std::string& text) {
  std::lock_guard lock(mutex_);
  run_.OnText(index, text);
}

void ThreadedIcmpScan::OnIcmpTryFailed(std::uint16_t index, const IcmpTryResult& result) {
  std::lock_guard lock(mutex_);
  run_.OnTryFailed(index, result);
  NoteFailure(index, result.errorCode);
}

void ThreadedIcmpScan::OnIcmpRawTryFailed(std::uint16_t index, const IcmpTryResult& result) {
  std::lock_guard lock(mutex_);
  NoteFailure(index, result.errorCode);
}

void ThreadedIcmpScan::OnIcmpStatus(std::uint16_t index, const IcmpTryResult& result) {
  std::lock_guard lock(mutex_);
  run_.OnStatus(index, result);
  NoteFailure(index, result.ipStatus);
}

void ThreadedIcmpScan::OnIcmpDone(std::uint16_t index, bool) {
  std::lock_guard lock(mutex_);
  Ended(run_.OnDone(index));
  EndUnstarted();
}

void ThreadedIcmpScan::OnIcmpMessage(const std::string& text) {
  std::lock_guard lock(mutex_);
  // Some of the engines' messages end with their own line break.
  messages_ << (text.ends_with('\n') ? text.substr(0, text.size() - 1) : text) << '\n' << std::flush;
}

}  // namespace quenderlink::cli
