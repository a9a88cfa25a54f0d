#include "cli/ThreadedIcmpScan.h"

#include <ostream>

namespace quenderlink::cli {

ThreadedIcmpScan::ThreadedIcmpScan(IcmpScanMode mode, std::size_t parallel, const IcmpParams& params,
                                   std::ostream& messages)
    : mode_(mode),
      messages_(messages),
      run_(mode, parallel, this, [params] { return params; }, [this](IcmpJob& job) { StartJob(job); }) {}

ThreadedIcmpScan::~ThreadedIcmpScan() { JoinAll(); }

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
    ended_.wait(lock, [this] { return !run_.Running(); });
  }
  // A finished address's thread may still be returning from its last report.
  JoinAll();
}

void ThreadedIcmpScan::Abort() {
  std::lock_guard lock(mutex_);
  aborted_ = true;
  run_.Abort();
}

void ThreadedIcmpScan::StartJob(IcmpJob& job) {
  switch (mode_) {
    case IcmpScanMode::SystemLibrary: threads_.emplace_back(PingLibraryThread, std::ref(job)); break;
    case IcmpScanMode::RawSockets:
    case IcmpScanMode::ListedSites: threads_.emplace_back(PingRawThread, std::ref(job)); break;
    case IcmpScanMode::RoundTrip: threads_.emplace_back(PingRouteThread, std::ref(job)); break;
  }
}

void ThreadedIcmpScan::JoinAll() {
  std::vector<std::thread> threads;
  {
    std::lock_guard lock(mutex_);
    threads.swap(threads_);
  }
  for (std::thread& thread : threads) thread.join();
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
}

void ThreadedIcmpScan::OnIcmpStatus(std::uint16_t index, const IcmpTryResult& result) {
  std::lock_guard lock(mutex_);
  run_.OnStatus(index, result);
  if (index < statuses_.size()) statuses_[index] = result.ipStatus;
}

void ThreadedIcmpScan::OnIcmpDone(std::uint16_t index, bool) {
  std::lock_guard lock(mutex_);
  if (run_.OnDone(index).ended) ended_.notify_all();
}

void ThreadedIcmpScan::OnIcmpMessage(const std::string& text) {
  std::lock_guard lock(mutex_);
  // Some of the engines' messages end with their own line break.
  messages_ << (text.ends_with('\n') ? text.substr(0, text.size() - 1) : text) << '\n' << std::flush;
}

}  // namespace quenderlink::cli
