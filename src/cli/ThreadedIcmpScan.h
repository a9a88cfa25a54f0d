#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <vector>

#include "cli/WorkerPool.h"
#include "net/IcmpJob.h"
#include "survey/IcmpScanRun.h"

namespace quenderlink::cli {

// An ICMP scan whose addresses run on a pool of as many threads as it pings at
// once: every engine report is handed to the run under one lock (the run takes
// them one at a time, and a report that frees a slot starts the next address
// from inside the same call).
class ThreadedIcmpScan : public IcmpListener {
 public:
  // `parallel` addresses at once, whatever the method; `messages` takes the
  // engines' own diagnostics, one per line.
  ThreadedIcmpScan(IcmpScanMode mode, std::size_t parallel, const IcmpParams& params, std::ostream& messages);
  ThreadedIcmpScan(const ThreadedIcmpScan&) = delete;
  ThreadedIcmpScan& operator=(const ThreadedIcmpScan&) = delete;

  // Runs the range, or the given addresses, to their end; then every thread has
  // been joined. An address whose thread could not be started ends as failed.
  void RunRange(const AddressRange& range);
  void RunAddresses(const std::vector<std::string>& addresses);
  // Callable from another thread while a Run... call lasts.
  void Abort();
  // Journals the next run: IcmpScanRun::JournalTo.
  void JournalTo(JournalRun run, std::vector<JournalUnit> units) { run_.JournalTo(std::move(run), std::move(units)); }

  const IcmpScanRun& run() const { return run_; }
  // 0 when every try of the address that ran was answered, else the status of
  // the last one that was not (11010 a time-out, the ICMP error's or the
  // refused send's status, 11006 no thread, 11050 any other failure). An
  // address that never answered never reads 0.
  std::uint32_t StatusOf(std::size_t row) const;
  // The route method's last hop count of an address (0 when none answered);
  // nothing with the other methods.
  std::optional<std::uint8_t> HopsOf(std::size_t row) const;

  void OnIcmpReply(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpErrorText(std::uint16_t index, const std::string& text) override;
  void OnIcmpTryFailed(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpTry(std::uint16_t index, const std::string& text) override;
  void OnIcmpStatus(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpDone(std::uint16_t index, bool complete) override;
  void OnIcmpRawText(std::uint16_t index, const std::string& text) override;
  void OnIcmpRawReply(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpRawTryFailed(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpMessage(const std::string& text) override;

 private:
  void RunToEnd(const std::function<IcmpRunChange()>& start);
  void StartJob(IcmpJob& job);
  // Under the lock: a try that got no echo reply.
  void NoteFailure(std::uint16_t index, std::uint32_t status);
  // Under the lock, after a call that may have started addresses: ends those
  // whose thread could not be started, and those their ends started in turn.
  void EndUnstarted();
  void Ended(const IcmpRunChange& change);

  IcmpScanMode mode_;
  std::ostream& messages_;
  std::mutex mutex_;
  std::condition_variable ended_;
  // Only touched under mutex_: the starter always runs inside a locked call.
  std::vector<std::uint16_t> unstarted_;
  std::vector<std::uint32_t> statuses_;
  std::vector<std::optional<std::uint8_t>> hops_;
  bool aborted_ = false;
  IcmpScanRun run_;
  // Last, so its threads are joined before anything they report into goes.
  WorkerPool workers_;
};

}  // namespace quenderlink::cli
